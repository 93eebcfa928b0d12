// Decimal digits of doubles. Nearest rounding uses the standard library's exact
// conversions; the other modes round the full exact expansion by hand.
#include "text/decimal.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

namespace quill {
namespace {

// A double has at most 767 significant decimal digits and none beyond 10^-1074.
constexpr int kExactSignificant = 770;
constexpr int kMaxFraction = 1100;

struct Scientific {
  char digits[kExactSignificant + 8];
  int count = 0;
  int exponent = 0;  // value = d1.d2d3... x 10^exponent
};

// Writes magnitude in scientific form with precision + 1 significant digits.
void scientific(double magnitude, int precision, Scientific& out) {
  char buffer[kExactSignificant + 32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, precision);
  const char* p = buffer;
  const char* end = result.ptr;
  out.count = 0;
  while (p < end && *p != 'e') {
    if (*p != '.') out.digits[out.count++] = *p;
    ++p;
  }
  int exponent = 0;
  bool negative = false;
  if (p < end) ++p;  // 'e'
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  while (p < end) exponent = exponent * 10 + (*p++ - '0');
  out.exponent = negative ? -exponent : exponent;
}

// The exact expansion with trailing zeros removed.
void exact(double magnitude, Scientific& out) {
  scientific(magnitude, kExactSignificant - 1, out);
  while (out.count > 1 && out.digits[out.count - 1] == '0') --out.count;
}

// Whether the digits dropped (starting at index keep of the exact expansion) make the
// kept digits round away from zero under mode.
bool round_away(const Scientific& x, int keep, RoundingMode mode) {
  bool any_dropped = false;
  for (int i = keep < 0 ? 0 : keep; i < x.count; ++i) {
    if (x.digits[i] != '0') {
      any_dropped = true;
      break;
    }
  }
  if (!any_dropped) return false;
  switch (mode) {
    case RoundingMode::Up: return true;  // magnitude of positive values; callers swap for negatives
    case RoundingMode::Down:
    case RoundingMode::Zero: return false;
    case RoundingMode::Nearest:
    case RoundingMode::NearestAway: break;
  }
  if (keep < 0) return false;  // the first dropped digit is an implied zero
  const char first = keep < x.count ? x.digits[keep] : '0';
  if (first != '5') return first > '5';
  bool beyond = false;
  for (int i = keep + 1; i < x.count; ++i) {
    if (x.digits[i] != '0') {
      beyond = true;
      break;
    }
  }
  if (beyond || mode == RoundingMode::NearestAway) return true;
  const char last = keep >= 1 ? x.digits[keep - 1] : '0';
  return ((last - '0') & 1) != 0;
}

// Rounds the exact expansion to keep digits (keep may be 0 or negative: all dropped).
void round_exact(double magnitude, int keep, RoundingMode mode, DecimalDigits& out) {
  Scientific x;
  exact(magnitude, x);
  const int point = x.exponent + 1;
  const bool away = round_away(x, keep, mode);
  out.count = 0;
  out.point = point;
  for (int i = 0; i < keep && i < DecimalDigits::kCapacity; ++i) {
    out.digits[static_cast<std::size_t>(out.count++)] = i < x.count ? x.digits[i] : '0';
  }
  if (!away) {
    while (out.count > 0 && out.digits[static_cast<std::size_t>(out.count - 1)] == '0') --out.count;
    return;
  }
  if (keep <= 0) {
    // Rounds up to one unit in the position just above the kept digits.
    out.digits[0] = '1';
    out.count = 1;
    out.point = point - keep + 1;
    return;
  }
  int i = out.count - 1;
  while (i >= 0 && out.digits[static_cast<std::size_t>(i)] == '9') {
    out.digits[static_cast<std::size_t>(i)] = '0';
    --i;
  }
  if (i < 0) {
    out.digits[0] = '1';
    out.count = 1;
    out.point = point + 1;
    return;
  }
  ++out.digits[static_cast<std::size_t>(i)];
  out.count = i + 1;
}

}  // namespace

int decimal_exponent(double magnitude) {
  Scientific x;
  scientific(magnitude, 16, x);
  // Rounding to 17 digits can carry into a new power of ten only from just below it.
  if (x.digits[0] == '1') {
    bool rest_zero = true;
    for (int i = 1; i < x.count; ++i) rest_zero = rest_zero && x.digits[i] == '0';
    if (rest_zero) {
      Scientific full;
      exact(magnitude, full);
      return full.exponent;
    }
  }
  return x.exponent;
}

void round_significant(double magnitude, int significant_digits, RoundingMode mode, DecimalDigits& out) {
  if (mode != RoundingMode::Nearest || significant_digits > kExactSignificant) {
    round_exact(magnitude, significant_digits, mode, out);
    return;
  }
  if (fast_round_significant(magnitude, significant_digits, out)) return;
  Scientific x;
  scientific(magnitude, significant_digits - 1, x);
  std::memcpy(out.digits.data(), x.digits, static_cast<std::size_t>(x.count));
  out.count = x.count;
  out.point = x.exponent + 1;
}

void round_fixed(double magnitude, int fraction_digits, RoundingMode mode, DecimalDigits& out) {
  if (magnitude == 0.0) {
    out.count = 0;
    out.point = 0;
    return;
  }
  if (mode == RoundingMode::Nearest && fast_round_fixed(magnitude, fraction_digits, out)) return;
  if (mode == RoundingMode::Nearest && fraction_digits >= 0) {
    const int precision = fraction_digits < kMaxFraction ? fraction_digits : kMaxFraction;
    char buffer[320 + kMaxFraction + 8];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, precision);
    out.count = 0;
    int integer_digits = 0;
    bool in_fraction = false;
    int leading_skipped = 0;
    for (const char* p = buffer; p < result.ptr; ++p) {
      if (*p == '.') {
        in_fraction = true;
        continue;
      }
      if (!in_fraction) ++integer_digits;
      if (out.count == 0 && *p == '0') {
        ++leading_skipped;
        continue;
      }
      // Past the exact expansion every digit is a zero, which needs no storage.
      if (out.count < DecimalDigits::kCapacity) out.digits[static_cast<std::size_t>(out.count++)] = *p;
    }
    out.point = integer_digits - leading_skipped;
    while (out.count > 0 && out.digits[static_cast<std::size_t>(out.count - 1)] == '0') --out.count;
    return;
  }
  // keep = significant digits down to 10^-fraction_digits.
  const int exponent = decimal_exponent(magnitude);
  const int keep = exponent + 1 + fraction_digits;
  if (keep > kExactSignificant) {
    round_exact(magnitude, kExactSignificant, mode, out);
    return;
  }
  round_exact(magnitude, keep, mode, out);
}

}  // namespace quill
