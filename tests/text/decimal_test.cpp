// The integer-arithmetic digit source against std::to_chars, which rounds the exact
// binary value to nearest, ties to even, as the formatter must.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "text/decimal.hpp"

namespace {

// value = 0.digits x 10^point, trailing zeros removed; "" for zero.
struct Digits {
  std::string digits;
  int point = 0;
  bool operator==(const Digits&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Digits& d) {
    return out << "0." << d.digits << "E" << d.point;
  }
};

Digits trimmed(std::string digits, int point) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  std::size_t lead = 0;
  while (lead < digits.size() && digits[lead] == '0') ++lead;
  digits.erase(0, lead);
  return {digits, digits.empty() ? 0 : point - static_cast<int>(lead)};
}

Digits of(const quill::DecimalDigits& d) {
  return trimmed(std::string(d.digits.data(), static_cast<std::size_t>(d.count)), d.point);
}

Digits fixed_oracle(double v, int fraction_digits) {
  char buffer[400];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, fraction_digits).ptr;
  const std::string text(buffer, end);
  const std::size_t dot = text.find('.');
  const std::string integer = text.substr(0, dot);
  const std::string digits = dot == std::string::npos ? integer : integer + text.substr(dot + 1);
  return trimmed(digits, static_cast<int>(integer.size()));
}

Digits significant_oracle(double v, int significant_digits) {
  char buffer[64];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, significant_digits - 1)
          .ptr;
  const std::string text(buffer, end);
  const std::size_t e = text.find('e');
  std::string digits = text.substr(0, e);
  if (digits.size() > 1) digits.erase(1, 1);  // the point
  return trimmed(digits, std::stoi(text.substr(e + 1)) + 1);
}

// Magnitudes over the whole range, weighted to where the fast path applies, with exact
// ties (few significant bits) and the neighbours of powers of ten.
double pick(std::uint64_t& state) {
  state = state * 6364136223846793005ULL + 1442695040888963407ULL;
  const std::uint64_t r = state >> 11;
  switch (r % 4) {
    case 0: return std::bit_cast<double>(state & 0x7FEFFFFFFFFFFFFFULL);
    case 1: return std::ldexp(static_cast<double>(r % 100000), static_cast<int>(r % 40) - 20);
    case 2: {
      const double p = std::pow(10.0, static_cast<double>(r % 60) - 30.0);
      return (r & 64) != 0 ? std::nextafter(p, 0.0) : std::nextafter(p, 1e308);
    }
    default: return std::ldexp(static_cast<double>(r), static_cast<int>(r % 120) - 110);
  }
}

// The fast path to n fraction digits (fixed) or to n significant digits.
bool fast_round(bool significant, double v, int n, quill::DecimalDigits& out) {
  return significant ? quill::fast_round_significant(v, n, out) : quill::fast_round_fixed(v, n, out);
}

TEST(DecimalDigits, FixedAndSignificantRoundingMatchTheExactValue) {
  for (const bool significant : {false, true}) {
    std::uint64_t state = significant ? 11 : 7;
    int fast = 0;
    for (int i = 0; i < 200000; ++i) {
      const double v = pick(state);
      const int n = significant ? 1 + static_cast<int>(state % 20) : static_cast<int>(state % 30);
      quill::DecimalDigits out;
      if (!(v > 0.0) || !fast_round(significant, v, n, out)) continue;
      ++fast;
      ASSERT_EQ(of(out), significant ? significant_oracle(v, n) : fixed_oracle(v, n))
          << v << (significant ? " digits " : " F.") << n;
      if (significant) {
        ASSERT_EQ(out.count, n);
      }
    }
    EXPECT_GT(fast, 60000) << significant;  // the fast range is really exercised
  }
}

// Fixed: rounding above the units (a negative scale factor) gives the value rounded to a
// multiple of 10^-n. Significant: where the first estimate of the decimal exponent is one
// too low (10.1 lies between 2^3 and 2^4, as 9 does) and where rounding carries into the
// next power of ten.
TEST(DecimalDigits, RoundingToTensAndAroundPowersOfTen) {
  struct Case {
    bool significant;
    double value;
    int n;
    const char* digits;
    int point;
  };
  const Case cases[] = {
      {false, 1234.0, -1, "123", 4}, {false, 1250.0, -2, "12", 4},
      {false, 1350.0, -2, "14", 4},  {false, 1250.0000000000002, -2, "13", 4},
      {false, 49.0, -2, "", 0},      {false, 50.0, -2, "", 0},
      {false, 51.0, -2, "1", 3},     {false, 9.5e20, -21, "1", 22},
      {false, 0.5, 0, "", 0},        {false, 1.5, 0, "2", 1},
      {false, 2.5, 0, "2", 1},       {false, 0.0625, 3, "62", -1},
      {true, 10.1, 2, "10", 2},      {true, 10.5, 2, "10", 2},
      {true, 11.5, 2, "12", 2},      {true, 9.96, 2, "10", 2},
      {true, 9.94, 2, "99", 1},      {true, 0.000999, 1, "1", -2},
      {true, 1e-5, 3, "1", -4},      {true, 99999.5, 5, "1", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << (c.significant ? " digits " : " F.") << c.n);
    quill::DecimalDigits out;
    ASSERT_TRUE(fast_round(c.significant, c.value, c.n, out));
    EXPECT_EQ(of(out), trimmed(c.digits, c.point));
    if (c.significant) {
      EXPECT_EQ(out.count, c.n);
    }
  }
}

}  // namespace
