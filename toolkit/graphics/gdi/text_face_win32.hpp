// The GDI face and character set of each text family: 1 "Courier New", 2 "Arial",
// 3 "Times New Roman", 4 "Symbol". Shared by every GDI text path (screen, printer,
// metafile, memory bitmaps), so that a family looks the same on each.
#pragma once

#include <windows.h>

namespace quill {

// Sets font.lfFaceName and font.lfCharSet for family. Where the usual face is missing
// (Wine has none of them, and may map "Symbol" to a font that keeps its glyphs at other
// codes), the family takes an installed metric-compatible face: "Liberation Mono", "Sans",
// "Serif" or the URW faces, and "Standard Symbols PS" for the symbols. The choice is made
// once per process.
void set_text_face(LOGFONTA& font, int family);

}  // namespace quill
