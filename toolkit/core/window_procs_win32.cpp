// Window procedures of the frame and client classes: messages become events, menu help
// goes to the status bar, and the error reporter's hooks are served.
#include "window_procs_win32.hpp"
#include "core/window_layers.hpp"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "event_loop_win32.hpp"
#include "event_queue.hpp"
#include "keycode.hpp"
#include "menu_tables.hpp"
#include "base/report_layer.hpp"

namespace quill {
namespace {

WindowEntry* entry_of(HWND hwnd) {
  const int n = window_number(hwnd);
  return n < 0 ? nullptr : &windows().windows[static_cast<std::size_t>(n)];
}

// Posts an event that arose in a toolkit window (frame or client area).
void post_from_window(HWND hwnd, int type, int detail1, int detail2, int detail3, int pixel_x, int pixel_y,
                      int pixel_w = 0, int pixel_h = 0) {
  const int n = window_number(hwnd);
  if (n < 0) return;
  const WindowEntry& entry = windows().windows[static_cast<std::size_t>(n)];
  EventValues v;
  v.type = type;
  v.window = n;
  v.detail1 = detail1;
  v.detail2 = detail2;
  v.detail3 = detail3;
  v.detail4 = -1;
  v.pixel_x = pixel_x;
  v.pixel_y = pixel_y;
  v.pixel_w = pixel_w;
  v.pixel_h = pixel_h;
  v.time_ms = static_cast<int>(GetMessageTime());
  PostSource source;
  source.hidden_window = !IsWindowVisible(entry.frame);
  source.keeps_pending = entry.kind == WindowKind::Plain && !in_own_dispatch(hwnd);
  post_event(v, source);
}

POINT pointer_in(HWND hwnd) {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hwnd, &p);
  return p;
}

std::string_view system_menu_help(UINT command) {
  switch (command & 0xFFF0) {
    case SC_SIZE: return "Changes the window size";
    case SC_MOVE: return "Changes the window position";
    case SC_MINIMIZE: return "Reduces the window to an icon";
    case SC_MAXIMIZE: return "Enlarges the window to full size";
    case SC_CLOSE: return "Closes the window";
    case SC_RESTORE: return "Restores the window to its normal size";
    default: return {};
  }
}

bool has_menu_help(const WindowEntry& entry) {
  return entry.status_bar != nullptr && entry.menu_strings != nullptr;
}

void show_menu_help(WindowEntry& entry, const std::string& text) {
  SendMessageA(entry.status_bar, SB_SETTEXTA, SB_SIMPLEID | SBT_NOBORDERS,
               reinterpret_cast<LPARAM>(text.c_str()));
}

// The help text of the highlighted item: system-menu texts, else the menu's
// "KVSMENUSTRING" text for the item's command identifier.
void menu_select(WindowEntry& entry, WPARAM wparam, LPARAM lparam) {
  const UINT item = LOWORD(wparam);
  const UINT flags = HIWORD(wparam);
  HMENU menu = reinterpret_cast<HMENU>(lparam);
  if (flags == 0xFFFF && menu == nullptr) return;
  std::string_view text;
  if (flags & MF_SYSMENU) {
    text = system_menu_help(item);
  } else {
    UINT id = item;
    if (flags & MF_POPUP) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_ID;
      id = GetMenuItemInfoA(menu, item, TRUE, &info) ? info.wID : 0;
    }
    if (id != 0) {
      text = find_menu_string({entry.menu_strings, entry.menu_strings_size}, static_cast<int>(id));
    }
  }
  if (text.empty()) text = " ";
  show_menu_help(entry, std::string(text.data(), text.size()));
}

// Snapshots of the root client area while a message box blocks the event loop.
struct Snapshot {
  int count = 0;
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};
Snapshot& snapshot() {
  static Snapshot shot;
  return shot;
}

bool paint_from_snapshot(HWND hwnd) {
  Snapshot& shot = snapshot();
  const WindowEntry& root = windows().windows[0];
  if (shot.bitmap == nullptr || hwnd != root.client) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, shot.bitmap);
  BitBlt(dc, 0, 0, shot.width, shot.height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  EndPaint(hwnd, &ps);
  return true;
}

int take_root_snapshot() {
  Snapshot& shot = snapshot();
  if (shot.count++ > 0) return 0;
  const WindowEntry& root = windows().windows[0];
  if (root.client == nullptr || !IsWindowVisible(root.frame)) return 0;
  RECT r{};
  GetClientRect(root.client, &r);
  HDC dc = GetDC(root.client);
  HDC memory = CreateCompatibleDC(dc);
  shot.bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
  shot.width = r.right;
  shot.height = r.bottom;
  if (shot.bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, shot.bitmap);
    BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(memory, old);
  }
  DeleteDC(memory);
  ReleaseDC(root.client, dc);
  return 0;
}

