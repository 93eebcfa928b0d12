#include "graphics/line_buffer.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace quill {
namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

double power_of_ten(int exponent) {
  if (exponent >= 0 && exponent <= 18) {
    return kPowersOfTen[exponent];
  }
  return std::pow(10.0, exponent);
}

// Writes the integer units / 10^decimals with its decimal point. Returns the length.
std::size_t write_scaled(char* out, bool negative, unsigned long long units, int decimals) {
  char digits[32];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units != 0 || count <= decimals);
  std::size_t length = 0;
  if (negative) {
    out[length++] = '-';
  }
  for (int i = count - 1; i >= 0; --i) {
    out[length++] = digits[i];
    if (i == decimals && decimals > 0) {
      out[length++] = '.';
    }
  }
  return length;
}

// Rounds value * 10^decimals to the nearest integer when that is decided without doubt;
// values within a hair of a tie take the exact path.
bool fast_fixed(double value, int decimals, char* out, std::size_t& length) {
  if (decimals > 6 || !(std::fabs(value) < 1e12)) {
    return false;
  }
  const double scaled = value * kPowersOfTen[decimals];
  const double floor_value = std::floor(scaled);
  const double fraction = scaled - floor_value;
  if (std::fabs(fraction - 0.5) < 1e-6) {
    return false;
  }
  const long long units = static_cast<long long>(fraction > 0.5 ? floor_value + 1.0 : floor_value);
  const bool negative = units < 0;
  length = write_scaled(out, negative, static_cast<unsigned long long>(negative ? -units : units), decimals);
  return true;
}

}  // namespace

double clamp_to_field(double value, int width, int decimals) {
  if (std::isnan(value)) {
    return 0.0;
  }
  // Positive: width - 1 - decimals integer digits; negative: one fewer for the sign.
  const double step = 1.0 / power_of_ten(decimals);
  const double high = power_of_ten(width - 1 - decimals) - step;
  const double low = -(power_of_ten(width - 2 - decimals) - step);
  if (value > high) {
    return high;
  }
  if (value < low) {
    return low;
  }
  return value;
}

std::size_t trim_trailing_zeros(const char* digits, std::size_t length, const TrailingZeros& rule) {
  std::size_t first_decimal = 0;
  while (first_decimal < length && digits[first_decimal] != '.') ++first_decimal;
  if (first_decimal == length) return length;
  ++first_decimal;
  std::size_t end = length;
  while (end > first_decimal && digits[end - 1] == '0') --end;
  if (rule.only_when_all_zero && end != first_decimal) return length;
  end = std::max(end, std::min(length, first_decimal + static_cast<std::size_t>(rule.min_decimals)));
  if (end == first_decimal && !rule.keep_point) --end;
  return end;
}

std::size_t format_fixed(char* out, double value, int decimals) {
  constexpr double kLimit = 1e15;
  if (std::isnan(value)) {
    value = 0.0;
  } else if (value > kLimit) {
    value = kLimit;
  } else if (value < -kLimit) {
    value = -kLimit;
  }
  std::size_t length = 0;
  if (fast_fixed(value, decimals, out, length)) {
    return length;
  }
  const auto result = std::to_chars(out, out + 32, value, std::chars_format::fixed, decimals);
  length = static_cast<std::size_t>(result.ptr - out);
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
  return length;
}

LineBuffer& LineBuffer::add(std::string_view text) {
  const std::size_t n = text.size() < room() ? text.size() : room();
  std::memcpy(data_.data() + size_, text.data(), n);
  size_ += n;
  return *this;
}

LineBuffer& LineBuffer::add(char c) {
  if (size_ < kCapacity) {
    data_[size_++] = c;
  }
  return *this;
}

LineBuffer& LineBuffer::add_int(long long value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return add(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

LineBuffer& LineBuffer::add_fixed(double value, int decimals) {
  char digits[40];
  return add(std::string_view(digits, format_fixed(digits, value, decimals)));
}

}  // namespace quill
