// Text to number: words, signs, points, exponents, limits and the error codes.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <type_traits>

#include "base/error_state.hpp"
#include "text/text_internal.hpp"
#include "text/text_state.hpp"

namespace {

class TextToNumber : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::errors().report_mode = 0;
    quill::errors().last_error = 0;
    quill::reset_text_settings();
  }
  void TearDown() override { quill::reset_text_settings(); }
};

struct Case {
  std::string text;
  double value;
  int error;
};

// Converts each text with the routine for T and checks the exact value (a zero result
// always +0) and the error code.
template <typename T>
void expect_conversions(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    quill::errors().last_error = 0;
    T value = -1;
    if constexpr (std::is_same_v<T, int>) {
      IStringToInteger(c.text, value);
    } else if constexpr (std::is_same_v<T, float>) {
      IStringToReal(c.text, value);
    } else {
      IStringToReal8(c.text, value);
    }
    EXPECT_EQ(value, static_cast<T>(c.value));
    EXPECT_FALSE(value == 0 && std::signbit(static_cast<double>(value)));
    EXPECT_EQ(quill::errors().last_error, c.error);
  }
}

TEST_F(TextToNumber, IntegerWordsSignsAndLimits) {
  expect_conversions<int>({
      {"  12 34", 12, 0},
      {"+7", 7, 0},
      {"-0", 0, 0},
      {"-", 0, 0},
      {"12a", 0, 12},
      {"2147483647", 2147483647, 0},
      {"-2147483647", -2147483647, 0},
      {"2147483648", 0, 4},
      {"-2147483648", -2147483647.0 - 1, 0},
      {"-2147483649", 0, 4},
      {"+2147483648", 0, 4},
      {"3000000000", 0, 4},
      {"00000000001", 0, 4},
      {"0000000001", 1, 0},
      {"    ", 0, 10},
      {"", 0, 10},
      {"1.5", 0, 12},
      {"--1", 0, 12},
      {"99999999999x", 0, 12},  // characters are checked before sizes
  });
}

TEST_F(TextToNumber, RealWordsPointsExponentsAndLimits) {
  expect_conversions<float>({
      {"1.5", 1.5, 0},
      {"1,5", 1.5, 0},
      {"-2.5E3", -2500, 0},
      {"2.0+010", 2.0e10, 0},
      {"1.5-003", 0.0015, 0},
      {"1.2.3", 0, 11},
      {"1E2.5", 0, 12},
      {"0E999", 0, 0},
      {"1E39", 0, 4},
      {"1E-50", 0, 0},
      {"3.5E38", 0, 4},
      {"1D5", 0, 12},
      {"  .25 x", 0.25, 0},
      {"-.5", -0.5, 0},
      {"  ", 0, 10},
      {"1.0E2.5", 0, 12},
      {"1e+2", 100, 0},
      {"12-3", 0, 12},
      {"1000000000000000000000000000000000000000", 0, 4},  // 40 digits: power 39
      {"3.4028234E38", 3.4028234e38, 0},
  });
}

TEST_F(TextToNumber, DoubleAcceptsDExponentsAndTheWiderRange) {
  expect_conversions<double>({
      {"1.5D3", 1500, 0},
      {"1E300", 1e300, 0},
      {"1D5", 100000, 0},
      {"1d-2", 0.01, 0},
      {"1E309", 0, 4},
      {"1E-400", 0, 0},
      {"1.8E308", 0, 4},  // beyond the largest double: never an infinite value
      {"123456789.125", 123456789.125, 0},
  });
}

