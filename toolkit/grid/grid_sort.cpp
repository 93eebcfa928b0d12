// Sorting a grid's rows by a column and finding a text in its cells.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

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

// A row's sort key in a text column: its first eight bytes in lower case packed so that
// comparing the packed words orders as compare_text does, or ties.
struct TextKey {
  std::uint64_t prefix = 0;
  const CellText* text = nullptr;
  int row = 0;
};

// In other columns a number; half the size of a text key, so twice as many per cache line.
struct NumberKey {
  double value = 0.0;
  int row = 0;
};

TextKey text_key(const GridCell& cell, int row) {
  TextKey key;
  key.row = row;
  key.text = &cell.text;
  for (std::size_t i = 0; i < 8; ++i) {
    const unsigned byte = i < cell.text.size() ? static_cast<unsigned char>(lower(cell.text[i])) : 0U;
    key.prefix = key.prefix << 8 | byte;
  }
  return key;
}

NumberKey number_key(const GridColumn& column, const GridCell& cell, int row) {
  switch (column.type) {
    case ColumnType::CheckBox: return {static_cast<double>(cell.check), row};
    case ColumnType::OptionMenu: return {static_cast<double>(cell.option), row};
    default: return {cell.value, row};
  }
}

// The keys of the rows whose cell in column is not empty, in row order; the other rows
// are added to empty_rows.
template <typename Key, typename MakeKey>
std::vector<Key> sort_keys(const Grid& grid, int column, std::vector<int>& empty_rows, MakeKey make_key) {
  const GridColumn& source = grid.column(column);
  std::vector<Key> keys;
  keys.reserve(static_cast<std::size_t>(grid.rows));
  for (int r = 1; r <= grid.rows; ++r) {
    const GridCell& cell = grid.cell(column, r);
    if (is_empty(source, cell)) {
      empty_rows.push_back(r);
    } else {
      keys.push_back(make_key(source, cell, r));
    }
  }
  return keys;
}

// Whether text contains part, ASCII case ignored; part is already in lower case.
bool contains(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  const std::size_t last_start = text.size() - part.size();
  for (std::size_t at = 0; at <= last_start; ++at) {
    if (lower(text[at]) != part[0]) continue;
    std::size_t i = 1;
    while (i < part.size() && lower(text[at + i]) == part[i]) ++i;
    if (i == part.size()) return true;
  }
  return false;
}

}  // namespace

// Each cycle of the permutation goes round once through one spare row.
void store_rows_in_order(Grid& grid) {
  if (grid.row_order.empty()) return;
  const std::size_t width = grid.columns.size();
  std::vector<GridCell> spare(width);
  std::vector<bool> placed(grid.row_order.size(), false);
  const auto row_begin = [&](std::size_t r) {
    return grid.cells.begin() + static_cast<std::ptrdiff_t>(r * width);
  };
  const auto source = [&](std::size_t to) { return static_cast<std::size_t>(grid.row_order[to] - 1); };
  for (std::size_t start = 0; start < grid.row_order.size(); ++start) {
    if (placed[start] || source(start) == start) continue;
    std::move(row_begin(start), row_begin(start + 1), spare.begin());
    std::size_t to = start;
    for (std::size_t from = source(to); from != start; to = from, from = source(to)) {
      std::move(row_begin(from), row_begin(from + 1), row_begin(to));
      placed[to] = true;
    }
    std::move(spare.begin(), spare.end(), row_begin(to));
    placed[to] = true;
  }
  grid.row_order.clear();
}

