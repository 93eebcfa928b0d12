// Calls the toolkit through its installed public headers only; exits 0 when the
// results are the documented ones. Saving a PNG goes through zlib, so a Windows program
// that runs alone shows that zlib is linked into it.
#include <array>
#include <cstdio>
#include <fstream>
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

  int bitmap = 0;
  WBitmapCreate(bitmap, 16, 8);
  IGrSelect(2, bitmap);
  IGrColour("red");
  IGrFillPattern(4);
  IGrRectangle(0.0F, 0.0F, 1.0F, 1.0F);
  IGrSaveImage("consumer.png");
  WBitmapDestroy(bitmap);
  std::array<char, 8> signature{};
  std::ifstream("consumer.png", std::ios::binary).read(signature.data(), 8);
  const bool saved = IErrorCode() == 0 && std::string_view(signature.data(), 4) == "\x89PNG";

  std::printf("formatted %d, failure seen %d, cleared %d, saved %d\n", formatted, failure_seen, cleared,
              saved);
  return formatted && failure_seen && cleared && saved ? 0 : 1;
}
