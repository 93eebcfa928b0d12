// The editor's portable text work: bytes of files and routines to the wide text an edit
// control holds and back, search in a wide text, and where a character sits by line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quill {

// How an editor's bytes are read: UTF-8 when the bytes are valid UTF-8, else one
// character per byte (Windows-1252, its five unassigned bytes kept as U+0081 etc.).
enum class TextEncoding { Utf8, Bytes };

// Characters that stand for bytes a control cannot hold as themselves: NUL and a carriage
// return not followed by a line feed. They are written back as those bytes.
inline constexpr char16_t kNulMark = 0x2400;
inline constexpr char16_t kLoneReturnMark = 0x240D;

// Bytes to the control's text: CR LF and LF end a line ("\r" in the result). The encoding
// chosen is the one that gives the bytes back unchanged (apart from LF becoming CR LF).
// The result has room for spare more units without growing.
std::u16string decode_text(std::string_view bytes, TextEncoding& encoding, std::size_t spare = 0);
// The same in an encoding already chosen (bytes not cut inside a character or between CR and LF).
std::u16string decode_text_as(std::string_view bytes, TextEncoding encoding, std::size_t spare = 0);
// True when the bytes read as UTF-8 give them back: valid UTF-8 without the marks below.
bool plain_utf8(std::string_view bytes);
// The control's text to bytes: "\r", "\n" and "\r\n" become CR LF. In Bytes, a character
// without a byte becomes '?'; in Utf8 a lone surrogate becomes U+FFFD.
std::string encode_text(std::u16string_view text, TextEncoding encoding);

// Search options, combined with |.
inline constexpr int kFindMatchCase = 1;
inline constexpr int kFindWholeWord = 2;
inline constexpr int kFindUp = 4;

// ASCII and Latin-1 capitals as small letters (the case search ignores).
char16_t fold_case(char16_t c);
// Letters, digits and '_': what a whole-word match may not touch.
bool word_character(char16_t c);

// The first match of needle starting at or after from (kFindUp: the last one ending at
// or before from), or nothing. Without kFindMatchCase, ASCII and Latin-1 letters match
// either case.
std::optional<std::size_t> find_text(std::u16string_view text, std::u16string_view needle, std::size_t from,
                                     int options);

// Replaces every match of needle in text; answers the number replaced.
int replace_all_text(std::u16string& text, std::u16string_view needle, std::u16string_view replacement,
                     int options);

}  // namespace quill
