#include "engine.hpp"

namespace orlix {

namespace {

// The arithmetic of "=" and of operators, in the operand order the calculator uses.
double apply_operator(int op, double accumulator, double operand) {
  switch (op) {
    case keys::kAdd: return operand + accumulator;
    case keys::kSubtract: return accumulator - operand;
    case keys::kMultiply: return operand * accumulator;
    case keys::kDivide: return operand == 0.0 ? 0.0 : accumulator / operand;
    default: return accumulator;  // a percentage has been applied
  }
}

double apply_percentage(int op, double accumulator, double operand) {
  switch (op) {
    case keys::kAdd: return (operand * accumulator) / 100.0 + accumulator;
    case keys::kSubtract: return accumulator - (operand * accumulator) / 100.0;
    case keys::kMultiply: return (operand * accumulator) / 100.0;
    case keys::kDivide: return (accumulator / operand) * 100.0;  // IEEE division, unguarded
    default: return accumulator;
  }
}

KeyResult refresh(CalculatorState& state) {
  reset_entry(state.entry);
  state.entered = false;
  state.shown_value = state.show_operand ? state.operand : state.accumulator;
  state.display = result_display(state.shown_value, state.indicator);
  return {true, false};
}

KeyResult edit_entry(CalculatorState& state, CalculatorKey key) {
  const bool accepted = key == keys::kBackspace ? backspace(state.entry) : add_digit(state.entry, key);
  if (!accepted) return {};
  state.display = entry_display(state.entry, state.indicator);
  const std::optional<double> value = read_back(state.display);
  if (!value) return {true, true};
  state.operand = *value;
  state.shown_value = state.operand;
  state.entered = true;
  return {true, false};
}

}  // namespace

void initialise(CalculatorState& state) { state = CalculatorState{}; }

KeyResult press_key(CalculatorState& state, CalculatorKey key) {
  if (key < 0) return {};
  state.indicator = kNoIndicator;
  state.show_operand = false;

  switch (key) {
    case keys::kMemoryAdd: state.memory = state.memory + state.shown_value; return {};
    case keys::kMemorySubtract: state.memory = state.memory - state.shown_value; return {};
    case keys::kMemoryClear: state.memory = 0.0; return {};
    case keys::kMemoryRecall:
      state.operand = state.memory;
      state.indicator = kRecallIndicator;
      state.show_operand = true;
      return refresh(state);
    case keys::kClearEntry:
      state.operand = 0.0;
      state.show_operand = true;
      return refresh(state);
    case keys::kClear:
      state.pending_operator = 0;
      state.accumulator = 0.0;
      state.operand = 0.0;
      return refresh(state);
    case keys::kPercent:
      if (state.pending_operator == 0) return {};
      state.accumulator = apply_percentage(state.pending_operator, state.accumulator, state.operand);
      state.pending_operator = kPercentApplied;
      state.operand = 0.0;
      return refresh(state);
    case keys::kAdd:
    case keys::kSubtract:
    case keys::kMultiply:
    case keys::kDivide: {
      const int op = state.pending_operator == 0 ? keys::kAdd : state.entered ? state.pending_operator : key;
      state.accumulator = apply_operator(op, state.accumulator, state.operand);
      state.pending_operator = key;
      return refresh(state);
    }
    case keys::kEquals:
      if (state.pending_operator == 0) return {};
      state.operand = apply_operator(state.pending_operator, state.accumulator, state.operand);
      state.accumulator = 0.0;
      state.pending_operator = 0;
      state.show_operand = true;
      return refresh(state);
    case keys::kPoint: press_decimal_point(state.entry); return {};
    case keys::kBackspace: return edit_entry(state, key);
    default:
      if (key <= keys::kDigit9) return edit_entry(state, key);
      return {};
  }
}

std::string_view copy_text(const CalculatorState& state) { return copy_text(state.display); }

}  // namespace orlix
