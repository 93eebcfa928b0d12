// Exact decimal rounding by integer arithmetic for the common case: a double is
// m x 2^e2, so m x 2^e2 x 10^t is m x 5^t x 2^(e2 + t); with 5^t below 2^64 the
// product fits 128 bits and the power of two is a shift (or, for t < 0, one
// division by 5^-t). The remainder decides the rounding exactly, so the digits are
// those of the exact value rounded to nearest, ties to even.
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/decimal.hpp"
#include "text/digits.hpp"

namespace quill {

#if defined(__SIZEOF_INT128__)

namespace {

using u128 = unsigned __int128;

constexpr int kMaxPower = 27;  // 5^27 < 2^63
constexpr int kMaxDigits = 19;

constexpr std::uint64_t kPowersOfFive[kMaxPower + 1] = {1ULL,
                                                        5ULL,
                                                        25ULL,
                                                        125ULL,
                                                        625ULL,
                                                        3125ULL,
                                                        15625ULL,
                                                        78125ULL,
                                                        390625ULL,
                                                        1953125ULL,
                                                        9765625ULL,
                                                        48828125ULL,
                                                        244140625ULL,
                                                        1220703125ULL,
                                                        6103515625ULL,
                                                        30517578125ULL,
                                                        152587890625ULL,
                                                        762939453125ULL,
                                                        3814697265625ULL,
                                                        19073486328125ULL,
                                                        95367431640625ULL,
                                                        476837158203125ULL,
                                                        2384185791015625ULL,
                                                        11920928955078125ULL,
                                                        59604644775390625ULL,
                                                        298023223876953125ULL,
                                                        1490116119384765625ULL,
                                                        7450580596923828125ULL};

constexpr std::uint64_t kLimit = 1ULL << 63;  // results stay below, so rounding up cannot wrap

struct Binary {
  std::uint64_t m;
  int e2;  // value = m x 2^e2
};

Binary decompose(double magnitude) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const auto exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((1ULL << 52) - 1);
  if (exponent == 0) return {fraction, -1074};
  return {fraction | (1ULL << 52), exponent - 1075};
}

// q = n / 2^shift rounded to nearest, ties to even; n < 2^120 and shift > 0.
bool shift_round(u128 n, int shift, std::uint64_t& q) {
  if (shift >= 121) {  // n < 2^(shift - 1): below one half
    q = 0;
    return true;
  }
  if ((n >> 64) == 0 && shift < 64) {
    // The common case in 64-bit arithmetic.
    const auto n64 = static_cast<std::uint64_t>(n);
    const std::uint64_t remainder = n64 & ((1ULL << shift) - 1);
    const std::uint64_t half = 1ULL << (shift - 1);
    q = n64 >> shift;
    if (remainder > half || (remainder == half && (q & 1U) != 0)) ++q;
    return true;
  }
  const u128 quotient = n >> shift;
  if (quotient >= kLimit) return false;
  const u128 remainder = n - (quotient << shift);
  const u128 half = static_cast<u128>(1) << (shift - 1);
  q = static_cast<std::uint64_t>(quotient);
  if (remainder > half || (remainder == half && (q & 1U) != 0)) ++q;
  return true;
}

// q = n / d rounded to nearest, ties to even; d < 2^127.
// floor(n / d) for n < 2^53 and d = odd x 2^k with odd < 2^53, both exact as doubles.
// The correctly rounded quotient truncates to the floor: in the binade where a unit
// in the last place is 2^-m, n / odd >= 2^(52 - m) bounds odd below 2^(m + 1), so a
// fraction of at most 1 - 1/odd stays below the midpoint 1 - 2^-(m + 1) and never
// rounds up to the next integer. One floating division is several times quicker
// than a 64-bit integer one.
std::uint64_t divide_through_double(std::uint64_t n, std::uint64_t d) {
  return static_cast<std::uint64_t>(static_cast<double>(n) / static_cast<double>(d));
}

bool divide_round(u128 n, u128 d, std::uint64_t& q) {
  u128 quotient;
  u128 remainder;
  constexpr std::uint64_t kExact = 1ULL << 53;
  if ((n >> 64) == 0 && (d >> 64) == 0) {
    const auto n64 = static_cast<std::uint64_t>(n);
    const auto d64 = static_cast<std::uint64_t>(d);
    if (n64 < kExact && (d64 >> std::countr_zero(d64)) < kExact) {
      const std::uint64_t q64 = divide_through_double(n64, d64);
      quotient = q64;
      remainder = n64 - q64 * d64;
    } else {
      quotient = n64 / d64;
      remainder = n64 % d64;
    }
  } else {
    quotient = n / d;
    remainder = n % d;
  }
  if (quotient >= kLimit) return false;
  q = static_cast<std::uint64_t>(quotient);
  const u128 twice = remainder << 1;
  if (twice > d || (twice == d && (q & 1U) != 0)) ++q;
  return true;
}

// q = m x 2^e2 x 10^t rounded to nearest, ties to even; false outside the fast range.
bool scale_round(Binary b, int t, std::uint64_t& q) {
  if (t >= 0) {
    if (t > kMaxPower) return false;
    const u128 n = static_cast<u128>(b.m) * kPowersOfFive[t];
    const int s = b.e2 + t;
    if (s < 0) return shift_round(n, -s, q);
    if (s >= 63 || (n >> (63 - s)) != 0) return false;
    q = static_cast<std::uint64_t>(n << s);
    return true;
  }
  const int u = -t;
  if (u > kMaxPower) return false;
  const std::uint64_t five = kPowersOfFive[u];
  const int s = b.e2 - u;  // value = m x 2^s / 5^u
  if (s >= 0) {
    if (s > 74) return false;  // m << s stays below 2^127
    return divide_round(static_cast<u128>(b.m) << s, five, q);
  }
  if (-s >= 64) {  // the divisor passes 2^64 > 2m: below one half
    q = 0;
    return true;
  }
  return divide_round(b.m, static_cast<u128>(five) << -s, q);
}

// The count digits of q (> 0), most significant first.
void put_digits(std::uint64_t q, int count, DecimalDigits& out) {
  // The digits end at buffer + 24; the fixed-size copy (no library call) reads on
  // into the zeroed rest.
  char buffer[48] = {};
  decimal_text(q, buffer + 24);
  std::memcpy(out.digits.data(), buffer + 24 - count, 24);
  out.count = count;
}

}  // namespace

