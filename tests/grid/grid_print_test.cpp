// Printing grids: how they fall into pages, and a PostScript print read back by
// Ghostscript's text device.
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/drawing_state.hpp"
#include "grid/grid_print_layout.hpp"
#include "grid_test_support.hpp"
#include "quill/graphics.hpp"
#include "quill/grid.hpp"

namespace {

using grid_test::GridTest;
using quill::GridPage;

struct LayoutCase {
  const char* what;
  std::vector<int> widths;
  int rows, row_title_width;
  bool column_titles;
  int page_columns, page_lines;
  std::vector<GridPage> pages;
};

TEST(GridPrintLayout, ColumnBandsThenRowPages) {
  const std::vector<LayoutCase> cases = {
      {"one page", {5, 5}, 3, 0, true, 40, 10, {{1, 2, 1, 3}}},
      {"titles take a line", {5}, 10, 0, true, 40, 5, {{1, 1, 1, 4}, {1, 1, 5, 8}, {1, 1, 9, 10}}},
      {"no titles, exact fill", {5}, 10, 0, false, 40, 5, {{1, 1, 1, 5}, {1, 1, 6, 10}}},
      // 6 + 6 = 12 fit 12 characters, the third column starts a band.
      {"column bands", {5, 5, 5}, 2, 0, true, 12, 10, {{1, 2, 1, 2}, {3, 3, 1, 2}}},
      {"row titles narrow the room", {5, 5}, 2, 4, true, 12, 10, {{1, 1, 1, 2}, {2, 2, 1, 2}}},
      {"too wide alone", {30, 2}, 1, 0, false, 10, 10, {{1, 1, 1, 1}, {2, 2, 1, 1}}},
      {"down each band", {5, 5}, 3, 0, false, 6, 2, {{1, 1, 1, 2}, {1, 1, 3, 3}, {2, 2, 1, 2}, {2, 2, 3, 3}}},
      {"no rows", {5}, 0, 0, true, 40, 10, {{1, 1, 1, 0}}},
      {"no columns", {}, 3, 0, true, 40, 10, {{1, 0, 1, 3}}},
      {"a page of no lines holds a row", {5}, 2, 0, true, 40, 0, {{1, 1, 1, 1}, {1, 1, 2, 2}}},
  };
  for (const LayoutCase& c : cases) {
    EXPECT_EQ(
        quill::grid_pages(c.widths, c.rows, c.row_title_width, c.column_titles, c.page_columns, c.page_lines),
        c.pages)
        << c.what;
  }
}

#ifndef _WIN32
// Two bands of columns, each down two or more pages: every page has its band's titles and
// a header, and every cell's text is there.
TEST_F(GridTest, PostScriptPrintReadBack) {
  define({4, 5, 4}, 120);
  WGridTitles(grid_test::kField, 1, 1);
  const std::array<const char*, 3> titles = {"Alpha", "Beta", "Gamma"};
  WGridColumns(grid_test::kField, 3, std::array{4, 5, 4}, std::array{30, 12, 80});
  for (int c = 1; c <= 3; ++c)
    WGridColumnTitle(grid_test::kField, c, titles[static_cast<std::size_t>(c - 1)]);
  for (int r = 1; r <= 120; ++r) {
    WGridRowTitle(grid_test::kField, r, "row" + std::to_string(r));
    WGridPutCellString(grid_test::kField, 1, r, "a" + std::to_string(r) + "x");
    WGridPutCellInteger(grid_test::kField, 2, r, 7000 + r);
    WGridPutCellString(grid_test::kField, 3, r, "g" + std::to_string(r) + "y");
  }
  WGridColourCell(grid_test::kField, 1, 1, 0x0000FF, 0xFFFF00);
  ASSERT_EQ(take_error(), 0);
  IGrHardCopySelect(2);
  IGrHardCopyOptions(5, 0);  // portrait, so that the text device reads lines across
  WGridPrint(grid_test::kField, "grid.ps", "Grid listing");
  ASSERT_EQ(take_error(), 0);
  EXPECT_EQ(quill::drawing().drawable.kind, quill::DrawableKind::None);
  // Ghostscript's text device writes each page to a file of its own.
  const std::string command = "gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=page%d.txt grid.ps";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::vector<std::string> pages;
  std::string text;
  for (int p = 1; std::filesystem::exists(scratch_ / ("page" + std::to_string(p) + ".txt")); ++p) {
    pages.push_back(grid_test::read_file(scratch_ / ("page" + std::to_string(p) + ".txt")));
    text += pages.back();
  }
  ASSERT_GE(pages.size(), 4u);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const std::string& page = pages[p];
    EXPECT_NE(page.find("Grid listing"), std::string::npos) << p;
    EXPECT_NE(page.find("Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size())),
              std::string::npos);
    const bool first_band = page.find("Alpha") != std::string::npos;
    EXPECT_EQ(page.find("Beta") != std::string::npos, first_band) << p;
    EXPECT_NE(page.find(first_band ? "Alpha" : "Gamma"), std::string::npos) << p;
  }
  for (int r = 1; r <= 120; ++r) {
    for (const std::string& cell :
         {"a" + std::to_string(r) + "x", std::to_string(7000 + r), "g" + std::to_string(r) + "y"}) {
      const std::size_t at = text.find(" " + cell);
      ASSERT_NE(at, std::string::npos) << cell;
      EXPECT_TRUE(std::isspace(static_cast<unsigned char>(text[at + 1 + cell.size()]))) << cell;
    }
  }
}
#endif

}  // namespace
