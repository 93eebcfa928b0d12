#include "dialog/numeric_rules.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "dialog/numeric_state.hpp"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"
#include "base/error_state.hpp"

namespace {

using quill::FieldRecord;
using quill::FocusTarget;
using quill::KeyAction;
using quill::NumericClass;

constexpr NumericClass kInt = NumericClass::IntegerEdit;
constexpr NumericClass kIntSpin = NumericClass::IntegerSpin;
constexpr NumericClass kReal = NumericClass::RealEdit;
constexpr NumericClass kRealSpin = NumericClass::RealSpin;
constexpr NumericClass kDouble = NumericClass::DoubleEdit;

FieldRecord numeric_record(double lower = quill::kNoLowerBound, double upper = quill::kNoUpperBound) {
  FieldRecord record;
  record.lower = lower;
  record.upper = upper;
  record.small_step = 1.0;
  record.large_step = 5.0;
  return record;
}

TEST(NumericClasses, NamesCompareWithoutCase) {
  EXPECT_EQ(quill::numeric_class_named("integerspin"), kIntSpin);
  EXPECT_EQ(quill::numeric_class_named("DoubleEdit"), kDouble);
  EXPECT_FALSE(quill::numeric_class_named("EDIT").has_value());
  EXPECT_FALSE(quill::numeric_class_named("REALEDITX").has_value());
}

TEST(NumericKeys, AcceptedSetsPerClass) {
  struct Case {
    NumericClass cls;
    std::u32string_view keys;  // each key of these gets the same decision
    KeyAction action;
    char32_t replacement;
  };
  const Case cases[] = {
      {kInt, U"7+-\b\026", KeyAction::Pass, 0},    // digits, signs, backspace, Ctrl+V
      {kInt, U"x.eE \002", KeyAction::Reject, 0},  // letters, point, blank, other controls
      {kInt, U"\001", KeyAction::SelectAll, 0},    // Ctrl+A
      {kReal, U"E.", KeyAction::Pass, 0},          // exponent letter, point
      {kReal, U",dD", KeyAction::Reject, 0},       // comma, the double's exponent
      {kReal, U"e", KeyAction::Replace, U'E'},     // raised
      {kDouble, U"D", KeyAction::Pass, 0},         // its own exponent letter
      {kDouble, U"d", KeyAction::Replace, U'D'},   // raised
      {kDouble, U"e", KeyAction::Replace, U'E'},   // raised
      {kRealSpin, U"x", KeyAction::Reject, 0},     // letters
  };
  for (const Case& c : cases) {
    for (const char32_t key : c.keys) {
      const quill::KeyDecision d = quill::filter_key(c.cls, key, U'.');
      EXPECT_EQ(d.action, c.action) << "class " << static_cast<int>(c.cls) << " key "
                                    << static_cast<int>(key);
      if (c.action == KeyAction::Replace) {
        EXPECT_EQ(d.replacement, c.replacement);
      }
    }
  }
  // With a comma as the decimal separator the comma is the point and "." is refused.
  EXPECT_EQ(quill::filter_key(kReal, U',', U',').action, KeyAction::Pass);
  EXPECT_EQ(quill::filter_key(kReal, U'.', U',').action, KeyAction::Reject);
}

TEST(NumericTexts, RangesEmptyTextsAndUnconvertibleTexts) {
  struct Case {
    NumericClass cls;
    const char* text;
    double lower, upper;
    int defined, option;
    bool strict;
    bool invalid;
  };
  const double none_lo = quill::kNoLowerBound;
  const double none_hi = quill::kNoUpperBound;
  const Case cases[] = {
      {kInt, "11", 1, 10, 1, 0, true, true},
      {kInt, "10", 1, 10, 1, 0, true, false},
      {kInt, "0", 1, 10, 1, 0, true, true},
      {kInt, "-5", none_lo, none_hi, 1, 0, true, false},
      {kInt, "", 1, 10, 1, 0, true, true},              // held a value, has a range
      {kInt, "   ", 1, 10, 1, 1, true, false},          // numeric option set
      {kInt, "", 1, 10, 0, 0, true, false},             // held no value
      {kInt, "", none_lo, none_hi, 1, 0, true, false},  // no range
      {kInt, "abc", none_lo, none_hi, 1, 0, true, true},
      {kInt, "abc", none_lo, none_hi, 1, 0, false, false},
      {kInt, "99999999999", none_lo, none_hi, 1, 0, true, true},  // beyond 32 bits
      {kInt, "2147483647", none_lo, none_hi, 1, 0, true, false},
      {kInt, "-2147483648", none_lo, none_hi, 1, 0, true, false},
      {kInt, "-2147483649", none_lo, none_hi, 1, 0, true, true},
      {kDouble, "99999999999", none_lo, none_hi, 1, 0, true, false},
      {kReal, "1E39", none_lo, none_hi, 1, 0, true, true},  // beyond single precision
      {kDouble, "1D39", none_lo, none_hi, 1, 0, true, false},
      {kReal, "2.5", 1, 3, 1, 0, true, false},
      {kReal, "3.01", 1, 3, 1, 0, true, true},
  };
  for (const Case& c : cases) {
    FieldRecord record = numeric_record(c.lower, c.upper);
    record.defined = c.defined;
    record.numeric_option = c.option;
    EXPECT_EQ(quill::judge_text(c.cls, c.text, record, c.strict).invalid, c.invalid)
        << "text '" << c.text << "' class " << static_cast<int>(c.cls);
  }
  // A long real text is judged whole, not cut at 255 characters.
  const std::string long_text = std::string(300, '0') + "5";
  const auto verdict = quill::judge_text(kDouble, long_text, numeric_record(1, 4), true);
  EXPECT_TRUE(verdict.invalid);
  EXPECT_EQ(verdict.value, 5.0);
}

TEST(NumericTexts, ValuesReadBackOnlyFromNumbers) {
  EXPECT_EQ(quill::numeric_text_value(kInt, "-12"), -12.0);
  EXPECT_EQ(quill::numeric_text_value(kReal, "2.5E1"), 25.0);
  EXPECT_EQ(quill::numeric_text_value(kDouble, "1D2"), 100.0);
  for (const char* text : {"", "  ", "abc", "1..2", "99999999999"}) {
    EXPECT_FALSE(quill::numeric_text_value(kInt, text).has_value()) << text;
  }
  EXPECT_FALSE(quill::numeric_text_value(kReal, "x1").has_value());
}

TEST(NumericFocusLoss, StepsByTargetAndVerdict) {
  quill::TextVerdict valid;
  valid.converts = true;
  quill::TextVerdict invalid = valid;
  invalid.invalid = true;
  quill::TextVerdict unconvertible;

  // Left by a click on a Cancel-like button: the button's command decides.
  auto plan = quill::plan_focus_loss(FocusTarget::PushButton, false, invalid);
  EXPECT_TRUE(plan.make_pending);
  EXPECT_FALSE(plan.beep);
  EXPECT_FALSE(plan.refocus);
  EXPECT_TRUE(plan.pass_on);
  EXPECT_FALSE(plan.rewrite);

  // Left by Tab, even onto that button: refused at once, with the alert.
  plan = quill::plan_focus_loss(FocusTarget::PushButton, true, invalid);
  EXPECT_FALSE(plan.make_pending);
  EXPECT_TRUE(plan.beep && plan.refocus);
  EXPECT_FALSE(plan.pass_on);
  EXPECT_FALSE(plan.keep_default_look);

  // A click on OK is refused at once and the default button keeps its look.
  plan = quill::plan_focus_loss(FocusTarget::OkButton, false, invalid);
  EXPECT_FALSE(plan.make_pending);
  EXPECT_TRUE(plan.beep && plan.refocus && plan.keep_default_look);

  plan = quill::plan_focus_loss(FocusTarget::TabControl, false, invalid);
  EXPECT_TRUE(plan.note_tab_return && plan.refocus);
  plan = quill::plan_focus_loss(FocusTarget::TabControl, false, valid);
  EXPECT_FALSE(plan.note_tab_return);
  plan = quill::plan_focus_loss(FocusTarget::PushButton, false, valid);
  EXPECT_FALSE(plan.make_pending);

  // Valid: passed on, rewritten, and the next entry records the text.
  plan = quill::plan_focus_loss(FocusTarget::Other, true, valid);
  EXPECT_TRUE(plan.pass_on && plan.rewrite && plan.record_next_entry);
  EXPECT_FALSE(plan.beep);

  // Another application: nothing is refused and an unconvertible text stays as it is.
  plan = quill::plan_focus_loss(FocusTarget::Nowhere, false, unconvertible);
  EXPECT_TRUE(plan.pass_on);
  EXPECT_FALSE(plan.rewrite || plan.beep || plan.refocus || plan.record_next_entry);
  plan = quill::plan_focus_loss(FocusTarget::Nowhere, false, invalid);
  EXPECT_TRUE(plan.pass_on);
  EXPECT_FALSE(plan.rewrite || plan.beep || plan.refocus);
}

TEST(NumericTexts, CanonicalForms) {
  EXPECT_EQ(quill::canonical_text(kInt, 42.9, ""), "42");
  EXPECT_EQ(quill::canonical_text(kIntSpin, -7.0, ""), "-7");
  EXPECT_EQ(quill::canonical_text(kInt, 1e12, ""), "2147483647");
  EXPECT_EQ(quill::canonical_text(kReal, 2.5, ""), "2.5000");
  EXPECT_EQ(quill::canonical_text(kReal, 2.5, "(F6.2)"), "2.50");
  EXPECT_EQ(quill::canonical_text(kDouble, 0.1, "(F20.15)"), "0.100000000000000");
  // Single precision shows its own rounding where double precision does not.
  EXPECT_EQ(quill::canonical_text(kReal, 0.1, "(F20.15)"), "0.100000001490116");
}

TEST(NumericSpin, StepsClampsAndSnaps) {
  struct Case {
    NumericClass cls;
    double value;
    int delta;
    double small, large, lower, upper;
    int base;
    double expected;
    bool clamped;
  };
  const double lo = quill::kNoLowerBound;
  const double hi = quill::kNoUpperBound;
  const Case cases[] = {
      {kIntSpin, 3, 1, 2, 2, lo, hi, 0, 4, false},  // 5 snaps down to the grid
      {kIntSpin, 9, 1, 2, 2, 0, 10, 0, 10, true},   // clamped, not snapped
      {kIntSpin, 3, 1, 2, 2, lo, hi, 1, 5, false},  // grid 1, 3, 5, ...
      {kIntSpin, 3, -1, 2, 2, lo, hi, 1, 1, false},
      {kIntSpin, 0, 5, 1, 10, lo, hi, 0, 10, false},  // large step after 2 seconds
      {kIntSpin, 0, -5, 1, 10, lo, hi, 0, -10, false},
      {kIntSpin, 2.7, 1, 1.9, 5, lo, hi, 0, 3, false},                       // steps and value truncated
      {kIntSpin, 2147483647, 1, 1, 5, lo, hi, 0, 2147483647, false},         // stays 32-bit
      {kIntSpin, -2147483648.0, -5, 1, 5, lo, hi, 0, -2147483645.0, false},  // kept, then snapped
      {kRealSpin, 0.5, 1, 0.25, 1, lo, hi, 0, 0.75, false},
      {kRealSpin, 0.5, -5, 0.25, 1, 0, 10, 0, 0, true},
      {kRealSpin, 0.5, 0, 0.25, 1, lo, hi, 0, 0.5, false},
  };
  for (const Case& c : cases) {
    FieldRecord record = numeric_record(c.lower, c.upper);
    record.small_step = c.small;
    record.large_step = c.large;
    record.spin_base = c.base;
    const quill::SpinOutcome out = quill::spin_step(c.cls, c.value, c.delta, record);
    EXPECT_EQ(out.value, c.expected) << "value " << c.value << " delta " << c.delta;
    EXPECT_EQ(out.clamped, c.clamped) << "value " << c.value << " delta " << c.delta;
  }
  // A read-only or disabled field does not step, whatever the key or arrow asked for.
  for (const NumericClass cls : {kIntSpin, kRealSpin}) {
    for (const int delta : {1, -1, 5, -5}) {
      const quill::SpinOutcome out = quill::spin_step(cls, 42, delta, numeric_record(), true);
      EXPECT_FALSE(out.changed);
      EXPECT_EQ(out.value, 42) << "delta " << delta;
    }
  }
  EXPECT_FALSE(quill::integer_step_usable(0.9));
  EXPECT_FALSE(quill::integer_step_usable(-3));
  EXPECT_TRUE(quill::integer_step_usable(1.0));
}

TEST(NumericState, ForgottenWindowsLeaveNoReference) {
  quill::reset_numeric_state();
  quill::NumericState& state = quill::numeric_state();
  int a = 0;
  int b = 0;
  state.tab_return = &a;
  state.leaving_by_tab = &a;
  state.last_valid_owner = &a;
  state.last_valid_text = "12";
  state.record_at_next_entry = false;
  state.refused_for_ok = &b;
  quill::forget_numeric_window(&a);
  EXPECT_EQ(state.tab_return, nullptr);
  EXPECT_EQ(state.leaving_by_tab, nullptr);
  EXPECT_EQ(state.last_valid_owner, nullptr);
  EXPECT_TRUE(state.last_valid_text.empty());
  EXPECT_TRUE(state.record_at_next_entry);
  EXPECT_EQ(state.refused_for_ok, &b);
}

TEST(NumericState, BeepsAreCountedAndAlertSoundSelected) {
  quill::reset_numeric_state();
  EXPECT_EQ(quill::count_beep(quill::BeepKind::RejectedKey), quill::kSoundDefault);
  EXPECT_EQ(quill::count_beep(quill::BeepKind::ValidationFailure), quill::kSoundExclamation);
  WDialogAlertSound(2);
  EXPECT_EQ(quill::count_beep(quill::BeepKind::ValidationFailure), quill::kSoundAsterisk);
  WDialogAlertSound(0);
  EXPECT_EQ(quill::count_beep(quill::BeepKind::ValidationFailure), quill::kSoundDefault);
  const int saved = quill::errors().last_error;
  WDialogAlertSound(7);
  EXPECT_EQ(quill::errors().last_error, 1011);
  quill::errors().last_error = saved;
  EXPECT_EQ(quill::count_beep(quill::BeepKind::ValidationFailure), quill::kSoundDefault);
  EXPECT_EQ(quill::numeric_state().beeps[1], 1);
  EXPECT_EQ(quill::numeric_state().beeps[2], 4);
  quill::reset_numeric_state();
}

}  // namespace
