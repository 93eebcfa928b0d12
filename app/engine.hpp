// The calculator engine: key codes in, one display text out after every key.
#pragma once

#include "entry.hpp"

namespace orlix {

// Key codes of the calculator. Codes not listed here are ignored by the engine.
using CalculatorKey = int;
namespace keys {
constexpr CalculatorKey kDigit0 = 0;
constexpr CalculatorKey kDigit9 = 9;
constexpr CalculatorKey kPoint = 30;
constexpr CalculatorKey kEquals = 31;
constexpr CalculatorKey kAdd = 32;
constexpr CalculatorKey kSubtract = 33;
constexpr CalculatorKey kMultiply = 34;
constexpr CalculatorKey kDivide = 35;
constexpr CalculatorKey kPercent = 36;
constexpr CalculatorKey kBackspace = 37;
constexpr CalculatorKey kClearEntry = 38;
constexpr CalculatorKey kClear = 39;
constexpr CalculatorKey kMemoryAdd = 40;
constexpr CalculatorKey kMemorySubtract = 41;
constexpr CalculatorKey kMemoryClear = 42;
constexpr CalculatorKey kMemoryRecall = 43;
constexpr CalculatorKey kNone = -1;
constexpr CalculatorKey kCopy = -2;
}  // namespace keys

// Pending operator besides the arithmetic key codes: a percentage has been applied.
constexpr int kPercentApplied = 1;

struct CalculatorState {
  double accumulator = 0.0;
  double operand = 0.0;
  double shown_value = 0.0;
  int pending_operator = 0;
  bool entered = false;
  double memory = 0.0;
  MemoryIndicator indicator = kNoIndicator;
  bool show_operand = false;
  EntryBuffer entry;
  DisplayText display = result_display(0.0, kNoIndicator);
};

struct KeyResult {
  bool display_changed = false;
  bool read_back_failed = false;
};

void initialise(CalculatorState& state);
// Applies one key code of 0 or more; negative codes do nothing.
KeyResult press_key(CalculatorState& state, CalculatorKey key);
// The text COPY puts on the clipboard, taken from the current display.
std::string_view copy_text(const CalculatorState& state);

}  // namespace orlix
