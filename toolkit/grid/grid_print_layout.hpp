// How a printed grid falls into pages: bands of whole columns that fit across a page, each
// printed down in pages of as many rows as fit under the column titles (portable).
#pragma once

#include <span>
#include <vector>

namespace quill {

// Columns first..last (1-based; last < first when the grid has none) and rows first..last
// (last < first when it has none) of one page.
struct GridPage {
  int first_column = 1, last_column = 0;
  int first_row = 1, last_row = 0;
  bool operator==(const GridPage&) const = default;
};

// widths: each column's width in characters, plus one character between columns;
// row_title_width: characters of the row title column (0: none shown); page_columns and
// page_lines: characters across and lines down the printable part of a page, the column
// title line among them when column_titles. A column too wide for a page alone gets a page
// band of its own (its text is cut). Pages go down each band, then on to the next band;
// there is always at least one page.
std::vector<GridPage> grid_pages(std::span<const int> widths, int rows, int row_title_width,
                                 bool column_titles, int page_columns, int page_lines);

}  // namespace quill
