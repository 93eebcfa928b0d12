// Decimal digits of unsigned integers, written backwards from the end of a buffer.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quill {

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// 10^0 to 10^19: every power of ten an unsigned 64-bit integer holds.
inline constexpr std::uint64_t kPowersOfTen[20] = {1ULL,
                                                   10ULL,
                                                   100ULL,
                                                   1000ULL,
                                                   10000ULL,
                                                   100000ULL,
                                                   1000000ULL,
                                                   10000000ULL,
                                                   100000000ULL,
                                                   1000000000ULL,
                                                   10000000000ULL,
                                                   100000000000ULL,
                                                   1000000000000ULL,
                                                   10000000000000ULL,
                                                   100000000000000ULL,
                                                   1000000000000000ULL,
                                                   10000000000000000ULL,
                                                   100000000000000000ULL,
                                                   1000000000000000000ULL,
                                                   10000000000000000000ULL};

// The number of decimal digits of v (1 for 0): from its bit length, one comparison.
inline int decimal_length(std::uint64_t v) {
  const int bits = 64 - std::countl_zero(v | 1U);
  const int estimate = (bits * 1233) >> 12;  // floor(bits x log10(2)), 0..19
  return estimate + 1 - (v < kPowersOfTen[estimate] ? 1 : 0);
}

// The digits of v (at least one) ending just before end, two per division in 32-bit
// arithmetic; returns the first. The buffer needs room for 10 digits.
inline char* decimal_text(std::uint32_t v, char* end) {
  char* p = end;
  while (v >= 100U) {
    p -= 2;
    std::memcpy(p, kDigitPairs + (v % 100U) * 2, 2);
    v /= 100U;
  }
  if (v >= 10U) {
    p -= 2;
    std::memcpy(p, kDigitPairs + v * 2, 2);
  } else {
    *--p = static_cast<char>('0' + v);
  }
  return p;
}

// Exactly ten digits of v, leading zeros included, at p; no data-dependent branch.
inline void ten_digits(std::uint32_t v, char* p) {
  const std::uint32_t high = v / 100000000U;  // 0..42
  const std::uint32_t low = v % 100000000U;
  const std::uint32_t pairs[5] = {high, low / 1000000U, low / 10000U % 100U, low / 100U % 100U, low % 100U};
  for (int i = 0; i < 5; ++i) std::memcpy(p + 2 * i, kDigitPairs + pairs[i] * 2, 2);
}

// The same for 64-bit values (up to 20 digits): blocks of eight digits first.
inline char* decimal_text(std::uint64_t v, char* end) {
  char* p = end;
  while (v > 0xFFFFFFFFULL) {
    auto block = static_cast<std::uint32_t>(v % 100000000U);
    v /= 100000000U;
    for (int i = 0; i < 4; ++i) {
      p -= 2;
      std::memcpy(p, kDigitPairs + (block % 100U) * 2, 2);
      block /= 100U;
    }
  }
  return decimal_text(static_cast<std::uint32_t>(v), p);
}

}  // namespace quill
