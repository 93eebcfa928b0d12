// Puts the entries of a dialog's extended data on its controls.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/resources_win32.hpp"
#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "base/error_state.hpp"
#include "quill/text.hpp"

namespace quill {
namespace {

std::wstring widen(std::string_view text, unsigned code_page) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
  if (needed > 0) MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), needed);
  return wide;
}

int text_as_integer(HWND control, std::size_t limit) {
  const std::string text = control_text(control, limit);
  int value = 0;
  if (silent_try([&] { IStringToInteger(text, value); }) != 0) value = 0;
  return value;
}

short to_short(double value) {
  if (value > 32767.0) return 32767;
  if (value < -32768.0) return -32768;
  return static_cast<short>(value);
}

int to_int(double value) {
  if (value > 2147483647.0) return 2147483647;
  if (value < -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(value);
}

void apply_ranges(HWND control, FieldKind kind, const DataEntry& entry) {
  if (kind == FieldKind::Progress) {
    SendMessageW(control, PBM_SETRANGE, 0,
                 MAKELPARAM(static_cast<WORD>(to_short(entry.low)), static_cast<WORD>(to_short(entry.high))));
    SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(text_as_integer(control, 17)), 0);
  } else if (kind == FieldKind::Trackbar) {
    SendMessageW(control, TBM_SETRANGEMIN, FALSE, to_int(entry.low));
    SendMessageW(control, TBM_SETRANGEMAX, FALSE, to_int(entry.high));
    SendMessageW(control, TBM_SETPOS, TRUE, text_as_integer(control, 254));
  } else if (FieldRecord* record = field_record(control)) {
    record->lower = entry.low;
    record->upper = entry.high;
  }
}

void apply_menus(HWND control, FieldKind kind, const DataEntry& entry, int slot) {
  if (kind != FieldKind::ListBox && kind != FieldKind::ComboBox) return;
  const bool list = kind == FieldKind::ListBox;
  const int selected = slot == -1 ? 1 : entry.selected;
  SendMessageW(control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
  const unsigned code_page = field_code_page(control);
  for (const std::string& option : entry.lines) {
    const std::wstring wide = widen(option, code_page);
    SendMessageW(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  if (selected > 0) {
    SendMessageW(control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(selected - 1), 0);
  }
}

void apply_tabs(HWND dialog, HWND control, const DataEntry& entry, int slot) {
  DialogState& state = dialogs();
  const int saved_slot = state.current_slot;
  const int saved_handle = state.current_handle;
  int to_select = 0;
  const int base = static_cast<int>(SendMessageW(control, TCM_GETITEMCOUNT, 0, 0));
  for (std::size_t index = 0; index < entry.tabs.size(); ++index) {
    const TabItem& tab = entry.tabs[index];
    std::wstring text = widen(tab.text, CP_ACP);
    TabItemData item{};
    item.header.mask = TCIF_TEXT | TCIF_PARAM | TCIF_IMAGE;
    item.header.pszText = text.data();
    item.header.iImage = -1;
    item.page_id = tab.page_id;
    const int position = base + static_cast<int>(index);
    SendMessageW(control, TCM_INSERTITEMW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
    if (tab.page_id == entry.selected) to_select = position;
    if (slot == -1) continue;  // dialogs outside the registry get no pages
    // Without a root window the pages live in the dialog that shows them.
    HWND parent = windows().open ? windows().windows[0].client : dialog;
    silent_try([&] { load_dialog(tab.page_id, tab.page_id, parent, nullptr, nullptr); });
  }
  place_tab_pages(control, false);
  state.current_slot = saved_slot;
  state.current_handle = saved_handle;
  SendMessageW(control, TCM_SETCURSEL, static_cast<WPARAM>(to_select), 0);
}

void apply_trackbar(HWND control, FieldKind kind, const DataEntry& entry) {
  if (kind != FieldKind::Trackbar) return;
  SendMessageW(control, TBM_SETTICFREQ, static_cast<WPARAM>(entry.ints[0]), 0);
  SendMessageW(control, TBM_SETLINESIZE, 0, entry.ints[1]);
  SendMessageW(control, TBM_SETPAGESIZE, 0, entry.ints[2]);
  if ((GetWindowLongPtrW(control, GWL_STYLE) & TBS_ENABLESELRANGE) == 0) return;
  if (entry.ints[3] == entry.ints[4]) {
    SendMessageW(control, TBM_CLEARSEL, TRUE, 0);
  } else {
    SendMessageW(control, TBM_SETSELSTART, FALSE, entry.ints[3]);
    SendMessageW(control, TBM_SETSELEND, FALSE, entry.ints[4]);
  }
}

void apply_length(HWND control, FieldKind kind, const DataEntry& entry) {
  if (is_edit_like(kind)) {
    SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(entry.value), 0);
  } else if (kind == FieldKind::ComboBox) {
    SendMessageW(control, CB_LIMITTEXT, static_cast<WPARAM>(entry.value), 0);
  }
  if (FieldRecord* record = field_record(control)) record->max_length = entry.value;
}

void fill_tree(HWND tree, HMENU menu, HTREEITEM parent, int selected) {
  const int count = GetMenuItemCount(menu);
  for (int index = 0; index < count; ++index) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info)) continue;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = text;
    insert.item.lParam = static_cast<LPARAM>(info.wID);
    if (info.hSubMenu != nullptr && (info.fState & MFS_CHECKED) != 0) {
      insert.item.state = TVIS_EXPANDED;
      insert.item.stateMask = TVIS_EXPANDED;
    }
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item == nullptr) continue;
    if (info.hSubMenu != nullptr) {
      fill_tree(tree, info.hSubMenu, item, selected);
      if ((info.fState & MFS_CHECKED) != 0) {
        SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
      }
    }
    if (static_cast<int>(info.wID) == selected && info.hSubMenu == nullptr) {
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
  }
}

