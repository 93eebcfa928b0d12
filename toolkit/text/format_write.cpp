// FormatProgram and values to one record. The writer only executes the parsed
// program; it never looks at format text.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "text/decimal.hpp"
#include "text/digits.hpp"
#include "text/format.hpp"
#include "text/format_fast.hpp"
#include "text/general_scale.hpp"

namespace quill {
namespace {

constexpr long long kMaxSteps = 1LL << 24;  // stops formats that loop without end

// The pieces of a real number's field, in the order they are written. Integer and
// fraction digits come from one digit sequence: digit j of the field is source.at(first + j).
struct RealLayout {
  char sign = 0;  // '-', '+' or 0
  bool zero_before_point = false;
  int integer_count = 0;
  int fraction_count = 0;
  int first = 0;
  const DecimalDigits* source = nullptr;
  // The exponent: letter and sign, exponent_zeros padding zeros, then its digits.
  char exponent[16] = {};
  int exponent_size = 0;
  long long exponent_zeros = 0;

  long long size() const {
    return (sign ? 1 : 0) + (zero_before_point ? 1 : 0) + integer_count + 1 + fraction_count + exponent_size +
           exponent_zeros;
  }
};

// How the optional zero before the point is treated.
// if_room: when the field has room; zero_width: the zero-width E and G forms, which
// keep it while the whole number stays within a limit that depends on the kind.
enum class LeadingZero { IfRoom, ZeroWidth };

void fill(char* out, char c, long long n) {
  if (n > 0) std::memset(out, c, static_cast<std::size_t>(n));
}

class Writer {
 public:
  Writer(const FormatProgram& program, std::span<const FormatValue> values, std::span<char> record)
      : program_(program), values_(values), record_(record), size_(static_cast<long long>(record.size())) {}

  bool asterisks_written() const { return asterisks_written_; }

  // A program of one data edit descriptor (no repeat) with one value: the loop below
  // would edit that value and then stop, so the item is edited directly.
  bool is_single() const {
    return program_.count == 1 && values_.size() == 1 && program_.items[0].repeat == 1 &&
           is_data_edit(program_.items[0].edit);
  }

  WriteStatus run() {
    fill(record_.data(), ' ', size_);
    if (is_single()) return edit(program_.items[0], values_[0]);
    struct Frame {
      int open;
      std::int32_t remaining;
    };
    Frame stack[FormatProgram::kMaxDepth];
    int depth = 0;
    std::size_t next_value = 0;
    long long steps = 0;
    int i = 0;
    for (;;) {
      if (++steps > kMaxSteps) return WriteStatus::BadFormat;
      if (i >= program_.count) {
        if (next_value >= values_.size()) return WriteStatus::Ok;
        // Reversion would begin a new record, which a single record cannot hold.
        return program_.has_data_edit ? WriteStatus::SecondRecord : WriteStatus::BadFormat;
      }
      const FormatItem& item = program_.items[static_cast<std::size_t>(i)];
      switch (item.edit) {
        case Edit::GroupOpen:
          stack[depth++] = Frame{i, item.repeat};
          ++i;
          continue;
        case Edit::GroupClose: {
          Frame& top = stack[depth - 1];
          if (--top.remaining > 0) {
            i = top.open + 1;
          } else {
            --depth;
            ++i;
          }
          continue;
        }
        case Edit::Colon:
          if (next_value >= values_.size()) return WriteStatus::Ok;
          break;
        case Edit::Slash: return WriteStatus::SecondRecord;
        case Edit::Literal: {
          const WriteStatus status = put(program_.literals.data() + item.literal_begin, item.literal_size);
          if (status != WriteStatus::Ok) return status;
          break;
        }
        case Edit::X:
        case Edit::TR: move_right(item.w); break;
        case Edit::T:
        case Edit::TL: tab(item.edit, item.w); break;
        case Edit::P: scale_ = item.w; break;
        case Edit::S:
        case Edit::SS: plus_ = false; break;
        case Edit::SP: plus_ = true; break;
        case Edit::BN:
        case Edit::BZ: break;
        case Edit::DC: comma_ = true; break;
        case Edit::DP: comma_ = false; break;
        case Edit::RN:
          mode_ = RoundingMode::Nearest;
          mode_given_ = true;
          break;
        case Edit::RP:
          mode_ = RoundingMode::Nearest;
          mode_given_ = false;
          break;
        case Edit::RC: set_mode(RoundingMode::NearestAway); break;
        case Edit::RU: set_mode(RoundingMode::Up); break;
        case Edit::RD: set_mode(RoundingMode::Down); break;
        case Edit::RZ: set_mode(RoundingMode::Zero); break;
        default: {
          for (std::int32_t r = 0; r < item.repeat; ++r) {
            if (next_value >= values_.size()) return WriteStatus::Ok;
            if (++steps > kMaxSteps) return WriteStatus::BadFormat;
            const WriteStatus status = edit(item, values_[next_value++]);
            if (status != WriteStatus::Ok) return status;
          }
          break;
        }
      }
      ++i;
    }
  }

