// Text to number with the toolkit's own strict rules: one word, digit sums in double
// precision, and numbered errors (4, 10, 11, 12) reported in the order found.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "quill/text.hpp"
#include "text/powers.hpp"
#include "text/text_state.hpp"

namespace quill {
namespace {

constexpr int kIntegerMax = 2147483647;
constexpr double kRealMax = 3.4028234663852886e38;

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

// Returns 0 or the error code.
int parse_integer(std::string_view text, int& value) {
  value = 0;
  const Word word = find_word(text);
  if (!word.found) return 10;
  std::size_t start = word.first;
  const bool negative = text[start] == '-';
  if (text[start] == '-' || text[start] == '+') ++start;
  for (std::size_t i = start; i <= word.last; ++i) {
    if (!is_digit(text[i])) return 12;
  }
  const std::size_t count = word.last + 1 - start;
  if (count > 10 || (count == 10 && text[start] > '2')) return 4;
  std::int64_t sum = 0;
  std::int64_t power = 1;
  for (std::size_t k = 1; k < count; ++k) power *= 10;
  for (std::size_t i = start; i <= word.last; ++i, power /= 10) {
    const std::int64_t term = (text[i] - '0') * power;
    if (term > kIntegerMax - sum) return 4;
    sum += term;
  }
  value = static_cast<int>(negative ? -sum : sum);
  return 0;
}

class RealParser {
 public:
  RealParser(std::string_view text, bool is_double)
      : text_(text), is_double_(is_double), limit_(is_double ? 308 : 38) {
    const TextSettings& settings = text_settings();
    locale_point_ = settings.locale_separator ? settings.decimal_separator : '.';
  }

  // Returns 0 or the error code; value is 0 on error.
  int run(double& value) {
    value = 0.0;
    const Word word = find_word(text_);
    if (!word.found) return 10;
    const std::size_t f = word.first;
    const std::size_t l = word.last;
    const std::size_t none = std::string_view::npos;
    std::size_t x = none;
    const char* letters = is_double_ ? "EeDd" : "Ee";
    for (const char* letter = letters; *letter && x == none; ++letter) {
      x = text_.substr(0, l + 1).find(*letter);
    }
    bool x_is_letter = x != none;
    if (x == none) {
      // A three-digit exponent may follow the significand with only its sign.
      for (const char sign : {'+', '-'}) {
        const std::size_t p = text_.substr(0, l + 1).find(sign);
        if (p != none && p + 3 == l && p > f) {
          x = p;
          break;
        }
      }
    }
    double m = 0.0;
    if (x == none) {
      const int code = part(f, l, false, m);
      if (code != 0) return code;
      value = m;
      return finish(value);
    }
    // An empty significand (the word starts with its exponent) has no characters.
    if (x > f) {
      const int code = part(f, x - 1, false, m);
      if (code != 0) return code;
    }
    // A letter with nothing after it is the exponent 0, so the zero and below-range
    // rules below apply to it as they do to "E+" and "E0".
    const std::size_t exponent_start = x_is_letter ? x + 1 : x;
    double e = 0.0;
    if (exponent_start <= l) {
      const int code = part(exponent_start, l, true, e, m == 0.0);
      if (code != 0) return code;
    }
    if (m == 0.0) {
      value = 0.0;
      return 0;
    }
    // A digit sum beyond the largest double is out of range whatever the exponent;
    // it must not reach the logarithm's conversion to an integer below.
    if (!std::isfinite(m)) return 4;
    // Scale the significand near 1 first so the power of ten stays in range.
    const double te = std::trunc(e);
    const int k = static_cast<int>(std::trunc(std::log10(std::fabs(m)) - 1.0));
    const double m_scaled = m * power_of_ten(-k);
    const double total = te + k;
    if (total > limit_) return 4;
    if (total < -limit_) {
      value = 0.0;
      return 0;
    }
    value = m_scaled * power_of_ten(static_cast<int>(total));
    return finish(value);
  }

 private:
  bool is_point(char c) const { return c == '.' || c == ',' || c == locale_point_; }

  static double power_of_ten(int k) {
    if (k >= 0) return k < 309 ? kPowersOfTen[k] : HUGE_VAL;
    return -k < 324 ? kNegativePowersOfTen[-k] : 0.0;
  }

  int finish(double& value) const {
    if (!std::isfinite(value)) {
      value = 0.0;
      return 4;
    }
    if (!is_double_ && std::fabs(value) > kRealMax) {
      value = 0.0;
      return 4;
    }
    return 0;
  }

  // One part, characters s..e. For the exponent part with a zero significand the
  // characters are checked and the value stays 0.
  int part(std::size_t s, std::size_t e, bool exponent, double& value, bool zero_significand = false) {
    value = 0.0;
    std::size_t point = e + 1;
    std::size_t p = 0;
    while (p <= e && !is_point(text_[p])) ++p;
    if (p <= e && p >= s) {
      if (exponent) return 12;
      for (std::size_t i = p + 1; i <= e; ++i) {
        if (is_point(text_[i])) return 11;
      }
      point = p;
    }
    std::size_t start = s;
    const bool negative = text_[s] == '-';
    if (text_[s] == '-' || text_[s] == '+') ++start;
    for (std::size_t i = start; i <= e; ++i) {
      // A point in the exponent part is invalid even after one in the significand.
      if (!is_digit(text_[i]) && (exponent || !is_point(text_[i]))) return 12;
    }
    if (exponent && zero_significand) return 0;
    const std::size_t integer_end = point < start ? start : point;  // one past the last
    if (integer_end > start) {
      const std::size_t n = integer_end - start - 1;
      if (n > static_cast<std::size_t>(limit_)) return 4;
      int k = static_cast<int>(n);
      for (std::size_t i = start; i < integer_end; ++i, --k) {
        value += (text_[i] - '0') * kPowersOfTen[k];
      }
    }
    // Digits past 10^-323 add nothing in double precision.
    const std::size_t fraction_end = point < e && e - point > 323 ? point + 323 : e;
    int j = 1;
    for (std::size_t i = point + 1; i <= fraction_end; ++i, ++j) {
      value += (text_[i] - '0') * power_of_ten(-j);
    }
    if (negative) value = -value;
    return 0;
  }

  std::string_view text_;
  bool is_double_;
  int limit_;
  char locale_point_ = '.';
};

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
  double result = 0.0;
  const int code = quill::RealParser(text, false).run(result);
  value = static_cast<float>(result);
  if (code != 0) {
    value = 0.0F;
    IErrorReport(code, "IStringToReal");
  }
}

void IStringToReal8(std::string_view text, double& value) {
  const int code = quill::RealParser(text, true).run(value);
  if (code != 0) {
    value = 0.0;
    IErrorReport(code, "IStringToReal");
  }
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