void apply_tree(HWND control, FieldKind kind, const DataEntry& entry) {
  if (kind != FieldKind::TreeView || entry.ints[0] == 0) return;
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(entry.ints[0] & 0xFFFF));
  if (menu == nullptr) return;
  fill_tree(control, menu, TVI_ROOT, entry.ints[1]);
  DestroyMenu(menu);
}

// Fields given the same font share one font object. The fonts stay for the life of the
// program: the extended data of all its dialogs names only a handful.
HFONT shared_font(int points, int weight, bool italic, const std::string& face) {
  static const int pixels_per_inch = [] {
    HDC dc = CreateCompatibleDC(nullptr);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc != nullptr) DeleteDC(dc);
    return dpi;
  }();
  static std::map<std::tuple<int, int, bool, std::string>, HFONT> fonts;
  HFONT& font = fonts[{points, weight, italic, face}];
  if (font == nullptr) {
    font = CreateFontW(-MulDiv(points, pixels_per_inch, 72), 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE,
                       FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 50,
                       widen(face, CP_ACP).c_str());
  }
  return font;
}

void apply_font(HWND control, const DataEntry& entry) {
  HFONT font = shared_font(entry.ints[0], entry.ints[1], entry.ints[2] == 1, entry.text);
  if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

RECT client_rect_of(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  if (const FieldRecord* record = field_record(control); record != nullptr && record->companion != nullptr) {
    RECT companion{};
    GetWindowRect(static_cast<HWND>(record->companion), &companion);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&companion), 2);
    rect.right = companion.right;
  }
  return rect;
}

bool takes_part_in_resizing(HWND child) {
  const FieldKind kind = field_kind(child);
  return kind != FieldKind::UpDown && kind != FieldKind::Dialog && kind != FieldKind::ScrollBar &&
         field_record(child) != nullptr;
}

bool encloses(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

// Works out how every field follows the borders of a resizable dialog around anchor.
void compute_resize_data(HWND dialog, HWND anchor, bool align) {
  RECT client{};
  GetClientRect(dialog, &client);
  const RECT a = client_rect_of(dialog, anchor);
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (takes_part_in_resizing(child)) children.push_back(child);
  }
  for (HWND w : children) {
    FieldRecord* record = field_record(w);
    RECT r = client_rect_of(dialog, w);
    const RECT r0 = r;
    record->right_margin = client.right - r.right;
    record->bottom_margin = client.bottom - r.bottom;
    for (HWND v : children) {
      if (v == w) continue;
      const RECT q = client_rect_of(dialog, v);
      if (!encloses(q, r)) continue;
      if (w == anchor) {
        field_record(v)->resize_flags |= kResizeRight | kResizeBottom;
      } else if (!encloses(q, a)) {
        r = q;
      }
    }
    int flags = record->resize_flags;
    if (w == anchor) {
      flags |= kResizeRight | kResizeBottom;
    } else {
      if (align && r.right == a.right) {
        if (r.left != a.left || r0.left == a.left) flags |= kResizeRight;
        if (r0.left != a.left) flags |= kResizeLeft;
      } else if (r.left >= a.right) {
        flags |= kResizeLeft | kResizeRight;
      }
      if (align && r.bottom == a.bottom) {
        if (r.top != a.top || r0.top == a.top) flags |= kResizeBottom;
        if (r0.top != a.top) flags |= kResizeTop;
      } else if (r.top >= a.bottom) {
        flags |= kResizeTop | kResizeBottom;
      }
    }
    record->resize_flags = flags;
  }
  for (HWND w : children) {
    if (field_kind(w) != FieldKind::Static) continue;
    FieldRecord* record = field_record(w);
    const LONG_PTR type = GetWindowLongPtrW(w, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_ETCHEDHORZ && (record->resize_flags & kResizeTop) == 0) {
      record->resize_flags &= ~kResizeBottom;
    }
    if (type == SS_ETCHEDVERT && (record->resize_flags & kResizeLeft) == 0) {
      record->resize_flags &= ~kResizeRight;
    }
  }
}

