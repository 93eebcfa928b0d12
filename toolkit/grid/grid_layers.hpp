// How the window layers take part in the grid routines: the grid registry asks them for
// the current dialog's grid fields and the current grid window and tells them to repaint.
#pragma once

#include <optional>
#include <tuple>

#include "quill/grid.hpp"

namespace quill {

// A dialog's grid field, or (window >= 0, field 0) a grid window.
struct GridKey {
  int dialog = 0;
  int window = -1;
  int field = 0;
  bool operator<(const GridKey& other) const {
    return std::tie(dialog, window, field) < std::tie(other.dialog, other.window, other.field);
  }
};

// A field of the current dialog: code 0 with its grid's key, or error::kInvalidField.
struct GridFieldLookup {
  int code = 0;
  GridKey key;
};

// The grid registry's seam, registered with register_layer (base/layer_registry.hpp) by
// the window side of the grids at start-up. Without a layer the registry's own selection
// (select_grid_dialog, select_grid_window) applies, as in a build without windows.
struct GridLayer {
  const char* name = "";
  // Field of the layer's current dialog, its grid made when missing; empty when the layer
  // has no current dialog (the registry's own selection then applies).
  std::optional<GridFieldLookup> (*dialog_field)(int field) = nullptr;
  // The current window when it is a grid window; empty when it is not one.
  std::optional<int> (*current_window)() = nullptr;
  // A routine changed the grid of a dialog's field (dialog_handle -1: of a grid window).
  void (*repaint)(int dialog_handle, int field) = nullptr;
};

// The window layers attach grids here: a dialog's grid field when the dialog loads, a
// grid window when a child window becomes one. A new grid has no columns, no rows and
// room for 1000 rows. Attaching again keeps the existing grid.
void attach_dialog_grid(int dialog_handle, int field);
void attach_window_grid(int window);
void detach_dialog_grids(int dialog_handle);
void detach_window_grid(int window);
// The current dialog (nullopt: none) and the current grid window (nullopt: none), where
// no grid layer tells them.
void select_grid_dialog(std::optional<int> dialog_handle);
void select_grid_window(std::optional<int> window);

#ifdef _WIN32
// The grids' part in the window layers: registers their entries with core's window seam
// (the field class at the first window, the grid windows going at WindowShutdown), with
// the dialog manager (grid fields of dialog templates) and with the grid registry.
void register_grid_layer();
// Registers the grid field class "KVSGRID" that dialog templates name. Call it before
// loading a dialog with a grid field; calling it again does nothing.
void register_grid_field_class();
// WindowShutdown: the grid windows go, and their grids with them.
void release_grid_windows();
#endif

}  // namespace quill
