// The spin classes: the up-down control beside the field, the steps its arrows make,
// and the routines that set a spin field's steps and base.
#include <cmath>
#include <string>

#include "base/error_codes.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "dialog/numeric_fields_win32.hpp"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"

namespace quill {

namespace {

constexpr int kUpDownId = 65535;
// The arrows never reach the ends of this range: every step is cancelled.
constexpr int kUpDownLow = -100;
constexpr int kUpDownHigh = 100;

HWND companion_of(HWND field) {
  const FieldRecord* record = field_record(field);
  return record != nullptr ? static_cast<HWND>(record->companion) : nullptr;
}

}  // namespace

void create_spin_companion(NumericClass c, HWND field, const CREATESTRUCTW& create) {
  FieldRecord* record = field_record(field);
  if (record == nullptr || create.hwndParent == nullptr) return;
  DWORD style = WS_CHILD | WS_BORDER | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
  if ((create.style & WS_VISIBLE) != 0) style |= WS_VISIBLE;
  if ((create.style & (ES_READONLY | WS_DISABLED)) != 0) style |= WS_DISABLED;
  HWND updown = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, style, 0, 0, 1, 1, create.hwndParent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kUpDownId)),
                                GetModuleHandleW(nullptr), nullptr);
  if (updown == nullptr) return;
  SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
  SendMessageW(updown, UDM_SETRANGE32, static_cast<WPARAM>(kUpDownLow), kUpDownHigh);
  UDACCEL acceleration[] = {{0, 1}, {2, 5}};
  SendMessageW(updown, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(acceleration));
  int position = 0;
  if (c == NumericClass::IntegerSpin && std::isfinite(record->value)) {
    const double clamped =
        std::fmax(kUpDownLow + 1.0, std::fmin(kUpDownHigh - 1.0, std::trunc(record->value)));
    position = static_cast<int>(clamped);
  }
  SendMessageW(updown, UDM_SETPOS32, 0, position);
  record->companion = updown;
  follow_spin_field(field);
}

void follow_spin_field(HWND field) {
  HWND updown = companion_of(field);
  if (updown == nullptr || !IsWindow(updown) || GetWindow(field, GW_HWNDNEXT) == updown) return;
  SetWindowPos(updown, field, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool spin_field_locked(HWND field) {
  return IsWindowEnabled(field) == FALSE || (GetWindowLongPtrW(field, GWL_STYLE) & ES_READONLY) != 0;
}

bool numeric_spin_step(const NMUPDOWN& change) {
  HWND updown = change.hdr.hwndFrom;
  HWND field = reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0));
  const std::optional<NumericClass> c = numeric_class_of(field);
  FieldRecord* record = field_record(field);
  if (!c || !is_spin_class(*c) || record == nullptr || record->companion != updown) return false;
  double value = record->value;
  if (SendMessageW(field, EM_GETMODIFY, 0, 0) != 0) {
    value = 0.0;
    const std::string text = control_text(field, static_cast<std::size_t>(-1));
    if (const std::optional<double> typed = numeric_text_value(*c, text)) value = *typed;
  }
  const SpinOutcome outcome = spin_step(*c, value, change.iDelta, *record, spin_field_locked(field));
  if (!outcome.changed) return true;
  record->value = outcome.value;
  // Written as typing would be: a field with change reports reports this change.
  set_control_text(field, canonical_text(*c, outcome.value, record->format));
  SendMessageW(field, EM_SETMODIFY, FALSE, 0);
  record->defined = 1;
  return true;
}

}  // namespace quill

namespace {

// The spin field named field of the current dialog and its class; reports 1005 or
// 1006 under routine when there is none.
HWND spin_field(int field, std::string_view routine, quill::NumericClass& c) {
  HWND dialog = quill::current_dialog_window();
  if (dialog == nullptr) {
    IErrorReport(quill::error::kNoCurrentDialog, routine);
    return nullptr;
  }
  HWND control = GetDlgItem(dialog, field);
  const std::optional<quill::NumericClass> found = quill::numeric_class_of(control);
  if (!found || !quill::is_spin_class(*found) || quill::field_record(control) == nullptr) {
    IErrorReport(quill::error::kInvalidField, routine);
    return nullptr;
  }
  c = *found;
  return control;
}

}  // namespace

void WDialogSpinStepReal(int field, float small_step, float large_step) {
  quill::NumericClass c{};
  HWND control = spin_field(field, "WDialogSpinStepReal", c);
  if (control == nullptr) return;
  if (c == quill::NumericClass::IntegerSpin &&
      (!quill::integer_step_usable(small_step) || !quill::integer_step_usable(large_step))) {
    IErrorReport(quill::error::kFieldValueOutOfRange, "WDialogSpinStepReal");
    return;
  }
  quill::FieldRecord* record = quill::field_record(control);
  record->small_step = small_step;
  record->large_step = large_step;
}

void WDialogSpinStepInteger(int field, int small_step, std::optional<int> large_step,
                            std::optional<int> base) {
  quill::NumericClass c{};
  HWND control = spin_field(field, "WDialogSpinStepInteger", c);
  if (control == nullptr) return;
  if (c != quill::NumericClass::IntegerSpin) {
    IErrorReport(quill::error::kInvalidField, "WDialogSpinStepInteger");
    return;
  }
  const int large = large_step.value_or(small_step);
  if (small_step < 1 || large < 1) {
    IErrorReport(quill::error::kFieldValueOutOfRange, "WDialogSpinStepInteger");
    return;
  }
  quill::FieldRecord* record = quill::field_record(control);
  record->small_step = small_step;
  record->large_step = large;
  record->spin_base = base.value_or(0);
}