 private:
  // ---- Output primitives -------------------------------------------------------------

  // Positioning is lazy: X, TR, T and TL only record a pending move (skips_), applied
  // by the next write. T counts from the pending blanks, so a T that points left of
  // pending blanks lands after them.
  void move_right(long long n) {
    skips_ += n;
    if (skips_ > kFar) skips_ = kFar;
    pending_ = pos_ + skips_ - 1 - max_pos_ + 1;
  }

  void tab(Edit edit, long long n) {
    long long target;
    if (edit == Edit::TL) {
      if (pos_ == 0) {
        pending_ -= n;
        skips_ -= n;
        if (skips_ < 0) skips_ = 0;
      }
      target = pos_ - n;
    } else {
      target = n - pending_ - 1;
    }
    if (target < 0) target = 0;
    skips_ += target - pos_;
    pending_ += target - max_pos_;
    if (pending_ < 0) pending_ = 0;
  }

  // The record area for a field of width characters at the current position.
  char* reserve(long long width) {
    const long long start = pos_ + skips_;
    // Tabbing left of pending moves can point before the record: a failed write.
    if (width < 0 || start < 0 || start + width > size_) return nullptr;
    char* out = record_.data() + start;
    pos_ = start + width;
    // Pending blanks are settled only by a write that had a move to apply.
    if (skips_ != 0) pending_ = 0;
    skips_ = 0;
    if (pos_ > max_pos_) max_pos_ = pos_;
    return out;
  }

  WriteStatus put(const char* text, long long n) {
    char* out = reserve(n);
    if (!out) return WriteStatus::EndOfRecord;
    if (n > 0) std::memcpy(out, text, static_cast<std::size_t>(n));
    return WriteStatus::Ok;
  }

  WriteStatus asterisks(long long width) {
    char* out = reserve(width);
    if (!out) return WriteStatus::EndOfRecord;
    fill(out, '*', width);
    if (width > 0) asterisks_written_ = true;
    return WriteStatus::Ok;
  }

  // text right-justified in width (0: exactly its own size); too long gives asterisks.
  WriteStatus put_right(const char* text, long long n, long long width) {
    if (width == 0) return put(text, n);
    if (n > width) return asterisks(width);
    char* out = reserve(width);
    if (!out) return WriteStatus::EndOfRecord;
    fill(out, ' ', width - n);
    if (n > 0) std::memcpy(out + (width - n), text, static_cast<std::size_t>(n));
    return WriteStatus::Ok;
  }

  // ---- Data edit descriptors ---------------------------------------------------------

