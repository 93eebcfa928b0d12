// Hooks through which the window code serves the error reporter and WMessageBox.
// Each is null until the window code fills it; a null hook means "nothing to do".
#pragma once

#include <string_view>

namespace quill {

struct ReportHooks {
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

ReportHooks& report_hooks();

}  // namespace quill
