// The dialog procedure of every toolkit dialog, the preparation of the controls and
// the handlers the controls are subclassed with.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <optional>
#include <string>
#include <vector>

#include "core/event_queue.hpp"
#include "core/window_procs_win32.hpp"
#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "dialog/numeric_fields_win32.hpp"
#include "quill/events.hpp"

namespace quill {

LRESULT CALLBACK field_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam);

namespace {

constexpr int kNotifyFocusButton = 6;
constexpr int kNotifyFocusTrackbar = 256;
constexpr int kNotifyEditChange = 768;
// Trackbar position (plus one) where the shift key went down.
constexpr wchar_t kAnchorProperty[] = L"QuillAnchor";

int button_type(HWND control) {
  return static_cast<int>(GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK);
}

bool is_push_button(HWND control) {
  if (field_kind(control) != FieldKind::Button) return false;
  const int type = button_type(control);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool is_child_dialog(HWND dialog) { return (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD) != 0; }

HWND dialog_of(HWND control) {
  HWND parent = GetParent(control);
  return dialog_record(parent) != nullptr ? parent : nullptr;
}

// The record that events of dialog update: the loaded dialog's for a modal instance.
DialogRecord* reporting_record(HWND dialog, bool& modal) {
  DialogWindowData* data = dialog_data(dialog);
  modal = data != nullptr && data->modal_instance;
  if (modal) return dialog_record(dialogs().modal_source);
  return data != nullptr ? &data->record : nullptr;
}

void set_button_image(HWND control, FieldRecord& record) {
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  if ((style & (BS_BITMAP | BS_ICON)) == 0) return;
  const int id = GetDlgCtrlID(control);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HANDLE image = nullptr;
  if ((style & BS_BITMAP) != 0) {
    image = LoadImageW(instance, MAKEINTRESOURCEW(id & 0xFFFF), IMAGE_BITMAP, 0, 0,
                       LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT);
    if (image != nullptr) {
      SendMessageW(control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
      record.image_type = 1;
    }
  } else {
    image = LoadImageW(instance, MAKEINTRESOURCEW(id & 0xFFFF), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    if (image != nullptr) {
      SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
      record.image_type = 2;
    }
  }
  if (image == nullptr) {
    SetWindowLongPtrW(control, GWL_STYLE, style & ~static_cast<LONG_PTR>(BS_BITMAP | BS_ICON));
  }
  record.image = image;
}

void set_static_image(HWND control, FieldRecord& record) {
  const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK;
  const int id = GetDlgCtrlID(control);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (type == SS_BITMAP || type == SS_ICON) {
    if (SendMessageW(control, STM_GETIMAGE, type == SS_BITMAP ? IMAGE_BITMAP : IMAGE_ICON, 0) != 0) return;
    HANDLE image =
        LoadImageW(instance, MAKEINTRESOURCEW(id & 0xFFFF), type == SS_BITMAP ? IMAGE_BITMAP : IMAGE_ICON, 0,
                   0, type == SS_BITMAP ? LR_LOADMAP3DCOLORS : LR_DEFAULTSIZE);
    if (image == nullptr) return;
    SendMessageW(control, STM_SETIMAGE, type == SS_BITMAP ? IMAGE_BITMAP : IMAGE_ICON,
                 reinterpret_cast<LPARAM>(image));
    record.image = image;
    record.image_type = type == SS_BITMAP ? 1 : 2;
  } else if (type == SS_ENHMETAFILE) {
    HENHMETAFILE metafile = metafile_resource(instance, id);
    if (metafile == nullptr) return;
    SendMessageW(control, STM_SETIMAGE, IMAGE_ENHMETAFILE, reinterpret_cast<LPARAM>(metafile));
    record.image = metafile;
    record.image_type = 5;
  }
}

void prepare_control(HWND control, bool modal_instance) {
  FieldRecord* record = field_record(control);
  if (record == nullptr) {
    attach_field_record(control, std::make_unique<FieldRecord>());
    record = field_record(control);
    if (record == nullptr) return;
  }
  const FieldKind kind = field_kind(control);
  record->kind = static_cast<int>(kind);
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  switch (kind) {
    case FieldKind::Edit:
      record->max_length = (style & ES_MULTILINE) != 0 ? 65535 : 32767;
      SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(record->max_length), 0);
      break;
    case FieldKind::Button: {
      const int type = button_type(control);
      if (type == BS_CHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
        SendMessageW(control, BM_SETSTYLE, BS_AUTOCHECKBOX, FALSE);
      } else if (type == BS_RADIOBUTTON) {
        SendMessageW(control, BM_SETSTYLE, BS_AUTORADIOBUTTON, FALSE);
      }
      if (!modal_instance) set_button_image(control, *record);
      break;
    }
    case FieldKind::Static:
      if (!modal_instance) set_static_image(control, *record);
      break;
    case FieldKind::Tab: SendMessageW(control, TCM_SETITEMEXTRA, 8, 0); break;
    case FieldKind::TreeView:
      SetWindowLongPtrW(
          control, GWL_STYLE,
          style | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP);
      break;
    default: break;
  }
  const LONG_PTR old_ex_style = GetWindowLongPtrW(control, GWL_EXSTYLE);
  LONG_PTR ex_style = old_ex_style & ~static_cast<LONG_PTR>(WS_EX_NOPARENTNOTIFY);
  if (kind == FieldKind::Button && button_type(control) == BS_GROUPBOX) ex_style |= WS_EX_TRANSPARENT;
  if (kind == FieldKind::Static) {
    const LONG_PTR type = style & SS_TYPEMASK;
    if ((type >= SS_BLACKFRAME && type <= SS_WHITEFRAME) || type == SS_ETCHEDFRAME) {
      ex_style |= WS_EX_TRANSPARENT;
    }
  }
  if (ex_style != old_ex_style) SetWindowLongPtrW(control, GWL_EXSTYLE, ex_style);
  if (record->previous_procedure == nullptr) {
    record->previous_procedure = reinterpret_cast<void*>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(field_procedure)));
  }
}

// Colours a control by its field record; null leaves the platform's default colouring.
HBRUSH colour_control(HWND control, HDC dc) {
  DialogState& state = dialogs();
  if (state.colour_brush != nullptr) {
    DeleteObject(state.colour_brush);
    state.colour_brush = nullptr;
  }
  HWND owner = control;
  for (int level = 0; level < 2 && field_record(owner) == nullptr; ++level) {
    HWND parent = GetParent(owner);
    if (parent == nullptr || dialog_record(parent) != nullptr) break;
    owner = parent;
  }
  const FieldRecord* record = field_record(owner);
  if (record == nullptr) return nullptr;
  const FieldKind kind = static_cast<FieldKind>(record->kind);
  if (kind == FieldKind::TreeView) return nullptr;
  const bool face = kind == FieldKind::Button || kind == FieldKind::Static;
  if (record->text_colour != -1) {
    SetTextColor(dc, static_cast<COLORREF>(record->text_colour));
  } else if (record->background_colour != -1) {
    SetTextColor(dc, GetSysColor(kind == FieldKind::Button ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
  }
  if (record->background_colour != -1) {
    const COLORREF colour = GetNearestColor(dc, static_cast<COLORREF>(record->background_colour));
    SetBkColor(dc, colour);
    state.colour_brush = CreateSolidBrush(colour);
    return state.colour_brush;
  }
  if (record->text_colour != -1) {
    const int index = face ? COLOR_BTNFACE : COLOR_WINDOW;
    SetBkColor(dc, GetSysColor(index));
    return GetSysColorBrush(index);
  }
  return nullptr;
}

// A disabled edit field with a text colour of its own: the platform would draw its
// text grey whatever the colour request answers, so the field is painted here.
void paint_disabled_edit(HWND control) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(control, &paint);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(control, &client);
  HBRUSH brush = colour_control(control, dc);
  FillRect(dc, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
  RECT format = client;
  SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  HGDIOBJ old_font = nullptr;
  if (const LRESULT font = SendMessageW(control, WM_GETFONT, 0, 0)) {
    old_font = SelectObject(dc, reinterpret_cast<HFONT>(font));
  }
  SetBkMode(dc, TRANSPARENT);
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  UINT flags = DT_NOPREFIX | DT_EDITCONTROL;
  if ((style & ES_RIGHT) != 0) {
    flags |= DT_RIGHT;
  } else if ((style & ES_CENTER) != 0) {
    flags |= DT_CENTER;
  }
  flags |= (style & ES_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &format, flags);
  if (old_font != nullptr) SelectObject(dc, old_font);
  EndPaint(control, &paint);
}

// A counted notification: previous and current field move on, the event is posted.
void field_changed(HWND dialog, int id, HWND control, bool focus_notification) {
  bool modal = false;
  DialogRecord* record = reporting_record(dialog, modal);
  if (record == nullptr) return;
  record->previous_field = record->current_field;
  record->current_field = id;
  record->changed_control = reinterpret_cast<std::intptr_t>(control);
  if (!modal) {
    DialogRecord* own = dialog_record(dialog);
    own->last_focus = control;
    if (!focus_notification || record->current_field != record->previous_field) {
      post_dialog_event(EvFieldEdited, record->handle, record->previous_field, record->current_field);
    }
  }
}

void end_modal_display(HWND instance, int id) {
  DialogState& state = dialogs();
  HWND loaded = state.modal_source;
  DialogRecord* record = dialog_record(loaded);
  HWND focus = GetFocus();
  HWND pressed = GetDlgItem(instance, id);
  if (record != nullptr) {
    if (focus != nullptr && focus != pressed && IsChild(instance, focus)) {
      record->previous_field = GetDlgCtrlID(focus);
    }
    record->current_field = id;
    record->exit_button = id;
  }
  // Tab pages go back under the root window's client area, hidden. They are collected
  // first: moving a window to another parent changes the sibling chain being walked.
  std::vector<HWND> pages;
  for (HWND child = GetWindow(instance, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (dialog_record(child) != nullptr && !dialog_data(child)->modal_instance) pages.push_back(child);
  }
  HWND root = windows().open ? windows().windows[0].client : nullptr;
  for (HWND page : pages) {
    ShowWindow(page, SW_HIDE);
    SetParent(page, root != nullptr ? root : loaded);
    if (DialogRecord* page_record = dialog_record(page)) page_record->shown = 0;
  }
  copy_dialog_state(instance, loaded, false);
  EndDialog(instance, id);
}

void handle_command(HWND dialog, WPARAM wparam, LPARAM lparam) {
  DialogWindowData* data = dialog_data(dialog);
  if (data == nullptr) return;
  const int id = LOWORD(wparam);
  const int code = HIWORD(wparam);
  HWND control = reinterpret_cast<HWND>(lparam);
  DialogState& state = dialogs();

  if (code == 0 || (control == nullptr && code == 1)) {
    if (is_child_dialog(dialog) && control == nullptr) {
      switch (id) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_CLOSE:
        case SC_RESTORE: SendMessageW(dialog, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0); return;
        default: break;
      }
    }
    if (control != nullptr && field_kind(control) == FieldKind::Button && !is_push_button(control)) {
      if (!state.creating) field_changed(dialog, id, control, false);
      return;
    }
    // A graphics static's clicks are already its graphics events, not a button press.
    if (control != nullptr && field_kind(control) == FieldKind::Static && field_record(control) != nullptr &&
        field_record(control)->graphics != 0) {
      return;
    }
    // An invalid numeric field: OK sends the user back, any other command restores it.
    if (numeric_command_refused(id)) return;
    if (data->modal_instance) {
      end_modal_display(dialog, id);
      return;
    }
    if (state.creating) return;
    DialogRecord& record = data->record;
    if (GetFocus() != control || control == nullptr) record.previous_field = record.current_field;
    post_dialog_event(EvButton, record.handle, id, record.previous_field);
    return;
  }

  if (control == nullptr) return;
  const FieldKind kind = field_kind(control);
  if (code == 2 && (kind == FieldKind::ListBox || kind == FieldKind::ComboBox)) {
    const FieldRecord* record = field_record(control);
    if (record == nullptr || (record->flags & 1) == 0) press_default_button(control);
    return;
  }
  if (code > 256 && code != kNotifyEditChange) return;
  if (code >= 7 && code <= 255) return;
  if (code == kNotifyFocusButton && kind != FieldKind::Button) return;
  if (state.creating) return;
  if (code == kNotifyEditChange || code == 5) {
    const FieldRecord* record = field_record(control);
    if (record == nullptr || record->change_report == 0) return;
  }
  const bool focus_notification =
      ((code == 3 || code == 4) && (kind == FieldKind::ComboBox || kind == FieldKind::ListBox)) ||
      code == kNotifyFocusButton || code == kNotifyFocusTrackbar;
  field_changed(dialog, id, control, focus_notification);
}

void handle_scroll(HWND dialog, WPARAM wparam, LPARAM lparam) {
  HWND control = reinterpret_cast<HWND>(lparam);
  if (control == nullptr || LOWORD(wparam) == TB_ENDTRACK) return;
  const FieldKind kind = field_kind(control);
  bool modal = false;
  DialogRecord* record = reporting_record(dialog, modal);
  if (record == nullptr || dialogs().creating) return;
  if (kind == FieldKind::Trackbar) {
    const HANDLE anchor = GetPropW(control, kAnchorProperty);
    if (anchor != nullptr && GetKeyState(VK_SHIFT) < 0 &&
        (GetWindowLongPtrW(control, GWL_STYLE) & TBS_ENABLESELRANGE) != 0) {
      const LPARAM start = reinterpret_cast<LPARAM>(anchor) - 1;
      const LPARAM position = SendMessageW(control, TBM_GETPOS, 0, 0);
      SendMessageW(control, TBM_SETSELSTART, FALSE, position < start ? position : start);
      SendMessageW(control, TBM_SETSELEND, TRUE, position < start ? start : position);
    }
    if (modal) return;
    field_changed(dialog, GetDlgCtrlID(control), control, false);
    return;
  }
  if (kind == FieldKind::UpDown) {
    HWND buddy = reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0));
    const FieldRecord* field = field_record(buddy);
    if (field == nullptr || field->companion != control || spin_field_locked(buddy)) return;
    const int id = GetDlgCtrlID(buddy);
    record->previous_field = id;
    record->current_field = id;
    if (!modal && field->change_report == 0) {
      post_dialog_event(EvFieldEdited, record->handle, id, id);
    }
  }
}

void handle_notify(HWND dialog, const NMHDR* header) {
  DialogWindowData* data = dialog_data(dialog);
  if (data == nullptr || header == nullptr || dialogs().creating) return;
  HWND control = header->hwndFrom;
  const FieldKind kind = field_kind(control);
  bool modal = false;
  DialogRecord* record = reporting_record(dialog, modal);
  if (record == nullptr) return;
  if (kind == FieldKind::UpDown) {
    if (header->code == static_cast<UINT>(UDN_DELTAPOS) &&
        numeric_spin_step(*reinterpret_cast<const NMUPDOWN*>(header))) {
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
    }
    return;
  }
  if (kind == FieldKind::Tab) {
    const int selected = static_cast<int>(SendMessageW(control, TCM_GETCURSEL, 0, 0));
    const int page_id = tab_page_id(control, selected).value_or(0);
    HWND page = find_dialog(page_id);
    if (header->code == static_cast<UINT>(TCN_SELCHANGING)) {
      HWND pending = numeric_field_blocking_tab();
      if (pending != nullptr) {
        // The invalid numeric field keeps the user on this page.
        numeric_beep(BeepKind::ValidationFailure);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        SetFocus(pending);
        return;
      }
      if (page != nullptr) {
        ShowWindow(page, SW_HIDE);
        if (DialogRecord* page_record = dialog_record(page)) page_record->shown = 0;
      }
      record->page_left = page_id;
    } else if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
      if (page != nullptr) {
        place_tab_pages(control, true);
        SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (GetFocus() != control) {
          HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
          if (first != nullptr) SetFocus(first);
        }
      }
      record->page_selected = page_id;
      if (!modal) post_dialog_event(EvPageSwitch, record->handle, record->page_left, record->page_selected);
    }
    return;
  }
  if (kind == FieldKind::TreeView) {
    if (header->code == static_cast<UINT>(TVN_SELCHANGEDW) ||
        header->code == static_cast<UINT>(TVN_SELCHANGEDA) ||
        header->code == static_cast<UINT>(TVN_ITEMEXPANDEDW) ||
        header->code == static_cast<UINT>(TVN_ITEMEXPANDEDA)) {
      const int id = GetDlgCtrlID(control);
      record->previous_field = id;
      record->current_field = id;
      if (!modal) post_dialog_event(EvFieldEdited, record->handle, id, id);
    } else if (header->code == static_cast<UINT>(NM_DBLCLK)) {
      HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(control, TVM_GETNEXTITEM, TVGN_CARET, 0));
      const bool leaf = item != nullptr && SendMessageW(control, TVM_GETNEXTITEM, TVGN_CHILD,
                                                        reinterpret_cast<LPARAM>(item)) == 0;
      const FieldRecord* field = field_record(control);
      if (leaf && (field == nullptr || (field->flags & 1) == 0)) press_default_button(control);
    }
  }
}

