// The numeric edit classes: registration on the platform's "EDIT" class, keystroke
// filtering, focus entry, the check when the focus leaves, and the push-button
// interplay of an invalid field.
#include "dialog/numeric_fields_win32.hpp"

#include <cmath>
#include <memory>
#include <string>

#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "quill/errors.hpp"
#include "quill/text.hpp"
#include "text/text_state.hpp"
#include "base/error_state.hpp"

namespace quill {

namespace {

constexpr std::size_t kWholeText = static_cast<std::size_t>(-1);

WNDPROC base_edit_procedure = nullptr;

LRESULT call_base(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  if (base_edit_procedure == nullptr) return DefWindowProcW(control, message, wparam, lparam);
  return CallWindowProcW(base_edit_procedure, control, message, wparam, lparam);
}

std::unique_ptr<FieldRecord> new_numeric_record() {
  auto record = std::make_unique<FieldRecord>();
  record->small_step = 1.0;
  record->large_step = 5.0;
  return record;
}

// The decimal separator as the field's control holds it.
wchar_t field_separator(HWND control) {
  const TextSettings& settings = text_settings();
  const char separator = settings.locale_separator ? settings.decimal_separator : '.';
  wchar_t wide = L'.';
  if (MultiByteToWideChar(field_code_page(control), 0, &separator, 1, &wide, 1) != 1) wide = L'.';
  return wide;
}

void initialise_field(NumericClass c, HWND control, const CREATESTRUCTW& create) {
  FieldRecord* record = field_record(control);
  if (record == nullptr) return;
  std::string text = control_text(control, kWholeText);
  const TextSettings& settings = text_settings();
  if (settings.locale_separator && settings.decimal_separator != '.') {
    for (char& ch : text) {
      if (ch == '.') ch = settings.decimal_separator;
    }
    set_control_text(control, text);
  }
  double value = 0.0;
  silent_try([&] { IStringToReal8(text, value); });
  record->value = value;
  record->defined = text.empty() ? 0 : 1;
  SendMessageW(control, EM_SETMODIFY, FALSE, 0);
  if (is_integer_class(c)) {
    record->max_length = 11;
    SendMessageW(control, EM_LIMITTEXT, 11, 0);
  }
  if (is_spin_class(c)) create_spin_companion(c, control, create);
}

LRESULT on_char(NumericClass c, HWND control, WPARAM wparam, LPARAM lparam) {
  const KeyDecision decision = filter_key(c, static_cast<char32_t>(wparam), field_separator(control));
  switch (decision.action) {
    case KeyAction::Reject: numeric_beep(BeepKind::RejectedKey); return 0;
    case KeyAction::SelectAll:
      SendMessageW(control, EM_SETSEL, 0, -1);
      SendMessageW(control, EM_SCROLLCARET, 0, 0);
      return 0;
    case KeyAction::Replace:
      return call_base(control, WM_CHAR, static_cast<WPARAM>(decision.replacement), lparam);
    case KeyAction::Pass: break;
  }
  return call_base(control, WM_CHAR, wparam, lparam);
}

// The last valid text is recorded when the focus enters after a valid leave (or enters
// a field that has none recorded), so a refused leave keeps what was valid before.
void on_focus_entry(HWND control) {
  NumericState& state = numeric_state();
  const FieldRecord* record = field_record(control);
  if (record != nullptr && (state.record_at_next_entry || state.last_valid_owner != control)) {
    state.last_valid_owner = control;
    state.last_valid_text = control_text(control, kWholeText);
    state.last_valid_value = record->value;
    state.last_valid_defined = record->defined != 0;
    state.record_at_next_entry = false;
  }
  if (state.leaving_by_tab == control) state.leaving_by_tab = nullptr;
  SendMessageW(control, EM_SETMODIFY, FALSE, 0);
}

bool is_root_window(HWND window) {
  const WindowTable& table = windows();
  return table.open && window != nullptr &&
         (window == table.windows[0].frame || window == table.windows[0].client);
}

FocusTarget classify_target(HWND target) {
  if (target == nullptr || GetWindowThreadProcessId(target, nullptr) != GetCurrentThreadId()) {
    return FocusTarget::Nowhere;
  }
  const FieldKind kind = field_kind(target);
  if (kind == FieldKind::Button) {
    const LONG_PTR type = GetWindowLongPtrW(target, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
      return GetDlgCtrlID(target) == IDOK ? FocusTarget::OkButton : FocusTarget::PushButton;
    }
  }
  return kind == FieldKind::Tab ? FocusTarget::TabControl : FocusTarget::Other;
}

// The push button the user clicked does not take the default look from the default
// button, so that Enter still means the default button.
void keep_default_look(HWND field, HWND pressed) {
  HWND dialog = GetParent(field);
  const LRESULT answer = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  const int default_id = HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
  if (pressed == nullptr || GetDlgCtrlID(pressed) == default_id) return;
  SendMessageW(pressed, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  if (HWND default_button = GetDlgItem(dialog, default_id)) {
    SendMessageW(default_button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
}

// Gives the field the focus back, its text selected, without checking the window that
// had it for a moment.
void refocus(HWND field) {
  NumericState& state = numeric_state();
  const bool was_handling = state.handling_failure;
  state.handling_failure = true;
  SetFocus(field);
  SendMessageW(field, EM_SETSEL, 0, -1);
  state.handling_failure = was_handling;
}

void rewrite_canonical(NumericClass c, HWND control, FieldRecord& record, const TextVerdict& verdict) {
  if (verdict.empty) {
    record.value = 0.0;
    record.defined = 0;
  } else if (is_integer_class(c) || SendMessageW(control, EM_GETMODIFY, 0, 0) != 0) {
    record.value = is_integer_class(c) ? std::trunc(verdict.value) : verdict.value;
    record.defined = 1;
    write_field_text(control, canonical_text(c, record.value, record.format));
  }
  SendMessageW(control, EM_SETMODIFY, FALSE, 0);
}

LRESULT on_focus_loss(NumericClass c, HWND control, WPARAM wparam, LPARAM lparam) {
  NumericState& state = numeric_state();
  HWND target = reinterpret_cast<HWND>(wparam);
  FieldRecord* record = field_record(control);
  if (state.handling_failure || is_root_window(target) || record == nullptr) {
    return call_base(control, WM_KILLFOCUS, wparam, lparam);
  }
  const bool left_by_tab = state.leaving_by_tab == control;
  state.leaving_by_tab = nullptr;
  state.refused_for_ok = nullptr;
  state.tab_return = nullptr;
  const FocusTarget where = classify_target(target);
  DialogState& dialog_state = dialogs();
  if (where != FocusTarget::Nowhere) dialog_state.pending_invalid = nullptr;

  const TextVerdict verdict =
      judge_text(c, control_text(control, kWholeText), *record, where != FocusTarget::Nowhere);
  const FocusLossPlan plan = plan_focus_loss(where, left_by_tab, verdict);
  if (plan.make_pending) dialog_state.pending_invalid = control;
  if (plan.note_tab_return) state.tab_return = control;
  if (plan.beep) numeric_beep(BeepKind::ValidationFailure);
  if (plan.refocus) {
    if (where == FocusTarget::OkButton) state.refused_for_ok = control;
    refocus(control);
    if (plan.keep_default_look) keep_default_look(control, target);
  }
  if (plan.record_next_entry) state.record_at_next_entry = true;
  if (!plan.pass_on) return 0;
  const LRESULT result = call_base(control, WM_KILLFOCUS, wparam, lparam);
  if (plan.rewrite && !verdict.invalid) rewrite_canonical(c, control, *record, verdict);
  return result;
}

void on_destroyed(HWND control) {
  forget_numeric_window(control);
  DialogState& dialog_state = dialogs();
  if (dialog_state.pending_invalid == control) dialog_state.pending_invalid = nullptr;
  // Outside a toolkit dialog nobody else releases the record.
  const FieldRecord* record = field_record(control);
  if (record != nullptr && record->previous_procedure == nullptr) take_field_record(control);
}

LRESULT numeric_procedure(NumericClass c, HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE:
      if (field_record(control) == nullptr) attach_field_record(control, new_numeric_record());
      break;
    case WM_CREATE: {
      const LRESULT result = call_base(control, message, wparam, lparam);
      if (result != -1) initialise_field(c, control, *reinterpret_cast<const CREATESTRUCTW*>(lparam));
      return result;
    }
    case WM_CHAR: return on_char(c, control, wparam, lparam);
    case WM_GETDLGCODE: {
      // The dialog manager moves the focus on Tab without passing the key on.
      const MSG* pending = reinterpret_cast<const MSG*>(lparam);
      if (pending != nullptr && pending->message == WM_KEYDOWN && pending->wParam == VK_TAB) {
        numeric_state().leaving_by_tab = control;
      }
      break;
    }
    case WM_KEYDOWN:
      numeric_state().refused_for_ok = nullptr;
      if (wparam == VK_TAB) numeric_state().leaving_by_tab = control;
      if (wparam == VK_RETURN && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        press_default_button(control);
        return 0;
      }
      break;
    case WM_SETFOCUS: on_focus_entry(control); break;
    case WM_KILLFOCUS: return on_focus_loss(c, control, wparam, lparam);
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = call_base(control, message, wparam, lparam);
      if ((reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_NOZORDER) == 0) follow_spin_field(control);
      return result;
    }
    case WM_NCDESTROY: {
      const LRESULT result = call_base(control, message, wparam, lparam);
      on_destroyed(control);
      return result;
    }
    default: break;
  }
  return call_base(control, message, wparam, lparam);
}

template <NumericClass C>
LRESULT CALLBACK class_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  return numeric_procedure(C, control, message, wparam, lparam);
}

constexpr WNDPROC kClassProcedures[kNumericClassCount] = {
    class_procedure<NumericClass::IntegerEdit>, class_procedure<NumericClass::IntegerSpin>,
    class_procedure<NumericClass::RealEdit>,    class_procedure<NumericClass::RealSpin>,
    class_procedure<NumericClass::DoubleEdit>,  class_procedure<NumericClass::DoubleSpin>};

constexpr const wchar_t* kWideClassNames[kNumericClassCount] = {
    L"INTEGEREDIT", L"INTEGERSPIN", L"REALEDIT", L"REALSPIN", L"DOUBLEEDIT", L"DOUBLESPIN"};

// The pending field's last valid text and value come back; without a recorded text the
// stored value (which never holds an invalid one) is shown again.
void restore_last_valid(HWND field) {
  FieldRecord* record = field_record(field);
  const std::optional<NumericClass> c = numeric_class_of(field);
  if (record == nullptr || !c) return;
  NumericState& state = numeric_state();
  if (state.last_valid_owner == field) {
    record->value = state.last_valid_value;
    record->defined = state.last_valid_defined ? 1 : 0;
    write_field_text(field, state.last_valid_text);
  } else {
    write_field_text(field, record->defined != 0 ? canonical_text(*c, record->value, record->format) : "");
  }
  SendMessageW(field, EM_SETMODIFY, FALSE, 0);
  state.record_at_next_entry = true;
}

bool text_invalid(HWND field) {
  const std::optional<NumericClass> c = numeric_class_of(field);
  const FieldRecord* record = field_record(field);
  return c && record != nullptr && judge_text(*c, control_text(field, kWholeText), *record, true).invalid;
}

}  // namespace

void register_numeric_classes() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW existing{};
  if (base_edit_procedure != nullptr && GetClassInfoW(instance, L"INTEGEREDIT", &existing)) return;
  WNDCLASSW edit{};
  if (!GetClassInfoW(nullptr, L"EDIT", &edit)) return;
  base_edit_procedure = edit.lpfnWndProc;
  for (int index = 0; index < kNumericClassCount; ++index) {
    WNDCLASSW numeric = edit;
    numeric.lpfnWndProc = kClassProcedures[index];
    numeric.hInstance = instance;
    numeric.lpszClassName = kWideClassNames[index];
    numeric.lpszMenuName = nullptr;
    RegisterClassW(&numeric);
  }
}

