// The process-wide grid registry: every grid of a dialog field or a grid window, keyed
// by its owner, and the lookup every grid routine starts with.
#pragma once

#include <map>
#include <optional>
#include <string_view>
#include <tuple>

#include "grid/grid_model.hpp"
#include "grid/grid_layers.hpp"

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

// The grid without any window (WGridMemory), field 0 while no grid window is current.
inline constexpr GridKey kMemoryGridKey{-1, -2, 0};

struct GridRegistry {
  std::map<GridKey, Grid> grids;
  std::optional<int> current_dialog;
  std::optional<int> current_window;
  GridRepaintHook repaint = nullptr;
  // Set by the window layer: finds field in the current dialog of the window system.
  // Returns 0 with key set, an error code, or -1 when no such dialog is current (the
  // registry's own current_dialog then applies).
  int (*dialog_lookup)(int field, GridKey& key) = nullptr;
  // Set by the window layer: the number of the current toolkit window when it is a grid
  // window, else -1 (without it, current_window applies).
  int (*window_lookup)() = nullptr;
};

GridRegistry& grid_registry();
// Test-only: no grids, nothing current.
void reset_grids_for_test();

struct GridTarget {
  Grid* grid = nullptr;
  GridKey key;
  int error = 0;  // 1005 no dialog is current, 1006 the field is not a grid
};
GridTarget find_grid(int field);
// Counts the repaint and passes it to the window layer.
void repaint_grid(const GridTarget& target);

}  // namespace quill