void post_graphics_mouse(HWND source, DialogRecord& record, UINT message, int field, WPARAM wparam,
                         LPARAM lparam) {
  int type = 0;
  int button = 0;
  switch (message) {
    case WM_LBUTTONDOWN:
      type = graphics_field_event(EvMouseDown);
      button = 1;
      break;
    case WM_MBUTTONDOWN:
      type = graphics_field_event(EvMouseDown);
      button = 2;
      break;
    case WM_RBUTTONDOWN:
      type = graphics_field_event(EvMouseDown);
      button = 3;
      break;
    case WM_LBUTTONUP:
      type = graphics_field_event(EvMouseUp);
      button = 1;
      break;
    case WM_MBUTTONUP:
      type = graphics_field_event(EvMouseUp);
      button = 2;
      break;
    case WM_RBUTTONUP:
      type = graphics_field_event(EvMouseUp);
      button = 3;
      break;
    case WM_LBUTTONDBLCLK:
      type = graphics_field_event(EvMouseDouble);
      button = 1;
      break;
    case WM_MBUTTONDBLCLK:
      type = graphics_field_event(EvMouseDouble);
      button = 2;
      break;
    case WM_RBUTTONDBLCLK:
      type = graphics_field_event(EvMouseDouble);
      button = 3;
      break;
    case WM_MOUSEMOVE:
      type = graphics_field_event(EvMouseMotion);
      button = 0;
      break;
    default: return;
  }
  if (type == 116 && !events().double_click) type = graphics_field_event(EvMouseDown);
  record.mouse_button = button;
  if (type == graphics_field_event(EvMouseDown)) SetCapture(source);
  if (type == graphics_field_event(EvMouseUp)) ReleaseCapture();
  post_dialog_event(type, record.handle, type == graphics_field_event(EvMouseMotion) ? -1 : button,
                    modifier_state(wparam), field, POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
}

// Lets the control handle the message, then gives the focus back to the numeric field
// whose check waits, its text selected.
LRESULT handle_then_refocus(WNDPROC previous, HWND control, UINT message, WPARAM wparam, LPARAM lparam,
                            HWND pending) {
  const LRESULT result = CallWindowProcW(previous, control, message, wparam, lparam);
  SetFocus(pending);
  SendMessageW(pending, EM_SETSEL, 0, -1);
  return result;
}

}  // namespace

