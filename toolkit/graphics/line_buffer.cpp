#include "graphics/line_buffer.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace quill {
namespace {

// 10^0 to 10^6 as doubles, for scaling by the decimals of the fast path.
constexpr auto kScales = [] {
  std::array<double, 7> scales{};
  for (std::size_t i = 0; i < scales.size(); ++i) scales[i] = static_cast<double>(kPowersOfTen[i]);
  return scales;
}();

// Writes the integer units / 10^decimals with its decimal point, in place from the last
// digit back. Returns the length.
std::size_t write_scaled(char* out, bool negative, std::uint64_t units, int decimals) {
  const auto fraction = static_cast<std::size_t>(decimals);
  const std::size_t digits = std::max(static_cast<std::size_t>(decimal_length(units)), fraction + 1);
  const std::size_t length = (negative ? 1U : 0U) + digits + (fraction > 0 ? 1U : 0U);
  char* p = out + length;
  std::size_t left = fraction;
  for (; left >= 2; left -= 2) {
    p -= 2;
    std::memcpy(p, kDigitPairs + units % 100 * 2, 2);
    units /= 100;
  }
  if (left > 0) {
    *--p = static_cast<char>('0' + units % 10);
    units /= 10;
  }
  if (fraction > 0) *--p = '.';
  decimal_text(units, p);
  if (negative) out[0] = '-';
  return length;
}

// Rounds value * 10^decimals to the nearest integer when that is decided without doubt
// (false for values within a hair of a tie: they take the exact path).
bool round_fast(double value, int decimals, bool& negative, std::uint64_t& units) {
  if (decimals < 0 || decimals > 6 || !(std::fabs(value) < 1e12)) {
    return false;
  }
  const double scaled = value * kScales[static_cast<std::size_t>(decimals)];
  // floor(scaled) and scaled - floor(scaled) through truncation: scaled - trunc(scaled) is
  // exact, so the fraction below is rounded once, as the direct difference would be.
  auto whole = static_cast<long long>(scaled);
  double fraction = scaled - static_cast<double>(whole);
  if (fraction < 0.0) {
    --whole;
    fraction += 1.0;
  }
  if (std::fabs(fraction - 0.5) < 1e-6) {
    return false;
  }
  const long long rounded = fraction > 0.5 ? whole + 1 : whole;
  negative = rounded < 0;
  units = static_cast<std::uint64_t>(negative ? -rounded : rounded);
  return true;
}

// The length of digits[0, length) once shortened by rule, the decimals starting at
// first_decimal (just after the point).
std::size_t trimmed_length(const char* digits, std::size_t length, std::size_t first_decimal,
                           const TrailingZeros& rule) {
  std::size_t end = length;
  while (end > first_decimal && digits[end - 1] == '0') --end;
  if (rule.only_when_all_zero && end != first_decimal) return length;
  end = std::max(end, std::min(length, first_decimal + static_cast<std::size_t>(rule.min_decimals)));
  if (end == first_decimal && !rule.keep_point) --end;
  return end;
}

// format_fixed, shortened by rule when one is given.
std::size_t write_fixed(char* out, double value, int decimals, const TrailingZeros* rule) {
  constexpr double kLimit = 1e15;
  if (std::isnan(value)) {
    value = 0.0;
  } else if (value > kLimit) {
    value = kLimit;
  } else if (value < -kLimit) {
    value = -kLimit;
  }
  bool negative = false;
  std::uint64_t units = 0;
  if (round_fast(value, decimals, negative, units)) {
    const std::size_t length = write_scaled(out, negative, units, decimals);
    if (rule == nullptr || decimals == 0) return length;
    return trimmed_length(out, length, length - static_cast<std::size_t>(decimals), *rule);
  }
  const auto result = std::to_chars(out, out + 32, value, std::chars_format::fixed, decimals);
  std::size_t length = static_cast<std::size_t>(result.ptr - out);
  // A value that rounds to zero is written without a sign.
  if (out[0] == '-') {
    bool all_zero = true;
    for (std::size_t i = 1; i < length; ++i) {
      if (out[i] != '0' && out[i] != '.') {
        all_zero = false;
        break;
      }
    }
    if (all_zero) {
      std::memmove(out, out + 1, length - 1);
      --length;
    }
  }
  return rule == nullptr ? length : trim_trailing_zeros(out, length, *rule);
}

}  // namespace

std::size_t trim_trailing_zeros(const char* digits, std::size_t length, const TrailingZeros& rule) {
  const char* point = static_cast<const char*>(std::memchr(digits, '.', length));
  if (point == nullptr) return length;
  return trimmed_length(digits, length, static_cast<std::size_t>(point - digits) + 1, rule);
}

std::size_t format_fixed(char* out, double value, int decimals) {
  return write_fixed(out, value, decimals, nullptr);
}

std::size_t format_fixed(char* out, double value, int decimals, const TrailingZeros& rule) {
  return write_fixed(out, value, decimals, &rule);
}

LineBuffer& LineBuffer::add_int(long long value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return add(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

LineBuffer& LineBuffer::add_fixed(double value, int decimals, std::optional<TrailingZeros> rule) {
  // Written in place when the line has room for the longest number, else cut as add().
  char spare[kLongestFixed];
  char* const out = room() >= kLongestFixed ? data_.data() + size_ : spare;
  const std::size_t length = write_fixed(out, value, decimals, rule ? &*rule : nullptr);
  if (out == spare) return add(std::string_view(spare, length));
  size_ += length;
  return *this;
}

}  // namespace quill
