// The clipboard: the text routine applications use.
#pragma once

#include <span>
#include <string_view>

// Puts text on the clipboard exactly as passed (trailing blanks kept, cut at a NUL);
// an empty text empties the clipboard's text. Reports 1094 when the clipboard is busy.
void WClipboardPutString(std::string_view text);
// Reads the clipboard's text into text, blank-padded. A longer text fills text and
// reports 1023; no text on the clipboard 1095, the clipboard busy 1094 (text all blank).
void WClipboardGetString(std::span<char> text);
// What the clipboard offers: item 1 the format (0 empty, 1 text, 2 bitmap, 3 metafile,
// 6 the toolkit's picture data only, -1 another format), 2 the size of the offered data
// (a text's length in characters), 3 and 4 a bitmap's width and height; others 0.
int WClipboardQuery(int item);
