// Field access: reading and writing the fields of the current dialog.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "core/settings.hpp"
#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "dialog/numeric_fields_win32.hpp"
#include "quill/dialog.hpp"
#include "base/error_state.hpp"
#include "text/text_internal.hpp"

namespace {

using quill::FieldKind;
using quill::FieldRecord;

HWND field_window(int field, std::string_view routine) { return quill::current_field_window(field, routine); }

// Field 0 of the option and clearing routines names the grid window of the current
// toolkit window, whether or not a dialog is current; 1006 when that window is no grid
// window. Other fields as field_window.
HWND field_or_grid_window(int field, std::string_view routine) {
  if (field != 0) return field_window(field, routine);
  const quill::WindowTable& table = quill::windows();
  HWND grid = nullptr;
  if (table.open && table.current >= 0 && table.current < quill::kMaxWindows) {
    grid = table.windows[static_cast<std::size_t>(table.current)].converted;
  }
  if (grid == nullptr) IErrorReport(quill::error::kInvalidField, routine);
  return grid;
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

void fill(std::span<char> target, std::string_view text) {
  const std::size_t count = std::min(target.size(), text.size());
  std::memcpy(target.data(), text.data(), count);
  std::memset(target.data() + count, ' ', target.size() - count);
}

int button_type(HWND control) {
  return static_cast<int>(GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK);
}

bool is_check_or_radio(HWND control) {
  if (quill::field_kind(control) != FieldKind::Button) return false;
  const int type = button_type(control);
  return type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX ||
         type == BS_RADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool is_radio(HWND control) {
  if (quill::field_kind(control) != FieldKind::Button) return false;
  const int type = button_type(control);
  return type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON;
}

// Menu kind 1 list box, 2 drop-down list, 3 editable combo, 4 multiple list; 0 other.
int menu_kind(HWND control) {
  const FieldKind kind = quill::field_kind(control);
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  if (kind == FieldKind::ListBox) return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0 ? 4 : 1;
  if (kind == FieldKind::ComboBox) return (style & 3) == CBS_DROPDOWNLIST ? 2 : 3;
  return 0;
}

// The radio group of control: the run of neighbouring "BUTTON" windows in child order
// that begins at a button with the group style (or the first of the run) and ends
// before the next button with the group style or a window of another class.
std::vector<HWND> radio_group(HWND control) {
  HWND dialog = GetParent(control);
  std::vector<HWND> run;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const bool button = quill::field_kind(child) == FieldKind::Button;
    const bool starts = button && (GetWindowLongPtrW(child, GWL_STYLE) & WS_GROUP) != 0;
    if (!button || starts) {
      if (std::find(run.begin(), run.end(), control) != run.end()) return run;
      run.clear();
    }
    if (button) run.push_back(child);
  }
  if (std::find(run.begin(), run.end(), control) != run.end()) return run;
  return {control};
}

// True for the real and double numeric classes, whose display format applies.
bool uses_display_format(HWND control) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  for (const wchar_t* real_class : {L"REALEDIT", L"REALSPIN", L"DOUBLEEDIT", L"DOUBLESPIN"}) {
    if (lstrcmpiW(name, real_class) == 0) return true;
  }
  return false;
}

// Sets a text as WDialogPutString does, the value stored by the caller.
void put_text(HWND control, std::string_view text) {
  FieldRecord* record = quill::field_record(control);
  const int saved = record != nullptr ? std::exchange(record->change_report, 0) : 0;
  try {
    quill::set_control_text(control, text);
  } catch (...) {  // a text too long for memory: the field stays as it was
    if (record != nullptr) record->change_report = saved;
    throw;
  }
  if (record != nullptr) record->change_report = saved;
}

void after_put(HWND control, FieldRecord* record, std::string_view text, double value) {
  if (record != nullptr) {
    record->value = value;
    record->defined = text.empty() ? 0 : 1;
    record->format.clear();
  }
  if (quill::is_edit_like(quill::field_kind(control))) SendMessageW(control, EM_SETMODIFY, FALSE, 0);
  InvalidateRect(control, nullptr, TRUE);
  UpdateWindow(control);
}

bool text_to_real(std::string_view text, double& value) {
  return quill::silent_try([&] { IStringToReal8(text, value); }) == 0;
}

// The field's value for the numeric readers. Returns 0, 1010 when the field holds no
// text (or, in a numeric field, a number its class cannot hold), or the text-to-number
// code (4, 10, 11, 12) when its text is not a number. A numeric field's stored value is
// used unless the user edited its text.
int read_value(HWND control, double& value) {
  const std::string text = quill::control_text(control, static_cast<std::size_t>(-1));
  if (trim(text).empty()) return quill::error::kFieldValueUndefined;
  if (quill::field_kind(control) == FieldKind::NumericEdit) {
    if (quill::numeric_field_value(control, value)) return 0;
    double ignored = 0.0;
    const int code = quill::silent_try([&] { IStringToReal8(trim(text), ignored); });
    return code != 0 ? code : quill::error::kFieldValueUndefined;
  }
  std::string_view view = text;
  while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
  return quill::silent_try([&] { IStringToReal8(trim(view), value); });
}

}  // namespace

