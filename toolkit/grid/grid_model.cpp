// The grid model's operations.
#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "grid/grid_model.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "text/format_fast.hpp"
#include "text/text_state.hpp"

namespace quill {
namespace {

constexpr std::string_view kDefaultRealFormat = "(G14.6)";
constexpr std::string_view kDefaultDoubleFormat = "(G23.15)";

const FormatProgram& parsed(std::string_view format) {
  // The two default programs, parsed once for the process.
  static const auto real = [] {
    auto program = std::make_unique<FormatProgram>();
    parse_format(kDefaultRealFormat, *program);
    return program;
  }();
  static const auto real8 = [] {
    auto program = std::make_unique<FormatProgram>();
    parse_format(kDefaultDoubleFormat, *program);
    return program;
  }();
  return format == kDefaultRealFormat ? *real : *real8;
}

const FormatProgram& integer_program() {
  static const auto program = [] {
    auto p = std::make_unique<FormatProgram>();
    parse_format("(I11)", *p);
    return p;
  }();
  return *program;
}

const FormatProgram& program_of(const GridColumn& column) {
  if (column.program) return *column.program;
  return parsed(display_format(column));
}

// Moves the non-blank part of out[0, size) to the front; returns its length.
// The record out[0, size) without its leading and trailing blanks.
std::span<char> without_blanks(std::span<char> out, std::size_t size) {
  std::size_t first = 0;
  while (first < size && out[first] == ' ') ++first;
  std::size_t last = size;
  while (last > first && out[last - 1] == ' ') --last;
  return out.subspan(first, last - first);
}

int check_cell(const Grid& grid, int column, int row) {
  return grid.valid_cell(column, row) ? 0 : error::kCellOutOfRange;
}

// Assigns text with no spare capacity: a string growing from empty would take half as
// much again, and a grid holds millions of them.
void assign_exact(std::string& target, std::string_view text) {
  if (text.size() <= target.capacity()) {
    target.assign(text);
  } else {
    target = std::string(text);
  }
}

// A text as a cell or title keeps it: without trailing blanks, cut at the longest text.
std::string_view stored_text(std::string_view text) {
  text = trim_trailing(text);
  return text.substr(0, std::min(text.size(), kGridTextLength));
}

void assign_text(std::string& target, std::string_view text) { assign_exact(target, stored_text(text)); }

// Rebuilds the cell table and the row titles for a new shape, keeping the cells that
// remain. Every allocation comes before the first change, so a shape that does not fit
// in memory throws with the grid as it was.
void reshape(Grid& grid, std::size_t new_columns, int new_rows) {
  store_rows_in_order(grid);
  const std::size_t old_columns = grid.columns.size();
  const std::size_t rows = static_cast<std::size_t>(new_rows);
  if (new_columns == old_columns) {
    // Growing row by row (a load) keeps the vector's own amortised growth.
    const std::size_t old_cells = grid.cells.size();
    grid.cells.resize(rows * new_columns);
    try {
      grid.row_title_texts.resize(rows);
    } catch (...) {
      grid.cells.resize(old_cells);
      throw;
    }
  } else {
    GridCells cells(rows * new_columns);
    grid.row_title_texts.resize(rows);
    const std::size_t keep_rows = std::min(rows, static_cast<std::size_t>(grid.rows));
    const std::size_t keep_columns = std::min(new_columns, old_columns);
    for (std::size_t r = 0; r < keep_rows; ++r) {
      for (std::size_t c = 0; c < keep_columns; ++c) {
        cells[r * new_columns + c] = std::move(grid.cells[r * old_columns + c]);
      }
    }
    grid.cells = std::move(cells);
  }
  grid.rows = new_rows;
  grid.current_column = std::clamp(grid.current_column, 1, std::max(1, static_cast<int>(new_columns)));
  grid.current_row = std::clamp(grid.current_row, 1, std::max(1, new_rows));
}

}  // namespace

bool is_column_type(int code) { return code >= 4 && code <= 11; }

bool is_numeric(ColumnType type) {
  return type == ColumnType::Integer || type == ColumnType::Real || type == ColumnType::Real8;
}

bool is_floating(ColumnType type) { return type == ColumnType::Real || type == ColumnType::Real8; }

int set_columns(Grid& grid, std::span<const int> types, std::span<const int> widths) {
  if (types.size() > static_cast<std::size_t>(kGridMaxColumns)) return error::kGridSize;
  for (const int type : types) {
    if (!is_column_type(type)) return error::kGridColumnType;
  }
  const std::size_t count = types.size();
  return allocating(error::kGridSize, [&] {
    std::vector<GridColumn> columns(
        grid.columns.begin(),
        grid.columns.begin() + static_cast<std::ptrdiff_t>(std::min(count, grid.columns.size())));
    columns.resize(count);
    std::vector<bool> retyped(count, false);
    for (std::size_t c = 0; c < count; ++c) {
      GridColumn& column = columns[c];
      const auto type = static_cast<ColumnType>(types[c]);
      // Cells of a column whose type changes start empty.
      if (c >= grid.columns.size() || column.type != type) {
        column = GridColumn{};
        column.type = type;
        retyped[c] = c < grid.columns.size();
      }
      if (c < widths.size() && widths[c] > 0) column.width = widths[c];
    }
    reshape(grid, count, grid.rows);
    grid.columns = std::move(columns);
    for (std::size_t c = 0; c < count; ++c) {
      if (!retyped[c]) continue;
      for (int r = 1; r <= grid.rows; ++r) grid.cell(static_cast<int>(c) + 1, r) = GridCell{};
    }
  });
}

int set_rows(Grid& grid, int rows) {
  if (rows < 0 || rows > grid.max_rows) return error::kGridRowCount;
  return allocating(error::kGridSize, [&] { reshape(grid, grid.columns.size(), rows); });
}

int set_max_rows(Grid& grid, int max_rows) {
  if (max_rows > kGridMaxRows) return error::kGridSize;
  if (max_rows < 0 || max_rows < grid.rows) return error::kGridRowCount;
  grid.max_rows = max_rows;
  return 0;
}

int set_format(Grid& grid, int column, std::string_view format) {
  if (column < 1 || column > grid.column_count()) return error::kCellOutOfRange;
  GridColumn& target = grid.column(column);
  if (!is_floating(target.type)) return error::kGridColumnType;
  format = trim_trailing(format);
  if (format.empty()) {
    target.format.clear();
    target.program.reset();
    return 0;
  }
  auto program = std::make_shared<FormatProgram>();
  if (format.size() > kGridFormatLength || !parse_format(format, *program)) return error::kNumberToText;
  // The format must write a value of the column's kind into one display text.
  std::array<char, 256> trial{};
  const FormatValue value = target.type == ColumnType::Real ? FormatValue::of(1.0F) : FormatValue::of(1.0);
  if (write_formatted(*program, std::span(&value, 1), trial) != WriteStatus::Ok) return error::kNumberToText;
  target.format.assign(format);
  target.program = std::move(program);
  return 0;
}

std::string_view display_format(const GridColumn& column) {
  if (!column.format.empty()) return column.format;
  return column.type == ColumnType::Real ? kDefaultRealFormat : kDefaultDoubleFormat;
}

int put_column_title(Grid& grid, int column, std::string_view title) {
  if (column < 0 || column > grid.column_count()) return error::kCellOutOfRange;
  assign_text(column == 0 ? grid.corner_title : grid.column(column).title, title);
  return 0;
}

int put_row_title(Grid& grid, int row, std::string_view title) {
  if (row < 1 || row > grid.rows) return error::kCellOutOfRange;
  assign_text(grid.row_title_texts[static_cast<std::size_t>(row - 1)], title);
  return 0;
}

std::optional<std::string_view> column_title(const Grid& grid, int column) {
  if (column < 0 || column > grid.column_count()) return std::nullopt;
  return column == 0 ? std::string_view(grid.corner_title) : std::string_view(grid.column(column).title);
}

std::optional<std::string_view> row_title(const Grid& grid, int row) {
  if (row < 1 || row > grid.rows) return std::nullopt;
  return grid.row_title_texts[static_cast<std::size_t>(row - 1)];
}

int put_text(Grid& grid, int column, int row, std::string_view text) {
  if (const int code = check_cell(grid, column, row)) return code;
  if (grid.column(column).type != ColumnType::Text) return error::kGridColumnType;
  GridCell& cell = grid.cell(column, row);
  cell.text.assign(stored_text(text));
  const int case_setting = grid.column(column).case_setting;
  if (case_setting == kCaseUpper || case_setting == kCaseLower) {
    for (char& c : cell.text) {
      if (case_setting == kCaseUpper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (case_setting == kCaseLower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return 0;
}

bool in_range(const GridColumn& column, double value) {
  if (column.low && value < *column.low) return false;
  if (column.high && value > *column.high) return false;
  return true;
}

std::string_view format_value_in_place(const GridColumn& column, double value, std::span<char> out) {
  FormatValue item;
  const FormatProgram* program = &integer_program();
  if (column.type == ColumnType::Integer) {
    item = FormatValue::of(static_cast<std::int32_t>(value));
  } else {
    program = &program_of(column);
    item =
        column.type == ColumnType::Real ? FormatValue::of(static_cast<float>(value)) : FormatValue::of(value);
  }
  // A format of one descriptor writes into a record of the descriptor's width: the
  // blanks after it would only be stripped again.
  std::size_t record = out.size();
  const FormatItem& first = program->items[0];
  if (program->count == 1 && first.repeat == 1 && first.w > 0 &&
      static_cast<std::size_t>(first.w) <= out.size() &&
      write_single_fast(first, item, out.first(static_cast<std::size_t>(first.w))) != FastWrite::Declined) {
    record = static_cast<std::size_t>(first.w);
  } else if (write_formatted(*program, std::span(&item, 1), out) != WriteStatus::Ok) {
    // Formats are checked when set; a value the record cannot hold shows asterisks.
    const std::size_t n = std::min<std::size_t>(out.size(), 10);
    std::fill_n(out.begin(), n, '*');
    return {out.data(), n};
  }
  const std::span<char> text = without_blanks(out, record);
  const TextSettings& settings = text_settings();
  if (column.type != ColumnType::Integer && settings.locale_separator) {
    std::replace(text.begin(), text.end(), '.', settings.decimal_separator);
  }
  return {text.data(), text.size()};
}

std::size_t format_value(const GridColumn& column, double value, std::span<char> out) {
  const std::string_view text = format_value_in_place(column, value, out);
  std::memmove(out.data(), text.data(), text.size());
  return text.size();
}

int put_number(Grid& grid, int column, int row, double value) {
  if (const int code = check_cell(grid, column, row)) return code;
  const GridColumn& target = grid.column(column);
  if (!is_numeric(target.type)) return error::kGridColumnType;
  if (target.type == ColumnType::Integer) {
    if (!(value >= -2147483648.0 && value <= 2147483647.0)) return error::kFieldValueOutOfRange;
    value = std::trunc(value);
  }
  if (target.type == ColumnType::Real) value = static_cast<double>(static_cast<float>(value));
  if (!in_range(target, value)) return error::kFieldValueOutOfRange;
  std::array<char, 256> buffer;
  const std::string_view text = format_value_in_place(target, value, buffer);
  GridCell& cell = grid.cell(column, row);
  cell.text.assign(text);
  cell.value = value;
  cell.defined = true;
  return 0;
}

int put_check(Grid& grid, int column, int row, int state) {
  if (const int code = check_cell(grid, column, row)) return code;
  if (grid.column(column).type != ColumnType::CheckBox) return error::kGridColumnType;
  grid.cell(column, row).check = state != 0 ? 1 : 0;
  return 0;
}

int put_option(Grid& grid, int column, int row, int option) {
  if (const int code = check_cell(grid, column, row)) return code;
  const GridColumn& target = grid.column(column);
  if (target.type != ColumnType::OptionMenu) return error::kGridColumnType;
  if (option < 0 || option > static_cast<int>(target.options.size())) return error::kOptionOutOfRange;
  grid.cell(column, row).option = option;
  return 0;
}

int put_option_text(Grid& grid, int column, int row, std::string_view text) {
  if (const int code = check_cell(grid, column, row)) return code;
  const GridColumn& target = grid.column(column);
  if (target.type != ColumnType::OptionMenu) return error::kGridColumnType;
  text = trim_trailing(text);
  GridCell& cell = grid.cell(column, row);
  cell.option = 0;
  if (text.empty()) return 0;
  for (std::size_t n = 0; n < target.options.size(); ++n) {
    if (trim_trailing(target.options[n]) == text) {
      cell.option = static_cast<int>(n) + 1;
      return 0;
    }
  }
  return error::kGridOptionMatch;
}

int clear_cell(Grid& grid, int column, int row) {
  if (const int code = check_cell(grid, column, row)) return code;
  GridCell& cell = grid.cell(column, row);
  cell.text.clear();
  cell.value = 0.0;
  cell.defined = false;
  cell.check = 0;
  cell.option = 0;
  return 0;
}

void clear_row(Grid& grid, int row, bool title) {
  for (int c = 1; c <= grid.column_count(); ++c) clear_cell(grid, c, row);
  if (title) grid.row_title_texts[static_cast<std::size_t>(row - 1)].clear();
}

std::string_view option_text(const GridColumn& column, const GridCell& cell) {
  if (cell.option < 1 || cell.option > static_cast<int>(column.options.size())) return {};
  return column.options[static_cast<std::size_t>(cell.option - 1)];
}

GridRange clamp_range(const Grid& grid, std::optional<int> first_column, std::optional<int> last_column,
                      std::optional<int> first_row, std::optional<int> last_row) {
  GridRange range;
  range.first_column = std::max(1, first_column.value_or(1));
  range.last_column = std::min(grid.column_count(), last_column.value_or(grid.column_count()));
  range.first_row = std::max(1, first_row.value_or(1));
  range.last_row = std::min(grid.rows, last_row.value_or(grid.rows));
  return range;
}

}  // namespace quill
