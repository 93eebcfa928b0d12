// Rich text exchanged with other programs: "save FILE" writes a formatted text from a rich
// editor as RTF and prints "font NAME" and "fixed NAME", the faces it gave the second and
// third lines; "load FILE OUT" reads an RTF file another program wrote into a rich editor
// and writes the editor's plain text to OUT. Exit code 0, or the toolkit's error code.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "quill/quillanthor.hpp"

namespace {

// Lines whose words get their own fonts, sizes, styles and colours in turn.
const char* const kLines[] = {"Plain words first,", "then bold and italic ones,", "a red typewriter line",
                              "and accented letters: caf\xC3\xA9 na\xC3\xAFve \xC3\xBC"};

// A TrueType face the system lists, fixed-pitch or proportional: Courier New for the fixed
// one where it is listed (a fresh Wine prefix may have neither it nor a stand-in for it).
std::string listed_face(bool fixed) {
  struct Search {
    bool fixed;
    std::string found;
  } wanted{fixed, {}};
  LOGFONTA any{};
  any.lfCharSet = DEFAULT_CHARSET;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExA(
      dc, &any,
      [](const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM data) -> int {
        auto& search = *reinterpret_cast<Search*>(data);
        const std::string face = font->lfFaceName;
        const bool fixed_pitch = (font->lfPitchAndFamily & 3) == FIXED_PITCH;
        if ((type & TRUETYPE_FONTTYPE) == 0 || face.empty() || face[0] == '@' || fixed_pitch != search.fixed)
          return 1;
        if (search.found.empty() || face == "Courier New") search.found = face;
        return face == "Courier New" || !search.fixed ? 0 : 1;
      },
      reinterpret_cast<LPARAM>(&wanted), 0);
  ReleaseDC(nullptr, dc);
  return wanted.found;
}

// Selects line (found by its text) and gives it a font, size, style and colour.
void format_line(const char* line, const char* font, int size, int style, int colour) {
  int found = 0;
  WEditorFind(line, 0, found);
  if (found != 0) WEditorFormat(font, size, style, colour);
}

void write_formatted() {
  std::string text;
  for (const char* line : kLines) text += std::string(line) + "\r\n";
  WEditorPutText(text);
  WEditorSelect(0, 0);
  const std::string face = listed_face(false);
  const std::string fixed = listed_face(true);
  std::printf("font %s\nfixed %s\n", face.c_str(), fixed.c_str());
  format_line(kLines[1], face.c_str(), 14, EditorBold | EditorItalic, 0x000000);
  format_line(kLines[2], fixed.c_str(), 10, 0, 0x0000FF);
}

int save(const char* file) {
  write_formatted();
  WEditorSave(file);
  return IErrorCode();
}

int load(const char* file, const char* out) {
  WEditorLoad(file);
  if (IErrorCode() != 0) return IErrorCode();
  std::vector<char> text(static_cast<std::size_t>(WEditorTextLength()) + 1);
  int length = 0;
  WEditorGetText(text, length);
  std::FILE* f = std::fopen(out, "wb");
  if (f == nullptr) return 1;
  std::fwrite(text.data(), 1, static_cast<std::size_t>(length), f);
  std::fclose(f);
  return IErrorCode();
}

}  // namespace

int main(int argc, char** argv) {
  const bool saving = argc == 3 && std::strcmp(argv[1], "save") == 0;
  const bool loading = argc == 4 && std::strcmp(argv[1], "load") == 0;
  if (!saving && !loading) {
    std::fputs("usage: rtf_exchange save FILE | load FILE OUT\n", stderr);
    return 2;
  }
  WStartup();
  IErrorMode(0);
  int width = 400, height = 300;
  WindowOpen(WinSystemMenu, 0, 0, &width, &height, std::nullopt, {}, std::nullopt, "RTF exchange");
  int window = 0;
  WindowOpenChild(window, WinSystemMenu, 0, 0, 10000, 10000, "Rich text");
  WindowSelect(window);
  WEditor(EditorRich, 0);
  const int code = saving ? save(argv[2]) : load(argv[2], argv[3]);
  WindowShutdown();
  return code;
}
