// Clipboard text forming and the private CGM block.
#include "core/clipboard_data.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

TEST(ClipboardText, KeepsBlanksAndCutsAtNul) {
  EXPECT_EQ(quill::clipboard_text("1234  "), "1234  \0"s);
  EXPECT_EQ(quill::clipboard_text("ab\0cd"s), "ab\0"s);
  EXPECT_EQ(quill::clipboard_text(""), "\0"s);
}

TEST(CgmBlock, LayoutAndHeaderChecks) {
  const std::vector<unsigned char> data{9, 8, 7};
  const auto block = quill::pack_cgm_block(-2, 0x01020304, data);
  const std::vector<unsigned char> expected{3, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 9, 8, 7};
  EXPECT_EQ(block, expected);

  quill::CgmHeader header;
  ASSERT_TRUE(quill::read_cgm_header(block, header));
  EXPECT_EQ(header.length, 3);
  EXPECT_EQ(header.value1, -2);
  EXPECT_EQ(header.value2, 0x01020304);

  std::vector<unsigned char> short_block(block.begin(), block.end() - 1);
  EXPECT_FALSE(quill::read_cgm_header(short_block, header));
  EXPECT_FALSE(quill::read_cgm_header(std::vector<unsigned char>(11, 0), header));
  std::vector<unsigned char> negative{0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(quill::read_cgm_header(negative, header));
}

}  // namespace
