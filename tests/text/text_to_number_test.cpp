// Text to number: words, signs, points, exponents, limits and the error codes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

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

TEST_F(TextToNumber, IntegerWordsSignsAndLimits) {
  struct Case {
    const char* text;
    int value;
    int error;
  };
  const Case cases[] = {
      {"  12 34", 12, 0},       {"+7", 7, 0},          {"-0", 0, 0},
      {"-", 0, 0},              {"12a", 0, 12},        {"2147483647", 2147483647, 0},
      {"-2147483647", -2147483647, 0},
      {"2147483648", 0, 4},     {"-2147483648", -2147483647 - 1, 0},
      {"-2147483649", 0, 4},    {"+2147483648", 0, 4}, {"3000000000", 0, 4},
      {"00000000001", 0, 4},    {"0000000001", 1, 0},  {"    ", 0, 10},
      {"", 0, 10},              {"1.5", 0, 12},        {"--1", 0, 12},
      {"99999999999x", 0, 12},  // characters are checked before sizes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    quill::errors().last_error = 0;
    int value = -1;
    IStringToInteger(c.text, value);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(quill::errors().last_error, c.error);
  }
}

TEST_F(TextToNumber, RealWordsPointsExponentsAndLimits) {
  struct Case {
    const char* text;
    double value;
    int error;
  };
  const Case cases[] = {
      {"1.5", 1.5, 0},        {"1,5", 1.5, 0},       {"-2.5E3", -2500, 0},
      {"2.0+010", 2.0e10, 0}, {"1.5-003", 0.0015, 0}, {"1.2.3", 0, 11},
      {"1E2.5", 0, 12},       {"0E999", 0, 0},       {"1E39", 0, 4},
      {"1E-50", 0, 0},        {"3.5E38", 0, 4},      {"1D5", 0, 12},
      {"  .25 x", 0.25, 0},   {"-.5", -0.5, 0},      {"  ", 0, 10},
      {"1.0E2.5", 0, 12},     {"1e+2", 100, 0},      {"12-3", 0, 12},
      {"1000000000000000000000000000000000000000", 0, 4},  // 40 digits: power 39
      {"3.4028234E38", 3.4028234e38, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    quill::errors().last_error = 0;
    float value = -1.0F;
    IStringToReal(c.text, value);
    EXPECT_FLOAT_EQ(value, static_cast<float>(c.value));
    EXPECT_EQ(quill::errors().last_error, c.error);
  }
}

TEST_F(TextToNumber, DoubleAcceptsDExponentsAndTheWiderRange) {
  struct Case {
    const char* text;
    double value;
    int error;
  };
  const Case cases[] = {
      {"1.5D3", 1500, 0},   {"1E300", 1e300, 0}, {"1D5", 100000, 0},
      {"1d-2", 0.01, 0},    {"1E309", 0, 4},     {"1E-400", 0, 0},
      {"1.8E308", 0, 4},    // beyond the largest double: never an infinite value
      {"123456789.125", 123456789.125, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    quill::errors().last_error = 0;
    double value = -1.0;
    IStringToReal8(c.text, value);
    EXPECT_DOUBLE_EQ(value, c.value);
    EXPECT_EQ(quill::errors().last_error, c.error);
  }
}

// Digit sums beyond the double range, exponent parts that are empty or only a sign:
// every spelling of an exponent 0 gives the same result, and no sum that overflows
// to infinity slips through as 0 or as an undefined integer conversion.
TEST_F(TextToNumber, OverflowingSumsAndEmptyExponentParts) {
  const std::string nines(309, '9');          // a digit sum that overflows to infinity
  const std::string tiny = "0." + std::string(309, '0') + "1";  // 10^-310, a subnormal
  struct Case {
    std::string text;
    double value;
    int error;
  };
  const Case cases[] = {
      {nines, 0, 4},          {nines + "E-10", 0, 4},  {nines + "E+", 0, 4},
      {nines + "E", 0, 4},    {nines + "D-400", 0, 4}, {"-" + nines + "E-1", 0, 4},
      {"1E" + nines, 0, 4},   {"1E-" + nines, 0, 0},   {"-0E", 0, 0},
      {"-0E+", 0, 0},         {"-0E0", 0, 0},          {tiny + "E", 1e-310, 0},
      {tiny + "E+", 1e-310, 0}, {tiny + "E0", 1e-310, 0}, {tiny + "d", 1e-310, 0},
      {"1.5E", 1.5, 0},       {"-2.5e", -2.5, 0},      {"7E ", 7, 0},
      {"1.5E.", 0, 12},       {"E", 0, 0},             {"1.5EE", 0, 12},
      {"1." + std::string(400, '0') + "1", 1, 0},  // fraction digits past 10^-323 add nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    quill::errors().last_error = 0;
    double value = -1.0;
    IStringToReal8(c.text, value);
    EXPECT_EQ(value, c.value);
    EXPECT_FALSE(value == 0.0 && std::signbit(value));  // a zero result is always +0
    EXPECT_EQ(quill::errors().last_error, c.error);
  }
  // The single-precision entry: an empty exponent part is 0 there too.
  const std::string nines39(39, '9');  // the largest power the real form accepts
  for (const std::string& text : {nines39, nines39 + "E", nines39 + "E+"}) {
    quill::errors().last_error = 0;
    float value = -1.0F;
    IStringToReal(text, value);
    EXPECT_EQ(value, 0.0F);
    EXPECT_EQ(quill::errors().last_error, 4) << text;
  }
  float value = 0.0F;
  IStringToReal(nines39 + "E-10", value);
  EXPECT_FLOAT_EQ(value, 1e29F);
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

// Format then parse: the digit sums stay within a few units in the last place.
TEST_F(TextToNumber, RoundTripsThroughTheFormatter) {
  std::uint64_t state = 12345;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 11;
  };
  int checked = 0;
  for (int i = 0; i < 20000; ++i) {
    const double magnitude = std::ldexp(static_cast<double>(next()), -53);
    const int exponent = static_cast<int>(next() % 600) - 300;
    const double v = (next() & 1 ? -1.0 : 1.0) * magnitude * std::pow(10.0, exponent);
    if (v == 0.0 || !std::isfinite(v)) continue;
    std::string text(26, ' ');
    IDoubleToString(v, text, "(ES26.17E3)");
    double back = 0;
    IStringToReal8(text, back);
    ASSERT_EQ(quill::errors().last_error, 0) << text;
    if (std::fabs(v) < 1e-300) continue;  // below the power limit the result is 0
    ASSERT_NEAR(back / v, 1.0, 1e-14) << text;
    ++checked;

    const float f = static_cast<float>(magnitude * std::pow(10.0, exponent % 37));
    std::string ftext(16, ' ');
    IRealToString(f, ftext, "(G16.9)");
    float fback = 0;
    IStringToReal(ftext, fback);
    ASSERT_EQ(quill::errors().last_error, 0) << ftext;
    if (std::fabs(f) > 1e-37F) {  // below 10^-38 the result is 0
      ASSERT_NEAR(fback / f, 1.0, 1e-6) << ftext;
    }
  }
  EXPECT_GT(checked, 15000);
}

}  // namespace