  WriteStatus edit(const FormatItem& item, const FormatValue& value) {
    switch (item.edit) {
      case Edit::I:
        if (value.kind != ValueKind::Integer) return WriteStatus::TypeMismatch;
        return edit_integer(item.w, item.has_d, item.d, value.integer);
      case Edit::B:
      case Edit::O:
      case Edit::Z: return edit_bits(item, value);
      case Edit::F:
      case Edit::E:
      case Edit::EN:
      case Edit::ES:
      case Edit::D:
        if (value.kind != ValueKind::Real4 && value.kind != ValueKind::Real8) {
          return WriteStatus::TypeMismatch;
        }
        return edit_real(item, value);
      case Edit::G: return edit_general(item, value);
      case Edit::L:
        if (value.kind != ValueKind::Logical) return WriteStatus::TypeMismatch;
        return put_right(value.logical ? "T" : "F", 1, item.w == 0 ? 1 : item.w);
      case Edit::A:
        if (value.kind != ValueKind::Character) return WriteStatus::TypeMismatch;
        return edit_character(item.w, value.character);
      default: return WriteStatus::BadFormat;
    }
  }

  WriteStatus edit_integer(std::int32_t w, bool has_m, std::int32_t m, std::int32_t v) {
    const long long min_digits = has_m ? m : 1;
    if (v == 0 && min_digits == 0) {
      // Only blanks, whatever the sign mode; one blank for the zero-width form.
      const long long width = w == 0 ? 1 : w;
      char* out = reserve(width);
      if (!out) return WriteStatus::EndOfRecord;
      fill(out, ' ', width);
      return WriteStatus::Ok;
    }
    char buffer[16];
    char* const end = buffer + sizeof buffer;
    const std::uint32_t magnitude =
        v < 0 ? 0U - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
    const char* digits = decimal_text(magnitude, end);
    const char sign = v < 0 ? '-' : (plus_ ? '+' : 0);
    return put_digits(sign, digits, static_cast<int>(end - digits), min_digits, w);
  }

  // The n digits (most significant first) right-justified in w with the sign and
  // leading zeros up to min_digits; asterisks when they do not fit.
  WriteStatus put_digits(char sign, const char* digits, int n, long long min_digits, long long w) {
    const long long count = n > min_digits ? n : min_digits;
    const long long size = count + (sign ? 1 : 0);
    if (w == 0) w = size;
    if (size > w) return asterisks(w);
    char* out = reserve(w);
    if (!out) return WriteStatus::EndOfRecord;
    fill(out, ' ', w - size);
    out += w - size;
    if (sign) *out++ = sign;
    fill(out, '0', count - n);
    std::memcpy(out + (count - n), digits, static_cast<std::size_t>(n));
    return WriteStatus::Ok;
  }

  WriteStatus edit_bits(const FormatItem& item, const FormatValue& value) {
    std::uint64_t bits = 0;
    switch (value.kind) {
      case ValueKind::Integer: bits = static_cast<std::uint32_t>(value.integer); break;
      case ValueKind::Real4: bits = std::bit_cast<std::uint32_t>(value.real4); break;
      case ValueKind::Real8: bits = std::bit_cast<std::uint64_t>(value.real8); break;
      default: return WriteStatus::TypeMismatch;
    }
    const long long min_digits = item.has_d ? item.d : 1;
    if (bits == 0 && min_digits == 0) {
      const long long width = item.w == 0 ? 1 : item.w;
      char* out = reserve(width);
      if (!out) return WriteStatus::EndOfRecord;
      fill(out, ' ', width);
      return WriteStatus::Ok;
    }
    const unsigned shift = item.edit == Edit::B ? 1U : (item.edit == Edit::O ? 3U : 4U);
    const std::uint64_t mask = (1ULL << shift) - 1;
    char buffer[72];
    char* const end = buffer + sizeof buffer;
    char* p = end;
    do {
      *--p = "0123456789ABCDEF"[bits & mask];
      bits >>= shift;
    } while (bits != 0);
    return put_digits(0, p, static_cast<int>(end - p), min_digits, item.w);
  }

