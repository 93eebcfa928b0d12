// Grid windows: a toolkit window whose client area a grid control covers. The window
// table keeps the control as the window's converted window, so that core hands it the
// window's commands, size and focus; the grid registry knows its grid as field 0 while
// the window is the current one.
#include <windows.h>

#include "base/error_codes.hpp"
#include "core/event_queue.hpp"
#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "grid/grid_field_win32.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/events.hpp"
#include "quill/grid.hpp"

namespace quill {
namespace {

constexpr int kModeGiveBack = 0;
constexpr int kModeEditable = 1;
constexpr int kModeReadOnly = 2;

void set_frame_kind(WindowEntry& entry, WindowKind kind) {
  entry.kind = kind;
  if (entry.frame != nullptr) SetWindowLongPtrA(entry.frame, GWLP_USERDATA, static_cast<LONG_PTR>(kind));
}

// Makes the grid window of entry; 0 or 1053.
int convert(int window, WindowEntry& entry) {
  if (entry.kind == WindowKind::CombinedDialog || entry.client == nullptr) return error::kGridWindowInit;
  if (entry.kind != WindowKind::Plain) return error::kWindowConverted;
  // A grid over the root's client area would hide the windows inside it; a window inside
  // the root has no menu bar for the grid's commands.
  if (window == 0 && inside_parent_windows_exist()) return error::kInsideParentWindows;
  if (entry.inside_parent && entry.menu != nullptr) return error::kGridMenuInside;
  attach_window_grid(window);
  HWND control = create_window_grid(entry.client, window);
  if (control == nullptr) {
    detach_window_grid(window);
    return error::kGridWindowInit;
  }
  attach_field_record(control, std::make_unique<FieldRecord>());
  entry.converted = control;
  set_frame_kind(entry, WindowKind::Grid);
  if (GetActiveWindow() == entry.frame) SetFocus(control);
  return 0;
}

}  // namespace

std::optional<int> current_grid_window() {
  const WindowTable& table = windows();
  if (!table.open || table.current < 0 || table.current >= kMaxWindows) return std::nullopt;
  const WindowEntry& entry = table.windows[static_cast<std::size_t>(table.current)];
  if (entry.converted == nullptr || entry.kind != WindowKind::Grid) return std::nullopt;
  return table.current;
}

void post_window_grid_event(int window) {
  EventValues values;
  values.type = EvFieldEdited;
  values.window = window;
  values.detail1 = 0;
  values.detail2 = 0;
  values.detail3 = 0;
  values.time_ms = static_cast<int>(GetMessageTime());
  PostSource source;
  source.keeps_pending = false;
  post_event(values, source);
}

void forget_window_grid(int window, HWND control) {
  static_cast<void>(take_field_record(control));
  detach_window_grid(window);
  if (window < 0 || window >= kMaxWindows) return;
  WindowEntry& entry = windows().windows[static_cast<std::size_t>(window)];
  if (entry.converted != control) return;
  entry.converted = nullptr;
  set_frame_kind(entry, WindowKind::Plain);
}

void release_grid_windows() {
  for (WindowEntry& entry : windows().windows) {
    if (entry.converted != nullptr && entry.kind == WindowKind::Grid) DestroyWindow(entry.converted);
  }
}

}  // namespace quill

void WGridWindow(int mode) {
  using namespace quill;
  if (mode != kModeGiveBack && mode != kModeEditable && mode != kModeReadOnly) {
    IErrorReport(error::kGridWindowMode, "WGridWindow");
    return;
  }
  WindowTable& table = windows();
  if (!table.open || table.current < 0 || table.current >= kMaxWindows ||
      table.windows[static_cast<std::size_t>(table.current)].frame == nullptr) {
    IErrorReport(error::kGridWindowInit, "WGridWindow");
    return;
  }
  WindowEntry& entry = table.windows[static_cast<std::size_t>(table.current)];
  if (mode == kModeGiveBack) {
    if (entry.converted != nullptr && entry.kind == WindowKind::Grid) DestroyWindow(entry.converted);
    return;
  }
  if (entry.converted == nullptr || entry.kind != WindowKind::Grid) {
    if (const int code = convert(table.current, entry)) {
      IErrorReport(code, "WGridWindow");
      return;
    }
  }
  FieldRecord* record = field_record(entry.converted);
  if (record != nullptr) record->state = mode == kModeReadOnly ? 2 : 1;
  InvalidateRect(entry.converted, nullptr, TRUE);
}
