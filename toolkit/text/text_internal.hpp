// Toolkit-internal number-to-text forms and the separator settings start-up applies.
#pragma once

#include <span>
#include <string_view>

#include "quill/text.hpp"

// Internal forms: left-justified and NUL-terminated; failures are reported under their
// own names (yyint2st, yyrea2st, yydbl2st).
void yyint2st(int value, std::span<char> text);
void yyrea2st(float value, std::span<char> text, std::string_view format);
void yydbl2st(double value, std::span<char> text, std::string_view format);

namespace quill {
// The locale decimal separator and whether number texts use it; set at start-up.
void set_decimal_separator(char separator);
void set_locale_separator_enabled(bool enabled);

// The conversions of IStringToInteger, IStringToReal and IStringToReal8 without the
// report: 0 or the code the routine reports, with value 0.
int parse_integer(std::string_view text, int& value);
int parse_float(std::string_view text, float& value);
int parse_double(std::string_view text, double& value);
}  // namespace quill