void post_dialog_event(int type, int handle, int detail1, int detail2, int field, POINT pixel) {
  EventValues values;
  values.pixel_x = pixel.x;
  values.pixel_y = pixel.y;
  values.type = type;
  values.window = handle;
  values.detail1 = detail1;
  values.detail2 = detail2;
  values.detail3 = type == EvFieldEdited ? 0 : -1;
  values.detail4 = -1;
  if (type > kGraphicsFieldEvent) {
    values.detail3 = 1;
    values.detail4 = field;
  }
  values.time_ms = static_cast<int>(GetMessageTime());
  PostSource source;
  source.keeps_pending = false;
  // A hidden dialog's graphics fields change size unreported (their surfaces follow).
  if (type == graphics_field_event(EvResized)) {
    HWND dialog = find_dialog(handle);
    source.hidden_window = dialog != nullptr && !IsWindowVisible(dialog);
  }
  post_event(values, source);
}

void press_default_button(HWND control) {
  HWND dialog = GetParent(control);
  while (dialog != nullptr && dialog_record(GetParent(dialog)) != nullptr) dialog = GetParent(dialog);
  if (dialog == nullptr) return;
  const LRESULT answer = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  const int id = HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
  HWND button = GetDlgItem(dialog, id);
  if (button == nullptr || IsWindowEnabled(button)) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(button));
  }
}