bool fixed_integer(double magnitude, int fraction_digits, std::uint64_t& q) {
  return scale_round(decompose(magnitude), fraction_digits, q);
}

bool significant_integer(double magnitude, int significant_digits, std::uint64_t& q, int& point) {
  if (significant_digits < 1 || significant_digits > kMaxDigits - 1 || !(magnitude > 0.0)) {
    return false;
  }
  const Binary b = decompose(magnitude);
  // floor(log10(magnitude)) is estimate or estimate + 1: log10(2) ~ 78913 / 2^18.
  const int log2 = b.e2 + 63 - std::countl_zero(b.m);
  int exponent = (log2 * 78913) >> 18;
  const std::uint64_t top = kPowersOfTen[significant_digits];
  if (!scale_round(b, significant_digits - 1 - exponent, q)) return false;
  if (q > top) {
    ++exponent;
    if (!scale_round(b, significant_digits - 1 - exponent, q)) return false;
  }
  if (q == top) {  // rounding carried into the next power of ten
    q = kPowersOfTen[significant_digits - 1];
    ++exponent;
  }
  point = exponent + 1;
  return true;
}

bool fast_round_fixed(double magnitude, int fraction_digits, DecimalDigits& out) {
  std::uint64_t q = 0;
  if (!fixed_integer(magnitude, fraction_digits, q)) return false;
  if (q == 0) {
    out.count = 0;
    out.point = 0;
    return true;
  }
  const int count = decimal_length(q);
  put_digits(q, count, out);
  out.point = count - fraction_digits;
  return true;
}

bool fast_round_significant(double magnitude, int significant_digits, DecimalDigits& out) {
  std::uint64_t q = 0;
  if (!significant_integer(magnitude, significant_digits, q, out.point)) return false;
  put_digits(q, significant_digits, out);
  return true;
}

#else

// Without 128-bit integers every value takes the exact general path.
bool fixed_integer(double, int, std::uint64_t&) { return false; }
bool significant_integer(double, int, std::uint64_t&, int&) { return false; }
bool fast_round_fixed(double, int, DecimalDigits&) { return false; }
bool fast_round_significant(double, int, DecimalDigits&) { return false; }

#endif

}  // namespace quill
