#include "commands.hpp"

namespace orlix {

namespace {
constexpr int kCopyCommand = 40004;
constexpr int kExitCommand = 40006;
constexpr int kAboutCommand = 40008;
constexpr int kFirstDigitCommand = 40011;
constexpr int kLastDigitCommand = 40020;
constexpr int kFirstKeyCommand = 40030;  // "." ... "Mr": key code = identifier - 40000
constexpr int kLastKeyCommand = 40043;
constexpr int kKeyCommandBase = 40000;
}  // namespace

Command command_for_identifier(int identifier, bool from_push_button) {
  if (identifier == kOffButton && from_push_button) return {Action::kQuit, keys::kNone};
  if (identifier == kCopyCommand) return {Action::kKey, keys::kCopy};
  if (identifier == kExitCommand) return {Action::kExit, keys::kNone};
  if (identifier == kAboutCommand) return {Action::kAbout, keys::kNone};
  if (identifier >= kFirstDigitCommand && identifier <= kLastDigitCommand) {
    return {Action::kKey, identifier - kFirstDigitCommand};
  }
  if (identifier >= kFirstKeyCommand && identifier <= kLastKeyCommand) {
    return {Action::kKey, identifier - kKeyCommandBase};
  }
  return {};
}

CalculatorKey key_for_typed_character(char first) {
  switch (first) {
    case '*': return keys::kMultiply;
    case '+': return keys::kAdd;
    case '-': return keys::kSubtract;
    case '.': return keys::kPoint;
    case '/': return keys::kDivide;
    case '=': return keys::kEquals;
    default: return keys::kNone;
  }
}

EventPlan plan_for_event(int event_type, int detail1, int detail2) {
  EventPlan plan;
  switch (event_type) {
    case events::kCommand:
      plan.command = command_for_identifier(detail1, false);
      break;
    case events::kButton:
      plan.command = command_for_identifier(detail1, true);
      plan.reset_hidden_field = true;
      break;
    case events::kCloseAsked:
      plan.stop_now = true;
      break;
    case events::kFieldEdited:
      if (detail1 == kHiddenInputField && detail2 == kHiddenInputField) {
        plan.read_hidden_field = true;
        plan.reset_hidden_field = true;
      }
      break;
    default:
      break;
  }
  return plan;
}

}  // namespace orlix
