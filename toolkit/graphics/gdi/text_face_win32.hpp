// The GDI face and character set of each text family: 1 "Courier New", 2 "Arial",
// 3 "Times New Roman", 4 "Symbol". Shared by every GDI text path (screen, printer,
// metafile, memory bitmaps), so that a family looks the same on each.
#pragma once

#include <windows.h>

namespace quill {

// Sets font.lfFaceName and font.lfCharSet for family. Where the system's "Symbol" has no
// glyphs at the codes of the symbol encoding (Wine may map it to a font that keeps them
// elsewhere), family 4 takes "Standard Symbols PS", a clone that holds them at those codes,
// when it is installed; the check is made once per process.
void set_text_face(LOGFONTA& font, int family);

}  // namespace quill
