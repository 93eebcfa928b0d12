// The portable rules of the numeric edit and spin classes.
#include "dialog/numeric_rules.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "quill/errors.hpp"
#include "quill/text.hpp"
#include "base/error_state.hpp"
#include "text/text_internal.hpp"

namespace quill {
namespace {

constexpr double kIntMin = -2147483648.0;
constexpr double kIntMax = 2147483647.0;

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool is_blank(std::string_view text) {
  for (char c : text) {
    if (c != ' ') return false;
  }
  return true;
}

// Converts text by the class's own conversion; false when it is not a number.
bool convert(NumericClass c, std::string_view text, double& value) {
  value = 0.0;
  if (c == NumericClass::RealEdit || c == NumericClass::RealSpin) {
    float single = 0.0F;
    const int code = silent_try([&] { IStringToReal(text, single); });
    value = single;
    return code == 0;
  }
  return silent_try([&] { IStringToReal8(text, value); }) == 0;
}

double clamp_to_int(double value) {
  if (std::isnan(value)) return 0.0;
  if (value < kIntMin) return kIntMin;
  if (value > kIntMax) return kIntMax;
  return value;
}

}  // namespace

std::optional<NumericClass> numeric_class_named(std::string_view name) {
  for (int index = 0; index < kNumericClassCount; ++index) {
    const std::string_view candidate = kNumericClassNames[index];
    if (candidate.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) same = upper(name[i]) == candidate[i];
    if (same) return static_cast<NumericClass>(index);
  }
  return std::nullopt;
}

KeyDecision filter_key(NumericClass c, char32_t ch, char32_t separator) {
  switch (ch) {
    case 1: return {KeyAction::SelectAll, 0};
    case 3:
    case 8:
    case 9:
    case 13:
    case 22:
    case 24:
    case 26:
    case 27:
    case U'+':
    case U'-': return {KeyAction::Pass, 0};
    default: break;
  }
  if (ch >= U'0' && ch <= U'9') return {KeyAction::Pass, 0};
  if (is_integer_class(c)) return {KeyAction::Reject, 0};
  if (ch == U'E' || ch == separator) return {KeyAction::Pass, 0};
  if (ch == U'e') return {KeyAction::Replace, U'E'};
  if (is_double_class(c)) {
    if (ch == U'D') return {KeyAction::Pass, 0};
    if (ch == U'd') return {KeyAction::Replace, U'D'};
  }
  return {KeyAction::Reject, 0};
}

TextVerdict judge_text(NumericClass c, std::string_view text, const FieldRecord& record, bool strict) {
  TextVerdict verdict;
  if (is_blank(text)) {
    verdict.empty = true;
    verdict.converts = true;
    verdict.invalid = record.numeric_option == 0 && record.defined != 0 && record.has_range();
    return verdict;
  }
  verdict.converts = convert(c, text, verdict.value);
  if (!verdict.converts) {
    verdict.invalid = strict;
    return verdict;
  }
  const double v = verdict.value;
  const bool out_of_range = record.has_range() && (v < record.lower || v > record.upper);
  const bool too_wide = is_integer_class(c) && (std::trunc(v) < kIntMin || std::trunc(v) > kIntMax);
  verdict.invalid = out_of_range || too_wide;
  return verdict;
}

FocusLossPlan plan_focus_loss(FocusTarget target, bool left_by_tab, const TextVerdict& verdict) {
  FocusLossPlan plan;
  const bool elsewhere = target != FocusTarget::Nowhere;
  plan.make_pending = target == FocusTarget::PushButton && !left_by_tab && verdict.invalid;
  plan.note_tab_return = target == FocusTarget::TabControl && verdict.invalid;
  if (verdict.invalid) {
    if (plan.make_pending) return plan;  // the button's command decides
    if (!elsewhere) {
      // The user went to another application: the field keeps its text and nothing
      // fights that application for the focus; the check comes again on return.
      return plan;
    }
    plan.beep = true;
    plan.refocus = true;
    plan.keep_default_look =
        (target == FocusTarget::PushButton || target == FocusTarget::OkButton) && !left_by_tab;
    plan.pass_on = false;
    return plan;
  }
  plan.record_next_entry = elsewhere;
  // An unconvertible text left for another application stays as the user typed it.
  plan.rewrite = verdict.converts;
  return plan;
}

std::string canonical_text(NumericClass c, double value, std::string_view format) {
  std::array<char, 256> buffer{};
  if (is_integer_class(c)) {
    yyint2st(static_cast<int>(clamp_to_int(std::trunc(value))), std::span<char>(buffer.data(), 12));
  } else {
    const std::string_view descriptor = format.empty() ? kDefaultRealFormat : format;
    const std::span<char> target(buffer.data(), buffer.size() - 1);
    if (is_double_class(c)) {
      yydbl2st(value, target, descriptor);
    } else {
      yyrea2st(static_cast<float>(value), target, descriptor);
    }
  }
  std::string_view text(buffer.data(), strnlen(buffer.data(), buffer.size()));
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

std::optional<double> numeric_text_value(NumericClass c, std::string_view text) {
  double value = 0.0;
  if (is_blank(text) || !convert(c, text, value)) return std::nullopt;
  if (is_integer_class(c) && (std::trunc(value) < kIntMin || std::trunc(value) > kIntMax))
    return std::nullopt;
  return value;
}

bool integer_step_usable(double step) { return std::isfinite(step) && std::trunc(step) >= 1.0; }

SpinOutcome spin_step(NumericClass c, double value, int delta, const FieldRecord& record, bool locked) {
  SpinOutcome outcome;
  outcome.value = value;
  if (delta == 0 || locked) return outcome;
  const double magnitude = (delta >= 5 || delta <= -5) ? record.large_step : record.small_step;
  const bool integer = c == NumericClass::IntegerSpin;
  const double step = integer ? std::trunc(magnitude) : magnitude;
  double next = delta > 0 ? value + step : value - step;
  if (record.has_range() && next < record.lower) {
    next = record.lower;
    outcome.clamped = true;
  } else if (record.has_range() && next > record.upper) {
    next = record.upper;
    outcome.clamped = true;
  }
  if (integer) {
    next = clamp_to_int(std::trunc(next));
    if (!outcome.clamped && integer_step_usable(step)) {
      const auto base = static_cast<std::int64_t>(record.spin_base);
      const auto grid = static_cast<std::int64_t>(step < kIntMax ? step : kIntMax);
      const auto offset = static_cast<std::int64_t>(next) - base;
      next = clamp_to_int(static_cast<double>(base + (offset / grid) * grid));
    }
  }
  outcome.value = next;
  outcome.changed = true;
  return outcome;
}

}  // namespace quill