void WDialogPutString(int field, std::string_view text) {
  HWND control = field_window(field, "WDialogPutString");
  if (control == nullptr) return;
  const std::string_view trimmed = trim(text);
  // A text too long for memory leaves the field as it was.
  const int code = quill::allocating(quill::error::kFieldValueOutOfRange, [&] {
    put_text(control, trimmed);
    double value = 0.0;
    if (!trimmed.empty() && !text_to_real(trimmed, value)) value = 0.0;
    after_put(control, quill::field_record(control), trimmed, value);
    return 0;
  });
  if (code != 0) IErrorReport(code, "WDialogPutString");
}

void WDialogGetString(int field, std::span<char> text) {
  HWND control = field_window(field, "WDialogGetString");
  if (control == nullptr) {
    fill(text, {});
    return;
  }
  fill(text, quill::control_text(control, text.size()));
}

void WDialogGetStringLength(int field, int& length) {
  HWND control = field_window(field, "WDialogGetStringLength");
  if (control == nullptr) return;
  length = static_cast<int>(quill::control_text(control, static_cast<std::size_t>(-1)).size());
}

void WDialogSetField(int field, std::optional<int> position) {
  HWND control = field_window(field, "WDialogSetField");
  if (control == nullptr) return;
  HWND dialog = GetParent(control);
  if (!IsWindowVisible(dialog)) return;
  quill::DialogState& state = quill::dialogs();
  if ((GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD) != 0) {
    state.active_dialog = dialog;
  }
  SetFocus(control);
  const FieldKind kind = quill::field_kind(control);
  if (position.has_value() && (quill::is_edit_like(kind) || kind == FieldKind::ComboBox)) {
    const int at = *position > 1 ? *position - 1 : 0;
    if (kind == FieldKind::ComboBox) {
      SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(at, at));
    } else {
      SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(at), at);
      SendMessageW(control, EM_SCROLLCARET, 0, 0);
    }
  } else {
    quill::focus_selection(control);
  }
  quill::DialogRecord* record = quill::dialog_record(dialog);
  if (record != nullptr) {
    record->current_field = field;
    record->last_focus = control;
  }
}

void WDialogFieldOptions(int field, int option, int value) {
  HWND control = field_or_grid_window(field, "WDialogFieldOptions");
  if (control == nullptr) return;
  const FieldKind kind = quill::field_kind(control);
  FieldRecord* record = quill::field_record(control);
  if (option == 1 || option == 2) {
    if (kind != FieldKind::Grid) {
      IErrorReport(quill::error::kInvalidField, "WDialogFieldOptions");
    } else {
      quill::tell_layers(&quill::DialogFieldLayer::grid_option, control, option, value);
    }
    return;
  }
  if (option == 3) {
    if ((!quill::is_edit_like(kind) && kind != FieldKind::Grid && kind != FieldKind::ComboBox) ||
        record == nullptr) {
      IErrorReport(quill::error::kInvalidField, "WDialogFieldOptions");
      return;
    }
    record->change_report = value != 0 ? 1 : 0;
  } else if (option == 4) {
    if ((kind != FieldKind::NumericEdit && kind != FieldKind::Grid) || record == nullptr) {
      IErrorReport(quill::error::kInvalidField, "WDialogFieldOptions");
      return;
    }
    record->numeric_option = value != 0 ? 1 : 0;
  }
}

