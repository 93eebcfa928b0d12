// A fixed-capacity line under construction, and locale-independent number writing for
// the drivers' output. Nothing here allocates.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quill {

// The largest value written with `decimals` decimals in a field of `width` characters
// (and the smallest, negative, one) so that the field never overflows; NaN gives 0.
double clamp_to_field(double value, int width, int decimals);

// Writes value rounded to `decimals` decimals ("-1.50", "0.00") into out; returns the
// length. out must hold at least 32 characters; values beyond 1e15 in size are clamped.
std::size_t format_fixed(char* out, double value, int decimals);

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

class LineBuffer {
 public:
  static constexpr std::size_t kCapacity = 1024;

  void clear() { size_ = 0; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view view() const { return {data_.data(), size_}; }
  char back() const { return size_ == 0 ? '\0' : data_[size_ - 1]; }
  void drop_back(std::size_t count) { size_ = count > size_ ? 0 : size_ - count; }
  // Room left; appends that do not fit are cut at the capacity.
  std::size_t room() const { return kCapacity - size_; }

  LineBuffer& add(std::string_view text);
  LineBuffer& add(char c);
  LineBuffer& add_int(long long value);
  // Fixed-point with `decimals` decimals, as format_fixed.
  LineBuffer& add_fixed(double value, int decimals);

 private:
  std::array<char, kCapacity> data_;  // only [0, size_) is ever read: no need to clear it per line
  std::size_t size_ = 0;
};

}  // namespace quill