void focus_selection(HWND control) {
  const FieldKind kind = field_kind(control);
  if (is_edit_like(kind)) {
    const bool multi = kind == FieldKind::Edit && (GetWindowLongPtrW(control, GWL_STYLE) & ES_MULTILINE) != 0;
    if (!multi) SendMessageW(control, EM_SETSEL, 0, -1);
    SendMessageW(control, EM_SCROLLCARET, 0, 0);
  } else if (kind == FieldKind::ComboBox) {
    SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
  }
}

namespace {

// One message to a field, with what the field procedure knows about the field.
struct FieldMessage {
  HWND control;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  FieldRecord* record;
  WNDPROC previous;
  FieldKind kind;
  HWND dialog;  // the dialog the field belongs to, or null
  bool modal;   // the dialog is a modal instance
};

// Handling before the control's own procedure; a value means the message is done.
std::optional<LRESULT> field_message_first(const FieldMessage& m) {
  const HWND control = m.control;
  const UINT message = m.message;
  const WPARAM wparam = m.wparam;
  const LPARAM lparam = m.lparam;
  const FieldKind kind = m.kind;
  const HWND dialog = m.dialog;
  const bool modal = m.modal;
  const WNDPROC previous = m.previous;
  DialogState& state = dialogs();
  switch (message) {
    case WM_SETFOCUS:
      if (dialog != nullptr && !modal) {
        if (is_child_dialog(dialog)) state.active_dialog = dialog;
        dialog_record(dialog)->last_focus = control;
      }
      break;
    case WM_CHAR:
      if (kind == FieldKind::Edit && wparam == 1) {
        SendMessageW(control, EM_SETSEL, 0, -1);
        SendMessageW(control, EM_SCROLLCARET, 0, 0);
        return 0;
      }
      if (kind == FieldKind::Edit && wparam == VK_RETURN &&
          (GetWindowLongPtrW(control, GWL_STYLE) & ES_WANTRETURN) == 0) {
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (kind == FieldKind::Edit && wparam == VK_RETURN && GetKeyState(VK_CONTROL) >= 0 &&
          GetKeyState(VK_MENU) >= 0 && (GetWindowLongPtrW(control, GWL_STYLE) & ES_WANTRETURN) == 0) {
        press_default_button(control);
        return 0;
      }
      if (kind == FieldKind::Trackbar && dialog != nullptr &&
          (GetWindowLongPtrW(control, GWL_STYLE) & TBS_ENABLESELRANGE) != 0) {
        const bool ctrl_a = wparam == 'A' && GetKeyState(VK_CONTROL) < 0;
        if (wparam == VK_SHIFT && (lparam & 0x40000000) == 0) {
          SetPropW(control, kAnchorProperty,
                   reinterpret_cast<HANDLE>(SendMessageW(control, TBM_GETPOS, 0, 0) + 1));
        } else if (wparam == VK_DELETE || ctrl_a) {
          if (wparam == VK_DELETE) {
            SendMessageW(control, TBM_CLEARSEL, TRUE, 0);
          } else {
            SendMessageW(control, TBM_SETSELSTART, FALSE, SendMessageW(control, TBM_GETRANGEMIN, 0, 0));
            SendMessageW(control, TBM_SETSELEND, TRUE, SendMessageW(control, TBM_GETRANGEMAX, 0, 0));
          }
          if (!modal) field_changed(dialog, GetDlgCtrlID(control), control, false);
          return 0;
        }
      }
      break;
    case WM_KEYUP:
      if (kind == FieldKind::Trackbar && wparam == VK_SHIFT) {
        RemovePropW(control, kAnchorProperty);
        if (SendMessageW(control, TBM_GETSELSTART, 0, 0) == SendMessageW(control, TBM_GETSELEND, 0, 0)) {
          SendMessageW(control, TBM_CLEARSEL, TRUE, 0);
        }
      }
      break;
    case WM_KILLFOCUS:
      if (kind == FieldKind::Trackbar) RemovePropW(control, kAnchorProperty);
      if (kind == FieldKind::Button && state.pending_invalid != nullptr && IsWindow(state.pending_invalid) &&
          reinterpret_cast<HWND>(wparam) != state.pending_invalid) {
        return handle_then_refocus(previous, control, message, wparam, lparam, state.pending_invalid);
      }
      break;
    case WM_LBUTTONUP:
      if (kind == FieldKind::Button && state.pending_invalid != nullptr && IsWindow(state.pending_invalid)) {
        RECT rect{};
        GetClientRect(control, &rect);
        const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        if (!PtInRect(&rect, point)) {
          return handle_then_refocus(previous, control, message, wparam, lparam, state.pending_invalid);
        }
      }
      break;
    case WM_LBUTTONDOWN:
      if (kind == FieldKind::UpDown) {
        HWND buddy = reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0));
        if (buddy != nullptr) SetFocus(buddy);
      }
      break;
    case WM_WINDOWPOSCHANGED:
      if (kind == FieldKind::Tab) {
        const LRESULT result = CallWindowProcW(previous, control, message, wparam, lparam);
        place_tab_pages(control, false);
        return result;
      }
      break;
    default: break;
  }