  WriteStatus edit_character(std::int32_t w, std::string_view text) {
    const long long n = static_cast<long long>(text.size());
    if (w < 0) return put(text.data(), n);
    if (n >= w) return put(text.data(), w);
    return put_right(text.data(), n, w);
  }

  // ---- Reals -------------------------------------------------------------------------

  void set_mode(RoundingMode mode) {
    mode_ = mode;
    mode_given_ = true;
  }

  RoundingMode mode_for(bool negative) const {
    if (negative && mode_ == RoundingMode::Up) return RoundingMode::Down;
    if (negative && mode_ == RoundingMode::Down) return RoundingMode::Up;
    if (mode_ == RoundingMode::Down) return RoundingMode::Zero;
    return mode_;
  }

  static double real_of(const FormatValue& value) {
    return value.kind == ValueKind::Real4 ? static_cast<double>(value.real4) : value.real8;
  }

  WriteStatus edit_non_finite(double v, long long w) {
    if (std::isnan(v)) return put_right("NaN", 3, w == 0 ? 3 : w);
    const bool negative = std::signbit(v);
    if (w == 0) {
      if (negative) return put("-Inf", 4);
      return plus_ ? put("+Inf", 4) : put("Inf", 3);
    }
    if (negative) {
      if (w >= 9) return put_right("-Infinity", 9, w);
      return w >= 4 ? put_right("-Inf", 4, w) : asterisks(w);
    }
    if (plus_) {
      if (w >= 9) return put_right("+Infinity", 9, w);
      if (w >= 4) return put_right("+Inf", 4, w);
    } else if (w >= 8) {
      return put_right("Infinity", 8, w);
    }
    return w >= 3 ? put_right("Inf", 3, w) : asterisks(w);
  }

  WriteStatus edit_real(const FormatItem& item, const FormatValue& value) {
    const double v = real_of(value);
    if (!std::isfinite(v)) return edit_non_finite(v, item.w);
    zero_width_limit_ = value.kind == ValueKind::Real4 ? 16 : 25;
    kind_digits_ = value.kind == ValueKind::Real4 ? 9 : 17;
    // E0.0, ES0.0, EN0.0 and D0.0 show every digit the kind can hold.
    const int d = (item.w == 0 && item.d == 0 && item.edit != Edit::F)
                      ? (value.kind == ValueKind::Real4 ? 9 : 17)
                      : item.d;
    switch (item.edit) {
      case Edit::F: return edit_f(v, item.w, item.d, scale_, LeadingZero::IfRoom, 0);
      case Edit::E: return edit_e(v, item.w, d, item.has_e, item.e, 'E');
      case Edit::D: return edit_e(v, item.w, d, false, 0, 'D');
      case Edit::ES: return edit_es(v, item.w, d, item.has_e, item.e);
      case Edit::EN: return edit_en(v, item.w, d, item.has_e, item.e);
      default: return WriteStatus::BadFormat;
    }
  }

  char sign_of(double v) const { return std::signbit(v) ? '-' : (plus_ ? '+' : 0); }

