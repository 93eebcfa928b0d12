// Arbitrary texts through the text-to-number routines: values stay finite and in
// range, failures leave 0 and one of the documented codes, and the word walkers end.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/error_state.hpp"
#include "text/text_internal.hpp"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

bool documented(int code) { return code == 0 || code == 4 || code == 10 || code == 11 || code == 12; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte chooses the locale separator setting.
  quill::set_locale_separator_enabled((data[0] & 1) != 0);
  quill::set_decimal_separator(static_cast<char>(data[0] >> 1));
  const std::size_t length = size - 1;
  char* buffer = new char[length];
  if (length > 0) std::memcpy(buffer, data + 1, length);
  const std::string_view text(buffer, length);
  quill::ErrorState& state = quill::errors();
  state.report_mode = 0;

  state.last_error = 0;
  int integer = -1;
  IStringToInteger(text, integer);
  check(documented(state.last_error) && (state.last_error == 0 || integer == 0));

  state.last_error = 0;
  float real = -1.0F;
  IStringToReal(text, real);
  check(documented(state.last_error) && std::isfinite(real) && std::fabs(real) <= FLT_MAX);
  check(state.last_error == 0 || real == 0.0F);

  state.last_error = 0;
  double real8 = -1.0;
  IStringToReal8(text, real8);
  check(documented(state.last_error) && std::isfinite(real8));
  check(state.last_error == 0 || real8 == 0.0);

  state.last_error = 123;
  IStringToRealSilent(real, text);
  check(state.last_error == 123 && std::isfinite(real));

  // Each call consumes one word, so the walk ends with code 10 and a blank text.
  std::span<char> line(buffer, length);
  for (std::size_t calls = 0;; ++calls) {
    check(calls <= length + 1);
    state.last_error = 0;
    INextInteger(line, integer);
    if (state.last_error == 10) break;
  }
  for (std::size_t i = 0; i < length; ++i) check(buffer[i] == ' ');
  if (length > 0) std::memcpy(buffer, data + 1, length);
  for (std::size_t calls = 0;; ++calls) {
    check(calls <= length + 1);
    state.last_error = 0;
    INextReal(line, real);
    check(std::isfinite(real));
    if (state.last_error == 10) break;
  }
  delete[] buffer;
  return 0;
}
