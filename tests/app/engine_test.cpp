// The calculator engine, driven by keypad captions as a user types them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine.hpp"
#include "key_names.hpp"

namespace orlix {
namespace {

std::vector<CalculatorKey> parse_keys(const std::string& sequence) {
  std::istringstream in(sequence);
  std::vector<CalculatorKey> keys;
  for (std::string word; in >> word;) {
    const auto key = key_from_caption(word);
    EXPECT_TRUE(key.has_value()) << word;
    if (key) keys.push_back(*key);
  }
  return keys;
}

std::string display_of(const CalculatorState& state) {
  return std::string(state.display.begin(), state.display.end());
}

// The number part of the display without leading blanks, and the indicator.
std::string number_of(const CalculatorState& state) {
  const std::string text = display_of(state).substr(0, kNumberFieldLength);
  return text.substr(text.find_first_not_of(' '));
}

// Runs the keys from a fresh start; returns the shown number after each key.
std::vector<std::string> run(CalculatorState& state, const std::string& sequence) {
  initialise(state);
  std::vector<std::string> shown;
  for (const CalculatorKey key : parse_keys(sequence)) {
    press_key(state, key);
    shown.push_back(number_of(state));
  }
  return shown;
}

std::string final_number(const std::string& sequence) {
  CalculatorState state;
  return run(state, sequence).back();
}

TEST(Engine, StartsWithZeroAndNoIndicator) {
  CalculatorState state;
  initialise(state);
  EXPECT_EQ(display_of(state), "           0.000  ");
}

TEST(Engine, ChainsShowEveryIntermediateDisplay) {
  CalculatorState state;
  using Shown = std::vector<std::string>;
  EXPECT_EQ(run(state, "1 2 + 3 ="), (Shown{"1.000", "12.000", "12.000", "3.000", "15.000"}));
  EXPECT_EQ(run(state, "5 + + +"), (Shown{"5.000", "5.000", "10.000", "15.000"}));
  EXPECT_EQ(run(state, "5 + *"), (Shown{"5.000", "5.000", "25.000"}));
}

struct Case {
  const char* keys;
  const char* shown;
};

class FinalDisplay : public ::testing::TestWithParam<Case> {};

TEST_P(FinalDisplay, Matches) {
  EXPECT_EQ(final_number(GetParam().keys), GetParam().shown) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, FinalDisplay,
                         ::testing::Values(Case{"5 + =", "10.000"}, Case{"9 - 4 =", "5.000"},
                                           Case{"4 - 9 =", "-5.000"}, Case{"6 * 7 =", "42.000"},
                                           Case{"2 / 3 =", "0.667"}, Case{"7 / 0 =", "0.000"},
                                           Case{"7 / 0 +", "0.000"}, Case{"1 2 + 3 = =", "15.000"},
                                           Case{"=", "0.000"}, Case{"5 + 3 E 4 =", "9.000"},
                                           Case{"5 + 3 C", "0.000"}, Case{"5 + 3 C =", "0.000"},
                                           Case{"1 0 - 2 . 5 =", "7.500"}, Case{"0 - 2 . 5 =", "-2.500"}));

INSTANTIATE_TEST_SUITE_P(Percentage, FinalDisplay,
                         ::testing::Values(Case{"2 0 0 + 1 0 %", "220.000"}, Case{"2 0 0 - 1 0 %", "180.000"},
                                           Case{"2 0 0 * 1 0 %", "20.000"}, Case{"5 0 / 2 0 0 %", "25.000"},
                                           Case{"7 %", "7.000"}, Case{"2 0 0 + 1 0 % =", "220.000"},
                                           Case{"2 0 0 + 1 0 % + 5 =", "225.000"},
                                           Case{"2 0 0 + 1 0 % * 3 =", "0.000"}));

INSTANTIATE_TEST_SUITE_P(Memory, FinalDisplay,
                         ::testing::Values(Case{"4 M+ M+ C Mr", "8.000"}, Case{"Mc Mr", "0.000"},
                                           Case{"2 + 3 = M+ C Mr", "5.000"}, Case{"7 M+ C Mr", "7.000"},
                                           Case{"2 + 3 + M+ C Mr", "5.000"},
                                           Case{"3 M+ C 5 + Mr *", "15.000"},
                                           Case{"9 M+ C 4 M- C Mr", "5.000"}));

INSTANTIATE_TEST_SUITE_P(Entry, FinalDisplay,
                         ::testing::Values(Case{"1 2 3", "123.000"}, Case{"1 <-", ".000"},
                                           Case{"1 . 5", "1.500"}, Case{". 5", ".500"},
                                           Case{"0 0 7", "007.000"},
                                           Case{"1 2 3 4 5 6 7 8 9 0 1", "1234567890.000"},
                                           Case{". 1 2 3 4", ".123"}, Case{"1 . 2 5 <-", "1.200"},
                                           Case{"1 . 2 5 <- <-", "1.000"}, Case{"1 . 2 5 <- <- 7", "1.700"},
                                           Case{"1 . 2 5 <- <- <-", ".000"}, Case{". <- 5", "5.000"},
                                           Case{"0 0 7 + 1 =", "8.000"}));

TEST(Engine, RecallIndicatorLastsUntilTheNextRewrite) {
  CalculatorState state;
  run(state, "4 M+ M+ C Mr");
  EXPECT_EQ(display_of(state), "           8.000 M");
  // Keys that do not rewrite the display leave " M" visible.
  for (const char* key : {"M+", "M-", "Mc", ".", "%"}) {
    EXPECT_FALSE(press_key(state, *key_from_caption(key)).display_changed) << key;
    EXPECT_EQ(display_of(state), "           8.000 M") << key;
  }
  EXPECT_TRUE(press_key(state, keys::kAdd).display_changed);
  EXPECT_EQ(display_of(state).substr(16), "  ");
}

TEST(Engine, ReportsWhichKeysRewriteTheDisplay) {
  CalculatorState state;
  initialise(state);
  EXPECT_FALSE(press_key(state, keys::kEquals).display_changed);     // nothing pending
  EXPECT_FALSE(press_key(state, keys::kPercent).display_changed);    // nothing pending
  EXPECT_FALSE(press_key(state, keys::kBackspace).display_changed);  // empty entry
  EXPECT_FALSE(press_key(state, 17).display_changed);                // unknown code
  EXPECT_FALSE(press_key(state, keys::kNone).display_changed);
  EXPECT_FALSE(press_key(state, keys::kCopy).display_changed);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(press_key(state, 9).display_changed);
  EXPECT_FALSE(press_key(state, 9).display_changed);  // eleventh integer digit
  EXPECT_FALSE(press_key(state, keys::kPoint).display_changed);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(press_key(state, 1).display_changed);
  EXPECT_FALSE(press_key(state, 1).display_changed);  // fourth fraction digit
  EXPECT_EQ(state.operand, 9999999999.111);
  EXPECT_FALSE(press_key(state, keys::kEquals).read_back_failed);
}

TEST(Engine, OverflowShowsTheWordAndCopiesItsLetters) {
  CalculatorState state;
  run(state, "9 9 9 9 9 9 9 9 9 9 * 1 1 =");
  EXPECT_EQ(state.display, kOverflowText);
  EXPECT_EQ(copy_text(state), std::string_view(kOverflowText.data(), 16));
  // Dividing by zero in a percentage gives an infinite accumulator: also overflow.
  run(state, "5 / 0 %");
  EXPECT_TRUE(std::isinf(state.accumulator));
  EXPECT_EQ(state.display, kOverflowText);
}

TEST(Engine, CopyTextDropsBlanksAndIndicator) {
  CalculatorState state;
  run(state, "1 5");
  EXPECT_EQ(copy_text(state), "15.000");
  run(state, "1 5 M+ C Mr");
  EXPECT_EQ(copy_text(state), "15.000");
  run(state, "0 - 2 . 5 =");
  EXPECT_EQ(copy_text(state), "-2.500");
}

// Invariants over many random key sequences: pending operator 0 means accumulator 0,
// the entry stays within its limits, an entry display reads back to the operand, and
// every display is a well-formed 18-character text.
TEST(Engine, RandomSequencesKeepTheInvariants) {
  std::mt19937 generator(20261209);
  const std::vector<CalculatorKey> pool{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  0,  1,  5,  9,  30,
                                        31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 37, 30};
  std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
  for (int sequence = 0; sequence < 2000; ++sequence) {
    CalculatorState state;
    initialise(state);
    for (int step = 0; step < 60; ++step) {
      const CalculatorKey key = pool[pick(generator)];
      const KeyResult result = press_key(state, key);
      ASSERT_FALSE(result.read_back_failed);
      if (state.pending_operator == 0) {
        ASSERT_EQ(state.accumulator, 0.0);
      }
      ASSERT_LE(state.entry.integer_count, kMaxIntegerDigits);
      ASSERT_LE(state.entry.fraction_count, kMaxFractionDigits);
      if (state.entered) {
        ASSERT_EQ(read_back(state.display).value(), state.operand);
      }
      const std::string text = display_of(state);
      ASSERT_EQ(text.size(), 18u);
      if (state.display != kOverflowText) {
        // 0 / 0 in a percentage is the one way to an undefined value.
        ASSERT_TRUE(text.find('.') != std::string::npos || text.find("NaN") != std::string::npos) << text;
        ASSERT_TRUE(text.substr(16) == "  " || text.substr(16) == " M") << text;
      }
    }
  }
}

}  // namespace
}  // namespace orlix
