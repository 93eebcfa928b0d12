// Parsing and applying grid set-up lines.
#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "grid/grid_setup.hpp"

#include <charconv>
#include <utility>

namespace quill {
namespace {

constexpr std::size_t kMaxNumbers = kGridMaxColumns;

struct Words {
  std::string_view rest;

  void skip_blanks() {
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  }
  std::string_view next() {
    skip_blanks();
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t') ++end;
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
  }
  std::optional<int> next_int() {
    const std::string_view word = next();
    int value = 0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || result.ec != std::errc() || result.ptr != word.data() + word.size())
      return std::nullopt;
    return value;
  }
  // A bound: a number, or "*" for none. False when the word is neither.
  bool next_bound(std::optional<double>& bound) {
    const std::string_view word = next();
    if (word == "*") return true;
    double value = 0.0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || result.ec != std::errc() || result.ptr != word.data() + word.size()) return false;
    bound = value;
    return true;
  }
  std::string_view remainder() {
    skip_blanks();
    std::string_view text = rest;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
      text.remove_suffix(1);
    return text;
  }
};

GridSetupKind kind_of(std::string_view word) {
  struct Name {
    std::string_view word;
    GridSetupKind kind;
  };
  static constexpr Name kNames[] = {
      {"columns", GridSetupKind::Columns}, {"widths", GridSetupKind::Widths},
      {"rows", GridSetupKind::Rows},       {"titles", GridSetupKind::Titles},
      {"title", GridSetupKind::Title},     {"format", GridSetupKind::Format},
      {"case", GridSetupKind::TextCase},   {"justify", GridSetupKind::Justify},
      {"range", GridSetupKind::Range},     {"options", GridSetupKind::Options},
  };
  for (const Name& name : kNames) {
    if (name.word == word) return name.kind;
  }
  return GridSetupKind::Invalid;
}

bool read_numbers(Words& words, GridSetupLine& line) {
  while (words.remainder().size() > 0 && line.numbers.size() < kMaxNumbers) {
    const std::optional<int> value = words.next_int();
    if (!value) return false;
    line.numbers.push_back(*value);
  }
  return words.remainder().empty();
}

bool read_column_line(Words& words, GridSetupLine& line) {
  const std::optional<int> column = words.next_int();
  if (!column) return false;
  line.column = *column;
  switch (line.kind) {
    case GridSetupKind::Title:
    case GridSetupKind::Format: line.text = std::string(words.remainder()); return true;
    case GridSetupKind::TextCase:
    case GridSetupKind::Justify: return read_numbers(words, line) && line.numbers.size() == 1;
    case GridSetupKind::Range:
      return words.next_bound(line.low) && words.next_bound(line.high) && words.remainder().empty();
    case GridSetupKind::Options: {
      std::string_view text = words.remainder();
      while (!text.empty()) {
        const std::size_t bar = text.find('|');
        line.options.emplace_back(text.substr(0, bar));
        if (bar == std::string_view::npos) break;
        text.remove_prefix(bar + 1);
      }
      return true;
    }
    default: return false;
  }
}

}  // namespace

GridSetupLine parse_grid_setup_line(std::string_view text) {
  Words words{text};
  GridSetupLine line;
  line.kind = kind_of(words.next());
  bool valid = false;
  switch (line.kind) {
    case GridSetupKind::Columns:
    case GridSetupKind::Widths: valid = read_numbers(words, line); break;
    case GridSetupKind::Rows:
      valid = read_numbers(words, line) && (line.numbers.size() == 1 || line.numbers.size() == 2);
      break;
    case GridSetupKind::Titles: valid = read_numbers(words, line) && line.numbers.size() == 2; break;
    case GridSetupKind::Invalid: break;
    default: valid = read_column_line(words, line); break;
  }
  if (!valid) line = GridSetupLine{};
  return line;
}

namespace {

// One line applied; a line that would not fit in memory throws with the grid unchanged.
int apply_line(Grid& grid, const GridSetupLine& line) {
  const bool column_ok = line.column >= 1 && line.column <= grid.column_count();
  switch (line.kind) {
    case GridSetupKind::Columns: return set_columns(grid, line.numbers, {});
    case GridSetupKind::Widths:
      for (std::size_t c = 0; c < line.numbers.size() && c < grid.columns.size(); ++c) {
        if (line.numbers[c] > 0) grid.columns[c].width = line.numbers[c];
      }
      return line.numbers.size() > grid.columns.size() ? error::kCellOutOfRange : 0;
    case GridSetupKind::Rows: {
      // Checked whole first, so that a refused line changes nothing.
      const int rows = line.numbers[0];
      const int max_rows = line.numbers.size() == 2 ? line.numbers[1] : grid.max_rows;
      if (max_rows > kGridMaxRows) return error::kGridSize;
      if (rows < 0 || rows > max_rows) return error::kGridRowCount;
      const int old_max_rows = std::exchange(grid.max_rows, max_rows);
      const int code = set_rows(grid, rows);
      if (code != 0) grid.max_rows = old_max_rows;
      return code;
    }
    case GridSetupKind::Titles:
      grid.column_titles = line.numbers[0] != 0;
      grid.row_titles = line.numbers[1] != 0;
      return 0;
    case GridSetupKind::Title: return put_column_title(grid, line.column, line.text);
    case GridSetupKind::Format: return set_format(grid, line.column, line.text);
    case GridSetupKind::TextCase:
      if (!column_ok) return error::kCellOutOfRange;
      grid.column(line.column).case_setting = line.numbers[0];
      return 0;
    case GridSetupKind::Justify:
      if (!column_ok) return error::kCellOutOfRange;
      if (line.numbers[0] < kJustifyLeft || line.numbers[0] > kJustifyRight) return error::kOptionOutOfRange;
      grid.column(line.column).justification = line.numbers[0];
      return 0;
    case GridSetupKind::Range:
      if (!column_ok) return error::kCellOutOfRange;
      if (!is_numeric(grid.column(line.column).type)) return error::kGridColumnType;
      if (line.low && line.high && *line.low > *line.high) return error::kFieldValueOutOfRange;
      grid.column(line.column).low = line.low;
      grid.column(line.column).high = line.high;
      return 0;
    case GridSetupKind::Options:
      if (!column_ok) return error::kCellOutOfRange;
      if (grid.column(line.column).type != ColumnType::OptionMenu) return error::kGridColumnType;
      {
        std::vector<std::string> options = line.options;
        grid.column(line.column).options = std::move(options);
        return 0;
      }
    case GridSetupKind::Invalid: break;
  }
  return error::kOptionOutOfRange;
}

}  // namespace

int apply_grid_setup(Grid& grid, const GridSetupLine& line) {
  return allocating(error::kGridSize, [&] { return apply_line(grid, line); });
}

}  // namespace quill
