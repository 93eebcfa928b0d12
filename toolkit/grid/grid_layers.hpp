// How the window layers attach grids to dialogs and windows, select the current ones
// and learn of changes to repaint.
#pragma once

#include <optional>

#include "quill/grid.hpp"

namespace quill {

// The window layers attach grids here: a dialog's grid field when the dialog loads, a
// grid window when a child window becomes one. A new grid has no columns, no rows and
// room for 1000 rows. Attaching again keeps the existing grid.
void attach_dialog_grid(int dialog_handle, int field);
void attach_window_grid(int window);
void detach_dialog_grids(int dialog_handle);
void detach_window_grid(int window);
// The current dialog (nullopt: none) and the current grid window (nullopt: none), as
// the window layers select them.
void select_grid_dialog(std::optional<int> dialog_handle);
void select_grid_window(std::optional<int> window);
// Called after a routine changed a grid's contents, to repaint it on screen.
using GridRepaintHook = void (*)(int dialog_handle, int field);
void set_grid_repaint_hook(GridRepaintHook hook);

#ifdef _WIN32
// Registers the grid field class "KVSGRID" that dialog templates name, and lets the
// grid routines find grid fields in the current dialog. Call it before loading a dialog
// with a grid field; calling it again does nothing.
void register_grid_field_class();
// WindowShutdown: the grid windows go, and their grids with them.
void release_grid_windows();
#endif

}  // namespace quill