std::optional<NumericClass> numeric_class_of(HWND control) {
  if (control == nullptr) return std::nullopt;
  char name[32] = {};
  if (GetClassNameA(control, name, sizeof name) == 0) return std::nullopt;
  return numeric_class_named(name);
}

void numeric_beep(BeepKind kind) { MessageBeep(static_cast<UINT>(count_beep(kind))); }

void write_field_text(HWND control, std::string_view text) {
  FieldRecord* record = field_record(control);
  const int saved = record != nullptr ? record->change_report : 0;
  if (record != nullptr) record->change_report = 0;
  set_control_text(control, text);
  if (record != nullptr) record->change_report = saved;
}

bool numeric_command_refused(int id) {
  DialogState& dialog_state = dialogs();
  NumericState& state = numeric_state();
  HWND focus = GetFocus();
  if (text_invalid(focus)) dialog_state.pending_invalid = focus;
  HWND pending = dialog_state.pending_invalid;
  dialog_state.pending_invalid = nullptr;
  if (pending == nullptr || !IsWindow(pending)) return false;
  if (id != IDOK) {
    restore_last_valid(pending);
    return false;
  }
  // A click on OK that the field's own check already refused beeps once, not twice.
  if (state.refused_for_ok != pending) numeric_beep(BeepKind::ValidationFailure);
  state.refused_for_ok = nullptr;
  refocus(pending);
  return true;
}

HWND numeric_field_blocking_tab() {
  HWND pending = dialogs().pending_invalid;
  if (pending != nullptr && IsWindow(pending)) return pending;
  HWND focus = GetFocus();
  return text_invalid(focus) ? focus : nullptr;
}

bool numeric_field_value(HWND control, double& value) {
  const std::optional<NumericClass> c = numeric_class_of(control);
  if (!c) return false;
  const std::optional<double> from_text = numeric_text_value(*c, control_text(control, kWholeText));
  if (!from_text) return false;
  const FieldRecord* record = field_record(control);
  value = record != nullptr && SendMessageW(control, EM_GETMODIFY, 0, 0) == 0 ? record->value : *from_text;
  return true;
}

}  // namespace quill
