// Exact decimal rounding of binary floating-point values, the digit source of the
// real edit descriptors. Rounding is to nearest, ties to even, on the exact value.
#pragma once

#include <array>
#include <cstdint>

namespace quill {

// value = 0.d1 d2 ... dn x 10^point; digits beyond count are zeros. count 0 means zero.
struct DecimalDigits {
  static constexpr int kCapacity = 1200;
  std::array<char, kCapacity> digits;  // only [0, count) is meaningful; left uninitialised
  int count = 0;
  int point = 0;

  char at(int i) const { return (i >= 0 && i < count) ? digits[static_cast<std::size_t>(i)] : '0'; }
};

enum class RoundingMode : unsigned char { Nearest, NearestAway, Up, Down, Zero };

// magnitude >= 0 and finite. Rounds so that the last digit kept is at 10^-fraction_digits
// (fraction_digits may be negative).
void round_fixed(double magnitude, int fraction_digits, RoundingMode mode, DecimalDigits& out);
// Rounds to significant_digits (>= 1) digits; magnitude > 0 and finite.
void round_significant(double magnitude, int significant_digits, RoundingMode mode, DecimalDigits& out);
// floor(log10(magnitude)) exactly; magnitude > 0 and finite.
int decimal_exponent(double magnitude);

// The same roundings to nearest (ties to even) by 128-bit integer arithmetic, for
// results of up to 18 digits with powers of ten up to 10^27 either way. They return
// false, leaving out unspecified, when the value or precision is outside that range.
bool fast_round_fixed(double magnitude, int fraction_digits, DecimalDigits& out);
bool fast_round_significant(double magnitude, int significant_digits, DecimalDigits& out);
// The same results as integers: q = magnitude x 10^fraction_digits rounded; and q of
// exactly significant_digits digits with magnitude ~ 0.q x 10^point (magnitude > 0).
bool fixed_integer(double magnitude, int fraction_digits, std::uint64_t& q);
bool significant_integer(double magnitude, int significant_digits, std::uint64_t& q, int& point);

}  // namespace quill