int sort_rows(Grid& grid, int column, int order) {
  if (column < 1 || column > grid.column_count()) return error::kCellOutOfRange;
  const GridColumn& key = grid.column(column);
  if (key.type == ColumnType::Kind8 || key.type == ColumnType::Kind10) return error::kGridColumnType;
  if (order != 0 && order != 1) return error::kOptionOutOfRange;
  // The keys leave the cells once, so that comparing touches one small array; empty
  // cells go last in either order, each side keeping its order.
  std::vector<int> empty_rows;
  std::vector<int> sorted;
  const bool ascending = order == 0;
  if (key.type == ColumnType::Text) {
    auto keys =
        sort_keys<TextKey>(grid, column, empty_rows,
                           [](const GridColumn&, const GridCell& cell, int r) { return text_key(cell, r); });
    std::stable_sort(keys.begin(), keys.end(), [&](const TextKey& a, const TextKey& b) {
      if (a.prefix != b.prefix) return ascending == (a.prefix < b.prefix);
      const int c = compare_text(*a.text, *b.text);
      return ascending ? c < 0 : c > 0;
    });
    sorted.reserve(keys.size());
    for (const TextKey& k : keys) sorted.push_back(k.row);
  } else {
    auto keys = sort_keys<NumberKey>(grid, column, empty_rows, number_key);
    std::stable_sort(keys.begin(), keys.end(), [&](const NumberKey& a, const NumberKey& b) {
      const int c = (a.value > b.value) - (a.value < b.value);
      return ascending ? c < 0 : c > 0;
    });
    sorted.reserve(keys.size());
    for (const NumberKey& k : keys) sorted.push_back(k.row);
  }
  // Only the titles move, and only when a row has one; the cells stay where they are
  // stored and the rows' order says where each one is.
  const bool titled = std::any_of(grid.row_title_texts.begin(), grid.row_title_texts.end(),
                                  [](const std::string& title) { return !title.empty(); });
  std::vector<int> stored(static_cast<std::size_t>(grid.rows));
  std::vector<std::string> titles(titled ? grid.row_title_texts.size() : 0);
  std::size_t to = 0;
  const auto place = [&](int row) {
    stored[to] = static_cast<int>(grid.stored_row(row)) + 1;
    if (titled) titles[to] = std::move(grid.row_title_texts[static_cast<std::size_t>(row - 1)]);
    ++to;
  };
  for (const int row : sorted) place(row);
  for (const int row : empty_rows) place(row);
  if (titled) grid.row_title_texts = std::move(titles);
  grid.row_order = std::move(stored);
  return 0;
}

bool find_text(const Grid& grid, std::string_view text, int& column, int& row) {
  const int columns = grid.column_count();
  if (columns == 0 || grid.rows == 0 || text.empty()) return false;
  std::string part(text);
  for (char& c : part) c = lower(c);
  const auto matches = [&](int c, const GridCell& cell) {
    const GridColumn& source = grid.column(c);
    const std::string_view shown = source.type == ColumnType::OptionMenu ? option_text(source, cell)
                                   : source.type == ColumnType::CheckBox ? std::string_view()
                                                                         : std::string_view(cell.text);
    return contains(shown, part);
  };
  // The search starts after (column, row), or at the first cell, and wraps once round.
  int c = 1;
  int r = 1;
  if (grid.valid_cell(column, row)) {
    c = column % columns + 1;
    r = column == columns ? row % grid.rows + 1 : row;
  }
  const long long count = static_cast<long long>(columns) * grid.rows;
  if (!grid.row_order.empty()) {
    // Sorted rows lie scattered: reading the cells as stored and keeping the match nearest
    // after the start is quicker than following the order.
    std::vector<int> shown_row(static_cast<std::size_t>(grid.rows));
    for (int to = 1; to <= grid.rows; ++to) shown_row[grid.stored_row(to)] = to;
    const long long first = static_cast<long long>(r - 1) * columns + (c - 1);
    long long best = count;
    for (std::size_t stored = 0; stored < shown_row.size(); ++stored) {
      const GridCell* cells = &grid.cells[stored * static_cast<std::size_t>(columns)];
      for (int k = 1; k <= columns; ++k) {
        if (!matches(k, cells[k - 1])) continue;
        const long long index = static_cast<long long>(shown_row[stored] - 1) * columns + (k - 1);
        const long long distance = (index - first + count) % count;
        if (distance < best) best = distance;
      }
    }
    if (best == count) return false;
    const long long index = (first + best) % count;
    column = static_cast<int>(index % columns) + 1;
    row = static_cast<int>(index / columns) + 1;
    return true;
  }
  const GridCell* cell = &grid.cell(c, r);
  for (long long step = 0; step < count; ++step) {
    if (matches(c, *cell)) {
      column = c;
      row = r;
      return true;
    }
    ++cell;
    if (++c > columns) {
      c = 1;
      if (++r > grid.rows) r = 1;
      cell = &grid.cell(1, r);
    }
  }
  return false;
}

}  // namespace quill
