// Number entry, the display texts and their read-back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "entry.hpp"

namespace orlix {
namespace {

std::string text_of(const DisplayText& display) { return std::string(display.begin(), display.end()); }

// Types keys into entry: digits, "." the decimal point, "<" backspace. Returns how many
// digits and backspaces were refused.
int type_keys(EntryBuffer& entry, std::string_view keys) {
  int refused = 0;
  for (const char key : keys) {
    if (key == '.') {
      press_decimal_point(entry);
    } else {
      refused += (key == '<' ? backspace(entry) : add_digit(entry, key - '0')) ? 0 : 1;
    }
  }
  return refused;
}

// The display keeps the digits exactly as typed and reads back to their value; an
// eleventh integer or fourth fraction digit is refused; backspace removes fraction
// digits, then the point; on an empty entry it is refused but still clears the point.
TEST(Entry, DisplayLimitsAndBackspace) {
  struct Case {
    const char* keys;
    int refused;
    const char* display;  // with the recall indicator when it ends in "M"
    double value;
  };
  const Case cases[] = {
      {"123", 0, "         123.000  ", 123.0},
      {"007", 0, "         007.000 M", 7.0},
      {".5", 0, "            .500  ", 0.5},
      {"12345678901", 1, "  1234567890.000  ", 1234567890.0},
      {"1234567890.9999", 1, "  1234567890.999  ", 1234567890.999},
      {"1.25<", 0, "           1.200  ", 1.2},
      {"1.25<<7", 0, "           1.700  ", 1.7},
      {"1.25<<<", 0, "            .000  ", 0.0},
      {".<5", 1, "           5.000  ", 5.0},
  };
  for (const Case& c : cases) {
    EntryBuffer entry;
    EXPECT_EQ(type_keys(entry, c.keys), c.refused) << c.keys;
    const std::string_view display = c.display;
    const DisplayText text = entry_display(entry, display.back() == 'M' ? kRecallIndicator : kNoIndicator);
    EXPECT_EQ(text_of(text), display) << c.keys;
    EXPECT_EQ(read_back(entry_display(entry, kNoIndicator)), c.value) << c.keys;
  }
}

TEST(ReadBack, RejectsTextsTheEntryNeverProduces) {
  DisplayText display = entry_display(EntryBuffer{}, kNoIndicator);
  display[5] = 'x';
  EXPECT_FALSE(read_back(display).has_value());
  display = entry_display(EntryBuffer{}, kNoIndicator);
  display[12] = '5';  // the point is missing
  EXPECT_FALSE(read_back(display).has_value());
}

struct ResultCase {
  double value;
  const char* text;
};

TEST(ResultDisplay, FormatsWithThreeDecimals) {
  const ResultCase cases[] = {
      {2.0 / 3.0, "           0.667  "},      {1e10, " 10000000000.000  "},
      {-2.5, "          -2.500  "},           {99999997952.0, " 99999997952.000  "},
      {-99999997952.0, "-99999997952.000  "}, {-0.0001, "           0.000  "},
      {-0.0, "           0.000  "},           {0.0625, "           0.062  "},
      {0.0005, "           0.001  "},         {1e-320, "           0.000  "},
      {-0.25, "          -0.250  "},          {std::nan(""), "             NaN  "},
  };
  for (const auto& c : cases) EXPECT_EQ(text_of(result_display(c.value, kNoIndicator)), c.text) << c.value;
  EXPECT_EQ(text_of(result_display(15.0, kRecallIndicator)), "          15.000 M");
}

TEST(ResultDisplay, ReplacesValuesBeyondTheBoundByTheOverflowText) {
  const std::string overflow = "\xEF\xF0\xE5\xEF\xFA\xEB\xE2\xE0\xED\xE5        ";
  for (double value : {99999997953.0, -99999997953.0, 1e11, std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity(), 1e300}) {
    EXPECT_EQ(text_of(result_display(value, kRecallIndicator)), overflow) << value;
  }
  EXPECT_EQ(copy_text(result_display(1e12, kNoIndicator)), overflow.substr(0, 16));
}

// The C library rounds the exact binary value too, so "%16.3f" is an independent
// oracle, apart from the sign of values that round to zero.
TEST(ResultDisplay, AgreesWithCorrectlyRoundedPrintf) {
  std::mt19937_64 generator(42);
  std::uniform_real_distribution<double> exponent(-6.0, 11.0);
  for (int i = 0; i < 200000; ++i) {
    double value = std::pow(10.0, exponent(generator)) * ((generator() & 1) ? -1.0 : 1.0);
    if (i % 4 == 0) value = std::round(value * 2000.0) / 2000.0;  // near ties
    if (std::fabs(value) > kOverflowBound) continue;
    char expected[40];
    std::snprintf(expected, sizeof expected, "%16.3f  ", value);
    std::string want = expected;
    if (want.find_first_not_of(" -0.") == std::string::npos) want = "           0.000  ";
    ASSERT_EQ(text_of(result_display(value, kNoIndicator)), want) << value;
  }
}

TEST(CopyText, IsTheNumberWithoutBlanksOrIndicator) {
  EXPECT_EQ(copy_text(result_display(15.0, kNoIndicator)), "15.000");
  EXPECT_EQ(copy_text(result_display(15.0, kRecallIndicator)), "15.000");
  EXPECT_EQ(copy_text(result_display(-99999997952.0, kNoIndicator)), "-99999997952.000");
  DisplayText with_nul = result_display(7.0, kNoIndicator);
  with_nul[0] = '\0';
  EXPECT_EQ(copy_text(with_nul), "7.000");
}

}  // namespace
}  // namespace orlix