void restore_root_snapshot() {
  Snapshot& shot = snapshot();
  if (shot.count == 0 || --shot.count > 0) return;
  const WindowEntry& root = windows().windows[0];
  if (shot.bitmap != nullptr && root.client != nullptr) {
    HDC dc = GetDC(root.client);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, shot.bitmap);
    BitBlt(dc, 0, 0, shot.width, shot.height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(root.client, dc);
    ValidateRect(root.client, nullptr);
  }
  release_snapshots();
  for (HWND bar : root.toolbars) {
    if (bar != nullptr) InvalidateRect(bar, nullptr, TRUE);
  }
}

void status_bar_line(std::string_view line) {
  WindowTable& table = windows();
  if (!table.open) return;
  const int previous = table.current;
  table.current = 0;
  set_status_text(1, std::string(line).c_str());
  table.current = previous;
}

void* current_window_handle() {
  WindowTable& table = windows();
  if (!table.open || table.current < 0 || table.current >= kMaxWindows) return nullptr;
  return table.windows[static_cast<std::size_t>(table.current)].frame;
}

void key_down(HWND hwnd, WPARAM wparam) {
  const int vk = static_cast<int>(wparam);
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  MSG next;
  int code = 0;
  if (PeekMessageA(&next, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    code = key_code_with_char(vk, shift, static_cast<int>(next.wParam & 0xFF));
  } else {
    code = key_code_without_char(vk, shift, ctrl);
  }
  if (code == 0) return;
  const POINT p = pointer_in(hwnd);
  post_from_window(hwnd, EvKey, code, -1, 0, p.x, p.y);
}

void mouse_button(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  int button = 1;
  int type = EvMouseDown;
  bool down = true;
  switch (message) {
    case WM_LBUTTONDOWN: break;
    case WM_MBUTTONDOWN: button = 2; break;
    case WM_RBUTTONDOWN: button = 3; break;
    case WM_LBUTTONDBLCLK: type = EvMouseDouble; break;
    case WM_MBUTTONDBLCLK:
      button = 2;
      type = EvMouseDouble;
      break;
    case WM_RBUTTONDBLCLK:
      button = 3;
      type = EvMouseDouble;
      break;
    case WM_LBUTTONUP:
      type = EvMouseUp;
      down = false;
      break;
    case WM_MBUTTONUP:
      button = 2;
      type = EvMouseUp;
      down = false;
      break;
    default:
      button = 3;
      type = EvMouseUp;
      down = false;
      break;
  }
  if (type == EvMouseDouble && !events().double_click) type = EvMouseDown;
  if (down) {
    SetCapture(hwnd);
  } else {
    ReleaseCapture();
  }
  post_from_window(hwnd, type, button, modifier_state(wparam), 0, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
}

}  // namespace

int modifier_state(WPARAM wparam) {
  int state = 0;
  if (wparam & MK_CONTROL) state += 1;
  if (wparam & MK_SHIFT) state += 2;
  if (wparam & MK_LBUTTON) state += 4;
  if (wparam & MK_MBUTTON) state += 8;
  if (wparam & MK_RBUTTON) state += 16;
  return state;
}

void release_snapshots() {
  Snapshot& shot = snapshot();
  if (shot.bitmap != nullptr) DeleteObject(shot.bitmap);
  shot = Snapshot{};
}

int take_window_snapshots() {
  const int code = layers_take_snapshots();
  const int root_code = take_root_snapshot();
  return code != 0 ? code : root_code;
}

void restore_window_snapshots() {
  restore_root_snapshot();
  tell_layers(&WindowLayer::give_back_snapshots);
}

void register_report_layer() {
  register_layer(ReportLayer{.name = "root window",
                             .status_bar_line = status_bar_line,
                             .current_window_handle = current_window_handle,
                             .before_message_box = take_window_snapshots,
                             .after_message_box = restore_window_snapshots});
}

void unregister_report_layer() { unregister_layer<ReportLayer>("root window"); }

LRESULT CALLBACK frame_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  WindowEntry* entry = entry_of(hwnd);
  if (entry == nullptr || entry->frame != hwnd) return DefWindowProcA(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_CLOSE: {
      if (entry->kind == WindowKind::CombinedDialog &&
          first_answer(&WindowLayer::close_combined, entry->combined_dialog)) {
        return 0;
      }
      post_from_window(hwnd, EvCloseAsked, -1, -1, -1, -1, -1);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) == 0 || HIWORD(wparam) == 1) {
        // A grid window answers nonzero for the commands it carries out itself.
        if (entry->converted != nullptr && SendMessageA(entry->converted, WM_COMMAND, wparam, lparam) != 0) {
          return 0;
        }
        post_from_window(hwnd, EvCommand, LOWORD(wparam), -1, -1, -1, -1);
        return 0;
      }
      break;
    case WM_TIMER:
      KillTimer(hwnd, wparam);
      post_from_window(hwnd, EvTimerTick, static_cast<int>(wparam), -1, -1, -1, -1);
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      if (wparam != HTREDUCE) {
        const int button = message == WM_NCLBUTTONDOWN ? 1 : message == WM_NCMBUTTONDOWN ? 2 : 3;
        post_from_window(hwnd, EvFrameClick, button, -1, -1, -1, -1);
        BringWindowToTop(hwnd);
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd, focus)) entry->last_focus = focus;
      } else if (entry->last_focus != nullptr && IsWindow(entry->last_focus) &&
                 IsChild(hwnd, entry->last_focus)) {
        SetFocus(entry->last_focus);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (entry->last_focus != nullptr && IsWindow(entry->last_focus) && IsChild(hwnd, entry->last_focus)) {
        SetFocus(entry->last_focus);
      } else if (entry->combined_dialog != nullptr) {
        SetFocus(entry->combined_dialog);
      } else if (entry->client != nullptr) {
        SetFocus(entry->client);
      }
      return 0;
    case WM_SIZE: layout_frame(*entry); return 0;
    case WM_EXITSIZEMOVE:
      // A minimised child window that was moved goes back into its parent's icon rows.
      if (IsIconic(hwnd) && GetParent(hwnd) != nullptr) ArrangeIconicWindows(GetParent(hwnd));
      break;
    case WM_ENTERMENULOOP:
      if (has_menu_help(*entry)) {
        entry->status_simple = true;
        SendMessageA(entry->status_bar, SB_SIMPLE, TRUE, 0);
        show_menu_help(*entry, " ");
      }
      break;
    case WM_EXITMENULOOP:
      if (entry->status_simple) {
        entry->status_simple = false;
        SendMessageA(entry->status_bar, SB_SIMPLE, FALSE, 0);
        apply_status_parts(*entry);
      }
      break;
    case WM_MENUSELECT:
      if (entry->status_simple) menu_select(*entry, wparam, lparam);
      break;
    case WM_PALETTECHANGED:
    case WM_QUERYNEWPALETTE:
      if (entry->client != nullptr) return SendMessageA(entry->client, message, wparam, lparam);
      break;
    default: break;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK client_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  WindowEntry* entry = entry_of(hwnd);
  if (entry == nullptr || entry->client != hwnd) return DefWindowProcA(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_ERASEBKGND:
      if (entry->background != nullptr) {
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r, entry->background);
        return 1;
      }
      break;
    case WM_PAINT: {
      if (paint_from_snapshot(hwnd)) return 0;
      RECT r{};
      if (!GetUpdateRect(hwnd, &r, FALSE)) return 0;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      const bool painted = first_answer(&WindowLayer::paint_client, hwnd, dc, r);
      EndPaint(hwnd, &ps);
      if (painted) return 0;
      post_from_window(hwnd, EvRepaint, r.right - r.left, r.bottom - r.top, 0, r.left, r.top,
                       r.right - r.left, r.bottom - r.top);
      return 0;
    }
    case WM_SIZE:
      if (wparam == SIZE_MINIMIZED) return 0;
      entry->client_width = LOWORD(lparam);
      entry->client_height = HIWORD(lparam);
      if (entry->combined_dialog != nullptr) {
        MoveWindow(entry->combined_dialog, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      }
      if (entry->converted != nullptr)
        MoveWindow(entry->converted, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      post_from_window(hwnd, EvResized, LOWORD(lparam), HIWORD(lparam), 0, -1, -1);
      return 0;
    case WM_SETFOCUS:
      if (entry->converted != nullptr) SetFocus(entry->converted);
      return 0;
    case WM_KEYDOWN: key_down(hwnd, wparam); return 0;
    case WM_CHAR: {
      const POINT p = pointer_in(hwnd);
      post_from_window(hwnd, EvKey, static_cast<int>(wparam & 0xFF), -1, 0, p.x, p.y);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: mouse_button(hwnd, message, wparam, lparam); return 0;
    case WM_MOUSEMOVE:
      post_from_window(hwnd, EvMouseMotion, -1, modifier_state(wparam), 0, GET_X_LPARAM(lparam),
                       GET_Y_LPARAM(lparam));
      return 0;
    case WM_MOUSEWHEEL: {
      POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ScreenToClient(hwnd, &p);
      const int button = GET_WHEEL_DELTA_WPARAM(wparam) > 0 ? 4 : 5;
      post_from_window(hwnd, EvMouseDown, button, modifier_state(GET_KEYSTATE_WPARAM(wparam)), 0, p.x, p.y);
      return 0;
    }
    case WM_TIMER:
      if (wparam == kDelayTimerId) {
        end_delay();
      } else {
        post_from_window(hwnd, EvTimerTick, static_cast<int>(wparam), -1, -1, -1, -1);
      }
      return 0;
    default: break;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace quill