// Digit sums beyond the double range, exponent parts that are empty or only a sign:
// every spelling of an exponent 0 gives the same result, and no sum that overflows
// to infinity slips through as 0 or as an undefined integer conversion.
TEST_F(TextToNumber, OverflowingSumsAndEmptyExponentParts) {
  const std::string nines(309, '9');                            // a digit sum that overflows to infinity
  const std::string tiny = "0." + std::string(309, '0') + "1";  // 10^-310, a subnormal
  expect_conversions<double>({
      {nines, 0, 4},
      {nines + "E-10", 0, 4},
      {nines + "E+", 0, 4},
      {nines + "E", 0, 4},
      {nines + "D-400", 0, 4},
      {"-" + nines + "E-1", 0, 4},
      {"1E" + nines, 0, 4},
      {"1E-" + nines, 0, 0},
      {"-0E", 0, 0},
      {"-0E+", 0, 0},
      {"-0E0", 0, 0},
      {tiny + "E", 1e-310, 0},
      {tiny + "E+", 1e-310, 0},
      {tiny + "E0", 1e-310, 0},
      {tiny + "d", 1e-310, 0},
      {"1.5E", 1.5, 0},
      {"-2.5e", -2.5, 0},
      {"7E ", 7, 0},
      {"1.5E.", 0, 12},
      {"E", 0, 0},
      {"1.5EE", 0, 12},
      {"1." + std::string(400, '0') + "1", 1, 0},  // fraction digits past 10^-323 add nothing
  });
  // The single-precision entry: an empty exponent part is 0 there too.
  const std::string nines39(39, '9');  // the largest power the real form accepts
  expect_conversions<float>(
      {{nines39, 0, 4}, {nines39 + "E", 0, 4}, {nines39 + "E+", 0, 4}, {nines39 + "E-10", 1e29, 0}});
}

TEST_F(TextToNumber, LocaleSeparatorIsAPointOnlyWhenEnabled) {
  float value = 0;
  IStringToReal("1;5", value);
  EXPECT_EQ(quill::errors().last_error, 12);
  quill::set_decimal_separator(';');
  quill::set_locale_separator_enabled(true);
  quill::errors().last_error = 0;
  IStringToReal("1;5", value);
  EXPECT_FLOAT_EQ(value, 1.5F);
  EXPECT_EQ(quill::errors().last_error, 0);
}

TEST_F(TextToNumber, NextIntegerWalksAlongTheText) {
  std::string line = "10 20  30";
  int value = 0;
  for (const int expected : {10, 20, 30}) {
    INextInteger(line, value);
    EXPECT_EQ(value, expected);
  }
  EXPECT_EQ(quill::errors().last_error, 0);
  value = 5;
  INextInteger(line, value);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(quill::errors().last_error, 10);
  EXPECT_EQ(line, std::string(9, ' '));
}

TEST_F(TextToNumber, NextRealConsumesAWordEvenWhenItFails) {
  std::string line = "1.5 x2 2.5";
  float value = 0;
  INextReal(line, value);
  EXPECT_FLOAT_EQ(value, 1.5F);
  INextReal(line, value);
  EXPECT_EQ(value, 0.0F);
  EXPECT_EQ(quill::errors().last_error, 12);
  INextReal(line, value);
  EXPECT_FLOAT_EQ(value, 2.5F);
  EXPECT_EQ(line, std::string(10, ' '));
}

TEST_F(TextToNumber, SilentConversionLeavesNoTrace) {
  quill::errors().report_mode = 3;
  quill::errors().last_error = 77;
  float value = -1.0F;
  IStringToRealSilent(value, "abc");
  EXPECT_EQ(value, 0.0F);
  EXPECT_EQ(quill::errors().last_error, 77);
  EXPECT_EQ(quill::errors().report_mode, 3);
  IStringToRealSilent(value, std::string_view("2.5\0junk", 8));  // stops at the NUL
  EXPECT_FLOAT_EQ(value, 2.5F);
  IStringToRealSilent(value, "  3.5   ");
  EXPECT_FLOAT_EQ(value, 3.5F);
}

// The correctly rounded value (nearest, ties to even) of a text in std::from_chars form.
template <typename Float>
Float nearest(const std::string& text) {
  Float value = -1;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << text;
  return value;
}

template <typename Float>
void expect_nearest(const std::string& text, const std::string& plain) {
  SCOPED_TRACE(text.substr(0, 60));
  quill::errors().last_error = 0;
  Float value = -1;
  if constexpr (sizeof(Float) == sizeof(double)) {
    IStringToReal8(text, value);
  } else {
    IStringToReal(text, value);
  }
  EXPECT_EQ(quill::errors().last_error, 0);
  const Float expected = nearest<Float>(plain);
  EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << value << " instead of " << expected;
}

