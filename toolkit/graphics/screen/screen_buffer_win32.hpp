// The screen driver's back buffer, for code that reads or changes what was drawn on screen.
#pragma once

#include <windows.h>

namespace quill {

// The back buffer of the current drawable when it is a window or graphics field, else
// null. It holds the whole drawing, whether or not the window has painted it yet; it may
// be larger than the client area, its top-left corner being the client's.
HDC screen_back_buffer();
// Shows what was changed in that back buffer in its window.
void show_screen_back_buffer();

}  // namespace quill