  // Fw.d with scale factor k; the field is reserved width characters (>= w) with the
  // number right-justified in its first w, the rest blank (for G's trailing blanks).
  WriteStatus edit_f(double v, long long w, int d, int k, LeadingZero zero, long long trailing) {
    const bool negative = std::signbit(v);
    const RoundingMode mode = mode_for(negative);
    const bool directed = mode != RoundingMode::Nearest && mode != RoundingMode::NearestAway;
    // A directed mode rounds the value first to nearest at a fixed number of places
    // beyond d (20 for doubles, 12 for reals), then in its own direction.
    bool seen = v != 0.0;
    if (directed && seen && d + k >= -1) {
      round_fixed(std::fabs(v), d + k + (kind_digits_ == 9 ? 12 : 20), RoundingMode::Nearest, digits_);
      seen = digits_.count > 0;
    }
    if (directed && !seen) {
      digits_.count = 0;
      digits_.point = 0;
    } else {
      round_fixed(std::fabs(v), d + k, mode, digits_);
    }
    // F0.0 gives two asterisks when a directed mode takes a signed, visibly nonzero
    // value to zero.
    if (w == 0 && d == 0 && directed && seen && sign_of(v) != 0 && digits_.count == 0) {
      return asterisks(2);
    }
    RealLayout layout;
    layout.sign = sign_of(v);
    layout.source = &digits_;
    const int integer_count = digits_.count > 0 && digits_.point + k > 0 ? digits_.point + k : 0;
    layout.integer_count = integer_count;
    layout.fraction_count = d;
    layout.first = digits_.point + k - integer_count;
    if (integer_count == 0) {
      if (d == 0) {
        layout.zero_before_point = true;
      } else if (zero == LeadingZero::ZeroWidth) {
        layout.zero_before_point = layout.size() + 1 <= zero_width_limit_;
      } else if (layout.size() + 1 <= w) {
        layout.zero_before_point = true;
      }
    }
    return put_real(layout, w, trailing);
  }

  // Writes the layout right-justified in w (0: its own size) followed by trailing
  // blanks; a layout wider than w fills all w + trailing positions with asterisks.
  WriteStatus put_real(const RealLayout& layout, long long w, long long trailing) {
    const long long size = layout.size();
    if (w == 0) w = size;
    if (size > w || w <= 0) return asterisks(w + trailing);
    char* out = reserve(w + trailing);
    if (!out) return WriteStatus::EndOfRecord;
    char* p = out;
    for (long long i = size; i < w; ++i) *p++ = ' ';
    if (layout.sign) *p++ = layout.sign;
    if (layout.zero_before_point) *p++ = '0';
    p = copy_digits(p, *layout.source, layout.first, layout.integer_count);
    *p++ = comma_ ? ',' : '.';
    p = copy_digits(p, *layout.source, layout.first + layout.integer_count, layout.fraction_count);
    const int head = layout.exponent_size > 0 && layout.exponent_zeros > 0
                         ? (layout.exponent[0] == '+' || layout.exponent[0] == '-' ? 1 : 2)
                         : 0;
    std::memcpy(p, layout.exponent, static_cast<std::size_t>(head));
    p += head;
    fill(p, '0', layout.exponent_zeros);
    p += layout.exponent_zeros;
    std::memcpy(p, layout.exponent + head, static_cast<std::size_t>(layout.exponent_size - head));
    p += layout.exponent_size - head;
    fill(p, ' ', trailing);
    return WriteStatus::Ok;
  }

  // Digits first .. first + n - 1 of source (zeros outside its stored digits) to out.
  static char* copy_digits(char* out, const DecimalDigits& source, int first, int n) {
    const int stored_begin = std::min(std::max(first, 0), first + n);
    const int stored_end = std::max(std::min(first + n, source.count), stored_begin);
    fill(out, '0', stored_begin - first);
    out += stored_begin - first;
    const auto stored = static_cast<std::size_t>(stored_end - stored_begin);
    if (stored > 0) std::memcpy(out, source.digits.data() + stored_begin, stored);
    out += stored;
    fill(out, '0', first + n - stored_end);
    return out + (first + n - stored_end);
  }

