// Text to number with the toolkit's own strict rules: one word, numbered errors (4, 10,
// 11, 12) reported in the order found, and real values rounded to nearest, ties to even.
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "quill/text.hpp"
#include "text/text_internal.hpp"
#include "text/text_state.hpp"

namespace quill {
namespace {

constexpr int kIntegerMax = 2147483647;
constexpr float kRealMax = 3.4028234663852886e38F;

struct Word {
  std::size_t first = 0;  // 0-based, inclusive
  std::size_t last = 0;
  bool found = false;
};

// The first run of non-blank characters.
Word find_word(std::string_view text) {
  Word word;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) return word;
  word.first = i;
  while (i < text.size() && text[i] != ' ') ++i;
  word.last = i - 1;
  word.found = true;
  return word;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Returns 0 or the error code. The magnitude may reach 2147483648 only with a minus
// sign, so the smallest integer, which the toolkit itself writes, reads back.
int parse_integer(std::string_view text, int& value) {
  value = 0;
  const Word word = find_word(text);
  if (!word.found) return error::kNoSubstring;
  std::size_t start = word.first;
  const bool negative = text[start] == '-';
  if (text[start] == '-' || text[start] == '+') ++start;
  for (std::size_t i = start; i <= word.last; ++i) {
    if (!is_digit(text[i])) return error::kInvalidCharacter;
  }
  const std::size_t count = word.last + 1 - start;
  if (count > 10 || (count == 10 && text[start] > '2')) return error::kNumberTooLarge;
  const std::int64_t limit = negative ? std::int64_t{kIntegerMax} + 1 : kIntegerMax;
  std::int64_t sum = 0;  // at most ten digits: no overflow
  for (std::size_t i = start; i <= word.last; ++i) sum = sum * 10 + (text[i] - '0');
  if (sum > limit) return error::kNumberTooLarge;
  value = static_cast<int>(negative ? -sum : sum);
  return 0;
}

namespace {

// An accepted real text: its value is sign x (integer digits, fraction digits) x
// 10^exponent. The digit runs point into the caller's text.
struct RealText {
  std::string_view integer;
  std::string_view fraction;
  std::int64_t exponent = 0;  // saturated far beyond any finite result
  bool negative = false;
  bool has_exponent = false;
};

// Decides whether a text is a real number and which error it is otherwise, by the
// toolkit's rules (word, exponent letter or bare signed three-digit exponent, points,
// characters, then sizes); the value is left to a correctly rounded conversion.
class RealParser {
 public:
  RealParser(std::string_view text, bool is_double)
      : text_(text), is_double_(is_double), limit_(is_double ? 308 : 38) {
    const TextSettings& settings = text_settings();
    locale_point_ = settings.locale_separator ? settings.decimal_separator : '.';
  }

  // Returns 0 or the error code.
  int run(RealText& number) {
    const Word word = find_word(text_);
    if (!word.found) return error::kNoSubstring;
    const std::size_t f = word.first;
    const std::size_t l = word.last;
    const std::size_t none = std::string_view::npos;
    // First positions of the exponent letters and signs, in one pass over the word.
    std::size_t first[6] = {none, none, none, none, none, none};  // E e D d + -
    for (std::size_t i = l + 1; i-- > f;) {
      const int mark = mark_index(text_[i]);
      if (mark >= 0) first[mark] = i;
    }
    std::size_t x = none;
    for (int letter = 0; letter < (is_double_ ? 4 : 2) && x == none; ++letter) x = first[letter];
    const bool x_is_letter = x != none;
    if (x == none) {
      // A three-digit exponent may follow the significand with only its sign.
      for (const std::size_t p : {first[4], first[5]}) {
        if (p != none && p + 3 == l && p > f) {
          x = p;
          break;
        }
      }
    }
    if (x == none) return significand(f, l, number);
    number.has_exponent = true;
    // An empty significand (the word starts with its exponent) has no characters.
    if (x > f) {
      if (const int code = significand(f, x - 1, number)) return code;
    }
    // A letter with nothing after it is the exponent 0.
    const std::size_t exponent_start = x_is_letter ? x + 1 : x;
    const bool zero = is_zero(number.integer) && is_zero(number.fraction);
    // A zero significand makes the result +0 whatever the exponent, once its
    // characters are valid.
    if (zero) number.negative = false;
    return exponent_start <= l ? exponent(exponent_start, l, zero, number) : 0;
  }