  return std::nullopt;
}

// After the control's own procedure: the focus notifications a dialog expects of buttons,
// trackbars and tree views.
void notify_field_focus(const FieldMessage& m) {
  const HWND control = m.control;
  const HWND dialog = m.dialog;
  const FieldKind kind = m.kind;
  if (m.message == WM_SETFOCUS && dialog != nullptr && !dialogs().creating) {
    if (kind == FieldKind::Button && (GetWindowLongPtrW(control, GWL_STYLE) & BS_NOTIFY) == 0) {
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), kNotifyFocusButton),
                   reinterpret_cast<LPARAM>(control));
    } else if (kind == FieldKind::Trackbar) {
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), kNotifyFocusTrackbar),
                   reinterpret_cast<LPARAM>(control));
    } else if (kind == FieldKind::TreeView) {
      bool tree_modal = false;
      DialogRecord* reporting = reporting_record(dialog, tree_modal);
      const int id = GetDlgCtrlID(control);
      if (reporting != nullptr && reporting->current_field != id) {
        reporting->previous_field = reporting->current_field;
        reporting->current_field = id;
        if (!tree_modal) post_dialog_event(EvFieldEdited, reporting->handle, reporting->previous_field, id);
      }
    }
  }
}

// A graphics field reports its repaints and size changes as the dialog's events.
void report_graphics_field(const FieldMessage& m) {
  const HWND dialog = m.dialog;
  const UINT message = m.message;
  const LPARAM lparam = m.lparam;
  if (m.record->graphics != 0 && dialog != nullptr && !m.modal) {
    const int id = GetDlgCtrlID(m.control);
    if (message == WM_PAINT || (m.kind == FieldKind::Button && message == BM_SETSTATE)) {
      dialog_record(dialog)->graphics_field = id;
      post_dialog_event(graphics_field_event(EvRepaint), dialog_record(dialog)->handle, -1, -1, id);
    } else if (message == WM_SIZE) {
      dialog_record(dialog)->graphics_field = id;
      post_dialog_event(graphics_field_event(EvResized), dialog_record(dialog)->handle, LOWORD(lparam),
                        HIWORD(lparam), id);
    }
  }
}

}  // namespace

