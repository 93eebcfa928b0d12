// The window layers of the Windows build, and WindowOpen, which may be an application's
// first call: both it and WStartup register the layers before core opens anything.
#include <windows.h>

#include "bitmap/bitmap_layer_win32.hpp"
#include "core/window_layers.hpp"
#include "dialog/dialog_layer.hpp"
#include "editor/editor_layer_win32.hpp"
#include "graphics/routines.hpp"
#include "layers/layers.hpp"
#include "grid/grid_layers.hpp"
#include "quill/window.hpp"

namespace quill {

void register_window_layers() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  // Editors first: their find dialog takes its keys before an application's dialog.
  register_editor_layer();
  register_dialog_layer();
  // Graphics: an active hardcopy ends and the screen's back buffer goes at WindowShutdown;
  // events carry positions in the user units of the drawing state.
  WindowLayer graphics;
  graphics.name = "graphics";
  graphics.shutdown = graphics_shutdown;
  graphics.event_units = graphics_event_units;
  register_layer(graphics);
  // Grids: dialog templates may name the grid field class from the first window on; the
  // grid windows go at WindowShutdown.
  register_grid_layer();
  // Bitmaps: views of memory bitmaps in child windows, pixel operations on windows and
  // image fields of dialogs.
  register_bitmap_layer();
}

}  // namespace quill

void WindowOpen(std::optional<int> flags, std::optional<int> x, std::optional<int> y, int* width, int* height,
                std::optional<int> menu_id, std::span<const int> toolbars, std::optional<int> dialog_id,
                std::string_view title, std::optional<int> palette_size, std::optional<int> background) {
  quill::register_window_layers();
  quill::open_root_window(flags, x, y, width, height, menu_id, toolbars, dialog_id, title, palette_size,
                          background);
  // A plain root window becomes the drawable; a window combined with a dialog shows the
  // dialog, which graphics must not paint over.
  if (!dialog_id.has_value() || *dialog_id == 0) quill::graphics_window_opened();
}