 private:
  static int mark_index(char c) {
    switch (c) {
      case 'E': return 0;
      case 'e': return 1;
      case 'D': return 2;
      case 'd': return 3;
      case '+': return 4;
      case '-': return 5;
      default: return -1;
    }
  }

  bool is_point(char c) const { return c == '.' || c == ',' || c == locale_point_; }

  static bool is_zero(std::string_view digits) {
    return digits.find_first_not_of('0') == std::string_view::npos;
  }

  // The position of the part's point, or e + 1 when it has none; 0 or the error code.
  // Only the significand may hold a point, and only one.
  int find_point(std::size_t s, std::size_t e, bool exponent_part, std::size_t& point) const {
    point = e + 1;
    std::size_t p = 0;
    while (p <= e && !is_point(text_[p])) ++p;
    if (p <= e && p >= s) {
      if (exponent_part) return error::kInvalidCharacter;
      for (std::size_t i = p + 1; i <= e; ++i) {
        if (is_point(text_[i])) return error::kSecondDecimalPoint;
      }
      point = p;
    }
    return 0;
  }

  // Characters s..e with an optional leading sign; start receives the first after it.
  int check_characters(std::size_t s, std::size_t e, bool exponent_part, std::size_t& start) const {
    start = s;
    if (text_[s] == '-' || text_[s] == '+') ++start;
    for (std::size_t i = start; i <= e; ++i) {
      // A point in the exponent part is invalid even after one in the significand.
      if (!is_digit(text_[i]) && (exponent_part || !is_point(text_[i]))) return error::kInvalidCharacter;
    }
    return 0;
  }

  // Integer digits beyond the power limit are too large, leading zeros included.
  int check_size(std::size_t digits) const {
    return digits > 0 && digits - 1 > static_cast<std::size_t>(limit_) ? error::kNumberTooLarge : 0;
  }

  int significand(std::size_t s, std::size_t e, RealText& number) const {
    std::size_t point = 0;
    std::size_t start = 0;
    if (const int code = find_point(s, e, false, point)) return code;
    if (const int code = check_characters(s, e, false, start)) return code;
    const std::size_t integer_end = point < start ? start : point;  // one past the last
    if (const int code = check_size(integer_end - start)) return code;
    number.negative = text_[s] == '-';
    number.integer = text_.substr(start, integer_end - start);
    if (point <= e) number.fraction = text_.substr(point + 1, e - point);
    return 0;
  }

  int exponent(std::size_t s, std::size_t e, bool zero_significand, RealText& number) const {
    std::size_t point = 0;
    std::size_t start = 0;
    if (const int code = find_point(s, e, true, point)) return code;
    if (const int code = check_characters(s, e, true, start)) return code;
    if (zero_significand) return 0;
    if (const int code = check_size(e + 1 - start)) return code;
    constexpr std::int64_t kSaturated = std::int64_t{1} << 40;
    std::int64_t value = 0;
    for (std::size_t i = start; i <= e; ++i) {
      value = std::min(value * 10 + (text_[i] - '0'), kSaturated);
    }
    number.exponent = text_[s] == '-' ? -value : value;
    return 0;
  }

