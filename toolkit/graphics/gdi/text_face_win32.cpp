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

}  // namespace

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
