#include "graphics/line_buffer.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

namespace quill {

double clamp_to_field(double value, int width, int decimals) {
  if (std::isnan(value)) {
    return 0.0;
  }
  // Positive: width - 1 - decimals integer digits; negative: one fewer for the sign.
  const double step = std::pow(10.0, -decimals);
  const double high = std::pow(10.0, width - 1 - decimals) - step;
  const double low = -(std::pow(10.0, width - 2 - decimals) - step);
  if (value > high) {
    return high;
  }
  if (value < low) {
    return low;
  }
  return value;
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
