// The grid registry.
#include "base/error_codes.hpp"
#include "base/layer_registry.hpp"
#include "grid/grid_registry.hpp"

namespace quill {

GridRegistry& grid_registry() {
  static GridRegistry registry;
  return registry;
}

void reset_grids_for_test() { grid_registry() = GridRegistry{}; }

GridTarget find_grid(int field) {
  GridRegistry& registry = grid_registry();
  GridTarget target;
  if (field == 0) {
    if (const GridLayer* layer = first_layer_with(&GridLayer::current_window)) {
      registry.current_window = layer->current_window();
    }
  }
  bool window_grid = false;
  if (field == 0) {
    if (registry.current_window) {
      target.key = GridKey{0, *registry.current_window, 0};
      window_grid = true;
    } else if (registry.grids.contains(kMemoryGridKey)) {
      target.key = kMemoryGridKey;
      window_grid = true;
    }
  } else if (const auto found = first_answer(&GridLayer::dialog_field, field)) {
    target.key = found->key;
    target.error = found->code;
    if (found->code == 0) target.grid = &registry.grids.at(target.key);
    return target;
  } else {
    if (!registry.current_dialog) {
      target.error = error::kNoCurrentDialog;
      return target;
    }
    target.key = GridKey{*registry.current_dialog, -1, field};
  }
  const auto found = registry.grids.find(target.key);
  if ((field == 0 && !window_grid) || found == registry.grids.end()) {
    target.error = error::kInvalidField;
    return target;
  }
  target.grid = &found->second;
  return target;
}

void repaint_grid(const GridTarget& target) {
  ++target.grid->repaints;
  if (target.key.window == kMemoryGridKey.window) return;  // nothing on screen
  tell_layers(&GridLayer::repaint, target.key.window >= 0 ? -1 : target.key.dialog, target.key.field);
}

void attach_dialog_grid(int dialog_handle, int field) {
  grid_registry().grids.try_emplace(GridKey{dialog_handle, -1, field});
}

void attach_window_grid(int window) { grid_registry().grids.try_emplace(GridKey{0, window, 0}); }

void detach_dialog_grids(int dialog_handle) {
  auto& grids = grid_registry().grids;
  for (auto it = grids.begin(); it != grids.end();) {
    it = it->first.window < 0 && it->first.dialog == dialog_handle ? grids.erase(it) : std::next(it);
  }
}

void detach_window_grid(int window) { grid_registry().grids.erase(GridKey{0, window, 0}); }

void select_grid_dialog(std::optional<int> dialog_handle) { grid_registry().current_dialog = dialog_handle; }

void select_grid_window(std::optional<int> window) { grid_registry().current_window = window; }

}  // namespace quill
