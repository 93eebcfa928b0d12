// Number to text: the public conversions (right-justified, as the format wrote them)
// and the internal ones (left-justified and NUL-terminated).
#include <algorithm>
#include <cstring>

#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "text/text_internal.hpp"
#include "text/format.hpp"
#include "text/text_state.hpp"

namespace quill {

TextSettings& text_settings() {
  static TextSettings settings;
  return settings;
}

void reset_text_settings() { text_settings() = TextSettings{}; }

void set_decimal_separator(char separator) { text_settings().decimal_separator = separator; }

void set_locale_separator_enabled(bool enabled) { text_settings().locale_separator = enabled; }

namespace {

constexpr std::string_view kOverflow = "**********";

bool contains(std::span<const char> text, char c) {
  return !text.empty() && std::memchr(text.data(), c, text.size()) != nullptr;
}

void replace_points(std::span<char> text) {
  const TextSettings& settings = text_settings();
  if (!settings.locale_separator) return;
  for (char& c : text) {
    if (c == '.') c = settings.decimal_separator;
  }
}

// The overflow text: as much of prefix as fits, then blanks.
void put_failure(std::span<char> text, std::string_view prefix) {
  std::fill(text.begin(), text.end(), ' ');
  std::copy_n(prefix.begin(), std::min(text.size(), prefix.size()), text.begin());
}

// Shared steps of IntegerToString, IRealToString and IDoubleToString.
void public_conversion(const FormatValue& value, std::span<char> string, std::string_view format,
                       bool is_real, const char* routine) {
  bool asterisks_written = false;
  const WriteStatus status = format_values(format, std::span(&value, 1), string, &asterisks_written);
  if (status == WriteStatus::Ok) {
    if (is_real) replace_points(string);
    // An asterisk the format did not ask for is an overflowed field. Without a filled
    // field the string holds only the format's own asterisks, so it need not be read.
    if (!asterisks_written || contains(format, '*') || !contains(string, '*')) return;
  }
  put_failure(string, kOverflow);
  IErrorReport(error::kNumberToText, routine);
}

// Characters f..l (1-based, as IFirstNonBlank counts) moved to the front, then a NUL
// when it fits, then blanks.
void left_justify(std::span<char> text) {
  const std::string_view view(text.data(), text.size());
  const int first = IFirstNonBlank(view);
  std::size_t out = 0;
  if (first > 0) {
    std::size_t last = text.size();
    while (last > 0 && text[last - 1] == ' ') --last;
    const std::size_t begin = static_cast<std::size_t>(first - 1);
    out = last - begin;
    std::memmove(text.data(), text.data() + begin, out);
  }
  if (out < text.size()) text[out++] = '\0';
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(out), text.end(), ' ');
}

void internal_real(const FormatValue& value, std::span<char> text, std::string_view format,
                   const char* routine) {
  const WriteStatus status = format_values(format, std::span(&value, 1), text);
  errors().file_error = static_cast<int>(status);
  if (status != WriteStatus::Ok) {
    std::fill(text.begin(), text.end(), ' ');
    static constexpr char kFailure[] = "**********";  // ten asterisks and the NUL
    std::copy_n(kFailure, std::min(text.size(), sizeof kFailure), text.begin());
    IErrorReport(error::kNumberToText, routine);
    return;
  }
  const std::string_view view(text.data(), text.size());
  const int first = IFirstNonBlank(view);
  if (first > 0) {
    std::size_t last = text.size();
    while (last > 0 && text[last - 1] == ' ') --last;
    replace_points(
        text.subspan(static_cast<std::size_t>(first - 1), last - static_cast<std::size_t>(first - 1)));
  }
  left_justify(text);
}

}  // namespace
}  // namespace quill

void IntegerToString(int value, std::span<char> string, std::string_view format) {
  quill::public_conversion(quill::FormatValue::of(static_cast<std::int32_t>(value)), string, format, false,
                           "IntegerToString");
}

void IRealToString(float value, std::span<char> string, std::string_view format) {
  quill::public_conversion(quill::FormatValue::of(value), string, format, true, "IRealToString");
}

void IDoubleToString(double value, std::span<char> string, std::string_view format) {
  quill::public_conversion(quill::FormatValue::of(value), string, format, true, "IDoubleToString");
}

void yyint2st(int value, std::span<char> text) {
  // One narrower than the text, 11 at most: "(I00)" for one character, "(I11)" from 12.
  const std::size_t n = text.size();
  const std::size_t width = n <= 1 ? 0 : std::min<std::size_t>(n - 1, 11);
  const char format[] = {'(', 'I', static_cast<char>('0' + width / 10), static_cast<char>('0' + width % 10),
                         ')'};
  const quill::FormatValue v = quill::FormatValue::of(static_cast<std::int32_t>(value));
  const auto status = quill::format_values(std::string_view(format, sizeof format), std::span(&v, 1), text);
  if (status != quill::WriteStatus::Ok) {
    std::fill(text.begin(), text.end(), ' ');
    std::fill(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(width), '*');
    if (width < n) text[width] = '\0';
    IErrorReport(quill::error::kNumberToText, "yyint2st");
    return;
  }
  quill::left_justify(text);
}

void yyrea2st(float value, std::span<char> text, std::string_view format) {
  quill::internal_real(quill::FormatValue::of(value), text, format, "yyrea2st");
}

void yydbl2st(double value, std::span<char> text, std::string_view format) {
  quill::internal_real(quill::FormatValue::of(value), text, format, "yydbl2st");
}

int IFirstNonBlank(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ' ' && text[i] != '\0') return static_cast<int>(i + 1);
  }
  return 0;
}
