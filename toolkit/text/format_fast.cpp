// Single-descriptor formats in the default modes (no scale factor, sign or decimal
// mode, rounding to nearest), written from integer digits in one pass. Anything
// outside what is handled here is declined before a byte is written.
#include "text/format_fast.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "text/decimal.hpp"
#include "text/digits.hpp"
#include "text/general_scale.hpp"

namespace quill {
namespace {

constexpr int kMaxExponentDigits = 8;  // wider Ee fields take the general writer

// Writes the record left to right: the field, then blanks to the end.
class Record {
 public:
  explicit Record(std::span<char> record) : begin_(record.data()), p_(begin_), end_(begin_ + record.size()) {}

  void put(char c) { *p_++ = c; }
  void put(const char* text, long long n) {
    if (n > 0) std::memcpy(p_, text, static_cast<std::size_t>(n));
    p_ += n;
  }
  // Reserves n characters for the caller to fill; returns where they begin.
  char* skip(long long n) {
    char* start = p_;
    p_ += n;
    return start;
  }
  void repeat(char c, long long n) {
    if (n == 1) {
      *p_ = c;  // the common single blank or zero, without a library call
    } else if (n > 0) {
      std::memset(p_, c, static_cast<std::size_t>(n));
    }
    p_ += n;
  }
  FastWrite finish(FastWrite result) {
    repeat(' ', end_ - p_);
    return result;
  }
  // The whole field of width characters as asterisks.
  FastWrite overflow(long long width) {
    repeat('*', width);
    return finish(FastWrite::Overflowed);
  }