void WDialogFieldState(int field, int state) {
  HWND control = field_window(field, "WDialogFieldState");
  if (control == nullptr) return;
  FieldRecord* record = quill::field_record(control);
  if (record != nullptr) record->state = state;
  HWND dialog = GetParent(control);
  RECT client{};
  RECT rect{};
  GetClientRect(dialog, &client);
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  const quill::DialogRecord* dialog_rec = quill::dialog_record(dialog);
  const bool inside =
      rect.left < client.right && rect.top < client.bottom && rect.right > 0 && rect.bottom > 0;
  const bool resizable = dialog_rec != nullptr && dialog_rec->resize_anchor != nullptr;
  if (!inside && !resizable) return;
  const FieldKind kind = quill::field_kind(control);
  const bool had_focus = GetFocus() == control;
  HWND companion = record != nullptr ? static_cast<HWND>(record->companion) : nullptr;
  if (quill::is_edit_like(kind)) {
    EnableWindow(control, state == 1 || state == 2);
    SendMessageW(control, EM_SETREADONLY, state == 2, 0);
    if (companion != nullptr) EnableWindow(companion, state == 1);
  } else if (kind == FieldKind::Grid) {
    EnableWindow(control, state == 1 || state == 2);
  } else {
    EnableWindow(control, state == 1);
  }
  ShowWindow(control, state == 3 ? SW_HIDE : SW_SHOWNA);
  if (companion != nullptr) ShowWindow(companion, state == 3 ? SW_HIDE : SW_SHOWNA);
  if (kind == FieldKind::Tab) {
    const int selected = static_cast<int>(SendMessageW(control, TCM_GETCURSEL, 0, 0));
    const std::optional<int> page_id = selected >= 0 ? quill::tab_page_id(control, selected) : std::nullopt;
    if (page_id) {
      if (HWND page = quill::find_dialog(*page_id)) ShowWindow(page, state == 3 ? SW_HIDE : SW_SHOWNA);
    }
  }
  if (kind == FieldKind::Static) {
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
  }
  const bool lost = state == 0 || state == 3 || (state == 2 && !quill::is_edit_like(kind));
  if (had_focus && lost) {
    quill::DialogRecord* owner = quill::dialog_record(dialog);
    HWND target =
        owner != nullptr && owner->combined != nullptr ? static_cast<HWND>(owner->combined) : dialog;
    SetFocus(target);
    if (owner != nullptr) owner->last_focus = nullptr;
  }
}

void WDialogPutInteger(int field, int value) {
  HWND control = field_window(field, "WDialogPutInteger");
  if (control == nullptr) return;
  FieldRecord* record = quill::field_record(control);
  if (record != nullptr && record->has_range() && (value < record->lower || value > record->upper)) {
    IErrorReport(quill::error::kFieldValueOutOfRange, "WDialogPutInteger");
    return;
  }
  char buffer[13] = {};
  yyint2st(value, std::span<char>(buffer, 12));
  const std::string_view text = trim(std::string_view(buffer, std::strlen(buffer)));
  put_text(control, text);
  after_put(control, record, text, value);
}

void WDialogGetInteger(int field, int& value) {
  HWND control = field_window(field, "WDialogGetInteger");
  if (control == nullptr) return;
  double number = 0.0;
  if (const int code = read_value(control, number); code != 0) {
    value = quill::kUndefinedInteger;
    IErrorReport(code, "WDialogGetInteger");
    return;
  }
  if (number >= 2147483647.0) {
    value = 2147483647;
  } else if (number <= -2147483648.0) {
    value = -2147483647 - 1;
  } else {
    value = static_cast<int>(std::trunc(number));
  }
}

void WDialogRangeInteger(int field, std::optional<int> low, std::optional<int> high) {
  HWND control = field_window(field, "WDialogRangeInteger");
  if (control == nullptr) return;
  FieldRecord* record = quill::field_record(control);
  if (record == nullptr) return;
  if (!low && !high) {
    record->lower = quill::kNoLowerBound;
    record->upper = quill::kNoUpperBound;
    return;
  }
  record->lower = low.value_or(-2147483647);
  record->upper = high.value_or(2147483647);
}

