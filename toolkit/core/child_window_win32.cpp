// Child windows 1..50: top-level frames owned by the root window, or frames inside the
// root window's client area. They share the root window's classes, window procedures and
// table, so their events carry their own number.
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/error_codes.hpp"
#include "core/window_layers.hpp"
#include "event_queue.hpp"
#include "quill/errors.hpp"
#include "quill/window.hpp"
#include "settings.hpp"
#include "window_procs_win32.hpp"
#include "window_table.hpp"

namespace quill {
namespace {

constexpr int kDefaultSize = 5000;  // half of the reference area, in screen units

// The area child positions are measured in: the screen, or the root's client area.
SIZE reference_size(bool inside_parent) {
  const WindowTable& table = windows();
  if (inside_parent) {
    RECT r{};
    GetClientRect(table.windows[0].client, &r);
    return {r.right, r.bottom};
  }
  const int w = settings().screen_width, h = settings().screen_height;
  return {w > 0 ? w : GetSystemMetrics(SM_CXSCREEN), h > 0 ? h : GetSystemMetrics(SM_CYSCREEN)};
}

// A size in screen units as pixels: the fraction units / 9999 of the reference.
int size_pixels(int units, int reference) {
  return std::max(1, static_cast<int>(static_cast<long long>(reference) * std::min(units, 9999) / 9999));
}

DWORD frame_style(int flags, bool inside_parent) {
  DWORD style = WS_CAPTION | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (inside_parent) style |= WS_CHILD;
  if (flags & WinSystemMenu) style |= WS_SYSMENU;
  if (flags & WinMinimiseBox) style |= WS_MINIMIZEBOX;
  if (flags & WinMaximiseBox) style |= WS_MAXIMIZEBOX;
  if (!(flags & WinFixedSize)) style |= WS_THICKFRAME;
  return style;
}

// What the frame adds around the client area (caption, borders, menu, status bar).
SIZE frame_extra(const WindowEntry& entry) {
  RECT frame{}, client{};
  GetWindowRect(entry.frame, &frame);
  GetClientRect(entry.client, &client);
  return {frame.right - frame.left - client.right, frame.bottom - frame.top - client.bottom};
}

int first_free_child() {
  const WindowTable& table = windows();
  for (int n = 1; n < kMaxWindows; ++n) {
    if (table.windows[static_cast<std::size_t>(n)].frame == nullptr) return n;
  }
  return -1;
}

// 0 when a child window may be opened as asked, else the code to report.
int check_parent(bool inside_parent) {
  const WindowTable& table = windows();
  if (!table.open || first_free_child() < 0) return error::kInvalidWindow;
  if (!inside_parent) return 0;
  const WindowEntry& root = table.windows[0];
  if (root.kind == WindowKind::CombinedDialog) return error::kParentCombined;
  if (root.converted != nullptr) return error::kParentSpecial;
  return 0;
}

void release_entry(WindowEntry& entry) {
  if (entry.frame != nullptr && IsWindow(entry.frame)) DestroyWindow(entry.frame);
  if (entry.background != nullptr) DeleteObject(entry.background);
  for (HBITMAP bitmap : entry.toolbar_bitmaps) {
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  if (entry.accelerators != nullptr) DestroyAcceleratorTable(entry.accelerators);
  // A menu that is not on a frame is not destroyed with it.
  if (entry.inside_parent && entry.menu != nullptr) DestroyMenu(entry.menu);
  entry = WindowEntry{};
}

}  // namespace

bool inside_parent_windows_exist() {
  const WindowTable& table = windows();
  return std::any_of(table.windows.begin() + 1, table.windows.end(),
                     [](const WindowEntry& e) { return e.frame != nullptr && e.inside_parent; });
}

void release_window_entry(WindowEntry& entry) { release_entry(entry); }

}  // namespace quill

using namespace quill;

void WindowOpenChild(int& number, std::optional<int> flags, std::optional<int> x, std::optional<int> y,
                     std::optional<int> width, std::optional<int> height, std::string_view title,
                     std::optional<int> menu_id) {
  const int bits = flags.value_or(WinSystemMenu | WinMinimiseBox | WinMaximiseBox);
  const bool inside = (bits & WinInsideParent) != 0;
  if (const int code = check_parent(inside)) {
    IErrorReport(code, "WindowOpenChild");
    return;
  }
  WindowTable& table = windows();
  const int n = first_free_child();
  WindowEntry& entry = table.windows[static_cast<std::size_t>(n)];
  entry = WindowEntry{};
  entry.inside_parent = inside;
  entry.menu_id = menu_id.value_or(0);
  int code = 0;
  if (entry.menu_id > 0) {
    entry.menu = LoadMenuA(table.instance, MAKEINTRESOURCEA(entry.menu_id));
    if (entry.menu == nullptr) code = error::kMenuLoad;
  }

  const SIZE ref = reference_size(inside);
  const int client_w = size_pixels(width.value_or(kDefaultSize) < 1 ? kDefaultSize : *width, ref.cx);
  const int client_h = size_pixels(height.value_or(kDefaultSize) < 1 ? kDefaultSize : *height, ref.cy);
  const DWORD style = frame_style(bits, inside);
  const DWORD ex_style = (bits & WinTopmost) && !inside ? WS_EX_TOPMOST : 0;
  HMENU bar = inside ? nullptr : entry.menu;
  RECT outer{0, 0, client_w, client_h};
  AdjustWindowRectEx(&outer, style, bar != nullptr, ex_style);
  int frame_w = outer.right - outer.left, frame_h = outer.bottom - outer.top;
  int left = x ? units_to_pixel(*x, ref.cx) : (ref.cx - frame_w) / 2;
  int top = y ? units_to_pixel(*y, ref.cy) : (ref.cy - frame_h) / 2;

  std::string caption(title.substr(0, title.find('\0')));
  caption.erase(caption.find_last_not_of(' ') + 1);
  HWND parent = inside ? table.windows[0].client : table.windows[0].frame;
  entry.frame = CreateWindowExA(ex_style, "QUILLANTHOR", caption.c_str(), style, left, top, frame_w, frame_h,
                                parent, bar, table.instance, nullptr);
  if (entry.frame == nullptr) {
    release_entry(entry);
    IErrorReport(error::kInvalidWindow, "WindowOpenChild");
    return;
  }
  SetWindowLongPtrA(entry.frame, GWLP_USERDATA, 0);
  if (entry.menu != nullptr) attach_menu_resources(entry, entry.menu_id, table.instance);
  if (bits & WinStatusBar) {
    const int bar_h = create_status_bar(entry, bits, table.instance);
    frame_h += bar_h;
    if (!y) top -= bar_h / 2;
    SetWindowPos(entry.frame, nullptr, left, top, frame_w, frame_h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  create_client_area(entry, table.instance);
  if (!(bits & WinHidden)) {
    ShowWindow(entry.frame, (bits & WinMaximised) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    UpdateWindow(entry.frame);
    SetFocus(entry.client);
  }
  // The first picture comes from the application's drawing, not from a repaint event.
  ValidateRect(entry.client, nullptr);
  RECT cr{};
  GetClientRect(entry.client, &cr);
  entry.client_width = cr.right;
  entry.client_height = cr.bottom;
  number = n;
  if (code != 0) IErrorReport(code, "WindowOpenChild");
}

void WindowCloseChild(int number) {
  WindowTable& table = windows();
  if (!table.open || number < 1 || number >= kMaxWindows ||
      table.windows[static_cast<std::size_t>(number)].frame == nullptr) {
    IErrorReport(error::kInvalidWindow, "WindowCloseChild");
    return;
  }
  if (table.current == number) table.current = 0;
  release_entry(table.windows[static_cast<std::size_t>(number)]);
  events().slots[static_cast<std::size_t>(number)] = EventValues{};
  if (GetFocus() == nullptr && table.windows[0].client != nullptr) SetFocus(table.windows[0].client);
}

void WindowSize(int width, int height, std::optional<int> x, std::optional<int> y) {
  WindowTable& table = windows();
  if (!table.open || table.current < 0 || table.current >= kMaxWindows ||
      table.windows[static_cast<std::size_t>(table.current)].frame == nullptr) {
    IErrorReport(error::kInvalidWindow, "WindowSize");
    return;
  }
  WindowEntry& entry = table.windows[static_cast<std::size_t>(table.current)];
  const SIZE ref = reference_size(entry.inside_parent);
  const SIZE extra = frame_extra(entry);
  RECT frame{};
  GetWindowRect(entry.frame, &frame);
  const int w = width >= 1 ? size_pixels(width, ref.cx) + extra.cx : frame.right - frame.left;
  const int h = height >= 1 ? size_pixels(height, ref.cy) + extra.cy : frame.bottom - frame.top;
  UINT how = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!x || !y) how |= SWP_NOMOVE;
  SetWindowPos(entry.frame, nullptr, x ? units_to_pixel(*x, ref.cx) : 0, y ? units_to_pixel(*y, ref.cy) : 0,
               w, h, how);
}
