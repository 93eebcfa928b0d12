#include "graphics/gdi/text_face_win32.hpp"

#include <array>

namespace quill {
namespace {

struct Face {
  const char* name;
  BYTE charset;
};

// The faces of each family in order of preference: the usual Windows face first, then
// metric-compatible faces found on systems without it. The last entry is used when none
// is installed.
constexpr std::array<Face, 3> kCourier = {
    {{"Courier New", ANSI_CHARSET}, {"Liberation Mono", ANSI_CHARSET}, {"Nimbus Mono PS", ANSI_CHARSET}}};
constexpr std::array<Face, 3> kHelvetica = {
    {{"Arial", ANSI_CHARSET}, {"Liberation Sans", ANSI_CHARSET}, {"Nimbus Sans", ANSI_CHARSET}}};
constexpr std::array<Face, 3> kTimes = {
    {{"Times New Roman", ANSI_CHARSET}, {"Liberation Serif", ANSI_CHARSET}, {"Nimbus Roman", ANSI_CHARSET}}};
constexpr std::array<Face, 3> kSymbol = {
    {{"Symbol", SYMBOL_CHARSET}, {"Standard Symbols PS", ANSI_CHARSET}, {"Symbol", SYMBOL_CHARSET}}};

// True when face is the face GDI selects for its name and it holds glyphs for the
// letters a, b, c (a font mapped to the name that lacks them does not count).
bool face_usable(const Face& face) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return false;
  LOGFONTA font{};
  font.lfHeight = -20;
  font.lfCharSet = face.charset;
  lstrcpynA(font.lfFaceName, face.name, LF_FACESIZE);
  HFONT handle = CreateFontIndirectA(&font);
  bool usable = false;
  if (handle != nullptr) {
    HGDIOBJ previous = SelectObject(dc, handle);
    char selected[LF_FACESIZE] = {};
    WORD glyphs[3] = {};
    usable = GetTextFaceA(dc, LF_FACESIZE, selected) > 0 && lstrcmpiA(selected, face.name) == 0 &&
             GetGlyphIndicesA(dc, "abc", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == 3 &&
             glyphs[0] != 0xFFFF && glyphs[1] != 0xFFFF && glyphs[2] != 0xFFFF;
    SelectObject(dc, previous);
    DeleteObject(handle);
  }
  DeleteDC(dc);
  return usable;
}

const Face& first_usable(const std::array<Face, 3>& faces) {
  for (const Face& face : faces) {
    if (face_usable(face)) return face;
  }
  return faces.front();
}

// The Symbol font's characters from 0x20 to 0xFF; 0 where the code has none.
constexpr std::array<char16_t, 224> kSymbolCharacters = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B, 0x002C,
    0x2212, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039,
    0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6,
    0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3,
    0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F, 0x203E,
    0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC,
    0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6,
    0x007B, 0x007C, 0x007D, 0x223C, 0,      0,      0,      0,      0,      0,      0,      0,      0,
    0,      0,      0,      0,      0,      0,      0,      0,      0,      0,      0,      0,      0,
    0,      0,      0,      0,      0,      0,      0,      0,      0,      0,      0,      0x20AC, 0x03D2,
    0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192,
    0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248,
    0x2026, 0x23D0, 0x23AF, 0x21B5, 0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A,
    0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F,
    0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3, 0x25CA, 0x2329, 0x00AE,
    0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    0,      0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB,
    0x23AC, 0x23AD, 0};

}  // namespace

std::wstring symbol_text_as_unicode(std::string_view text) {
  std::wstring out;
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    const char16_t mapped = code >= 0x20 ? kSymbolCharacters[code - 0x20U] : 0;
    out.push_back(static_cast<wchar_t>(mapped != 0 ? mapped : code));
  }
  return out;
}

void set_text_face(LOGFONTA& font, int family) {
  // Decided once per process and family.
  static const Face* chosen[4] = {};
  static const std::array<Face, 3>* const kFamilies[4] = {&kCourier, &kHelvetica, &kTimes, &kSymbol};
  const int index = family >= 1 && family <= 4 ? family - 1 : 1;
  if (chosen[index] == nullptr) chosen[index] = &first_usable(*kFamilies[index]);
  font.lfCharSet = chosen[index]->charset;
  lstrcpynA(font.lfFaceName, chosen[index]->name, LF_FACESIZE);
}

}  // namespace quill
