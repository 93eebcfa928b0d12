// The screen driver's back buffers, for code that reads what was drawn on screen.
#pragma once

#include <windows.h>

namespace quill {

// The back buffer of a window or graphics field that has been drawn into (it holds the
// whole drawing, whether or not the window has painted it yet), else null. The buffer
// may be larger than the client area; its top-left corner is the client's.
HDC screen_back_buffer(HWND hwnd);

}  // namespace quill