  std::string_view text_;
  bool is_double_;
  int limit_;
  char locale_point_ = '.';
};

// Significant digits kept for the conversion: every midpoint between two adjacent
// doubles has at most 767, so later digits matter only as "some nonzero digit".
constexpr std::size_t kKeptDigits = 780;

// Up to 10^22 every power of ten is a double (5^22 < 2^53).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// w x 10^q by one correctly rounded operation, when w and 10^|q| are exact doubles.
bool exact_product(std::uint64_t w, std::int64_t q, double& value) {
  if (w > (std::uint64_t{1} << 53) || q < -22 || q > 22) return false;
  const double d = static_cast<double>(w);
  value = q < 0 ? d / kExactPowersOfTen[-q] : d * kExactPowersOfTen[q];
  return true;
}

bool fast_nearest(std::uint64_t w, std::int64_t q, double& value) { return exact_product(w, q, value); }

// The nearest double rounds to the nearest float unless it lies exactly on a midpoint
// between two floats (then the exact value may lie on either side). The products here
// are normal floats, whose midpoints end in a one and 28 zeros of the double's 52 bits.
bool fast_nearest(std::uint64_t w, std::int64_t q, float& value) {
  double d = 0.0;
  if (!exact_product(w, q, d)) return false;
  constexpr std::uint64_t kBelowFloat = (std::uint64_t{1} << 29) - 1;
  if ((std::bit_cast<std::uint64_t>(d) & kBelowFloat) == std::uint64_t{1} << 28) return false;
  value = static_cast<float>(d);
  return true;
}

// The value of number rounded to nearest, ties to even, in Float; false when its
// magnitude rounds beyond the largest finite Float. No allocation and no locale.
template <typename Float>
bool nearest(const RealText& number, Float& value) {
  std::size_t significant = 0;
  std::uint64_t w = 0;  // the first 19 significant digits
  for (const std::string_view digits : {number.integer, number.fraction}) {
    for (const char c : digits) {
      if (significant == 0 && c == '0') continue;
      if (++significant <= 19) w = w * 10 + static_cast<unsigned>(c - '0');
    }
  }
  const Float zero = number.negative ? -Float{0} : Float{0};
  if (significant == 0) {
    value = zero;
    return true;
  }
  std::int64_t exponent = number.exponent - static_cast<std::int64_t>(number.fraction.size());
  Float magnitude = 0;
  if (significant <= 19 && fast_nearest(w, exponent, magnitude)) {
    value = number.negative ? -magnitude : magnitude;
    return true;
  }
  // Otherwise the significant digits, the ones past kKeptDigits folded into one sticky
  // digit, and the exponent go to the general conversion.
  std::array<char, kKeptDigits + 32> buffer;
  std::size_t size = 0;
  bool sticky = false;
  for (const std::string_view digits : {number.integer, number.fraction}) {
    for (const char c : digits) {
      if (size == 0 && c == '0') continue;
      if (size < kKeptDigits) {
        buffer[size++] = c;
      } else {
        sticky = sticky || c != '0';
        ++exponent;
      }
    }
  }
  if (sticky) {
    buffer[size++] = '1';
    --exponent;
  }
  // The power of ten of the leading digit decides the far cases before they are written.
  const std::int64_t leading = exponent + static_cast<std::int64_t>(size) - 1;
  if (leading > 400) return false;
  if (leading < -400) {
    value = zero;
    return true;
  }
  buffer[size++] = 'e';
  const auto written = std::to_chars(buffer.data() + size, buffer.data() + buffer.size(), exponent);
  const auto read = std::from_chars(buffer.data(), written.ptr, magnitude);
  if (read.ec == std::errc::result_out_of_range) {
    if (leading > 0) return false;
    magnitude = 0;  // below half the smallest subnormal
  }
  value = number.negative ? -magnitude : magnitude;
  return true;
}

// A significand that alone rounds beyond the largest double is too large whatever the
// exponent; only one of 309 integer digits can.
bool significand_overflows(const RealText& number) {
  const std::size_t first = number.integer.find_first_not_of('0');
  if (first == std::string_view::npos || number.integer.size() - first < 309) return false;
  RealText alone = number;
  alone.exponent = 0;
  double ignored = 0.0;
  return !nearest(alone, ignored);
}

}  // namespace

// The common plain form [sign]digits[.digits][E[sign]digits], without blanks, in at most
// 40 characters, of at most 19 significant digits, not zero when it has an exponent,
// whose power of ten stays within 10^-22..10^22: its value is one correctly rounded
// operation, as nearest() finds it. False for any other text, which takes the general path.
bool plain_decimal(std::string_view text, double& value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (n > 40) return false;
  const bool negative = n > 0 && text[0] == '-';
  if (n > 0 && (text[0] == '-' || text[0] == '+')) ++i;
  std::uint64_t w = 0;
  int significant = 0;
  int decimals = 0;
  int digits = 0;
  bool point = false;
  int exponent = 0;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if ((c == 'E' || c == 'e') && significant > 0) {
      // One to three exponent digits after an optional sign, and nothing after them.
      std::size_t k = i + 1;
      const bool negative_exponent = k < n && text[k] == '-';
      if (k < n && (text[k] == '-' || text[k] == '+')) ++k;
      if (k == n || n - k > 3) return false;
      for (; k < n; ++k) {
        if (!is_digit(text[k])) return false;
        exponent = exponent * 10 + (text[k] - '0');
      }
      if (negative_exponent) exponent = -exponent;
      break;
    }
    if (!is_digit(c)) return false;
    ++digits;
    if (point) ++decimals;
    if (significant > 0 || c != '0') {
      if (++significant > 19) return false;
      w = w * 10 + static_cast<unsigned>(c - '0');
    }
  }
  double magnitude = 0.0;
  if (digits == 0 || !exact_product(w, exponent - decimals, magnitude)) return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

// Returns 0 or the error code; value is 0 on error.
int parse_double(std::string_view text, double& value) {
  if (plain_decimal(text, value)) return 0;
  value = 0.0;
  RealText number;
  if (const int code = RealParser(text, true).run(number)) return code;
  if (number.has_exponent && significand_overflows(number)) return error::kNumberTooLarge;
  double result = 0.0;
  if (!nearest(number, result)) return error::kNumberTooLarge;
  value = result;
  return 0;
}

// The float nearest to the text, not the float nearest to its nearest double, which
// can differ when that double lies on a midpoint between two floats. A value whose
// double lies beyond the largest float is too large.
int parse_float(std::string_view text, float& value) {
  value = 0.0F;
  RealText number;
  if (const int code = RealParser(text, false).run(number)) return code;
  float result = 0.0F;
  if (!nearest(number, result)) return error::kNumberTooLarge;
  if (std::fabs(result) == kRealMax) {
    double wide = 0.0;
    nearest(number, wide);
    if (std::fabs(wide) > kRealMax) return error::kNumberTooLarge;
  }
  value = result;
  return 0;
}

namespace {

// The text before its first NUL, or up to its last non-blank character.
std::string_view silent_text(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) return text.substr(0, nul);
  std::size_t last = text.size();
  while (last > 0 && text[last - 1] == ' ') --last;
  return text.substr(0, last);
}

}  // namespace
}  // namespace quill

