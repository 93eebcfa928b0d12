// The first-open initialisation of the window system: classes, common controls and the
// measuring window; rich edit and the optional libraries are loaded on first use.
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
// After the root window exists: the CGM clipboard format.
void finish_first_open();
// The optional system libraries are loaded when first asked for, not at start-up: the
// gradient fill of the graphics layer, desktop composition (and the mail library, which
// the operating-system services load). Each entry is null when its library or routine
// is missing.
FARPROC gradient_fill_entry();
// True when the composition library answers that desktop composition is on.
bool composition_enabled();
// Frees the optional libraries loaded so far, the mail library too (WindowShutdown).
void release_optional_libraries();
// Loads the rich-edit library (2.0 or later, else 1.0) once, so that its window classes
// exist; the dialog manager calls it before creating a template that names them.
void load_rich_edit();
// 1 rich edit 1.0, 2 rich edit 2.0, 3 rich edit 3.0 or later, 0 none; probed once.
int rich_edit_level();

}  // namespace quill
