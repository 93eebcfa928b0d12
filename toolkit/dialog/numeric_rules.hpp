// The numeric edit and spin classes without a window system: which keys each class
// takes, whether a text is a valid value for a field, what leaving a field does, the
// canonical text written back, and the arithmetic of a spin step.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialog/dialog_records.hpp"

namespace quill {

enum class NumericClass : int { IntegerEdit, IntegerSpin, RealEdit, RealSpin, DoubleEdit, DoubleSpin };

inline constexpr int kNumericClassCount = 6;
// The registered class names, in NumericClass order.
inline constexpr const char* kNumericClassNames[kNumericClassCount] = {
    "INTEGEREDIT", "INTEGERSPIN", "REALEDIT", "REALSPIN", "DOUBLEEDIT", "DOUBLESPIN"};

// The numeric class named name (compared without regard to case), if any.
std::optional<NumericClass> numeric_class_named(std::string_view name);

constexpr bool is_integer_class(NumericClass c) {
  return c == NumericClass::IntegerEdit || c == NumericClass::IntegerSpin;
}
constexpr bool is_double_class(NumericClass c) {
  return c == NumericClass::DoubleEdit || c == NumericClass::DoubleSpin;
}
constexpr bool is_spin_class(NumericClass c) {
  return c == NumericClass::IntegerSpin || c == NumericClass::RealSpin || c == NumericClass::DoubleSpin;
}

// What a typed character does in a numeric field.
enum class KeyAction { Pass, Reject, SelectAll, Replace };
struct KeyDecision {
  KeyAction action = KeyAction::Pass;
  char32_t replacement = 0;  // the character passed on instead, for Replace
};
// ch is the typed character; separator the decimal separator the fields use.
KeyDecision filter_key(NumericClass c, char32_t ch, char32_t separator);

// A field's text judged against its class and record.
struct TextVerdict {
  bool empty = false;     // nothing but blanks
  bool converts = false;  // a number by the toolkit's text-to-number rules
  bool invalid = false;
  double value = 0.0;  // the converted value (0 when it does not convert)
};
// strict: an unconvertible text counts as invalid (the focus moved to another window of
// the program, or a push button asked). Integer classes also refuse values outside the
// 32-bit range, which their readers could not return.
TextVerdict judge_text(NumericClass c, std::string_view text, const FieldRecord& record, bool strict);

// The value a field's text stands for; empty when the text is blank, is not a number,
// or (integer classes) lies outside the 32-bit range.
std::optional<double> numeric_text_value(NumericClass c, std::string_view text);

// Where the focus goes when it leaves a numeric field.
enum class FocusTarget {
  Nowhere,     // another application, or no window
  PushButton,  // a push button other than OK (identifier 1)
  OkButton,    // the push button with identifier 1
  TabControl,
  Other,  // any other window of the program
};

// The steps that leaving a field takes.
struct FocusLossPlan {
  bool make_pending = false;       // the check is left to the push button's command
  bool note_tab_return = false;    // a tab change must come back to this field
  bool beep = false;               // the validation-failure alert
  bool refocus = false;            // the field takes the focus back, its text selected
  bool keep_default_look = false;  // the default push button keeps its look
  bool pass_on = true;             // the base edit procedure sees the focus loss
  bool rewrite = false;            // the text is written back in canonical form
  bool record_next_entry = false;  // the next focus entry records the last valid text
};
FocusLossPlan plan_focus_loss(FocusTarget target, bool left_by_tab, const TextVerdict& verdict);

// The canonical text of a valid value: integer form for the integer classes, else the
// display format (or "(G15.5E2)") in single or double precision, without blanks around.
std::string canonical_text(NumericClass c, double value, std::string_view format);

inline constexpr const char* kDefaultRealFormat = "(G15.5E2)";

// The outcome of one arrow step of a spin field.
struct SpinOutcome {
  double value = 0.0;
  bool clamped = false;
  bool changed = false;  // false when the delta is not a step (0)
};
// delta +1/-1 steps by the small step, +5/-5 (and larger) by the large step. The range
// clamps; INTEGERSPIN truncates, snaps an unclamped value to the base grid and keeps
// within the 32-bit range. A locked field (read-only or disabled) never steps, whatever
// key, arrow or wheel asked for it.
SpinOutcome spin_step(NumericClass c, double value, int delta, const FieldRecord& record,
                      bool locked = false);

// A step that INTEGERSPIN can use: at least 1 once truncated (false otherwise).
bool integer_step_usable(double step);

}  // namespace quill
