#include "graphics/gdi/text_face_win32.hpp"

#include <cstring>

namespace quill {
namespace {

constexpr char kSymbolFace[] = "Symbol";
constexpr char kSymbolStandIn[] = "Standard Symbols PS";

// True when face (with charset) is the face GDI selects and it holds glyphs for the
// letters a, b, c.
bool face_has_letters(const char* face, BYTE charset) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return false;
  LOGFONTA font{};
  font.lfHeight = -20;
  font.lfCharSet = charset;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  HFONT handle = CreateFontIndirectA(&font);
  bool found = false;
  if (handle != nullptr) {
    HGDIOBJ previous = SelectObject(dc, handle);
    char selected[LF_FACESIZE] = {};
    WORD glyphs[3] = {};
    found = GetTextFaceA(dc, LF_FACESIZE, selected) > 0 && lstrcmpiA(selected, face) == 0 &&
            GetGlyphIndicesA(dc, "abc", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == 3 &&
            glyphs[0] != 0xFFFF && glyphs[1] != 0xFFFF && glyphs[2] != 0xFFFF;
    SelectObject(dc, previous);
    DeleteObject(handle);
  }
  DeleteDC(dc);
  return found;
}

// Whether family 4 must use the stand-in, decided on first use.
bool symbol_needs_stand_in() {
  static const bool needed = !face_has_letters(kSymbolFace, SYMBOL_CHARSET) &&
                             face_has_letters(kSymbolStandIn, ANSI_CHARSET);
  return needed;
}

}  // namespace

void set_text_face(LOGFONTA& font, int family) {
  const char* face = "Arial";
  font.lfCharSet = ANSI_CHARSET;
  switch (family) {
    case 1: face = "Courier New"; break;
    case 3: face = "Times New Roman"; break;
    case 4:
      if (symbol_needs_stand_in()) {
        face = kSymbolStandIn;
      } else {
        face = kSymbolFace;
        font.lfCharSet = SYMBOL_CHARSET;
      }
      break;
    default: break;
  }
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
}

}  // namespace quill
