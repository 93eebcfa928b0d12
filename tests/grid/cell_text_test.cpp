// A cell's text in place or in its own block: every length around the boundary survives
// copies, moves and assignment from a part of itself (the sanitizer build sees any leak,
// double free or read outside a block).
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "grid/cell_text.hpp"

namespace {

using quill::CellText;

std::string text_of(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

TEST(CellText, KeepsEveryLengthThroughCopiesMovesAndSelfAssignment) {
  for (const std::size_t length : {0, 1, 14, 15, 16, 17, 40, 32000}) {
    const std::string expected = text_of(length);
    CellText text;
    text.assign(expected);
    EXPECT_EQ(text.on_heap(), length > CellText::kInPlace) << length;
    CellText copy = text;
    CellText moved = std::move(copy);
    EXPECT_EQ(moved, expected) << length;
    EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): a moved-from text is empty
    copy = moved;
    moved = CellText();
    EXPECT_EQ(copy, expected);
    EXPECT_TRUE(moved.empty());
    for (const std::size_t keep : {std::size_t{0}, length / 2, length}) {
      CellText part = text;
      part.assign(std::string_view(part).substr(length - keep));
      EXPECT_EQ(part, std::string_view(expected).substr(length - keep)) << length << " " << keep;
    }
    for (char& c : text) c = static_cast<char>(c - 'a' + 'A');
    EXPECT_EQ(text.size(), length);
    EXPECT_TRUE(length == 0 || text[length - 1] == expected.back() - 'a' + 'A');
    text.clear();
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(text.on_heap());
  }
}

}  // namespace
