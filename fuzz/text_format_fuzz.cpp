// Arbitrary format texts and values through the formatter and the number-to-text
// routines: no out-of-bounds access, no hang, the record keeps its length, and a
// failed write always leaves the documented asterisk text.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/error_state.hpp"
#include "text/text_internal.hpp"
#include "text/format.hpp"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  const unsigned selector = data[0];
  std::uint64_t bits = 0;
  std::memcpy(&bits, data + 1, 8);
  const std::size_t length = data[9] % 96;
  const std::string_view format(reinterpret_cast<const char*>(data + 10), size - 10);
  quill::errors().report_mode = 0;

  quill::FormatValue value;
  switch (selector % 5) {
    case 0: value = quill::FormatValue::of(static_cast<std::int32_t>(bits)); break;
    case 1: value = quill::FormatValue::of(std::bit_cast<float>(static_cast<std::uint32_t>(bits))); break;
    case 2: value = quill::FormatValue::of(std::bit_cast<double>(bits)); break;
    case 3: value = quill::FormatValue::of((bits & 1) != 0); break;
    default: value = quill::FormatValue::of(std::string_view(format.data(), format.size() / 2)); break;
  }
  // The record lives exactly in a heap block of its length, so ASan sees any overrun.
  char* record = new char[length + 1];
  record[length] = '\x7f';
  const std::size_t count = (selector / 5) % 3;  // zero, one or two values
  const quill::FormatValue values[2] = {value, value};
  quill::format_values(format, std::span(values, count), std::span(record, length));
  check(record[length] == '\x7f');

  quill::FormatProgram first;
  quill::FormatProgram second;
  check(quill::parse_format(format, first) == quill::parse_format(format, second));

  std::span<char> text(record, length);
  quill::errors().last_error = 0;
  IDoubleToString(std::bit_cast<double>(bits), text, format);
  check(quill::errors().last_error == 0 || quill::errors().last_error == 18);
  if (quill::errors().last_error == 18) {
    for (std::size_t i = 0; i < length; ++i) check(record[i] == (i < 10 ? '*' : ' '));
  }
  IntegerToString(static_cast<int>(bits), text, format);
  yydbl2st(std::bit_cast<double>(bits), text, format);
  yyrea2st(std::bit_cast<float>(static_cast<std::uint32_t>(bits)), text, format);
  yyint2st(static_cast<int>(bits), text);
  check(record[length] == '\x7f');
  delete[] record;
  return 0;
}
