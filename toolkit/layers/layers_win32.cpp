// The window layers of the Windows build, and WindowOpen, which may be an application's
// first call: both it and WStartup register the layers before core opens anything.
#include <windows.h>

#include "core/window_layers.hpp"
#include "dialog/dialog_layer.hpp"
#include "layers/layers.hpp"
#include "quill/window.hpp"

namespace quill {

void register_window_layers() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  register_dialog_layer();
}

}  // namespace quill

void WindowOpen(std::optional<int> flags, std::optional<int> x, std::optional<int> y, int* width,
                int* height, std::optional<int> menu_id, std::span<const int> toolbars,
                std::optional<int> dialog_id, std::string_view title,
                std::optional<int> palette_size, std::optional<int> background) {
  quill::register_window_layers();
  quill::open_root_window(flags, x, y, width, height, menu_id, toolbars, dialog_id, title,
                          palette_size, background);
}
