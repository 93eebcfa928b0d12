// A cell's text in place or in its own block: every length around the boundary survives
// copies, moves and assignment from a part of itself (the sanitizer build sees any leak,
// double free or read outside a block).
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "grid/cell_text.hpp"

TEST(CellText, KeepsEveryLengthThroughCopiesMovesAndSelfAssignment) {
  for (const std::size_t length : {0, 1, 15, 16, 40, 32000}) {
    std::string expected(length, 'a');
    for (std::size_t i = 0; i < length; ++i) expected[i] = static_cast<char>('a' + i % 26);
    quill::CellText text;
    text.assign(expected);
    EXPECT_EQ(text.on_heap(), length > quill::CellText::kInPlace) << length;
    quill::CellText moved = quill::CellText(text);
    EXPECT_EQ(moved, expected) << length;
    text = std::move(moved);
    EXPECT_TRUE(moved.empty());  // NOLINT(bugprone-use-after-move): a moved-from text is empty
    text.assign(std::string_view(text).substr(length / 2));
    EXPECT_EQ(text, std::string_view(expected).substr(length / 2)) << length;
    text.clear();
    EXPECT_TRUE(text.empty() && !text.on_heap());
  }
}
