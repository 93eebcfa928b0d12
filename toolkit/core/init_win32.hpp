// The first-open initialisation of the window system: classes, common controls, the
// measuring window, rich edit, and the optional libraries loaded after the root exists.
#pragma once

#include <windows.h>

namespace quill {

// Registers the classes and loads the libraries once per process. A class that cannot
// be registered ends the process after a message box.
void first_open_initialise();
// The hidden 10x10 window that measures a combined dialog; ends the process when it
// cannot be created.
HWND create_measuring_window();
// Message box "text" captioned "Quillanthor Window", then process exit with code 0.
[[noreturn]] void fatal_window_failure(const char* text);
// After the root window exists: gradient, mail and composition libraries, CGM format.
void finish_first_open();
// Frees what finish_first_open loaded.
void release_optional_libraries();
// True when the composition library answers that desktop composition is on.
bool composition_enabled();

}  // namespace quill
