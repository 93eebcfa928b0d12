// The process-wide grid registry: every grid of a dialog field or a grid window, keyed
// by its owner, and the lookup every grid routine starts with.
#pragma once

#include <map>
#include <optional>
#include <string_view>

#include "grid/grid_model.hpp"
#include "grid/grid_layers.hpp"

namespace quill {

// The grid without any window (WGridMemory), field 0 while no grid window is current.
inline constexpr GridKey kMemoryGridKey{-1, -2, 0};

struct GridRegistry {
  std::map<GridKey, Grid> grids;
  std::optional<int> current_dialog;
  std::optional<int> current_window;
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
// Counts the repaint and passes it to the grid layers.
void repaint_grid(const GridTarget& target);

}  // namespace quill
