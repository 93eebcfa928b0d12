#include "editor/editor_text.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using quill::decode_text;
using quill::encode_text;
using quill::TextEncoding;

// Bytes read and written again: only LF alone becomes CR LF.
std::string round_trip(const std::string& bytes, TextEncoding* seen = nullptr) {
  TextEncoding encoding{};
  const std::u16string text = decode_text(bytes, encoding);
  if (seen != nullptr) *seen = encoding;
  return encode_text(text, encoding);
}

TEST(EditorText, LoadSaveKeepsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    if (b != '\n') all.push_back(static_cast<char>(b));
  }
  struct Case {
    std::string bytes;
    TextEncoding encoding;
  };
  const Case cases[] = {
      {all, TextEncoding::Bytes},
      {std::string("a\0b\r\nc\rd", 8), TextEncoding::Utf8},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\r\n", TextEncoding::Utf8},
      {"caf\xC3 \xE9\xC0\xAF \xED\xA0\x80", TextEncoding::Bytes},  // broken, overlong, surrogate
      {"\xE2\x90\x80 is a NUL mark\r\n", TextEncoding::Bytes},     // a mark in the file itself
      {std::string(200000, 'x') + "\r\n\r\n", TextEncoding::Utf8},
      {"", TextEncoding::Utf8},
  };
  for (const Case& c : cases) {
    TextEncoding seen{};
    EXPECT_EQ(round_trip(c.bytes, &seen), c.bytes) << c.bytes.substr(0, 40);
    EXPECT_EQ(seen, c.encoding) << c.bytes.substr(0, 40);
  }
}

TEST(EditorText, UnixLineEndsAreReadAndWindowsOnesWritten) {
  TextEncoding e{};
  EXPECT_EQ(decode_text("a\nb\r\nc\n", e), u"a\rb\rc\r");
  EXPECT_EQ(round_trip("a\nb\n\nc"), "a\r\nb\r\n\r\nc");
  EXPECT_EQ(encode_text(u"a\r\nb\nc", TextEncoding::Utf8), "a\r\nb\r\nc");
  EXPECT_EQ(encode_text(u"\u20AC\u4E2D\xD800", TextEncoding::Bytes), "\x80??");
  EXPECT_EQ(encode_text(u"\xD800x", TextEncoding::Utf8), "\xEF\xBF\xBDx");
}

TEST(EditorText, FindWithOptions) {
  const std::u16string text = u"Cat catalog cat_x CAT. \u00C9t\u00E9 cat";
  struct Case {
    std::u16string needle;
    std::size_t from;
    int options;
    long expected;
  };
  const Case cases[] = {
      {u"cat", 0, 0, 0},
      {u"cat", 0, quill::kFindMatchCase, 4},
      {u"cat", 1, quill::kFindWholeWord, 18},
      {u"cat", 19, quill::kFindWholeWord | quill::kFindMatchCase, 27},
      {u"cat", text.size(), quill::kFindUp, 27},
      {u"cat", 29, quill::kFindUp | quill::kFindWholeWord, 18},
      {u"cat", 2, quill::kFindUp, -1},
      {u"\u00E9T\u00C9", 0, 0, 23},
      {u"dog", 0, 0, -1},
      {u"", 0, 0, -1},
  };
  for (const Case& c : cases) {
    const auto at = quill::find_text(text, c.needle, c.from, c.options);
    EXPECT_EQ(at ? static_cast<long>(*at) : -1L, c.expected) << c.from << " " << c.options;
  }
}

TEST(EditorText, ReplaceAll) {
  std::u16string text = u"one One ONE someone";
  EXPECT_EQ(quill::replace_all_text(text, u"one", u"1", quill::kFindWholeWord), 3);
  EXPECT_EQ(text, u"1 1 1 someone");
  EXPECT_EQ(quill::replace_all_text(text, u"1", u"11", quill::kFindMatchCase), 3);
  EXPECT_EQ(text, u"11 11 11 someone");
  EXPECT_EQ(quill::replace_all_text(text, u"zzz", u"", 0), 0);
}

}  // namespace
