#include "editor/editor_text.hpp"

#include <array>
#include <cstdint>
#include <cstring>

namespace quill {
namespace {

// Windows-1252 bytes 0x80..0x9F; the unassigned ones stay as the C1 controls.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t byte_char(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kHighControls[b - 0x80u];
  return b;
}

// The byte of a character in Windows-1252, or -1.
int char_byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c < 0x100)) return static_cast<int>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

// Decodes one UTF-8 sequence at bytes[i]; 0 length when it is not a valid one.
char32_t utf8_at(std::string_view bytes, std::size_t i, std::size_t& length) {
  const auto b0 = static_cast<unsigned char>(bytes[i]);
  length = 0;
  if (b0 < 0x80) {
    length = 1;
    return b0;
  }
  std::size_t n = 0;
  char32_t c = 0, least = 0;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2;
    c = b0 & 0x1Fu;
    least = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3;
    c = b0 & 0x0Fu;
    least = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4;
    c = b0 & 0x07u;
    least = 0x10000;
  } else
    return 0;
  if (i + n > bytes.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(bytes[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3Fu);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return 0;
  length = n;
  return c;
}

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The length of the run of ASCII bytes at bytes[i], eight at a time (files are mostly ASCII).
std::size_t ascii_run(std::string_view bytes, std::size_t i) {
  const std::size_t start = i;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, bytes.data() + i, 8);
    if ((chunk & 0x8080808080808080ull) != 0) break;
  }
  return i - start;
}

}  // namespace

bool plain_utf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    i += ascii_run(bytes, i);
    if (i == bytes.size()) break;
    std::size_t n = 0;
    const char32_t c = utf8_at(bytes, i, n);
    if (n == 0 || c == kNulMark || c == kLoneReturnMark) return false;
    i += n;
  }
  return true;
}

char16_t fold_case(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
    return static_cast<char16_t>(c + 0x20);
  return c;
}

bool word_character(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c < 0x2000);
}

namespace {

bool matches_at(std::u16string_view text, std::u16string_view needle, std::size_t at, int options) {
  const bool exact = (options & kFindMatchCase) != 0;
  for (std::size_t k = 0; k < needle.size(); ++k) {
    const char16_t a = text[at + k], b = needle[k];
    if (a != b && (exact || fold_case(a) != fold_case(b))) return false;
  }
  if ((options & kFindWholeWord) != 0) {
    if (at > 0 && word_character(text[at - 1])) return false;
    const std::size_t end = at + needle.size();
    if (end < text.size() && word_character(text[end])) return false;
  }
  return true;
}

}  // namespace

std::u16string decode_text(std::string_view bytes, TextEncoding& encoding, std::size_t spare) {
  encoding = plain_utf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Bytes;
  return decode_text_as(bytes, encoding, spare);
}

std::u16string decode_text_as(std::string_view bytes, TextEncoding encoding, std::size_t spare) {
  std::u16string out;
  // Never more units than bytes: the result is written in place, then cut to its length.
  out.reserve(bytes.size() + spare);
  out.resize(bytes.size());
  char16_t* to = out.data();
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x20 && b < 0x80) {
      *to++ = b;
      ++i;
    } else if (b == '\r') {
      const bool pair = i + 1 < bytes.size() && bytes[i + 1] == '\n';
      *to++ = pair ? u'\r' : kLoneReturnMark;
      i += pair ? 2 : 1;
    } else if (b == '\n') {
      *to++ = u'\r';
      ++i;
    } else if (b == '\0') {
      *to++ = kNulMark;
      ++i;
    } else if (encoding == TextEncoding::Bytes || b < 0x80) {
      *to++ = byte_char(b);
      ++i;
    } else {
      std::size_t n = 1;
      char32_t c = utf8_at(bytes, i, n);
      if (c >= 0x10000) {
        c -= 0x10000;
        *to++ = static_cast<char16_t>(0xD800 + (c >> 10));
        *to++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
      } else {
        *to++ = static_cast<char16_t>(c);
      }
      i += n;
    }
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
  return out;
}

std::string encode_text(std::u16string_view text, TextEncoding encoding) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      out += "\r\n";
      continue;
    }
    if (c == kNulMark) {
      out.push_back('\0');
      continue;
    }
    if (c == kLoneReturnMark) {
      out.push_back('\r');
      continue;
    }
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (encoding == TextEncoding::Utf8) {
      append_utf8(out, c);
    } else {
      const int b = char_byte(c);
      out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
  }
  return out;
}

std::optional<std::size_t> find_text(std::u16string_view text, std::u16string_view needle, std::size_t from,
                                     int options) {
  if (needle.empty() || needle.size() > text.size()) return std::nullopt;
  const std::size_t last = text.size() - needle.size();
  const bool exact = (options & kFindMatchCase) != 0;
  const char16_t first = exact ? needle[0] : fold_case(needle[0]);
  if ((options & kFindUp) != 0) {
    if (from < needle.size()) return std::nullopt;
    for (std::size_t at = std::min(from - needle.size(), last) + 1; at-- > 0;) {
      const char16_t c = exact ? text[at] : fold_case(text[at]);
      if (c == first && matches_at(text, needle, at, options)) return at;
    }
    return std::nullopt;
  }
  for (std::size_t at = from; at <= last; ++at) {
    const char16_t c = exact ? text[at] : fold_case(text[at]);
    if (c == first && matches_at(text, needle, at, options)) return at;
  }
  return std::nullopt;
}

int replace_all_text(std::u16string& text, std::u16string_view needle, std::u16string_view replacement,
                     int options) {
  options &= ~kFindUp;
  std::u16string out;
  int count = 0;
  std::size_t done = 0;
  while (auto at = find_text(text, needle, done, options)) {
    out.append(text, done, *at - done);
    out.append(replacement);
    done = *at + needle.size();
    ++count;
  }
  if (count == 0) return 0;
  out.append(text, done, std::u16string::npos);
  text = std::move(out);
  return count;
}

}  // namespace quill
