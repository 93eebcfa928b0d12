// The clipboard: the text routine applications use.
#pragma once

#include <string_view>

// Puts text on the clipboard exactly as passed (trailing blanks kept, cut at a NUL);
// an empty text empties the clipboard's text. Reports 1094 when the clipboard is busy.
void WClipboardPutString(std::string_view text);
