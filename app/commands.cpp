#include "commands.hpp"

#include "quill/events.hpp"
#include "resource_ids.h"

namespace orlix {

namespace {
// The commands "." to "Mr" are numbered like their keys: key = identifier - base.
constexpr int kKeyCommandBase = IDM_POINT - keys::kPoint;
static_assert(IDM_MEMORY_RECALL - kKeyCommandBase == keys::kMemoryRecall);
static_assert(IDM_DIGIT_9 - IDM_DIGIT_0 == keys::kDigit9 - keys::kDigit0);
}  // namespace

Command command_for_identifier(int identifier, bool from_push_button) {
  if (identifier == IDC_OFF && from_push_button) return {Action::Quit, keys::kNone};
  if (identifier == IDM_COPY) return {Action::Key, keys::kCopy};
  if (identifier == IDM_EXIT) return {Action::Exit, keys::kNone};
  if (identifier == IDM_ABOUT) return {Action::About, keys::kNone};
  if (identifier >= IDM_DIGIT_0 && identifier <= IDM_DIGIT_9) {
    return {Action::Key, keys::kDigit0 + identifier - IDM_DIGIT_0};
  }
  if (identifier >= IDM_POINT && identifier <= IDM_MEMORY_RECALL) {
    return {Action::Key, identifier - kKeyCommandBase};
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
    case EvCommand: plan.command = command_for_identifier(detail1, false); break;
    case EvButton:
      plan.command = command_for_identifier(detail1, true);
      plan.reset_hidden_field = true;
      break;
    case EvCloseAsked: plan.stop_now = true; break;
    case EvFieldEdited:
      if (detail1 == IDC_HIDDEN_INPUT && detail2 == IDC_HIDDEN_INPUT) {
        plan.read_hidden_field = true;
        plan.reset_hidden_field = true;
      }
      break;
    default: break;
  }
  return plan;
}

}  // namespace orlix
