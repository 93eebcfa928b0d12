// What the error reporter and WMessageBox ask of the window code, registered with
// register_layer (base/layer_registry.hpp) while the root window is open. Without a
// layer offering an entry there is nothing to do there.
#pragma once

#include <string_view>

#include "base/layer_registry.hpp"

namespace quill {

struct ReportLayer {
  const char* name = "";
  // Report mode 3: shows line in part 1 of the root window's status bar, making the
  // root window current for the call and the previous window current again after.
  void (*status_bar_line)(std::string_view line) = nullptr;
  // The current window's handle (an HWND on Windows), the owner of message boxes.
  void* (*current_window_handle)() = nullptr;
  // Before a message box: snapshot the client areas of the visible windows so they
  // can be repainted while the box is up. Returns an error code, 0 on success.
  int (*before_message_box)() = nullptr;
  // After the box: copy the snapshots back and discard them.
  void (*after_message_box)() = nullptr;
};

}  // namespace quill