LRESULT CALLBACK field_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  FieldRecord* record = field_record(control);
  if (record == nullptr) return DefWindowProcW(control, message, wparam, lparam);
  HWND dialog = dialog_of(control);
  const FieldMessage m{control,
                       message,
                       wparam,
                       lparam,
                       record,
                       reinterpret_cast<WNDPROC>(record->previous_procedure),
                       static_cast<FieldKind>(record->kind),
                       dialog,
                       dialog != nullptr && dialog_data(dialog)->modal_instance};
  if (const std::optional<LRESULT> done = field_message_first(m)) return *done;

  if (message == WM_PAINT && m.kind == FieldKind::Edit && record->text_colour != -1 &&
      !IsWindowEnabled(control)) {
    paint_disabled_edit(control);
    return 0;
  }
  // Static graphics fields turn the mouse into the dialog's graphics events.
  if (m.kind == FieldKind::Static && record->graphics != 0 && dialog != nullptr && !m.modal &&
      message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) {
    post_graphics_mouse(control, *dialog_record(dialog), message, GetDlgCtrlID(control), wparam, lparam);
  }

  const LRESULT result = CallWindowProcW(m.previous, control, message, wparam, lparam);

  notify_field_focus(m);
  report_graphics_field(m);
  if (message == WM_NCDESTROY) {
    // The control is gone without its dialog's clean-up (it was destroyed alone).
    const std::unique_ptr<FieldRecord> owned = take_field_record(control);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m.previous));
  }
  return result;
}

