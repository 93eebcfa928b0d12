// Showing, hiding and retitling dialogs, and the modal display with its instance.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "core/resources_win32.hpp"
#include "core/window_layers.hpp"
#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"

namespace quill {
namespace {

bool is_child_dialog(HWND dialog) { return (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD) != 0; }

std::wstring window_text(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

// Pixel position of the dialog: relative units in the parent's client area for a
// child dialog, screen pixels for a top-level one; -1 centres on that axis.
POINT dialog_position(HWND dialog, int x, int y) {
  RECT own{};
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  POINT point{x, y};
  if (is_child_dialog(dialog)) {
    RECT area{};
    GetClientRect(GetParent(dialog), &area);
    point.x = x == -1 ? (area.right - width) / 2 : MulDiv(area.right - 1, x, 9999);
    point.y = y == -1 ? (area.bottom - height) / 2 : MulDiv(area.bottom - 1, y, 9999);
    if (x != -1) point.x = static_cast<int>((static_cast<long long>(area.right) - 1) * x / 9999);
    if (y != -1) point.y = static_cast<int>((static_cast<long long>(area.bottom) - 1) * y / 9999);
  } else {
    if (x == -1) point.x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    if (y == -1) point.y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  return point;
}

// The owner a display records: the active dialog (or its combined window) when it is
// visible, else the most recently deactivated dialog, else the root window.
HWND display_owner() {
  const DialogState& state = dialogs();
  if (state.active_dialog != nullptr && IsWindowVisible(state.active_dialog)) {
    const DialogRecord* record = dialog_record(state.active_dialog);
    if (record != nullptr && record->combined != nullptr) return static_cast<HWND>(record->combined);
    return state.active_dialog;
  }
  if (state.last_deactivated != nullptr && IsWindow(state.last_deactivated)) return state.last_deactivated;
  return windows().open ? windows().windows[0].frame : nullptr;
}

// Windows disabled for a modal or semi-modeless display, to be enabled again.
std::vector<HWND> disable_others(HWND dialog, HWND spare) {
  std::vector<HWND> disabled;
  const DialogSlots& slots = dialogs().slots;
  for (int slot = 1; slot <= slots.count; ++slot) {
    HWND other = static_cast<HWND>(slots.at(slot));
    if (other == dialog || other == spare || is_child_dialog(other)) continue;
    const DialogRecord* record = dialog_record(other);
    if (record == nullptr || record->shown == 0 || !IsWindowEnabled(other)) continue;
    EnableWindow(other, FALSE);
    disabled.push_back(other);
  }
  for (const WindowEntry& entry : windows().windows) {
    if (entry.frame == nullptr || entry.frame == spare || !IsWindowVisible(entry.frame) ||
        !IsWindowEnabled(entry.frame)) {
      continue;
    }
    EnableWindow(entry.frame, FALSE);
    disabled.push_back(entry.frame);
  }
  return disabled;
}

void take_snapshot(HWND window, DialogWindowData* data) {
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  if (dc == nullptr) return;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap =
      CreateCompatibleBitmap(dc, client.right > 0 ? client.right : 1, client.bottom > 0 ? client.bottom : 1);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  if (data->snapshot != nullptr) DeleteObject(data->snapshot);
  data->snapshot = bitmap;
}

// Dialogs that draw (their own surface or a field) keep a copy for the modal display.
void take_dialog_snapshots() {
  const DialogSlots& slots = dialogs().slots;
  for (int slot = 1; slot <= slots.count; ++slot) {
    HWND other = static_cast<HWND>(slots.at(slot));
    DialogWindowData* data = dialog_data(other);
    if (data == nullptr || data->record.shown == 0) continue;
    RedrawWindow(other, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    bool draws = data->record.graphics != 0;
    for (HWND child = GetWindow(other, GW_CHILD); child != nullptr && !draws;
         child = GetWindow(child, GW_HWNDNEXT)) {
      const FieldRecord* record = field_record(child);
      draws = record != nullptr && record->graphics != 0;
    }
    if (draws) take_snapshot(other, data);
  }
}

void drop_dialog_snapshots() {
  const DialogSlots& slots = dialogs().slots;
  for (int slot = 1; slot <= slots.count; ++slot) {
    DialogWindowData* data = dialog_data(static_cast<HWND>(slots.at(slot)));
    if (data != nullptr && data->snapshot != nullptr) {
      DeleteObject(data->snapshot);
      data->snapshot = nullptr;
    }
  }
}

int show_modal(HWND dialog, int x, int y, int field) {
  DialogState& state = dialogs();
  DialogWindowData* data = dialog_data(dialog);
  DialogRecord& record = data->record;
  HWND owner = static_cast<HWND>(record.owner);
  // The program cannot redraw the root window while the display runs: keep a copy.
  const bool root_snapshot = windows().open && owner != windows().windows[0].frame;
  if (root_snapshot) {
    if (const int snapshot_code = take_window_snapshots(); snapshot_code != 0) {
      IErrorReport(snapshot_code, "WDialogShow");
    }
  }
  const std::vector<HWND> disabled = disable_others(dialog, owner);
  HWND saved_active = state.active_dialog;
  HWND saved_deactivated = state.last_deactivated;

  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::span<const unsigned char> bytes = resource_bytes(instance, data->resource_id, RT_DIALOG);
  int code = 0;
  if (!bytes.empty()) {
    state.modal_source = dialog;
    data->focus_field = field;
    // Place the instance where the loaded dialog would go, before it is shown.
    const POINT position = dialog_position(dialog, x, y);
    data->record.shown = 1;
    SetWindowPos(dialog, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DialogWindowData instance_data;
    instance_data.record = data->record;
    instance_data.resource_id = data->resource_id;
    instance_data.focus_field = data->focus_field;
    instance_data.modal_instance = true;
    instance_data.modal_source = dialog;
    instance_data.creator_frees = true;
    const INT_PTR result =
        DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner,
                                dialog_procedure, reinterpret_cast<LPARAM>(&instance_data));
    data->record.shown = 0;
    data->focus_field = 0;
    state.modal_source = nullptr;
    if (result == -1) code = quill::error::kDialogCreation;
  } else {
    code = quill::error::kDialogCreation;
  }
  for (HWND window : disabled) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  state.active_dialog = saved_active != nullptr && IsWindow(saved_active) ? saved_active : nullptr;
  state.last_deactivated =
      saved_deactivated != nullptr && IsWindow(saved_deactivated) ? saved_deactivated : nullptr;
  if (owner != nullptr && (GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD) != 0) SetFocus(owner);
  drop_dialog_snapshots();
  if (root_snapshot) restore_window_snapshots();
  state.information[1] = record.exit_button;
  state.information[2] = record.previous_field;
  state.information[5] = record.handle;
  state.information[3] = state.current_handle;
  return code;
}

// The tab controls of dialog, collected before their pages join its children.
std::vector<HWND> tab_controls_of(HWND dialog) {
  std::vector<HWND> tabs;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (field_kind(child) == FieldKind::Tab) tabs.push_back(child);
  }
  return tabs;
}

// Copies the items below parent of tree from into tree to, text, data and state.
void copy_tree_items(HWND from, HTREEITEM from_parent, HWND to, HTREEITEM to_parent) {
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(from, TVM_GETNEXTITEM,
                                                       from_parent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD,
                                                       reinterpret_cast<LPARAM>(from_parent)));
  for (; item != nullptr; item = reinterpret_cast<HTREEITEM>(SendMessageW(from, TVM_GETNEXTITEM, TVGN_NEXT,
                                                                          reinterpret_cast<LPARAM>(item)))) {
    wchar_t text[260] = {};
    TVITEMW source{};
    source.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    source.hItem = item;
    source.pszText = text;
    source.cchTextMax = 259;
    source.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    SendMessageW(from, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&source));
    TVINSERTSTRUCTW insert{};
    insert.hParent = to_parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = text;
    insert.item.lParam = source.lParam;
    auto copy =
        reinterpret_cast<HTREEITEM>(SendMessageW(to, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (copy == nullptr) continue;
    copy_tree_items(from, item, to, copy);
    if ((source.state & TVIS_EXPANDED) != 0)
      SendMessageW(to, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(copy));
    if (SendMessageW(from, TVM_GETNEXTITEM, TVGN_CARET, 0) == reinterpret_cast<LRESULT>(item)) {
      SendMessageW(to, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(copy));
    }
  }
}

}  // namespace

int show_dialog(HWND dialog, int x, int y, int field, int type, bool focus, bool combined_display) {
  DialogState& state = dialogs();
  DialogWindowData* data = dialog_data(dialog);
  DialogRecord& record = data->record;
  if (record.shown != 0 && IsWindowVisible(dialog)) {
    ShowWindow(dialog, SW_RESTORE);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (is_child_dialog(dialog)) {
      SetFocus(dialog);
      state.active_dialog = dialog;
    }
    return 0;
  }
  int replaced = 0;
  if (type == 2 && state.semi_depth > 0) {
    type = 3;
    replaced = quill::error::kInvalidDialogMode;
  }
  if (is_child_dialog(dialog) && type != 2) {
    type = 2;
    replaced = quill::error::kInvalidDialogMode;
  }
  if (type < 1 || type > 3) {
    type = 2;
    replaced = quill::error::kInvalidDialogMode;
  }
  HWND owner = display_owner();
  record.owner = owner;
  record.reenable = state.semi_dialog != nullptr ? state.semi_dialog : owner;
  record.show_type = type;

  if (type == 1) {
    const int code = show_modal(dialog, x, y, field);
    return code != 0 ? code : replaced;
  }
  if (is_child_dialog(dialog) && !combined_display) {
    HWND parent = GetParent(dialog);
    HWND frame = GetAncestor(parent, GA_ROOT);
    const int number = window_number(parent);
    if (frame != nullptr && !IsWindowVisible(frame) && number >= 0) return quill::error::kParentHidden;
    if (number >= 0 &&
        windows().windows[static_cast<std::size_t>(number)].kind == WindowKind::CombinedDialog &&
        windows().windows[static_cast<std::size_t>(number)].combined_dialog != dialog) {
      return quill::error::kParentCombined;
    }
  }
  if (type == 3) {
    ++state.semi_depth;
    state.semi_dialog = dialog;
    data->semi_disabled = disable_others(dialog, nullptr);
  }
  for (HWND tab : tab_controls_of(dialog)) place_tab_pages(tab, true);
  const POINT position = dialog_position(dialog, x, y);
  SetWindowPos(dialog, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (is_child_dialog(dialog)) state.active_dialog = dialog;
  ShowWindow(dialog, SW_SHOWNORMAL);
  // Inside a hidden window (a frame not shown yet) the focus is only noted: the frame takes
  // it to the dialog, and the dialog to this field, when it is first activated.
  const bool on_screen = IsWindowVisible(dialog) != FALSE;
  HWND focused = nullptr;
  if (focus) {
    HWND target = field != 0 ? GetDlgItem(dialog, field) : nullptr;
    if (target == nullptr) target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (on_screen) {
      const bool was_creating = state.creating;
      state.creating = true;
      SetFocus(target != nullptr ? target : dialog);
      state.creating = was_creating;
    }
    if (target != nullptr) {
      focus_selection(target);
      record.last_focus = target;
    }
    focused = on_screen ? GetFocus() : target;
  } else {
    focused = GetFocus();
  }
  if (on_screen) RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (focused != nullptr && IsChild(dialog, focused)) {
    record.previous_field = GetDlgCtrlID(focused);
    record.current_field = record.previous_field;
  }
  record.shown = 1;
  return replaced;
}

int hide_dialog(HWND dialog, bool check_combined) {
  DialogState& state = dialogs();
  DialogRecord* record = dialog_record(dialog);
  if (record == nullptr) return 0;
  if (is_tab_page(dialog)) return quill::error::kSubDialog;
  if (check_combined && record->combined != nullptr) return quill::error::kDialogCombined;
  if (record->shown != 0 && record->show_type == 3 && state.semi_depth > 0) {
    --state.semi_depth;
    DialogWindowData* data = dialog_data(dialog);
    for (HWND window : data->semi_disabled) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    data->semi_disabled.clear();
  }
  const DialogSlots& slots = state.slots;
  for (int slot = 1; slot <= slots.count; ++slot) {
    DialogRecord* other = dialog_record(static_cast<HWND>(slots.at(slot)));
    if (other != nullptr && other->owner == dialog) other->owner = record->owner;
  }
  const bool was_active = state.active_dialog == dialog || GetActiveWindow() == dialog;
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  record->shown = 0;
  if (state.semi_dialog == dialog) {
    state.semi_dialog = state.semi_depth > 0 ? static_cast<HWND>(record->reenable) : nullptr;
  }
  if (was_active) {
    HWND owner = static_cast<HWND>(record->owner);
    if (state.active_dialog == dialog) state.active_dialog = nullptr;
    if (owner != nullptr && IsWindow(owner)) {
      if (dialog_record(owner) != nullptr) state.active_dialog = owner;
      HWND top = GetAncestor(owner, GA_ROOT);
      if (top != nullptr) SetActiveWindow(top);
      SetFocus(owner);
    }
  }
  return 0;
}

// Copies the state of the controls of from into to; both come from one template,
// so their children correspond in order.
namespace {

// The record of the source control, keeping what belongs to the target's own window
// (its procedure; into the loaded dialog also its format, font and image).
void copy_field_record(HWND source, HWND target, bool into_instance) {
  FieldRecord* from_record = field_record(source);
  FieldRecord* to_record = field_record(target);
  if (from_record == nullptr || to_record == nullptr) return;
  FieldRecord copy = *from_record;
  copy.previous_procedure = to_record->previous_procedure;
  copy.text_buffer = to_record->text_buffer;
  copy.companion = to_record->companion;  // each window keeps its own up-down
  if (!into_instance) {
    copy.format = to_record->format;
    copy.image = to_record->image;
    copy.image_type = to_record->image_type;
  }
  *to_record = copy;
}

// Font, tab stop, enabled and visible state.
void copy_window_state(HWND source, HWND target, FieldKind kind, LONG_PTR style, bool into_instance) {
  if (into_instance) {
    const LRESULT font = SendMessageW(source, WM_GETFONT, 0, 0);
    if (font != 0) SendMessageW(target, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  }
  const LONG_PTR target_style = GetWindowLongPtrW(target, GWL_STYLE);
  SetWindowLongPtrW(target, GWL_STYLE,
                    (target_style & ~static_cast<LONG_PTR>(WS_TABSTOP)) | (style & WS_TABSTOP));
  EnableWindow(target, IsWindowEnabled(source));
  if (kind != FieldKind::Dialog) ShowWindow(target, (style & WS_VISIBLE) != 0 ? SW_SHOWNA : SW_HIDE);
}

void copy_edit(HWND source, HWND target, LONG_PTR style) {
  SendMessageW(target, EM_LIMITTEXT, static_cast<WPARAM>(SendMessageW(source, EM_GETLIMITTEXT, 0, 0)), 0);
  SendMessageW(target, EM_SETREADONLY, (style & ES_READONLY) != 0, 0);
  SetWindowTextW(target, window_text(source).c_str());
  SendMessageW(target, EM_SETMODIFY, static_cast<WPARAM>(SendMessageW(source, EM_GETMODIFY, 0, 0)), 0);
}

void copy_button(HWND source, HWND target, bool into_instance) {
  SetWindowTextW(target, window_text(source).c_str());
  SendMessageW(target, BM_SETCHECK, static_cast<WPARAM>(SendMessageW(source, BM_GETCHECK, 0, 0)), 0);
  if (into_instance) {
    if (const LRESULT image = SendMessageW(source, BM_GETIMAGE, IMAGE_BITMAP, 0)) {
      SendMessageW(target, BM_SETIMAGE, IMAGE_BITMAP, image);
    } else if (const LRESULT icon = SendMessageW(source, BM_GETIMAGE, IMAGE_ICON, 0)) {
      SendMessageW(target, BM_SETIMAGE, IMAGE_ICON, icon);
    }
  }
}

void copy_static(HWND source, HWND target, LONG_PTR style, bool into_instance) {
  if (into_instance) {
    const UINT types[] = {IMAGE_BITMAP, IMAGE_ICON, IMAGE_ENHMETAFILE};
    for (UINT image_type : types) {
      if (const LRESULT image = SendMessageW(source, STM_GETIMAGE, image_type, 0)) {
        SendMessageW(target, STM_SETIMAGE, image_type, image);
        break;
      }
    }
  }
  if ((style & SS_TYPEMASK) != SS_BITMAP && (style & SS_TYPEMASK) != SS_ICON &&
      (style & SS_TYPEMASK) != SS_ENHMETAFILE) {
    SetWindowTextW(target, window_text(source).c_str());
  }
}

// Items, selection and (for a combo box) limit and edit text.
void copy_list(HWND source, HWND target, FieldKind kind, LONG_PTR style) {
  const FieldRecord* from_record = field_record(source);
  const bool list = kind == FieldKind::ListBox;
  SendMessageW(target, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
  const int count = static_cast<int>(SendMessageW(source, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    const int length = static_cast<int>(
        SendMessageW(source, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(source, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    SendMessageW(target, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  if (list && (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0) {
    for (int index = 0; index < count; ++index) {
      SendMessageW(target, LB_SETSEL,
                   static_cast<WPARAM>(SendMessageW(source, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0),
                   index);
    }
  } else {
    SendMessageW(target, list ? LB_SETCURSEL : CB_SETCURSEL,
                 static_cast<WPARAM>(SendMessageW(source, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0)), 0);
  }
  if (!list) {
    SendMessageW(target, CB_LIMITTEXT,
                 static_cast<WPARAM>(from_record != nullptr ? from_record->max_length : 0), 0);
    SetWindowTextW(target, window_text(source).c_str());
  }
}

void copy_progress(HWND source, HWND target) {
  PBRANGE range{};
  SendMessageW(source, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  SendMessageW(target, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow), range.iHigh);
  SendMessageW(target, PBM_SETPOS, static_cast<WPARAM>(SendMessageW(source, PBM_GETPOS, 0, 0)), 0);
}

void copy_trackbar(HWND source, HWND target) {
  SendMessageW(target, TBM_SETRANGEMIN, FALSE, SendMessageW(source, TBM_GETRANGEMIN, 0, 0));
  SendMessageW(target, TBM_SETRANGEMAX, FALSE, SendMessageW(source, TBM_GETRANGEMAX, 0, 0));
  SendMessageW(target, TBM_SETLINESIZE, 0, SendMessageW(source, TBM_GETLINESIZE, 0, 0));
  SendMessageW(target, TBM_SETPAGESIZE, 0, SendMessageW(source, TBM_GETPAGESIZE, 0, 0));
  SendMessageW(target, TBM_SETSELSTART, FALSE, SendMessageW(source, TBM_GETSELSTART, 0, 0));
  SendMessageW(target, TBM_SETSELEND, FALSE, SendMessageW(source, TBM_GETSELEND, 0, 0));
  SendMessageW(target, TBM_SETPOS, TRUE, SendMessageW(source, TBM_GETPOS, 0, 0));
}

void copy_tab(HWND source, HWND target) {
  SendMessageW(target, TCM_DELETEALLITEMS, 0, 0);
  const int count = static_cast<int>(SendMessageW(source, TCM_GETITEMCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    wchar_t text[1026] = {};
    TabItemData item{};
    item.header.mask = TCIF_TEXT | TCIF_PARAM | TCIF_IMAGE;
    item.header.pszText = text;
    item.header.cchTextMax = 1025;
    SendMessageW(source, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    item.header.mask = TCIF_TEXT | TCIF_PARAM | TCIF_IMAGE;
    item.header.pszText = text;
    SendMessageW(target, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(target, TCM_SETCURSEL, static_cast<WPARAM>(SendMessageW(source, TCM_GETCURSEL, 0, 0)), 0);
}

// The contents that belong to the control's kind.
void copy_field_contents(HWND source, HWND target, FieldKind kind, LONG_PTR style, bool into_instance) {
  switch (kind) {
    case FieldKind::Edit:
    case FieldKind::NumericEdit: copy_edit(source, target, style); break;
    case FieldKind::Button: copy_button(source, target, into_instance); break;
    case FieldKind::Static: copy_static(source, target, style, into_instance); break;
    case FieldKind::ListBox:
    case FieldKind::ComboBox: copy_list(source, target, kind, style); break;
    case FieldKind::Progress: copy_progress(source, target); break;
    case FieldKind::Trackbar: copy_trackbar(source, target); break;
    case FieldKind::Tab: copy_tab(source, target); break;
    case FieldKind::TreeView:
      SendMessageW(target, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
      copy_tree_items(source, TVI_ROOT, target, TVI_ROOT);
      break;
    default:
      if (kind != FieldKind::Dialog) SetWindowTextW(target, window_text(source).c_str());
      break;
  }
}

}  // namespace

void copy_dialog_state(HWND from, HWND to, bool into_instance) {
  DialogState& state = dialogs();
  const bool was_creating = state.creating;
  state.creating = true;
  if (into_instance) {
    SetWindowTextW(to, window_text(from).c_str());
    const LRESULT icon = SendMessageW(from, WM_GETICON, ICON_BIG, 0);
    if (icon != 0) SendMessageW(to, WM_SETICON, ICON_BIG, icon);
    RECT rect{};
    GetWindowRect(from, &rect);
    SetWindowPos(to, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND source = GetWindow(from, GW_CHILD);
  HWND target = GetWindow(to, GW_CHILD);
  for (; source != nullptr && target != nullptr;
       source = GetWindow(source, GW_HWNDNEXT), target = GetWindow(target, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(source) != GetDlgCtrlID(target)) continue;
    copy_field_record(source, target, into_instance);
    const FieldKind kind = field_kind(source);
    const LONG_PTR style = GetWindowLongPtrW(source, GWL_STYLE);
    copy_window_state(source, target, kind, style, into_instance);
    copy_field_contents(source, target, kind, style, into_instance);
  }
  // Tab pages of the loaded dialog lie in the instance while it runs.
  if (into_instance) {
    for (HWND tab : tab_controls_of(to)) place_tab_pages(tab, true);
  }
  state.creating = was_creating;
}

}  // namespace quill

void WDialogShow(std::optional<int> x, std::optional<int> y, std::optional<int> field,
                 std::optional<int> type) {
  HWND dialog = quill::current_dialog_window();
  const int show_type = type.value_or(2);
  if (dialog == nullptr) {
    IErrorReport(quill::error::kNoCurrentDialog, "WDialogShow");
    return;
  }
  if (show_type == 1) quill::take_dialog_snapshots();
  const quill::DialogRecord* record = quill::dialog_record(dialog);
  if (record->combined != nullptr) {
    IErrorReport(quill::error::kDialogCombined, "WDialogShow");
    return;
  }
  const int code =
      quill::show_dialog(dialog, x.value_or(-1), y.value_or(-1), field.value_or(0), show_type, true, false);
  if (code != 0) IErrorReport(code, "WDialogShow");
}

void WDialogHide() {
  HWND dialog = quill::current_dialog_window();
  if (dialog == nullptr) {
    IErrorReport(quill::error::kNoCurrentDialog, "WDialogHide");
    return;
  }
  const int code = quill::hide_dialog(dialog, true);
  if (code != 0) IErrorReport(code, "WDialogHide");
}

namespace {

// The title in the caption, or on the tab of a tab page. May throw when the title does
// not fit in memory; nothing has changed then.
void put_title(HWND dialog, bool caption, std::string_view title) {
  std::string_view text = title;
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (caption) {
    quill::set_control_text(dialog, text);
  } else if (quill::is_tab_page(dialog)) {
    const int handle = quill::dialog_record(dialog)->handle;
    const quill::DialogSlots& slots = quill::dialogs().slots;
    std::wstring wide(text.size(), L'\0');
    const int made = text.empty() ? 0
                                  : MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                        wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(made > 0 ? made : 0));
    for (int slot = 1; slot <= slots.count; ++slot) {
      HWND owner = static_cast<HWND>(slots.at(slot));
      for (HWND child = GetWindow(owner, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (quill::field_kind(child) != quill::FieldKind::Tab) continue;
        const int count = static_cast<int>(SendMessageW(child, TCM_GETITEMCOUNT, 0, 0));
        for (int index = 0; index < count; ++index) {
          if (quill::tab_page_id(child, index).value_or(0) != handle) continue;
          TCITEMW change{};
          change.mask = TCIF_TEXT;
          change.pszText = wide.data();
          SendMessageW(child, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
          InvalidateRect(child, nullptr, TRUE);
        }
      }
    }
  }
}

}  // namespace

void WDialogTitle(std::optional<std::string_view> title, std::optional<int> icon) {
  HWND dialog = quill::current_dialog_window();
  if (dialog == nullptr) {
    IErrorReport(quill::error::kNoCurrentDialog, "WDialogTitle");
    return;
  }
  const bool caption = (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  if (title.has_value()) {
    if (quill::allocating(quill::error::kFieldValueOutOfRange, [&] { put_title(dialog, caption, *title); }) !=
        0) {
      IErrorReport(quill::error::kFieldValueOutOfRange, "WDialogTitle");
      return;
    }
  }
  const int icon_id = icon.value_or(-1);
  if (!caption || icon_id == -1) return;
  HICON loaded = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                               icon_id == 0 ? L"icon1" : MAKEINTRESOURCEW(icon_id & 0xFFFF),
                                               IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (loaded == nullptr) {
    IErrorReport(quill::error::kInvalidImage, "WDialogTitle");
    return;
  }
  quill::DialogWindowData* data = quill::dialog_data(dialog);
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(loaded));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, 0);
  if (data->large_icon != nullptr) DestroyIcon(data->large_icon);
  data->large_icon = loaded;
}
