// Number to text: the public and internal conversions, their failure texts and codes.
#include <gtest/gtest.h>

#include <string>

#include "base/error_state.hpp"
#include "text/text_internal.hpp"
#include "text/text_state.hpp"

namespace {

class NumberToText : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::errors().report_mode = 0;
    quill::errors().last_error = 0;
    quill::errors().file_error = -1;
    quill::reset_text_settings();
  }
  void TearDown() override { quill::reset_text_settings(); }
  static int last_error() { return quill::errors().last_error; }
};

std::string text_of(std::size_t n) { return std::string(n, '#'); }

TEST_F(NumberToText, IntegerToStringWritesTheFormattedFieldOrTheOverflowText) {
  struct Case {
    int value;
    const char* format;
    std::size_t length;
    const char* expected;
    int error;
  };
  const Case cases[] = {
      {42, "(I5)", 8, "   42   ", 0},
      {42, "(I1)", 8, "********", 18},
      {42, "(I1)", 12, "**********  ", 18},
      {7, "('*',I2)", 4, "* 7 ", 0},           // a quoted asterisk is legitimate output
      {-5, "(I3.2)  ", 3, "-05", 0},           // trailing blanks after the format
      {5, "(F5.1)", 6, "******", 18},          // descriptor does not suit an integer
      {5, "(I5", 6, "******", 18},             // not a valid format
      {5, "(I5/I5)", 12, "**********  ", 18},  // a second record
      {5, "(I5)", 3, "***", 18},               // beyond the end of the record
      {-2147483647 - 1, "(I11)", 11, "-2147483648", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    quill::errors().last_error = 0;
    std::string s = text_of(c.length);
    IntegerToString(c.value, s, c.format);
    EXPECT_EQ(s, c.expected);
    EXPECT_EQ(last_error(), c.error);
  }
}

TEST_F(NumberToText, RealConversionsApplyTheLocaleSeparatorToTheWholeString) {
  std::string s = text_of(16);
  IDoubleToString(2.0 / 3.0, s, "(F16.3)");
  EXPECT_EQ(s, "           0.667");
  quill::set_decimal_separator(',');
  quill::set_locale_separator_enabled(true);
  s = text_of(12);
  IDoubleToString(-1.5, s, "(F5.2,'.x')");
  EXPECT_EQ(s, "-1,50,x     ");
  s = text_of(8);
  IRealToString(0.25F, s, "(F8.2)");
  EXPECT_EQ(s, "    0,25");
  s = text_of(4);
  IntegerToString(12, s, "(I2,'.')");  // integers keep their points
  EXPECT_EQ(s, "12. ");
  EXPECT_EQ(last_error(), 0);
}

TEST_F(NumberToText, RealOverflowIsAFailureUnlessTheFormatHasAnAsterisk) {
  std::string s = text_of(6);
  IRealToString(12345.0F, s, "(F6.2)");
  EXPECT_EQ(s, "******");
  EXPECT_EQ(last_error(), 18);
  quill::errors().last_error = 0;
  s = text_of(9);
  IRealToString(12345.0F, s, "('*',F6.2)");
  EXPECT_EQ(s, "*******  ");  // the format's own asterisk makes the overflow legitimate
  EXPECT_EQ(last_error(), 0);
}

TEST_F(NumberToText, Yyint2stChoosesAWidthOneBelowTheText) {
  struct Case {
    int value;
    std::size_t length;
    std::string expected;
    int error;
  };
  const Case cases[] = {
      {-2147483647 - 1, 12, std::string("-2147483648") + '\0', 0},
      {-2147483647 - 1, 15, std::string("-2147483648") + '\0' + "   ", 0},
      {-2147483647 - 1, 5, std::string("****") + '\0', 0},  // "(I04)" overflow is not a failure
      {7, 1, "7", 0},                                       // "(I00)": minimum width
      {42, 1, std::string(1, '\0'), 18},                    // too wide for one character
      {42, 6, std::string("42") + '\0' + "   ", 0},
      {0, 2, std::string("0") + '\0', 0},
      {5, 0, "", 18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    quill::errors().last_error = 0;
    std::string s = text_of(c.length);
    yyint2st(c.value, s);
    EXPECT_EQ(s, c.expected);
    EXPECT_EQ(last_error(), c.error);
  }
}

TEST_F(NumberToText, InternalRealFormsAreLeftJustifiedAndNulTerminated) {
  std::string s = text_of(12);
  yydbl2st(0.5, s, "(F10.3)");
  EXPECT_EQ(s, std::string("0.500") + '\0' + "      ");
  EXPECT_EQ(quill::errors().file_error, 0);

  quill::set_decimal_separator(',');
  quill::set_locale_separator_enabled(true);
  s = text_of(12);
  yydbl2st(0.5, s, "(F10.3)");
  EXPECT_EQ(s, std::string("0,500") + '\0' + "      ");

  s = text_of(4);
  yyrea2st(1.5F, s, "(F8.3)");  // beyond the record: a failure
  EXPECT_EQ(s, "****");
  EXPECT_NE(quill::errors().file_error, 0);
  EXPECT_EQ(last_error(), 18);

  quill::errors().last_error = 0;
  s = text_of(14);
  yyrea2st(1.5F, s, "(I5)");
  EXPECT_EQ(s, std::string("**********") + '\0' + "   ");
  EXPECT_EQ(last_error(), 18);

  quill::errors().last_error = 0;
  s = text_of(8);
  yydbl2st(1e10, s, "(F5.1)");  // an overflowed field is kept, not a failure
  EXPECT_EQ(s, std::string("*****") + '\0' + "  ");
  EXPECT_EQ(last_error(), 0);
}

TEST_F(NumberToText, FirstNonBlankSkipsBlanksAndNuls) {
  EXPECT_EQ(IFirstNonBlank(std::string_view("  \0 \0", 5)), 0);
  EXPECT_EQ(IFirstNonBlank("  x"), 3);
  EXPECT_EQ(IFirstNonBlank(""), 0);
  EXPECT_EQ(IFirstNonBlank(std::string_view("\0a", 2)), 2);
}

}  // namespace