  // Fills the exponent text; false when it does not fit its digits. minimal: the
  // zero-width forms, which drop a zero exponent and use as few digits as needed.
  static bool make_exponent(RealLayout& layout, int exponent, char letter, bool has_e, int e, bool minimal) {
    const int magnitude = exponent < 0 ? -exponent : exponent;
    char digits[12];
    int n = 0;
    int m = magnitude;
    do {
      digits[n++] = static_cast<char>('0' + m % 10);
      m /= 10;
    } while (m != 0);
    long long width;
    bool with_letter = true;
    layout.exponent_zeros = 0;
    if (minimal && magnitude == 0) {
      layout.exponent_size = 0;
      return true;
    }
    if (has_e && e > 0) {
      if (n > e) return false;
      width = e;
    } else if (has_e || minimal) {
      width = n;
    } else if (magnitude <= 99) {
      width = 2;
    } else if (magnitude <= 999) {
      width = 3;
      with_letter = false;
    } else {
      return false;
    }
    char* p = layout.exponent;
    if (with_letter) *p++ = letter;
    *p++ = exponent < 0 ? '-' : '+';
    layout.exponent_zeros = width > n ? width - n : 0;
    for (int i = n - 1; i >= 0; --i) *p++ = digits[i];
    layout.exponent_size = static_cast<int>(p - layout.exponent);
    return true;
  }

  // Ew.d[Ee] and Dw.d under scale factor k: -d < k <= 0 gives 0.(-k zeros)(d+k digits),
  // 0 < k < d+2 gives k digits, the point and d-k+1 digits.
  WriteStatus edit_e(double v, long long w, int d, bool has_e, int e, char letter) {
    const int k = scale_;
    if (!(k > -d && k < d + 2)) return WriteStatus::BadEdit;
    const int significant = k <= 0 ? d + k : d + 1;
    const bool negative = std::signbit(v);
    RealLayout layout;
    layout.sign = sign_of(v);
    layout.source = &digits_;
    int exponent = 0;
    if (v == 0.0) {
      digits_.count = 0;
    } else {
      round_significant(std::fabs(v), significant, mode_for(negative), digits_);
      exponent = digits_.point - k;
    }
    if (k <= 0) {
      layout.integer_count = 0;
      layout.fraction_count = d;
      layout.first = k;
    } else {
      layout.integer_count = k;
      layout.fraction_count = d - k + 1;
      layout.first = 0;
    }
    const bool minimal = w == 0;
    if (!make_exponent(layout, exponent, letter, has_e, e, minimal)) {
      if (w != 0) return asterisks(w);
      // Without integer digits the zero-width form counts one asterisk fewer once
      // the number would pass the kind's limit, as if its leading zero were dropped.
      const long long width = overflow_width(v, d);
      return asterisks(k <= 0 && width > zero_width_limit_ ? width - 1 : width);
    }
    if (layout.integer_count == 0) {
      layout.zero_before_point = layout.size() + 1 <= (minimal ? zero_width_limit_ : w);
    }
    return put_real(layout, w, 0);
  }

  WriteStatus edit_es(double v, long long w, int d, bool has_e, int e) {
    const bool negative = std::signbit(v);
    RealLayout layout;
    layout.sign = sign_of(v);
    layout.source = &digits_;
    int exponent = 0;
    if (v == 0.0) {
      digits_.count = 0;
    } else {
      round_significant(std::fabs(v), d + 1, mode_for(negative), digits_);
      exponent = digits_.point - 1;
    }
    layout.integer_count = 1;
    layout.fraction_count = d;
    if (!make_exponent(layout, exponent, 'E', has_e, e, w == 0)) {
      return asterisks(w != 0 ? w : overflow_width(v, d));
    }
    return put_real(layout, w, 0);
  }

  WriteStatus edit_en(double v, long long w, int d, bool has_e, int e) {
    const bool negative = std::signbit(v);
    RealLayout layout;
    layout.sign = sign_of(v);
    layout.source = &digits_;
    int exponent = 0;
    layout.integer_count = 1;
    if (v == 0.0) {
      digits_.count = 0;
    } else if (mode_ == RoundingMode::Nearest && !mode_given_) {
      engineering_digits(std::fabs(v), d, layout, exponent);
    } else {
      const double magnitude = std::fabs(v);
      int x = decimal_exponent(magnitude);
      round_significant(magnitude, x - floor3(x) + 1 + d, mode_for(negative), digits_);
      x = digits_.point - 1;  // a carry may reach the next power of ten
      exponent = floor3(x);
      layout.integer_count = x - exponent + 1;
    }
    layout.fraction_count = d;
    if (!make_exponent(layout, exponent, 'E', has_e, e, w == 0)) {
      // The zero-width form counts every integer digit in its asterisks.
      return asterisks(w != 0 ? w : overflow_width(v, d) + layout.integer_count - 1);
    }
    return put_real(layout, w, 0);
  }