void IStringToInteger(std::string_view text, int& value) {
  const int code = quill::parse_integer(text, value);
  if (code != 0) IErrorReport(code, "IStringToInteger");
}

void IStringToReal(std::string_view text, float& value) {
  const int code = quill::parse_float(text, value);
  if (code != 0) IErrorReport(code, "IStringToReal");
}

void IStringToReal8(std::string_view text, double& value) {
  const int code = quill::parse_double(text, value);
  if (code != 0) IErrorReport(code, "IStringToReal");
}

namespace {

// Converts the first word of text with convert and blanks that word out of text; a text
// without a word is error 10 for the routine and gives 0.
template <typename Value, typename Convert>
void take_next_word(std::span<char> text, Value& value, std::string_view routine, Convert convert) {
  const std::string_view view(text.data(), text.size());
  const quill::Word word = quill::find_word(view);
  if (!word.found) {
    value = Value{0};
    IErrorReport(quill::error::kNoSubstring, routine);
    return;
  }
  convert(view.substr(word.first, word.last + 1 - word.first), value);
  std::memset(text.data() + word.first, ' ', word.last + 1 - word.first);
}

}  // namespace

void INextInteger(std::span<char> text, int& value) {
  take_next_word(text, value, "INextInteger", IStringToInteger);
}

void INextReal(std::span<char> text, float& value) {
  take_next_word(text, value, "INextReal", IStringToReal);
}

void IStringToRealSilent(float& value, std::string_view text) {
  quill::silent_try([&] { IStringToReal(quill::silent_text(text), value); });
}
