// Core's calls into the window layers that take more than the first answer.
#include "core/window_layers.hpp"

#include "base/error_codes.hpp"

namespace quill {

CombinedMeasure layers_measure_combined(int dialog_id, HWND measuring_window) {
  for (const WindowLayer& layer : registered_layers<WindowLayer>()) {
    if (layer.measure_combined != nullptr && layer.load_combined != nullptr) {
      return layer.measure_combined(dialog_id, measuring_window);
    }
  }
  return CombinedMeasure{error::kDialogNotFound};  // no layer makes dialogs: the dialog cannot be found
}

CombinedLoad layers_load_combined(int dialog_id, HWND client, HWND frame) {
  if (const WindowLayer* layer = first_layer_with(&WindowLayer::load_combined)) {
    return layer->load_combined(dialog_id, client, frame);
  }
  return CombinedLoad{nullptr, error::kDialogNotFound};
}

int layers_take_snapshots() {
  int code = 0;
  for (const WindowLayer& layer : registered_layers<WindowLayer>()) {
    if (layer.take_snapshots == nullptr) continue;
    const int layer_code = layer.take_snapshots();
    if (code == 0) code = layer_code;
  }
  return code;
}

}  // namespace quill
