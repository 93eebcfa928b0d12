// Calls the toolkit through its installed public headers only; exits 0 when the
// results are the documented ones.
#include <array>
#include <cstdio>
#include <string_view>

#include <quill/quillanthor.hpp>

int main() {
  std::array<char, 10> text{};
  IntegerToString(42, text, "(I4)");
  const bool formatted = std::string_view(text.data(), text.size()) == "  42      ";

  IErrorMode(0);
  int value = -1;
  IStringToInteger("x1", value);
  const bool failure_seen = IErrorCode() != 0;
  IErrorReset();
  const bool cleared = IErrorCode() == 0 && IErrorModeQuery() == 0;

  std::printf("formatted %d, failure seen %d, cleared %d\n", formatted, failure_seen, cleared);
  return formatted && failure_seen && cleared ? 0 : 1;
}