void add_size_grip(HWND dialog, const DialogRecord& record) {
  if (record.combined != nullptr) {
    const int number = window_number(static_cast<HWND>(record.combined));
    if (number >= 0 && windows().windows[static_cast<std::size_t>(number)].status_bar != nullptr) return;
  }
  if (GetDlgItem(dialog, kGripId) != nullptr) return;
  RECT client{};
  GetClientRect(dialog, &client);
  CreateWindowExW(0, L"SCROLLBAR", nullptr,
                  WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 0, 0, client.right,
                  client.bottom, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kGripId)),
                  GetModuleHandleW(nullptr), nullptr);
}

void apply_dialog_entry(HWND dialog, const DataEntry& entry) {
  DialogRecord* record = dialog_record(dialog);
  if (record == nullptr) return;
  record->accelerators = entry.value != 0 ? 1 : 0;
  if (!entry.has_anchor || entry.ints[0] == 0) return;
  HWND anchor = GetDlgItem(dialog, entry.ints[0]);
  if (anchor == nullptr) return;
  record->resize_anchor = anchor;
  compute_resize_data(dialog, anchor, entry.ints[1] != 0);
  add_size_grip(dialog, *record);
}

}  // namespace

void apply_dialog_data(HWND dialog, int id, int slot, DataScope scope) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::span<const unsigned char> bytes = resource_bytes(instance, id, RT_RCDATA);
  if (bytes.empty()) return;
  const DialogData data =
      parse_dialog_data(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));

  for (const DataEntry& entry : data.entries) {
    if (entry.section == DataSection::Dialog) {
      if (scope != DataScope::Controls) apply_dialog_entry(dialog, entry);
      continue;
    }
    if (scope == DataScope::DialogOnly) continue;
    if (entry.section == DataSection::Graphics) {
      enable_graphics(dialog, entry.field_id, true);
      continue;
    }
    HWND control = GetDlgItem(dialog, entry.field_id);
    if (control == nullptr) continue;
    const FieldKind kind = field_kind(control);
    FieldRecord* record = field_record(control);
    switch (entry.section) {
      case DataSection::Ranges: apply_ranges(control, kind, entry); break;
      case DataSection::Menus: apply_menus(control, kind, entry, slot); break;
      case DataSection::Checks:
        if (kind == FieldKind::Button) {
          SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(entry.value), 0);
        }
        break;
      case DataSection::Tabs:
        if (kind == FieldKind::Tab) apply_tabs(dialog, control, entry, slot);
        break;
      case DataSection::Colours:
        if (record != nullptr) {
          int colour = 0;
          if (colour_from_triple(entry.text_colour, colour)) record->text_colour = colour;
          if (colour_from_triple(entry.background_colour, colour)) record->background_colour = colour;
        }
        break;
      case DataSection::Trackbars: apply_trackbar(control, kind, entry); break;
      case DataSection::Lengths: apply_length(control, kind, entry); break;
      case DataSection::Formats:
        if (record != nullptr) {
          record->format = entry.text;
        }
        break;
      case DataSection::Treeviews: apply_tree(control, kind, entry); break;
      case DataSection::Fonts: apply_font(control, entry); break;
      case DataSection::Flags:
        if (record != nullptr) record->flags = entry.value;
        break;
      case DataSection::Grids:
        if (kind == FieldKind::Grid) tell_layers(&DialogFieldLayer::apply_grid_line, control, entry.text);
        break;
      case DataSection::Dialog:
      case DataSection::Graphics:
      case DataSection::None: break;
    }
  }
}

// Lays every page dialog of tab on the tab's display rectangle; show_selected also
// makes the pages children of the tab's dialog and shows the selected one.
void place_tab_pages(HWND tab, bool show_selected) {
  HWND dialog = GetParent(tab);
  RECT rect{};
  GetWindowRect(tab, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
  const int selected = static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
  const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    const std::optional<int> page_id = tab_page_id(tab, index);
    if (!page_id) continue;
    HWND page = find_dialog(*page_id);
    if (page == nullptr) continue;
    if (show_selected && GetParent(page) != dialog) SetParent(page, dialog);
    RECT place = rect;
    if (GetParent(page) != dialog) {
      MapWindowPoints(dialog, GetParent(page), reinterpret_cast<POINT*>(&place), 2);
    }
    SetWindowPos(page, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOACTIVATE | (show_selected ? 0 : SWP_NOZORDER));
    if (show_selected) {
      EnableWindow(page, TRUE);
      const bool visible = index == selected && (GetWindowLongPtrW(tab, GWL_STYLE) & WS_VISIBLE) != 0;
      ShowWindow(page, visible ? SW_SHOWNA : SW_HIDE);
      if (DialogRecord* record = dialog_record(page)) record->shown = visible ? 1 : 0;
    }
  }
}

}  // namespace quill