 private:
  char* begin_;
  char* p_;
  char* end_;
};

// Fw.d in the first w characters and trailing blanks after it (for G's F form);
// asterisks over all w + trailing when it does not fit.
FastWrite fixed_form(double v, long long w, int d, long long trailing, Record& out) {
  std::uint64_t q = 0;
  if (!fixed_integer(std::fabs(v), d, q)) return FastWrite::Declined;
  char buffer[24];
  char* const end = buffer + sizeof buffer;
  const char* digits = decimal_text(q, end);
  const int n = q == 0 ? 0 : static_cast<int>(end - digits);
  const int integer_count = n > d ? n - d : 0;
  const bool negative = std::signbit(v);
  long long size = (negative ? 1 : 0) + integer_count + 1 + d;
  // The zero before the point: always for F w.0, otherwise when there is room.
  const bool zero = integer_count == 0 && (d == 0 || size + 1 <= w);
  if (zero) ++size;
  if (size > w) return out.overflow(w + trailing);
  out.repeat(' ', w - size);
  if (negative) out.put('-');
  if (zero) out.put('0');
  out.put(digits, integer_count);
  out.put('.');
  if (n >= d) {
    out.put(digits + integer_count, d);
  } else {
    out.repeat('0', d - n);
    out.put(digits, n);
  }
  return out.finish(FastWrite::Written);
}

// Ew.d[Ee] with d >= 1: 0.ddddE+xx, the zero only when there is room.
FastWrite exponent_form(double v, long long w, int d, bool has_e, int e, Record& out) {
  std::uint64_t q = 0;
  int exponent = 0;
  if (v != 0.0 && !significant_integer(std::fabs(v), d, q, exponent)) return FastWrite::Declined;
  char exponent_text[kMaxExponentDigits + 2];
  char* x = exponent_text;
  const int magnitude = exponent < 0 ? -exponent : exponent;
  char digit_buffer[12];
  char* const digit_end = digit_buffer + sizeof digit_buffer;
  const char* exponent_digits = decimal_text(static_cast<std::uint32_t>(magnitude), digit_end);
  const int exponent_count = static_cast<int>(digit_end - exponent_digits);
  // Exponents beyond 99 (written without the letter) never come with digits from the
  // integer path, whose powers of ten stop at 10^27.
  if (!has_e && magnitude > 99) return FastWrite::Declined;
  const int width = has_e ? e : 2;
  if (exponent_count > width) return out.overflow(w);
  *x++ = 'E';
  *x++ = exponent < 0 ? '-' : '+';
  for (int i = exponent_count; i < width; ++i) *x++ = '0';
  std::memcpy(x, exponent_digits, static_cast<std::size_t>(exponent_count));
  x += exponent_count;
  const long long exponent_size = x - exponent_text;

  const bool negative = std::signbit(v);
  long long size = (negative ? 1 : 0) + 1 + d + exponent_size;
  const bool zero = size + 1 <= w;
  if (zero) ++size;
  if (size > w) return out.overflow(w);
  out.repeat(' ', w - size);
  if (negative) out.put('-');
  if (zero) out.put('0');
  out.put('.');
  if (v == 0.0) {
    out.repeat('0', d);
  } else {
    char buffer[24];
    char* const end = buffer + sizeof buffer;
    out.put(decimal_text(q, end), d);
  }
  out.put(exponent_text, exponent_size);
  return out.finish(FastWrite::Written);
}

// Gw.d[Ee]: the F form with trailing blanks when the magnitude suits, else Ew.d[Ee].
FastWrite general_form(const FormatItem& item, const FormatValue& value, double v, Record& out) {
  const int d = item.d;
  const long long w = item.w;
  const int s = value.kind == ValueKind::Real4 ? general_scale<float>(std::fabs(value.real4), d, 0.5F)
                                               : general_scale<double>(std::fabs(v), d, 0.5);
  if (s < 0) return exponent_form(v, w, d, item.has_e, item.e, out);
  const int blanks = item.has_e ? item.e + 2 : 4;
  if (w - blanks <= 0) return out.overflow(w);
  return fixed_form(v, w - blanks, d - s, blanks, out);
}

FastWrite integer_form(const FormatItem& item, std::int32_t v, Record& out) {
  const long long min_digits = item.has_d ? item.d : 1;
  if (v == 0 && min_digits == 0) return out.finish(FastWrite::Written);
  const std::uint32_t magnitude = v < 0 ? 0U - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
  const long long n = decimal_length(magnitude);
  const long long count = n > min_digits ? n : min_digits;
  const long long size = count + (v < 0 ? 1 : 0);
  if (size > item.w) return out.overflow(item.w);
  if (item.w <= 16 && count <= 10) {
    // The usual narrow field is built without branching on the digits: ten digits in
    // a blank buffer, blanks over the zeros left of count, the sign before them.
    char stage[32];
    std::memset(stage, ' ', sizeof stage);
    char* const end = stage + sizeof stage;
    ten_digits(magnitude, end - 10);
    std::memset(end - count - 16, ' ', 16);
    end[-count - 1] = v < 0 ? '-' : ' ';
    out.put(end - item.w, item.w);
    return out.finish(FastWrite::Written);
  }
  out.repeat(' ', item.w - size);
  if (v < 0) out.put('-');
  out.repeat('0', count - n);
  decimal_text(magnitude, out.skip(n) + n);  // the digits go straight into the record
  return out.finish(FastWrite::Written);
}

}  // namespace

FastWrite write_single_fast(const FormatItem& item, const FormatValue& value, std::span<char> record) {
  if (item.w <= 0 || static_cast<std::size_t>(item.w) > record.size()) return FastWrite::Declined;
  Record out(record);
  if (item.edit == Edit::I) {
    return value.kind == ValueKind::Integer ? integer_form(item, value.integer, out) : FastWrite::Declined;
  }
  if (value.kind != ValueKind::Real4 && value.kind != ValueKind::Real8) return FastWrite::Declined;
  const double v = value.kind == ValueKind::Real4 ? static_cast<double>(value.real4) : value.real8;
  if (!std::isfinite(v)) return FastWrite::Declined;
  // Ee fields of 0 or many digits, and zero decimals in E and G, take the general writer.
  if (item.has_e && (item.e < 1 || item.e > kMaxExponentDigits)) return FastWrite::Declined;
  switch (item.edit) {
    case Edit::F: return fixed_form(v, item.w, item.d, 0, out);
    case Edit::E:
      return item.d >= 1 ? exponent_form(v, item.w, item.d, item.has_e, item.e, out) : FastWrite::Declined;
    case Edit::G: return item.d >= 1 ? general_form(item, value, v, out) : FastWrite::Declined;
    default: return FastWrite::Declined;
  }
}

}  // namespace quill
