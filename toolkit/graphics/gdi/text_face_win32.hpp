// The GDI face and character set of each text family: 1 "Courier New", 2 "Arial",
// 3 "Times New Roman", 4 "Symbol". Shared by every GDI text path (screen, printer,
// metafile, memory bitmaps), so that a family looks the same on each.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quill {

// Sets font.lfFaceName and font.lfCharSet for family. Where the usual face is missing
// (Wine has none of them, and may map "Symbol" to a font that keeps its glyphs at other
// codes), the family takes an installed metric-compatible face: "Liberation Mono", "Sans",
// "Serif" or the URW faces, and "Standard Symbols PS" for the symbols. The choice is made
// once per process.
void set_text_face(LOGFONTA& font, int family);

// The symbol family's text (bytes in the Symbol font's encoding: "a" alpha, "p" pi, 0xA3
// less or equal, ...) as Unicode characters, for printers that cannot take the symbol
// font itself; codes without a character stay as they are.
std::wstring symbol_text_as_unicode(std::string_view text);

}  // namespace quill