namespace {

// Releases what the dialog manager attached to the controls of dialog.
void release_controls(HWND dialog, bool modal) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::unique_ptr<FieldRecord> record = take_field_record(child);
    if (record == nullptr) continue;
    if (record->previous_procedure != nullptr) {
      SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_procedure));
    }
    if (!modal) {
      if (record->image != nullptr) {
        if (record->image_type == 1) DeleteObject(static_cast<HBITMAP>(record->image));
        if (record->image_type == 2) DestroyIcon(static_cast<HICON>(record->image));
        if (record->image_type == 5) DeleteEnhMetaFile(static_cast<HENHMETAFILE>(record->image));
      }
    }
  }
}

// WM_INITDIALOG: the dialog gets the data its creator made (for a modal instance, a copy
// of the loaded dialog's record); the controls are prepared and the focus field set.
INT_PTR on_init_dialog(HWND dialog, LPARAM lparam) {
  DialogState& state = dialogs();
  auto* data = reinterpret_cast<DialogWindowData*>(lparam);
  if (data->modal_instance) state.modal_instance = dialog;
  attach_dialog_data(dialog, data);
  const bool was_creating = state.creating;
  state.creating = true;
  adjust_system_menu(dialog);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    prepare_control(child, data->modal_instance);
  }
  if (windows().open && windows().windows[0].frame != nullptr) {
    const LRESULT icon = SendMessageW(windows().windows[0].frame, WM_GETICON, ICON_BIG, 0);
    if (icon != 0) SendMessageW(dialog, WM_SETICON, ICON_BIG, icon);
  }
  RECT rect{};
  GetWindowRect(dialog, &rect);
  data->record.initial_width = rect.right - rect.left;
  data->record.initial_height = rect.bottom - rect.top;
  if (!is_child_dialog(dialog)) {
    SetWindowLongPtrW(dialog, GWL_EXSTYLE, GetWindowLongPtrW(dialog, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  }
  if (data->modal_instance && data->modal_source != nullptr)
    copy_dialog_state(data->modal_source, dialog, true);
  state.creating = was_creating;
  if (data->focus_field != 0) {
    HWND focus = GetDlgItem(dialog, data->focus_field);
    if (focus != nullptr) {
      SetFocus(focus);
      focus_selection(focus);
      return FALSE;
    }
  }
  return TRUE;
}

// F1: a button event for the help identifier 9.
INT_PTR on_help(HWND dialog) {
  DialogRecord* record = dialog_record(dialog);
  if (record == nullptr || dialog_data(dialog)->modal_instance) return TRUE;
  HWND focus = GetFocus();
  if (focus == nullptr || GetDlgCtrlID(focus) != 9) record->previous_field = record->current_field;
  post_dialog_event(EvButton, record->handle, 9, record->previous_field);
  return TRUE;
}

// A dialog under a modal display paints its snapshot; a graphics dialog reports repaints.
INT_PTR on_paint(HWND dialog) {
  DialogState& state = dialogs();
  DialogWindowData* data = dialog_data(dialog);
  if (data != nullptr && data->snapshot != nullptr && state.modal_instance != nullptr &&
      state.modal_instance != dialog) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(dialog, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, data->snapshot);
    RECT client{};
    GetClientRect(dialog, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    EndPaint(dialog, &paint);
    return TRUE;
  }
  if (data != nullptr && data->record.graphics != 0 && !data->modal_instance) {
    post_dialog_event(graphics_field_event(EvRepaint), data->record.handle, -1, -1, 0);
  }
  return FALSE;
}

INT_PTR on_activate(HWND dialog, WPARAM wparam) {
  DialogState& state = dialogs();
  DialogWindowData* data = dialog_data(dialog);
  if (data == nullptr || data->modal_instance) return FALSE;
  if (LOWORD(wparam) != WA_INACTIVE) {
    state.active_dialog = dialog;
  } else {
    if (state.active_dialog == dialog) state.active_dialog = nullptr;
    state.last_deactivated = dialog;
  }
  return FALSE;
}

// A child dialog gives the focus back to its last focused field.
INT_PTR on_set_focus(HWND dialog) {
  DialogRecord* record = dialog_record(dialog);
  if (record != nullptr && is_child_dialog(dialog) && record->last_focus != nullptr &&
      IsWindow(static_cast<HWND>(record->last_focus))) {
    SetFocus(static_cast<HWND>(record->last_focus));
    return TRUE;
  }
  return FALSE;
}

INT_PTR on_size(HWND dialog, WPARAM wparam, LPARAM lparam) {
  DialogWindowData* data = dialog_data(dialog);
  if (data == nullptr) return FALSE;
  update_system_menu_on_size(dialog, wparam);
  if (data->record.resize_anchor != nullptr && wparam != SIZE_MINIMIZED) {
    resize_fields(dialog, LOWORD(lparam), HIWORD(lparam), wparam == SIZE_MAXIMIZED);
  }
  if (data->record.graphics != 0 && !data->modal_instance) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE);
    post_dialog_event(graphics_field_event(EvResized), data->record.handle, LOWORD(lparam), HIWORD(lparam),
                      0);
  }
  return FALSE;
}