// Each text in the toolkit's spellings beside the same number as std::from_chars reads it:
// halfway cases, digits past any that can matter, the subnormal and overflow edges.
TEST_F(TextToNumber, RealsAreTheNearestValueTiesToEven) {
  const std::string long_tie = "9007199254740993." + std::string(800, '0');
  const std::pair<std::string, std::string> doubles[] = {
      {"0.3", "0.3"},
      {"0.7", "0.7"},
      {"9,95", "9.95"},
      {"1e-5", "1e-5"},
      {"-184001.578125", "-184001.578125"},
      {"1.5-003", "1.5e-3"},
      {"2.0+010", "2e10"},
      {"9007199254740993", "9007199254740992"},  // a tie goes to the even neighbour
      {"9007199254740995D0", "9007199254740996"},
      {long_tie, "9007199254740992"},
      {long_tie + "1", "9007199254740994"},  // a nonzero digit past 800 breaks the tie
      {"0." + std::string(30, '0') + "123456789012345678901234567890d31", "1.23456789012345678901234567890"},
      {"1E-308", "1e-308"},
      {"2.4703282292062328E-324", "5e-324"},
      {"-2.4703282292062327E-324", "-0"},
      {"1.7976931348623158E308", "1.7976931348623157e308"},
      {"123456789012345678901234567890", "123456789012345678901234567890"},
      // Either side of the one-operation forms: signs of zero, 19 and 20 digits, powers
      // of ten up to 10^22 and past it, three exponent digits.
      {"-0.0", "-0"},
      {"-0.0E+05", "0"},
      {"+.5", "0.5"},
      {"7.", "7"},
      {"-1.25e-3", "-1.25e-3"},
      {"1234567890123456789", "1234567890123456789"},
      {"12345678901234567891", "12345678901234567891"},
      {"9.5E22", "9.5e22"},
      {"1E23", "1e23"},
      {"0.0000000000000000000000017", "1.7e-24"},
      {"2E-300", "2e-300"},
  };
  for (const auto& [text, plain] : doubles) expect_nearest<double>(text, plain);
  const std::pair<std::string, std::string> floats[] = {
      {"0.3", "0.3"},
      {"18009215", "18009216"},
      {"3.4028234663852886E38", "3.4028234663852886e38"},
      {"1.000000059604644775390625", "1"},  // a tie between two floats
      // Its nearest double is that tie, so rounding through double would give 1.
      {"1.000000059604644775390625000001", "1.00000011920928955078125"},
      {"1E-40", "1e-40"},
      {"1.4E-45", "1.4e-45"},
      {"-6.9E-46", "-0"},
  };
  for (const auto& [text, plain] : floats) expect_nearest<float>(text, plain);
  // Beyond the largest double by half a unit is too large; for a float, any double
  // beyond the largest float is.
  quill::errors().last_error = 0;
  double value8 = -1;
  IStringToReal8("1.7976931348623159E308", value8);
  EXPECT_EQ(quill::errors().last_error, 4);
  quill::errors().last_error = 0;
  float value = -1;
  IStringToReal("3.4028235E38", value);
  EXPECT_EQ(quill::errors().last_error, 4);
  EXPECT_EQ(value8 + value, 0.0);
}

// Random doubles of every magnitude written with 17 significant digits, as the toolkit's
// formatter writes them, and every amount from 0.00 to 999.99 read back exactly.
TEST_F(TextToNumber, WrittenNumbersReadBackAsTheNearestValue) {
  std::uint64_t state = 12345;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (state >> 32) | (state << 32);
  };
  for (int i = 0; i < 20000; ++i) {
    double v = 0;
    const std::uint64_t bits = next();
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    std::string text(25, ' ');
    IDoubleToString(v, text, "(ES25.16E3)");
    double back = 0;
    IStringToReal8(text, back);
    ASSERT_EQ(back, v) << text;
    const float f = static_cast<float>(v);
    if (!std::isfinite(f)) continue;
    std::string ftext(16, ' ');
    IRealToString(f, ftext, "(G16.9)");
    float fback = 0;
    IStringToReal(ftext, fback);
    ASSERT_EQ(fback, f) << ftext;
  }
  char text[16];
  for (int cents = 0; cents < 100000; ++cents) {
    std::snprintf(text, sizeof text, "%d.%02d", cents / 100, cents % 100);
    double value = 0;
    float single = 0;
    IStringToReal8(text, value);
    IStringToReal(text, single);
    // One division of exact operands is correctly rounded.
    ASSERT_EQ(value, cents / 100.0) << text;
    ASSERT_EQ(single, static_cast<float>(cents) / 100.0F) << text;
  }
  EXPECT_EQ(quill::errors().last_error, 0);
}

}  // namespace