  static int floor3(int n) { return n >= 0 ? n / 3 * 3 : -((-n + 2) / 3 * 3); }

  // EN digits under the default rounding: the writer decides how many digits go before
  // the point from an estimate of the exponent, rounds to that many significant digits
  // once, and then lays the digits out for
  // the exponent the rounding actually gave, cutting surplus digits and padding
  // missing ones with zeros. The estimate rounds to one digit and, when that gives a
  // leading 1, checks the value against 10^e in the value's own precision.
  void engineering_digits(double magnitude, int d, RealLayout& layout, int& exponent) {
    round_significant(magnitude, 1, RoundingMode::Nearest, digits_);
    int estimate = digits_.point - 1;
    if (digits_.digits[0] == '1') {
      const bool below = kind_digits_ == 9 ? below_power<float>(static_cast<float>(magnitude), estimate)
                                           : below_power<double>(magnitude, estimate);
      if (below) --estimate;
    }
    round_significant(magnitude, d + estimate - floor3(estimate) + 1, RoundingMode::Nearest, digits_);
    const int x = digits_.point - 1;
    exponent = floor3(x);
    layout.integer_count = x - exponent + 1;
    const int wanted = layout.integer_count + d;
    if (digits_.count > wanted) digits_.count = wanted;
  }

  // Whether m * 10^-e < 1 with 10^|e| built by repeated multiplication in Real and
  // inverted through double: the exponent estimate that EN's layout depends on.
  template <typename Real>
  static bool below_power(Real m, int e) {
    const int n = e < 0 ? -e : e;
    Real r = 1;
    for (int i = 0; i < n; ++i) r *= Real(10);
    if (e > 0) r = static_cast<Real>(1.0 / static_cast<double>(r));
    const Real product = r * m;
    return product < Real(1);
  }

  // Gw.d[Ee]: integers, logicals and characters as I, L and A; reals in F form with
  // trailing blanks when the rounded magnitude suits, otherwise as Ew.d[Ee].
  WriteStatus edit_general(const FormatItem& item, const FormatValue& value) {
    switch (value.kind) {
      case ValueKind::Integer: return edit_integer(item.w, false, 0, value.integer);
      case ValueKind::Logical: return put_right(value.logical ? "T" : "F", 1, item.w == 0 ? 1 : item.w);
      case ValueKind::Character: return edit_character(item.w == 0 ? -1 : item.w, value.character);
      default: break;
    }
    const double v = real_of(value);
    if (!std::isfinite(v)) return edit_non_finite(v, item.w);
    zero_width_limit_ = value.kind == ValueKind::Real4 ? 16 : 25;
    kind_digits_ = value.kind == ValueKind::Real4 ? 9 : 17;
    const long long w = item.w;
    // G0 and G0.0 show every digit the kind holds; Gw.0 is always the E form, which
    // only a scale factor of 1 can edit.
    const bool every_digit = w == 0 && (!item.has_d || item.d == 0);
    int d = every_digit ? kind_digits_ : item.d;
    if (d == 0) return edit_e(v, w, 0, item.has_e, item.e, 'E');
    const int blanks = w == 0 ? 0 : (item.has_e && item.e > 0 ? item.e + 2 : 4);
    const LeadingZero zero = w == 0 ? LeadingZero::ZeroWidth : LeadingZero::IfRoom;
    // The magnitude bounds are computed in the value's own precision, so a real near a
    // power of ten may take the wider form.
    const RoundingMode mode = mode_for(std::signbit(v));
    const double r = mode == RoundingMode::Up
                         ? 1.0
                         : (mode == RoundingMode::Zero || mode == RoundingMode::Down ? 0.0 : 0.5);
    const int s = value.kind == ValueKind::Real4
                      ? general_scale<float>(std::fabs(value.real4), d, static_cast<float>(r))
                      : general_scale<double>(std::fabs(v), d, r);
    if (s >= 0) {
      if (w != 0 && w - blanks <= 0) return asterisks(w);
      return edit_f(v, w == 0 ? 0 : w - blanks, d - s, 0, zero, blanks);
    }
    // G0 in E form with a positive scale factor keeps the kind's digits in all.
    if (every_digit && scale_ > 0) --d;
    return edit_e(v, w, d, item.has_e, item.e, 'E');
  }

