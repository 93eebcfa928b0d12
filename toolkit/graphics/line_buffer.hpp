// A fixed-capacity line under construction, and locale-independent number writing for
// the drivers' output. Nothing here allocates.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>

#include "text/digits.hpp"

namespace quill {

// 10^exponent (exact from the integer table for 0..18).
inline double power_of_ten(int exponent) {
  return exponent >= 0 && exponent <= 18 ? static_cast<double>(kPowersOfTen[exponent])
                                         : std::pow(10.0, exponent);
}

// The largest value written with `decimals` decimals in a field of `width` characters
// (and the smallest, negative, one) so that the field never overflows; NaN gives 0.
// Inline: the drivers' fields are constants, and their bounds fold away.
inline double clamp_to_field(double value, int width, int decimals) {
  if (value != value) {  // NaN
    return 0.0;
  }
  // Positive: width - 1 - decimals integer digits; negative: one fewer for the sign.
  // 10^-d as a literal is the correctly rounded quotient 1 / 10^d: no division needed.
  constexpr double kSteps[] = {1e0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8};
  const double step = decimals >= 0 && decimals <= 8 ? kSteps[decimals] : 1.0 / power_of_ten(decimals);
  const double high = power_of_ten(width - 1 - decimals) - step;
  const double low = -(power_of_ten(width - 2 - decimals) - step);
  return value > high ? high : value < low ? low : value;
}

// How a driver shortens the decimals of a fixed-point number: trailing zeros go down to
// min_decimals (only when every decimal is zero, if so asked), and a point left bare goes
// too unless keep_point.
struct TrailingZeros {
  int min_decimals = 0;
  bool only_when_all_zero = false;
  bool keep_point = false;
};
// The length of the fixed-point text digits[0, length) once shortened by the rule.
std::size_t trim_trailing_zeros(const char* digits, std::size_t length, const TrailingZeros& rule);

// Writes value rounded to `decimals` decimals ("-1.50", "0.00") into out, shortened by
// rule if given; returns the length. out must hold at least LineBuffer::kLongestFixed
// characters; values beyond 1e15 in size are clamped.
std::size_t format_fixed(char* out, double value, int decimals);
std::size_t format_fixed(char* out, double value, int decimals, const TrailingZeros& rule);

class LineBuffer {
 public:
  static constexpr std::size_t kCapacity = 1024;
  // format_fixed writes at most this many characters.
  static constexpr std::size_t kLongestFixed = 40;

  void clear() { size_ = 0; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view view() const { return {data_.data(), size_}; }
  char back() const { return size_ == 0 ? '\0' : data_[size_ - 1]; }
  void drop_back(std::size_t count) { size_ = count > size_ ? 0 : size_ - count; }
  // Room left; appends that do not fit are cut at the capacity.
  std::size_t room() const { return kCapacity - size_; }

  LineBuffer& add(std::string_view text) {
    const std::size_t n = text.size() < room() ? text.size() : room();
    std::memcpy(data_.data() + size_, text.data(), n);
    size_ += n;
    return *this;
  }
  LineBuffer& add(char c) {
    if (size_ < kCapacity) data_[size_++] = c;
    return *this;
  }
  LineBuffer& add_int(long long value);
  // Fixed-point with `decimals` decimals, as format_fixed, shortened by rule if given.
  LineBuffer& add_fixed(double value, int decimals, std::optional<TrailingZeros> rule = std::nullopt);

 private:
  std::array<char, kCapacity> data_;  // only [0, size_) is ever read: no need to clear it per line
  std::size_t size_ = 0;
};

}  // namespace quill
