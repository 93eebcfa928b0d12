// The formatter on its own: parse failures, record limits, control descriptors and the
// rounding facts the calculator relies on. The gfortran differential test covers the
// descriptors in bulk (native build); these cases also run in the Windows build.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "text/format.hpp"

namespace {

using quill::FormatValue;
using quill::WriteStatus;

struct Written {
  WriteStatus status;
  std::string record;
};

Written write(std::string_view format, const FormatValue& value, std::size_t length = 20) {
  std::string record(length, '#');
  const WriteStatus status = quill::format_values(format, std::span(&value, 1), record);
  return {status, record};
}

TEST(Format, InvalidFormatsAreRejectedWithoutWriting) {
  const char* const bad[] = {
      "",           "I5",      "(I5",      "()",       "(I5,,I5)", "(,I5)",   "(F10)",
      "(F5.)",      "(E0.3Q)", "(D0.3E2)", "(EN0.3Q)", "(G10)",    "(A0)",    "(0X)",
      "(T0)",       "(TR0)",   "(0I5)",    "(I3.5)",   "(2'x')",   "(1PI5)",  "(1P'a',F5.1)",
      "(1P0PF5.1)", "(-2I5)",  "('abc)",   "(5Habc)",  "(Q5)",     "(RX,I5)", "(I99999999999)",
  };
  for (const char* format : bad) {
    SCOPED_TRACE(format);
    const Written w = write(format, FormatValue::of(1));
    EXPECT_EQ(w.status, WriteStatus::BadFormat);
    EXPECT_EQ(w.record, std::string(20, ' '));
  }
}

TEST(Format, DeepNestingAndLongFormatsStayWithinTheirLimits) {
  std::string deep(40, '(');
  deep += "I3" + std::string(40, ')');
  EXPECT_EQ(write(deep, FormatValue::of(1)).status, WriteStatus::BadFormat);
  std::string nested = std::string(10, '(') + "I3" + std::string(10, ')');
  EXPECT_EQ(write(nested, FormatValue::of(1)).record.substr(0, 3), "  1");
  // A format that loops forever without writing gives up instead of hanging.
  const Written spin = write("(999999999(99999999(TR1,TL1)),I3)", FormatValue::of(1));
  EXPECT_EQ(spin.status, WriteStatus::BadFormat);
}

TEST(Format, RecordLimitsAndFormatControl) {
  struct Case {
    const char* format;
    std::size_t length;
    WriteStatus status;
    const char* record;
  };
  const Case cases[] = {
      {"(I3)", 3, WriteStatus::Ok, " 42"},
      {"(I3)", 2, WriteStatus::EndOfRecord, "  "},
      {"(I3,5X)", 3, WriteStatus::Ok, " 42"},  // moving past the end writes nothing
      {"(I3,5X,'a')", 8, WriteStatus::EndOfRecord, " 42     "},
      {"(I3,/)", 8, WriteStatus::SecondRecord, " 42     "},
      {"(I3,'x',I2,'y')", 8, WriteStatus::Ok, " 42x    "},  // stops at the next data edit
      {"(I3,:,'x')", 5, WriteStatus::Ok, " 42  "},
      {"('a',T1,'b',TR2,I2)", 6, WriteStatus::Ok, "b  42 "},
      {"('abcde',TL3,I2)", 6, WriteStatus::Ok, "ab42e "},
      {"(2('<',I2,'>'))", 6, WriteStatus::Ok, "<42>< "},  // a literal before the stop
      {"('it''s',\"q\"\"\",I3)", 10, WriteStatus::Ok, "it'sq\" 42 "},
      {"(SP,I4,SS)", 4, WriteStatus::Ok, " +42"},
      {"(I5.4)", 5, WriteStatus::Ok, " 0042"},
      {"(Z4,B0)", 8, WriteStatus::Ok, "  2A    "},
      {"(O0)", 3, WriteStatus::Ok, "52 "},
      {"(G0)", 3, WriteStatus::Ok, "42 "},
      {"(F5.1)", 5, WriteStatus::TypeMismatch, "     "},
      {"(L2)", 5, WriteStatus::TypeMismatch, "     "},
      {"('x')", 5, WriteStatus::BadFormat, "x    "},  // no data edit for the value
      {"(I3,'x')", 5, WriteStatus::Ok, " 42x "},
      {"(I2,I3)", 5, WriteStatus::Ok, "42   "},
      {"('abcde',T2,T1,I2)", 8, WriteStatus::EndOfRecord, ""},  // tabs before the record
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    const Written w = write(c.format, FormatValue::of(42), c.length);
    EXPECT_EQ(w.status, c.status);
    if (c.status == WriteStatus::Ok) {
      EXPECT_EQ(w.record, c.record);
    }
  }
}

// Reals round their exact binary value to nearest, ties to even. G with zero decimals:
// Gw.0 is always the E form (so only a scale factor of 1 can edit a real), G0.0 is G0,
// and integers keep their I form.
TEST(Format, RealsRoundTheExactBinaryValueAndGeneralForms) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* format;
    FormatValue value;
    const char* record;  // "": the edit is refused
  };
  const Case cases[] = {
      {"(F16.3)", FormatValue::of(-0.0001), "          -0.000"},
      {"(F16.3)", FormatValue::of(0.0625), "           0.062"},
      {"(F3.1)", FormatValue::of(0.25), "0.2"},
      {"(F4.1)", FormatValue::of(0.35), " 0.3"},  // 0.35 is a little below 0.35 in binary
      {"(F16.3)", FormatValue::of(99999997952.0), " 99999997952.000"},
      {"(F16.3)", FormatValue::of(-99999997952.0), "-99999997952.000"},
      {"(F5.1)", FormatValue::of(nan), "  NaN"},
      {"(F5.1)", FormatValue::of(inf), "  Inf"},
      {"(E10.3)", FormatValue::of(1e-300), " 0.100-299"},
      {"(E12.3E4)", FormatValue::of(1e-300), " 0.100E-0299"},
      {"(EN10.2)", FormatValue::of(12345.0), " 12.34E+03"},  // an exact tie
      {"(G10.3)", FormatValue::of(1234.0), " 0.123E+04"},
      {"(G0)", FormatValue::of(0.5), "0.50000000000000000"},
      {"(DC,F5.2)", FormatValue::of(1.5), " 1,50"},
      {"(RU,F5.2)", FormatValue::of(1.001), " 1.01"},
      {"(RD,F5.2)", FormatValue::of(-1.001), "-1.01"},
      {"(RC,F4.1)", FormatValue::of(0.25), " 0.3"},
      {"(Z16)", FormatValue::of(1.0), "3FF0000000000000"},
      {"(E7.3)", FormatValue::of(0.5), "*******"},
      {"(1P,G8.0)", FormatValue::of(0.1), "  1.E-01"},
      {"(1P,G8.0)", FormatValue::of(2.5), "  2.E+00"},
      {"(1P,G8.0)", FormatValue::of(-0.0), " -0.E+00"},
      {"(1PG8.0)", FormatValue::of(1e100), "  1.+100"},
      {"(1P,G10.0E3)", FormatValue::of(0.1F), "   1.E-001"},
      {"(1P,G6.0E1)", FormatValue::of(1e10), "******"},
      {"(1P,RU,G6.0)", FormatValue::of(0.95), "1.E+00"},
      {"(G0.0)", FormatValue::of(0.5), "0.50000000000000000"},
      {"(G0.0)", FormatValue::of(1e30F), "0.100000002E+31"},
      {"(1P,G0.0E3)", FormatValue::of(1e30F), "1.00000002E+030"},
      {"(G8.0)", FormatValue::of(42), "      42"},
      {"(G0.0)", FormatValue::of(-7), "-7"},
      {"(G8.0)", FormatValue::of(0.1), ""},
      {"(2P,G8.0E2)", FormatValue::of(0.1), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    const std::string expected = c.record;
    const Written w = write(c.format, c.value, expected.empty() ? 8 : expected.size());
    EXPECT_EQ(w.status, expected.empty() ? WriteStatus::BadEdit : WriteStatus::Ok);
    if (!expected.empty()) {
      EXPECT_EQ(w.record, expected);
    }
  }
}

TEST(Format, CacheServesRepeatedAndAlternatingFormats) {
  for (int i = 0; i < 3; ++i) {
    const char digit = static_cast<char>('0' + i);
    EXPECT_EQ(write("(I4)", FormatValue::of(i), 4).record, std::string(3, ' ') + digit);
    EXPECT_EQ(write("(I2)", FormatValue::of(i), 2).record, std::string(1, ' ') + digit);
    EXPECT_EQ(write("(I4", FormatValue::of(i), 4).status, WriteStatus::BadFormat);
  }
  const std::string long_format = "(" + std::string(300, ' ') + "I3)";
  EXPECT_EQ(write(long_format, FormatValue::of(7), 3).record, "  7");
}

}  // namespace
