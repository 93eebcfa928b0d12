#include "grid/grid_print_layout.hpp"

#include <algorithm>

namespace quill {

std::vector<GridPage> grid_pages(std::span<const int> widths, int rows, int row_title_width,
                                 bool column_titles, int page_columns, int page_lines) {
  const int room = page_columns - row_title_width;
  // Bands of columns: as many whole columns (each with its gap) as fit, at least one.
  std::vector<std::pair<int, int>> bands;
  const int count = static_cast<int>(widths.size());
  for (int first = 1; first <= count;) {
    int last = first, used = std::max(widths[static_cast<std::size_t>(first - 1)], 1) + 1;
    while (last < count && used + std::max(widths[static_cast<std::size_t>(last)], 1) + 1 <= room) {
      used += std::max(widths[static_cast<std::size_t>(last)], 1) + 1;
      ++last;
    }
    bands.emplace_back(first, last);
    first = last + 1;
  }
  if (bands.empty()) bands.emplace_back(1, 0);
  const int rows_per_page = std::max(page_lines - (column_titles ? 1 : 0), 1);
  std::vector<GridPage> pages;
  for (const auto& [first_column, last_column] : bands) {
    if (rows < 1) {
      pages.push_back({first_column, last_column, 1, 0});
      continue;
    }
    for (int first_row = 1; first_row <= rows; first_row += rows_per_page) {
      pages.push_back({first_column, last_column, first_row, std::min(first_row + rows_per_page - 1, rows)});
    }
  }
  return pages;
}

}  // namespace quill
