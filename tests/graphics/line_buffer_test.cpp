#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "graphics/line_buffer.hpp"
#include "quill/text.hpp"

namespace quill {
namespace {

std::string fixed(double value, int decimals) {
  char out[40];
  return std::string(out, format_fixed(out, value, decimals));
}

TEST(FormatFixed, WritesPlainFixedPoint) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {100.0, 2, "100.00"},
      {0.5, 2, "0.50"},
      {-12.25, 1, "-12.2"},
      {12.35, 1, "12.3"},
      {-0.001, 2, "0.00"},
      {0.0, 4, "0.0000"},
      {7.0, 0, "7"},
      {std::numeric_limits<double>::quiet_NaN(), 2, "0.00"},
      {std::numeric_limits<double>::infinity(), 0, "1000000000000000"},
      {-1e300, 0, "-1000000000000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fixed(c.value, c.decimals), c.text) << c.value;
  }
}

// The toolkit's own formatter is the oracle for the rounding of the Fw.d fields,
// including values on or next to a rounding tie (x.xx5 and exact binary eighths).
TEST(FormatFixed, AgreesWithTheToolkitFormatter) {
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> wide(-99999.0, 99999.0);
  for (int decimals : {1, 2, 4}) {
    const std::string format = "(F30." + std::to_string(decimals) + ")";
    for (int i = 0; i < 3000; ++i) {
      double value = wide(random);
      if (i % 3 == 0) {
        value = std::round(value * 8.0) / 8.0;
      } else if (i % 3 == 1) {
        value = (std::round(value * 1000.0) + 0.5) / 1000.0 / std::pow(10.0, decimals - 2);
      }
      std::array<char, 32> record{};
      IDoubleToString(value, record, format);
      std::string expected(record.data(), record.size());
      expected.erase(0, expected.find_first_not_of(' '));
      expected.erase(expected.find_last_not_of(' ') + 1);
      if (expected.find_first_not_of("-0.") == std::string::npos && expected[0] == '-') {
        expected.erase(0, 1);
      }
      EXPECT_EQ(fixed(value, decimals), expected) << value << " " << format;
    }
  }
}

TEST(ClampToField, KeepsEveryFieldWithinItsWidth) {
  struct Case {
    double value;
    int width, decimals;
    double expected;
  };
  const Case cases[] = {
      {1e9, 9, 2, 999999.99},
      {-1e9, 9, 2, -99999.99},
      {1718.28, 5, 1, 999.9},
      {-5.0, 5, 1, -5.0},
      {12.0, 8, 4, 12.0},
      {1e6, 8, 4, 999.9999},
      {std::numeric_limits<double>::quiet_NaN(), 9, 2, 0.0},
      {-std::numeric_limits<double>::infinity(), 8, 1, -99999.9},
  };
  for (const Case& c : cases) {
    const double clamped = clamp_to_field(c.value, c.width, c.decimals);
    EXPECT_NEAR(clamped, c.expected, 1e-9) << c.value;
    EXPECT_LE(static_cast<int>(fixed(clamped, c.decimals).size()), c.width) << c.value;
  }
}

TEST(LineBuffer, AppendsAndStopsAtItsCapacity) {
  LineBuffer line;
  line.add("x=").add_int(-42).add(' ').add_fixed(1.5, 2);
  EXPECT_EQ(line.view(), "x=-42 1.50");
  line.drop_back(3);
  EXPECT_EQ(line.back(), '1');
  line.clear();
  for (std::size_t i = 0; i < LineBuffer::kCapacity + 10; ++i) {
    line.add('a');
  }
  EXPECT_EQ(line.size(), LineBuffer::kCapacity);
}

// The three drivers' rules: PostScript keeps one zero of a whole number only, SVG drops
// zeros and a bare point, DXF drops zeros and keeps the point.
TEST(TrimTrailingZeros, FollowsEachRule) {
  const TrailingZeros postscript{1, true, true}, svg{0, false, false}, dxf{0, false, true};
  const struct {
    const char* text;
    TrailingZeros rule;
    const char* expected;
  } cases[] = {
      {"12.00", postscript, "12.0"}, {"12.50", postscript, "12.50"}, {"-0.05", postscript, "-0.05"},
      {"12.00", svg, "12"},          {"12.50", svg, "12.5"},         {"0.05", svg, "0.05"},
      {"2.000000", dxf, "2."},       {"-0.250000", dxf, "-0.25"},    {"100", dxf, "100"},
  };
  for (const auto& c : cases) {
    const std::string text = c.text;
    EXPECT_EQ(text.substr(0, trim_trailing_zeros(text.data(), text.size(), c.rule)), c.expected) << c.text;
  }
}

// Shortening while formatting (the drivers' path) gives the text trim_trailing_zeros
// makes of the full number, on both rounding paths (near ties and beyond 1e12), and a
// line without room for the longest number is cut, not overrun.
TEST(TrimTrailingZeros, WhileFormattingAgreesWithTheTextRule) {
  const TrailingZeros rules[] = {{1, true, true}, {0, false, false}, {0, false, true}, {3, false, false}};
  std::mt19937 random(777);
  std::uniform_real_distribution<double> wide(-2e5, 2e5);
  for (int i = 0; i < 4000; ++i) {
    double value = wide(random);
    if (i % 4 == 0) value = std::round(value * 4.0) / 4.0;
    if (i % 4 == 1) value = std::round(value) + 0.125;
    if (i % 50 == 2) value *= 1e9;
    for (int decimals : {0, 2, 6}) {
      char full[40], shortened[40];
      const std::size_t length = format_fixed(full, value, decimals);
      for (const TrailingZeros& rule : rules) {
        const std::string expected(full, trim_trailing_zeros(full, length, rule));
        EXPECT_EQ(std::string(shortened, format_fixed(shortened, value, decimals, rule)), expected) << value;
        LineBuffer line;
        line.add(std::string(LineBuffer::kCapacity - 3, ' ')).add_fixed(value, decimals, rule);
        EXPECT_EQ(line.view().substr(LineBuffer::kCapacity - 3), expected.substr(0, 3)) << value;
      }
    }
  }
}

}  // namespace
}  // namespace quill