namespace {

// WDialogPutReal and WDialogPutDouble: the value written with format (absent or blank:
// the field's display format, else "(G15.5E2)"), in single or double precision.
void put_number(std::string_view routine, int field, double value, bool double_precision,
                std::optional<std::string_view> format) {
  HWND control = field_window(field, routine);
  if (control == nullptr) return;
  FieldRecord* record = quill::field_record(control);
  std::string descriptor(format.has_value() ? trim(*format) : std::string_view{});
  if (trim(descriptor).empty()) {
    if (record != nullptr && !record->format.empty() && uses_display_format(control)) {
      descriptor = record->format;
    } else {
      descriptor = "(G15.5E2)";
    }
  }
  if (record != nullptr && record->has_range() && (value < record->lower || value > record->upper)) {
    IErrorReport(quill::error::kFieldValueOutOfRange, routine);
    return;
  }
  char buffer[256] = {};
  if (double_precision) {
    yydbl2st(value, std::span<char>(buffer, 255), descriptor);
  } else {
    yyrea2st(static_cast<float>(value), std::span<char>(buffer, 255), descriptor);
  }
  std::string_view text = trim(std::string_view(buffer, strnlen(buffer, 255)));
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  put_text(control, text);
  after_put(control, record, text, value);
  if (record != nullptr) {
    record->format = descriptor;
  }
}

// The field's value for WDialogGetReal and WDialogGetDouble; false after reporting.
bool get_number(std::string_view routine, int field, double& number) {
  HWND control = field_window(field, routine);
  if (control == nullptr) return false;
  if (const int code = read_value(control, number); code != 0) {
    IErrorReport(code, routine);
    return false;
  }
  return true;
}

}  // namespace

void WDialogPutReal(int field, float value, std::optional<std::string_view> format) {
  put_number("WDialogPutReal", field, value, false, format);
}

void WDialogPutDouble(int field, double value, std::optional<std::string_view> format) {
  put_number("WDialogPutDouble", field, value, true, format);
}

void WDialogGetReal(int field, float& value) {
  double number = 0.0;
  if (!get_number("WDialogGetReal", field, number)) {
    value = quill::kUndefinedReal;
    return;
  }
  // A double beyond single precision has no float value: it fails as IStringToReal does.
  if (std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max())) {
    value = quill::kUndefinedReal;
    IErrorReport(quill::error::kNumberTooLarge, "WDialogGetReal");
    return;
  }
  value = static_cast<float>(number);
}

void WDialogGetDouble(int field, double& value) {
  double number = 0.0;
  value = get_number("WDialogGetDouble", field, number) ? number : quill::kUndefinedReal;
}

