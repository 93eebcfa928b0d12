// Sorting a grid's rows by a column and finding a text in its cells.
#include <algorithm>
#include <numeric>

#include "base/error_codes.hpp"
#include "grid/grid_model.hpp"

namespace quill {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// -1, 0 or 1 as a is before, equal to or after b, ASCII case ignored.
int compare_text(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(lower(a[i]));
    const auto y = static_cast<unsigned char>(lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool is_empty(const GridColumn& column, const GridCell& cell) {
  switch (column.type) {
    case ColumnType::Text: return cell.text.empty();
    case ColumnType::OptionMenu: return cell.option == 0;
    case ColumnType::CheckBox: return false;
    default: return !cell.defined;
  }
}

// Compares two non-empty cells of column.
int compare_cells(const GridColumn& column, const GridCell& a, const GridCell& b) {
  switch (column.type) {
    case ColumnType::Text: return compare_text(a.text, b.text);
    case ColumnType::CheckBox: return (a.check > b.check) - (a.check < b.check);
    case ColumnType::OptionMenu: return (a.option > b.option) - (a.option < b.option);
    default: return (a.value > b.value) - (a.value < b.value);
  }
}

bool contains(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (compare_text(text.substr(at, part.size()), part) == 0) return true;
  }
  return false;
}

}  // namespace

int sort_rows(Grid& grid, int column, int order) {
  if (column < 1 || column > grid.column_count()) return error::kCellOutOfRange;
  const GridColumn& key = grid.column(column);
  if (key.type == ColumnType::Kind8 || key.type == ColumnType::Kind10) return error::kGridColumnType;
  if (order != 0 && order != 1) return error::kOptionOutOfRange;
  std::vector<int> rows(static_cast<std::size_t>(grid.rows));
  std::iota(rows.begin(), rows.end(), 1);
  std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
    const GridCell& x = grid.cell(column, a);
    const GridCell& y = grid.cell(column, b);
    const bool x_empty = is_empty(key, x);
    const bool y_empty = is_empty(key, y);
    if (x_empty || y_empty) return !x_empty && y_empty;
    const int c = compare_cells(key, x, y);
    return order == 0 ? c < 0 : c > 0;
  });
  const std::size_t width = grid.columns.size();
  std::vector<GridCell> cells(grid.cells.size());
  std::vector<std::string> titles(grid.row_title_texts.size());
  for (std::size_t to = 0; to < rows.size(); ++to) {
    const std::size_t from = static_cast<std::size_t>(rows[to] - 1);
    std::move(grid.cells.begin() + static_cast<std::ptrdiff_t>(from * width),
              grid.cells.begin() + static_cast<std::ptrdiff_t>((from + 1) * width),
              cells.begin() + static_cast<std::ptrdiff_t>(to * width));
    titles[to] = std::move(grid.row_title_texts[from]);
  }
  grid.cells = std::move(cells);
  grid.row_title_texts = std::move(titles);
  return 0;
}

bool find_text(const Grid& grid, std::string_view text, int& column, int& row) {
  const int columns = grid.column_count();
  const long long count = static_cast<long long>(columns) * grid.rows;
  if (count == 0 || text.empty()) return false;
  long long start = 0;
  if (grid.valid_cell(column, row)) start = static_cast<long long>(row - 1) * columns + column;
  for (long long step = 0; step < count; ++step) {
    const long long index = (start + step) % count;
    const int c = static_cast<int>(index % columns) + 1;
    const int r = static_cast<int>(index / columns) + 1;
    const GridColumn& source = grid.column(c);
    const GridCell& cell = grid.cell(c, r);
    const std::string_view shown = source.type == ColumnType::OptionMenu ? option_text(source, cell)
                                   : source.type == ColumnType::CheckBox ? std::string_view()
                                                                          : std::string_view(cell.text);
    if (contains(shown, text)) {
      column = c;
      row = r;
      return true;
    }
  }
  return false;
}

}  // namespace quill
