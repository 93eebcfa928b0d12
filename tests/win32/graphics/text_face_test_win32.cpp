// Text families through GDI: every family selects a font that holds glyphs for the
// letters it draws, including the symbol family (on Wine through its stand-in).
#include <windows.h>

#include <gtest/gtest.h>

#include "graphics/gdi/text_face_win32.hpp"

namespace quill {
namespace {

// The glyph indices of "abc" in the font set_text_face chooses for family, and its face.
struct Selected {
  char face[LF_FACESIZE] = {};
  WORD glyphs[3] = {};
};

Selected select_family(int family) {
  Selected result;
  HDC dc = CreateCompatibleDC(nullptr);
  LOGFONTA font{};
  font.lfHeight = -24;
  set_text_face(font, family);
  HFONT handle = CreateFontIndirectA(&font);
  HGDIOBJ previous = SelectObject(dc, handle);
  GetTextFaceA(dc, LF_FACESIZE, result.face);
  GetGlyphIndicesA(dc, "abc", 3, result.glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, previous);
  DeleteObject(handle);
  DeleteDC(dc);
  return result;
}

TEST(TextFace, EveryFamilyHasGlyphsForItsLetters) {
  for (int family = 1; family <= 4; ++family) {
    const Selected selected = select_family(family);
    for (WORD glyph : selected.glyphs) {
      EXPECT_NE(glyph, 0xFFFF) << "family " << family << " face " << selected.face;
    }
  }
  // The symbol family draws other shapes than the sans-serif one at the same codes.
  const Selected symbol = select_family(4), sans = select_family(2);
  EXPECT_STRNE(symbol.face, sans.face);
}

}  // namespace
}  // namespace quill