// A resizable dialog does not shrink below its initial size.
INT_PTR on_get_min_max_info(HWND dialog, LPARAM lparam) {
  DialogRecord* record = dialog_record(dialog);
  if (record == nullptr || record->resize_anchor == nullptr) return FALSE;
  auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
  info->ptMinTrackSize.x = record->initial_width;
  info->ptMinTrackSize.y = record->initial_height;
  return TRUE;
}

// A right click on a child dialog's caption or icon opens its system menu.
INT_PTR on_context_menu(HWND dialog, WPARAM wparam, LPARAM lparam) {
  if (!is_child_dialog(dialog) || reinterpret_cast<HWND>(wparam) != dialog) return FALSE;
  const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  const LRESULT hit = SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  if (hit != HTCAPTION && hit != HTSYSMENU) return FALSE;
  HMENU menu = GetSystemMenu(dialog, FALSE);
  if (menu == nullptr) return FALSE;
  const bool restore = (GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
  SetMenuDefaultItem(menu, restore ? SC_RESTORE : SC_CLOSE, FALSE);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, dialog, nullptr));
  if (command != 0) SendMessageW(dialog, WM_SYSCOMMAND, command, 0);
  return TRUE;
}

// The window is gone: the registry forgets it and its data is freed.
INT_PTR on_nc_destroy(HWND dialog) {
  DialogState& state = dialogs();
  std::unique_ptr<DialogWindowData> data = take_dialog_data(dialog);
  if (data == nullptr) return FALSE;
  if (data->modal_instance) {
    if (state.modal_instance == dialog) state.modal_instance = nullptr;
  } else {
    const bool registered = state.slots.slot_of(dialog) != 0;
    forget_dialog_window(dialog);
    // A dialog loaded again later under the same handle starts with fresh grids.
    if (registered) tell_layers(&DialogFieldLayer::dialog_released, data->record.handle);
  }
  if (data->large_icon != nullptr) DestroyIcon(data->large_icon);
  if (data->snapshot != nullptr) DeleteObject(data->snapshot);
  if (data->creator_frees) static_cast<void>(data.release());
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  DialogState& state = dialogs();
  switch (message) {
    case WM_INITDIALOG: return on_init_dialog(dialog, lparam);
    case WM_COMMAND: handle_command(dialog, wparam, lparam); return TRUE;
    case WM_CLOSE: SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); return TRUE;
    case WM_HELP: return on_help(dialog);
    case WM_NOTIFY:
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
      handle_notify(dialog, reinterpret_cast<const NMHDR*>(lparam));
      return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL: handle_scroll(dialog, wparam, lparam); return FALSE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          colour_control(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam)));
    case WM_PAINT: return on_paint(dialog);
    case WM_ACTIVATE: return on_activate(dialog, wparam);
    case WM_SETFOCUS: return on_set_focus(dialog);
    case WM_SIZE: return on_size(dialog, wparam, lparam);
    case WM_GETMINMAXINFO: return on_get_min_max_info(dialog, lparam);
    case WM_MOUSEACTIVATE:
      if (is_child_dialog(dialog) && dialog_record(dialog) != nullptr) {
        state.active_dialog = dialog;
      }
      return FALSE;
    case WM_CONTEXTMENU: return on_context_menu(dialog, wparam, lparam);
    case WM_DESTROY: {
      DialogWindowData* data = dialog_data(dialog);
      if (data != nullptr) release_controls(dialog, data->modal_instance);
      return FALSE;
    }
    case WM_NCDESTROY: return on_nc_destroy(dialog);
    default: break;
  }
  // Mouse messages of a dialog that draws into its own surface.
  if (message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) {
    DialogWindowData* data = dialog_data(dialog);
    if (data != nullptr && data->record.graphics != 0 && !data->modal_instance) {
      post_graphics_mouse(dialog, data->record, message, 0, wparam, lparam);
    }
  }
  return FALSE;
}

}  // namespace quill
