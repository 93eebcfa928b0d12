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
  bool fixed_pitch = false;
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
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  result.fixed_pitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;  // the bit means variable
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

// The typewriter family is monospaced and the three text families are three faces, also
// where the usual Windows faces are missing.
TEST(TextFace, TextFamiliesAreDistinctFacesAndCourierIsMonospaced) {
  const Selected courier = select_family(1), sans = select_family(2), times = select_family(3);
  EXPECT_TRUE(courier.fixed_pitch) << courier.face;
  EXPECT_FALSE(sans.fixed_pitch) << sans.face;
  EXPECT_STRNE(courier.face, sans.face);
  EXPECT_STRNE(times.face, sans.face);
  EXPECT_STRNE(times.face, courier.face);
}

}  // namespace
}  // namespace quill