void WDialogPutCheckBox(int field, int state) {
  HWND control = field_window(field, "WDialogPutCheckBox");
  if (control == nullptr) return;
  if (!is_check_or_radio(control)) {
    IErrorReport(quill::error::kInvalidField, "WDialogPutCheckBox");
    return;
  }
  SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void WDialogGetCheckBox(int field, int& state) {
  HWND control = field_window(field, "WDialogGetCheckBox");
  if (control == nullptr) return;
  if (!is_check_or_radio(control)) {
    IErrorReport(quill::error::kInvalidField, "WDialogGetCheckBox");
    return;
  }
  state = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
}

void WDialogPutRadioButton(int field) {
  HWND control = field_window(field, "WDialogPutRadioButton");
  if (control == nullptr) return;
  if (!is_radio(control)) {
    IErrorReport(quill::error::kInvalidField, "WDialogPutRadioButton");
    return;
  }
  for (HWND button : radio_group(control)) {
    if (button == control) {
      SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    } else if (is_radio(button)) {
      SendMessageW(button, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void WDialogGetRadioButton(int field, int& position) {
  HWND control = field_window(field, "WDialogGetRadioButton");
  if (control == nullptr) return;
  if (!is_radio(control)) {
    IErrorReport(quill::error::kInvalidField, "WDialogGetRadioButton");
    return;
  }
  const std::vector<HWND> group = radio_group(control);
  for (std::size_t index = 0; index < group.size(); ++index) {
    if (SendMessageW(group[index], BM_GETCHECK, 0, 0) == BST_CHECKED) {
      position = static_cast<int>(index) + 1;
      return;
    }
  }
  position = quill::kUndefinedInteger;
  IErrorReport(quill::error::kFieldValueUndefined, "WDialogGetRadioButton");
}

namespace {

std::wstring widen_for(HWND control, std::string_view text) {
  if (text.empty()) return {};
  const unsigned code_page = quill::field_code_page(control);
  const int size = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
  if (needed > 0) MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), needed);
  return wide;
}

std::wstring option_text(HWND control, bool list, int index) {
  const int length = static_cast<int>(
      SendMessageW(control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string narrow_for(HWND control, const std::wstring& wide) {
  if (wide.empty()) return {};
  const unsigned code_page = quill::field_code_page(control);
  const int size = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
  return text;
}

// 0-based index of the option that equals text exactly, or -1.
int exact_option(HWND control, bool list, const std::wstring& text) {
  const int count = static_cast<int>(SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    if (option_text(control, list, index) == text) return index;
  }
  return -1;
}

}  // namespace

void WDialogPutMenu(int field, std::span<const std::string_view> options, int count, int selected,
                    std::optional<std::string_view> text) {
  HWND control = field_window(field, "WDialogPutMenu");
  if (control == nullptr) return;
  const int kind = menu_kind(control);
  if (kind < 1 || kind > 3) {
    IErrorReport(quill::error::kInvalidField, "WDialogPutMenu");
    return;
  }
  const bool list = kind == 1;
  const std::size_t used = count > 0 ? std::min(static_cast<std::size_t>(count), options.size()) : 0;
  // Every option is converted before the old ones go: a list too long for memory
  // leaves the field as it was.
  std::vector<std::wstring> wide_options;
  if (quill::allocating(quill::error::kFieldValueOutOfRange, [&] {
        wide_options.reserve(used);
        for (std::size_t index = 0; index < used; ++index)
          wide_options.push_back(widen_for(control, trim(options[index])));
      }) != 0) {
    IErrorReport(quill::error::kFieldValueOutOfRange, "WDialogPutMenu");
    return;
  }
  SendMessageW(control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
  for (const std::wstring& wide : wide_options) {
    SendMessageW(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  if (kind == 3 && text.has_value() && selected == 0) {
    const std::wstring wide = widen_for(control, trim(*text));
    const int match = exact_option(control, false, wide);
    SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(match), 0);
    SetWindowTextW(control, wide.c_str());
    return;
  }
  if (selected == 0) {
    SendMessageW(control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    return;
  }
  if (selected < 0 || static_cast<std::size_t>(selected) > used) {
    IErrorReport(quill::error::kOptionOutOfRange, "WDialogPutMenu");
    return;
  }
  SendMessageW(control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(selected - 1), 0);
}

void WDialogGetMenu(int field, int& selected, std::span<char> text) {
  HWND control = field_window(field, "WDialogGetMenu");
  if (control == nullptr) return;
  const int kind = menu_kind(control);
  if (kind < 1 || kind > 3) {
    IErrorReport(quill::error::kInvalidField, "WDialogGetMenu");
    return;
  }
  if (kind == 1) {
    const int index = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
    if (index < 0) {
      selected = quill::kUndefinedInteger;
      fill(text, {});
      IErrorReport(quill::error::kFieldValueUndefined, "WDialogGetMenu");
      return;
    }
    selected = index + 1;
    fill(text, narrow_for(control, option_text(control, true, index)));
    return;
  }
  const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
  const std::string edit_text = quill::control_text(control, 1024);
  fill(text, edit_text);
  if (index >= 0) {
    selected = index + 1;
    return;
  }
  if (edit_text.empty()) {
    selected = quill::kUndefinedInteger;
    IErrorReport(quill::error::kFieldValueUndefined, "WDialogGetMenu");
    return;
  }
  const int match = exact_option(control, false, widen_for(control, edit_text));
  selected = match >= 0 ? match + 1 : 0;
}

void WDialogClearField(int field) {
  HWND control = field_or_grid_window(field, "WDialogClearField");
  if (control == nullptr) return;
  const FieldKind kind = quill::field_kind(control);
  FieldRecord* record = quill::field_record(control);
  switch (kind) {
    case FieldKind::Edit:
    case FieldKind::NumericEdit:
      put_text(control, {});
      SendMessageW(control, EM_SETMODIFY, FALSE, 0);
      break;
    case FieldKind::Static: put_text(control, {}); break;
    case FieldKind::Button: {
      const int type = button_type(control);
      if (is_radio(control)) {
        for (HWND button : radio_group(control)) {
          if (is_radio(button)) SendMessageW(button, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        return;
      }
      if (is_check_or_radio(control)) {
        SendMessageW(control, BM_SETCHECK, BST_UNCHECKED, 0);
      } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_GROUPBOX) {
        put_text(control, {});
      } else {
        IErrorReport(quill::error::kInvalidField, "WDialogClearField");
        return;
      }
      break;
    }
    case FieldKind::ListBox: SendMessageW(control, LB_RESETCONTENT, 0, 0); break;
    case FieldKind::ComboBox:
      SendMessageW(control, CB_RESETCONTENT, 0, 0);
      SetWindowTextW(control, L"");
      break;
    case FieldKind::Progress:
      SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(SendMessageW(control, PBM_GETRANGE, TRUE, 0)), 0);
      break;
    case FieldKind::Trackbar:
      if ((GetWindowLongPtrW(control, GWL_STYLE) & TBS_ENABLESELRANGE) == 0) {
        IErrorReport(quill::error::kInvalidField, "WDialogClearField");
        return;
      }
      SendMessageW(control, TBM_CLEARSEL, TRUE, 0);
      break;
    case FieldKind::TreeView:
      SendMessageW(control, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
      break;
    case FieldKind::Grid: quill::tell_layers(&quill::DialogFieldLayer::clear_grid, control); break;
    default: IErrorReport(quill::error::kInvalidField, "WDialogClearField"); return;
  }
  if (record != nullptr) {
    record->value = 0.0;
    record->defined = 0;
  }
}

void WDialogPutImage(int field, int image_id, std::optional<int> type) {
  HWND control = field_window(field, "WDialogPutImage");
  if (control == nullptr) return;
  const int image_type = type.value_or(1);
  const FieldKind kind = quill::field_kind(control);
  FieldRecord* record = quill::field_record(control);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HANDLE image = nullptr;
  UINT platform_type = IMAGE_BITMAP;
  if (image_type == 1) {
    image = LoadImageW(instance, MAKEINTRESOURCEW(image_id & 0xFFFF), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
  } else if (image_type == 2) {
    platform_type = IMAGE_ICON;
    image = LoadImageW(instance, image_id == 0 ? L"ICON1" : MAKEINTRESOURCEW(image_id & 0xFFFF), IMAGE_ICON,
                       0, 0, LR_DEFAULTSIZE);
  } else if (image_type == 5) {
    platform_type = IMAGE_ENHMETAFILE;
    image = quill::metafile_resource(instance, image_id);
  }
  int code = quill::error::kInvalidImage;
  const auto* maker = quill::first_layer_with(&quill::DialogFieldLayer::memory_image);
  if ((image_type == 3 || image_type == 4) && maker != nullptr) {
    const quill::FieldImage made = maker->memory_image(image_type, image_id, control);
    image = made.bitmap;
    code = made.code;
  }
  if (image == nullptr) {
    IErrorReport(code, "WDialogPutImage");
    return;
  }
  if (kind == FieldKind::Static) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
    const LONG_PTR wanted = platform_type == IMAGE_BITMAP ? SS_BITMAP
                            : platform_type == IMAGE_ICON ? SS_ICON
                                                          : SS_ENHMETAFILE;
    SetWindowLongPtrW(control, GWL_STYLE, style | wanted);
    SendMessageW(control, STM_SETIMAGE, platform_type, reinterpret_cast<LPARAM>(image));
  } else if (kind == FieldKind::Button && platform_type != IMAGE_ENHMETAFILE) {
    const LONG_PTR style =
        GetWindowLongPtrW(control, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_BITMAP | BS_ICON);
    SetWindowLongPtrW(control, GWL_STYLE, style | (platform_type == IMAGE_BITMAP ? BS_BITMAP : BS_ICON));
    SendMessageW(control, BM_SETIMAGE, platform_type, reinterpret_cast<LPARAM>(image));
  } else {
    if (platform_type == IMAGE_BITMAP) DeleteObject(image);
    if (platform_type == IMAGE_ICON) DestroyIcon(static_cast<HICON>(image));
    if (platform_type == IMAGE_ENHMETAFILE) DeleteEnhMetaFile(static_cast<HENHMETAFILE>(image));
    IErrorReport(quill::error::kInvalidField, "WDialogPutImage");
    return;
  }
  if (record != nullptr) {
    if (record->image != nullptr) {
      if (record->image_type == 1) DeleteObject(static_cast<HBITMAP>(record->image));
      if (record->image_type == 2) DestroyIcon(static_cast<HICON>(record->image));
      if (record->image_type == 5) DeleteEnhMetaFile(static_cast<HENHMETAFILE>(record->image));
    }
    record->image = image;
    record->image_type = image_type == 3 || image_type == 4 ? 1 : image_type;  // copies are bitmaps
  }
  InvalidateRect(control, nullptr, TRUE);
}
