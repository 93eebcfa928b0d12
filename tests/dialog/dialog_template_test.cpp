#include "dialog/dialog_template.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Bytes of text as UTF-16LE, after a prefix of raw bytes (to place it at an offset).
std::vector<unsigned char> utf16(const std::string& text, std::size_t prefix = 0) {
  std::vector<unsigned char> bytes(prefix, 0xFF);
  for (char c : text) {
    bytes.push_back(static_cast<unsigned char>(c));
    bytes.push_back(0);
  }
  return bytes;
}

TEST(DialogTemplate, FindsAClassNameInAnyCaseOnlyAsUtf16) {
  struct Case {
    std::vector<unsigned char> bytes;
    bool found;
    const char* what;
  };
  const std::vector<unsigned char> narrow{'R', 'i', 'c', 'h', 'E', 'd', 'i', 't'};
  const Case cases[] = {
      {utf16("RichEdit20A"), true, "class at the start"},
      {utf16("RICHEDIT50W", 6), true, "upper case after other words"},
      {utf16("xrichedit"), true, "inside a longer name"},
      {utf16("RichEdi"), false, "cut short at the end of the bytes"},
      {utf16("Rich Edit"), false, "a blank between"},
      {narrow, false, "single-byte text is not a template string"},
      {utf16("Edit"), false, "another class"},
      {{}, false, "no bytes"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quill::template_mentions_class(c.bytes, "richedit"), c.found) << c.what;
  }
  // A name starting on an odd offset is not read as text.
  std::vector<unsigned char> odd{0x41};
  const std::vector<unsigned char> text = utf16("richedit");
  odd.insert(odd.end(), text.begin(), text.end());
  EXPECT_FALSE(quill::template_mentions_class(odd, "richedit"));
}

}  // namespace
