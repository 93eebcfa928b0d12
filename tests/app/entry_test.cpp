// Number entry, the display texts and their read-back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "entry.hpp"

namespace orlix {
namespace {

std::string text_of(const DisplayText& display) { return std::string(display.begin(), display.end()); }

TEST(Entry, DisplayKeepsDigitsExactlyAsTyped) {
  EntryBuffer entry;
  for (int digit : {1, 2, 3}) ASSERT_TRUE(add_digit(entry, digit));
  EXPECT_EQ(text_of(entry_display(entry, kNoIndicator)), "         123.000  ");
  EXPECT_EQ(read_back(entry_display(entry, kNoIndicator)), 123.0);

  reset_entry(entry);
  for (int digit : {0, 0, 7}) add_digit(entry, digit);
  EXPECT_EQ(text_of(entry_display(entry, kRecallIndicator)), "         007.000 M");
  EXPECT_EQ(read_back(entry_display(entry, kNoIndicator)), 7.0);

  reset_entry(entry);
  press_decimal_point(entry);
  add_digit(entry, 5);
  EXPECT_EQ(text_of(entry_display(entry, kNoIndicator)), "            .500  ");
  EXPECT_EQ(read_back(entry_display(entry, kNoIndicator)), 0.5);
}

TEST(Entry, LimitsRefuseFurtherDigits) {
  EntryBuffer entry;
  for (int digit : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}) ASSERT_TRUE(add_digit(entry, digit));
  EXPECT_FALSE(add_digit(entry, 1));
  EXPECT_EQ(text_of(entry_display(entry, kNoIndicator)), "  1234567890.000  ");
  press_decimal_point(entry);
  for (int digit : {9, 9, 9}) ASSERT_TRUE(add_digit(entry, digit));
  EXPECT_FALSE(add_digit(entry, 9));
  EXPECT_EQ(read_back(entry_display(entry, kNoIndicator)), 1234567890.999);
}

TEST(Entry, BackspaceRemovesFractionFirstThenClearsThePoint) {
  EntryBuffer entry;
  add_digit(entry, 1);
  press_decimal_point(entry);
  add_digit(entry, 2);
  add_digit(entry, 5);
  ASSERT_TRUE(backspace(entry));
  EXPECT_EQ(text_of(entry_display(entry, kNoIndicator)), "           1.200  ");
  ASSERT_TRUE(backspace(entry));
  EXPECT_TRUE(entry.decimal_point);
  ASSERT_TRUE(backspace(entry));
  EXPECT_FALSE(entry.decimal_point);
  EXPECT_EQ(text_of(entry_display(entry, kNoIndicator)), "            .000  ");
  EXPECT_EQ(read_back(entry_display(entry, kNoIndicator)), 0.0);
  // On an empty entry backspace is refused but still clears the point flag.
  press_decimal_point(entry);
  EXPECT_FALSE(backspace(entry));
  EXPECT_FALSE(entry.decimal_point);
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
      {2.0 / 3.0, "           0.667  "},  {1e10, " 10000000000.000  "},
      {-2.5, "          -2.500  "},      {99999997952.0, " 99999997952.000  "},
      {-99999997952.0, "-99999997952.000  "}, {-0.0001, "           0.000  "},
      {-0.0, "           0.000  "},     {0.0625, "           0.062  "},
      {0.0005, "           0.001  "},    {1e-320, "           0.000  "},
      {-0.25, "          -0.250  "},    {std::nan(""), "             NaN  "},
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
