// The registry of window layers and core's calls into them.
#include "core/window_layers.hpp"

#include <cstring>
#include <vector>

#include "base/error_codes.hpp"

namespace quill {
namespace {

std::vector<WindowLayer>& layers() {
  static std::vector<WindowLayer> registered;
  return registered;
}

}  // namespace

void register_window_layer(const WindowLayer& layer) {
  for (WindowLayer& known : layers()) {
    if (std::strcmp(known.name, layer.name) == 0) {
      known = layer;
      return;
    }
  }
  layers().push_back(layer);
}

int layers_measure_combined(int dialog_id, HWND measuring_window, int& width, int& height,
                            bool& resizable) {
  for (const WindowLayer& layer : layers()) {
    if (layer.measure_combined != nullptr && layer.load_combined != nullptr) {
      return layer.measure_combined(dialog_id, measuring_window, width, height, resizable);
    }
  }
  return quill::error::kDialogNotFound;  // no layer makes dialogs: the dialog cannot be found
}

HWND layers_load_combined(int dialog_id, HWND client, HWND frame, int& code) {
  for (const WindowLayer& layer : layers()) {
    if (layer.load_combined != nullptr) return layer.load_combined(dialog_id, client, frame, code);
  }
  code = quill::error::kDialogNotFound;
  return nullptr;
}

bool layers_close_combined(HWND dialog) {
  for (const WindowLayer& layer : layers()) {
    if (layer.close_combined != nullptr && layer.close_combined(dialog)) return true;
  }
  return false;
}

HWND layers_modeless_dialog(HWND& owner) {
  for (const WindowLayer& layer : layers()) {
    if (layer.modeless_dialog == nullptr) continue;
    owner = nullptr;
    if (HWND dialog = layer.modeless_dialog(owner)) return dialog;
  }
  owner = nullptr;
  return nullptr;
}

bool layers_field_size(int dialog_handle, int field_id, int& width, int& height) {
  for (const WindowLayer& layer : layers()) {
    if (layer.field_size != nullptr && layer.field_size(dialog_handle, field_id, width, height)) return true;
  }
  return false;
}

bool layers_view_size(int window, int& width, int& height) {
  for (const WindowLayer& layer : layers()) {
    if (layer.view_size != nullptr && layer.view_size(window, width, height)) return true;
  }
  return false;
}

bool layers_paint_client(HWND client, HDC dc, const RECT& area) {
  for (const WindowLayer& layer : layers()) {
    if (layer.paint_client != nullptr && layer.paint_client(client, dc, area)) return true;
  }
  return false;
}

bool layers_event_units(const EventValues& event, int width, int height, GraphicsUnits& units) {
  for (const WindowLayer& layer : layers()) {
    if (layer.event_units != nullptr && layer.event_units(event, width, height, units)) return true;
  }
  return false;
}

HWND layers_field_window(int dialog_handle, int field_id) {
  for (const WindowLayer& layer : layers()) {
    if (layer.field_window == nullptr) continue;
    if (HWND field = layer.field_window(dialog_handle, field_id)) return field;
  }
  return nullptr;
}

void layers_first_open() {
  for (const WindowLayer& layer : layers()) {
    if (layer.first_open != nullptr) layer.first_open();
  }
}

void layers_shutdown() {
  for (const WindowLayer& layer : layers()) {
    if (layer.shutdown != nullptr) layer.shutdown();
  }
}

int layers_take_snapshots() {
  int code = 0;
  for (const WindowLayer& layer : layers()) {
    if (layer.take_snapshots == nullptr) continue;
    const int layer_code = layer.take_snapshots();
    if (code == 0) code = layer_code;
  }
  return code;
}

void layers_give_back_snapshots() {
  for (const WindowLayer& layer : layers()) {
    if (layer.give_back_snapshots != nullptr) layer.give_back_snapshots();
  }
}

}  // namespace quill