  // Asterisks for a zero-width form whose exponent does not fit its digits.
  long long overflow_width(double v, int d) const { return (sign_of(v) ? 1 : 0) + d + 1; }

  const FormatProgram& program_;
  std::span<const FormatValue> values_;
  std::span<char> record_;
  long long size_;
  static constexpr long long kFar = 1LL << 40;
  long long pos_ = 0;      // just after the last character written
  long long skips_ = 0;    // pending move from pos_
  long long pending_ = 0;  // pending blanks beyond the furthest write
  long long max_pos_ = 0;
  int scale_ = 0;
  bool plus_ = false;
  bool comma_ = false;
  RoundingMode mode_ = RoundingMode::Nearest;
  bool mode_given_ = false;  // RN, RC, RU, RD or RZ in effect (RP is the default again)
  int zero_width_limit_ = 25;
  int kind_digits_ = 17;
  bool asterisks_written_ = false;  // some field was filled with asterisks
  DecimalDigits digits_;
};

}  // namespace

WriteStatus write_formatted(const FormatProgram& program, std::span<const FormatValue> values,
                            std::span<char> record, bool* asterisks_written) {
  if (program.count == 1 && values.size() == 1 && program.items[0].repeat == 1) {
    const FastWrite fast = write_single_fast(program.items[0], values[0], record);
    if (fast != FastWrite::Declined) {
      if (asterisks_written) *asterisks_written = fast == FastWrite::Overflowed;
      return WriteStatus::Ok;
    }
  }
  Writer writer(program, values, record);
  const WriteStatus status = writer.run();
  if (asterisks_written) *asterisks_written = writer.asterisks_written();
  return status;
}

}  // namespace quill

namespace quill {
namespace {

// The last format parsed, so repeated conversions with one format parse it once.
struct FormatCache {
  static constexpr std::size_t kMaxText = 256;
  std::array<char, kMaxText> text{};
  std::size_t size = 0;
  bool valid = false;
  bool parsed_ok = false;
  FormatProgram program;
};

FormatCache& format_cache() {
  static FormatCache cache;
  return cache;
}

}  // namespace

WriteStatus format_values(std::string_view format, std::span<const FormatValue> values,
                          std::span<char> record, bool* asterisks_written) {
  FormatCache& cache = format_cache();
  const bool hit = cache.valid && cache.size == format.size() &&
                   (format.empty() || std::memcmp(cache.text.data(), format.data(), format.size()) == 0);
  if (!hit) {
    cache.parsed_ok = parse_format(format, cache.program);
    cache.valid = format.size() <= FormatCache::kMaxText;
    if (cache.valid) {
      cache.size = format.size();
      if (!format.empty()) std::memcpy(cache.text.data(), format.data(), format.size());
    }
  }
  if (asterisks_written) *asterisks_written = false;
  if (!cache.parsed_ok) {
    std::fill(record.begin(), record.end(), ' ');
    return WriteStatus::BadFormat;
  }
  return write_formatted(cache.program, values, record, asterisks_written);
}

}  // namespace quill
