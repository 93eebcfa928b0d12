// The system menu and field layout of a dialog as it is created and resized.
#include <windows.h>

#include "dialog/dialog_internal_win32.hpp"

namespace quill {

void adjust_system_menu(HWND dialog) {
  HMENU menu = GetSystemMenu(dialog, FALSE);
  if (menu == nullptr) return;
  const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
  if ((style & WS_THICKFRAME) == 0) {
    SetWindowLongPtrW(dialog, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX));
  }
  const LONG_PTR now = GetWindowLongPtrW(dialog, GWL_STYLE);
  EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
  if ((now & WS_MINIMIZEBOX) == 0) EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_GRAYED);
  if ((now & WS_MAXIMIZEBOX) == 0) EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
  if ((now & WS_THICKFRAME) == 0) EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
}

void update_system_menu_on_size(HWND dialog, WPARAM kind) {
  HMENU menu = GetSystemMenu(dialog, FALSE);
  if (menu == nullptr) return;
  const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
  const UINT enabled = MF_BYCOMMAND | MF_ENABLED;
  const UINT greyed = MF_BYCOMMAND | MF_GRAYED;
  EnableMenuItem(menu, SC_MINIMIZE,
                 kind == SIZE_MINIMIZED || (style & WS_MINIMIZEBOX) == 0 ? greyed : enabled);
  EnableMenuItem(menu, SC_MAXIMIZE,
                 kind == SIZE_MAXIMIZED || (style & WS_MAXIMIZEBOX) == 0 ? greyed : enabled);
  EnableMenuItem(menu, SC_RESTORE, kind == SIZE_MINIMIZED || kind == SIZE_MAXIMIZED ? enabled : greyed);
}

// Moves the edges of every field of a resizable dialog by its resize flags.
void resize_fields(HWND dialog, int width, int height, bool maximised) {
  HDWP batch = BeginDeferWindowPos(8);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == kGripId && field_kind(child) == FieldKind::ScrollBar) {
      RECT grip{};
      GetWindowRect(child, &grip);
      const int w = grip.right - grip.left;
      const int h = grip.bottom - grip.top;
      SetWindowPos(child, nullptr, width - w, height - h, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ShowWindow(child, maximised ? SW_HIDE : SW_SHOWNA);
      continue;
    }
    const FieldRecord* record = field_record(child);
    if (record == nullptr || record->resize_flags == 0) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    int right = rect.right;
    if (record->companion != nullptr) {
      RECT companion{};
      GetWindowRect(static_cast<HWND>(record->companion), &companion);
      MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&companion), 2);
      right = companion.right;
    }
    const int dx = width - (right + record->right_margin);
    const int dy = height - rect.bottom - record->bottom_margin;
    const int flags = record->resize_flags;
    if ((flags & kResizeLeft) != 0) rect.left += dx;
    if ((flags & kResizeRight) != 0) rect.right += dx;
    if ((flags & kResizeTop) != 0) rect.top += dy;
    if ((flags & kResizeBottom) != 0) rect.bottom += dy;
    if (batch != nullptr) {
      batch = DeferWindowPos(batch, child, nullptr, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (record->companion != nullptr && (flags & kResizeRight) != 0) {
      HWND companion = static_cast<HWND>(record->companion);
      RECT c{};
      GetWindowRect(companion, &c);
      MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&c), 2);
      SetWindowPos(companion, nullptr, c.left + dx, c.top + ((flags & kResizeTop) != 0 ? dy : 0), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (batch != nullptr) EndDeferWindowPos(batch);
}

}  // namespace quill
