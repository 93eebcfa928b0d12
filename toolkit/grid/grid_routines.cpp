// The public routines that set up a grid and read and write its cells.
#include <algorithm>
#include <cmath>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"

namespace quill {
namespace {

enum class Change { None, Repaint };

// Finds the grid of field, runs op on it and reports the code op returns; an op that
// cannot get its memory reports 1018 and must leave the grid as it was. A change that
// succeeded repaints the grid.
template <typename Op>
void with_grid(int field, const char* routine, Change change, Op&& op) {
  const GridTarget target = find_grid(field);
  if (target.error != 0) {
    IErrorReport(target.error, routine);
    return;
  }
  const int code = allocating(error::kGridSize, [&] { return op(*target.grid); });
  if (code != 0) {
    IErrorReport(code, routine);
  } else if (change == Change::Repaint) {
    repaint_grid(target);
  }
}

// Fills result with text, blank-padded; 1023 when text does not fit.
int put_result(std::span<char> result, std::string_view text) {
  const std::size_t n = std::min(result.size(), text.size());
  std::copy_n(text.begin(), n, result.begin());
  std::fill(result.begin() + static_cast<std::ptrdiff_t>(n), result.end(), ' ');
  return n < text.size() ? error::kVariableTooSmall : 0;
}

int check_column(const Grid& grid, int column) {
  return column >= 1 && column <= grid.column_count() ? 0 : error::kCellOutOfRange;
}

// Reads the value of a numeric cell; an empty one gives the undefined value and 1010.
int get_number(const Grid& grid, int column, int row, double& value, double undefined) {
  value = undefined;
  if (!grid.valid_cell(column, row)) return error::kCellOutOfRange;
  if (!is_numeric(grid.column(column).type)) return error::kGridColumnType;
  const GridCell& cell = grid.cell(column, row);
  if (!cell.defined) return error::kFieldValueUndefined;
  value = cell.value;
  return 0;
}

int set_range(Grid& grid, int column, std::optional<double> low, std::optional<double> high, bool integer) {
  if (const int code = check_column(grid, column)) return code;
  GridColumn& target = grid.column(column);
  if (!is_numeric(target.type) || (integer != (target.type == ColumnType::Integer)))
    return error::kGridColumnType;
  if (low && high && *low > *high) return error::kFieldValueOutOfRange;
  target.low = low;
  target.high = high;
  return 0;
}

}  // namespace
}  // namespace quill

using quill::Change;
using quill::Grid;

void WGridColumns(int field, int count, std::span<const int> types, std::span<const int> widths) {
  quill::with_grid(field, "WGridColumns", Change::Repaint, [&](Grid& grid) {
    if (count < 0 || static_cast<std::size_t>(count) > types.size()) return quill::error::kOptionOutOfRange;
    return quill::set_columns(grid, types.first(static_cast<std::size_t>(count)), widths);
  });
}

void WGridRows(int field, int rows) {
  quill::with_grid(field, "WGridRows", Change::Repaint,
                   [&](Grid& grid) { return quill::set_rows(grid, rows); });
}

void WGridRowsMax(int field, int max_rows) {
  quill::with_grid(field, "WGridRowsMax", Change::None,
                   [&](Grid& grid) { return quill::set_max_rows(grid, max_rows); });
}

// Read back what WGridColumns, WGridRows and WGridRowsMax set.
void WGridGetColumns(int field, int& count) {
  quill::with_grid(field, "WGridGetColumns", Change::None, [&](Grid& grid) {
    count = grid.column_count();
    return 0;
  });
}

void WGridGetColumnType(int field, int column, int& type) {
  quill::with_grid(field, "WGridGetColumnType", Change::None, [&](Grid& grid) {
    if (const int code = quill::check_column(grid, column)) return code;
    type = static_cast<int>(grid.column(column).type);
    return 0;
  });
}

void WGridGetRows(int field, int& rows) {
  quill::with_grid(field, "WGridGetRows", Change::None, [&](Grid& grid) {
    rows = grid.rows;
    return 0;
  });
}

void WGridGetRowsMax(int field, int& max_rows) {
  quill::with_grid(field, "WGridGetRowsMax", Change::None, [&](Grid& grid) {
    max_rows = grid.max_rows;
    return 0;
  });
}

void WGridTitles(int field, int column_titles, int row_titles) {
  quill::with_grid(field, "WGridTitles", Change::Repaint, [&](Grid& grid) {
    grid.column_titles = column_titles != 0;
    grid.row_titles = row_titles != 0;
    return 0;
  });
}

void WGridFormat(int field, int column, std::string_view format) {
  quill::with_grid(field, "WGridFormat", Change::None,
                   [&](Grid& grid) { return quill::set_format(grid, column, format); });
}

void WGridCase(int field, int column, int case_setting) {
  quill::with_grid(field, "WGridCase", Change::None, [&](Grid& grid) {
    if (const int code = quill::check_column(grid, column)) return code;
    grid.column(column).case_setting = case_setting;
    return 0;
  });
}

void WGridJustify(int field, int column, int justification) {
  quill::with_grid(field, "WGridJustify", Change::Repaint, [&](Grid& grid) {
    if (const int code = quill::check_column(grid, column)) return code;
    if (justification < quill::kJustifyLeft || justification > quill::kJustifyRight)
      return quill::error::kOptionOutOfRange;
    grid.column(column).justification = justification;
    return 0;
  });
}

void WGridRangeInteger(int field, int column, std::optional<int> low, std::optional<int> high) {
  quill::with_grid(field, "WGridRangeInteger", Change::None, [&](Grid& grid) {
    const auto to_double = [](std::optional<int> v) { return v ? std::optional<double>(*v) : std::nullopt; };
    return quill::set_range(grid, column, to_double(low), to_double(high), true);
  });
}

void WGridRangeReal(int field, int column, std::optional<double> low, std::optional<double> high) {
  quill::with_grid(field, "WGridRangeReal", Change::None,
                   [&](Grid& grid) { return quill::set_range(grid, column, low, high, false); });
}

void WGridPutOptions(int field, int column, std::span<const std::string_view> options, int count) {
  quill::with_grid(field, "WGridPutOptions", Change::Repaint, [&](Grid& grid) {
    if (const int code = quill::check_column(grid, column)) return code;
    quill::GridColumn& target = grid.column(column);
    if (target.type != quill::ColumnType::OptionMenu) return quill::error::kGridColumnType;
    if (count < 0 || static_cast<std::size_t>(count) > options.size()) return quill::error::kOptionOutOfRange;
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (const std::string_view option : options.first(static_cast<std::size_t>(count))) {
      texts.emplace_back(quill::trim_trailing(option));
    }
    target.options = std::move(texts);
    for (int row = 1; row <= grid.rows; ++row) {
      quill::GridCell& cell = grid.cell(column, row);
      if (cell.option > count) cell.option = 0;
    }
    return 0;
  });
}

void WGridColumnTitle(int field, int column, std::string_view title) {
  quill::with_grid(field, "WGridColumnTitle", Change::Repaint,
                   [&](Grid& grid) { return quill::put_column_title(grid, column, title); });
}

void WGridRowTitle(int field, int row, std::string_view title) {
  quill::with_grid(field, "WGridRowTitle", Change::Repaint,
                   [&](Grid& grid) { return quill::put_row_title(grid, row, title); });
}

void WGridGetColumnTitle(int field, int column, std::span<char> title) {
  std::fill(title.begin(), title.end(), ' ');
  quill::with_grid(field, "WGridGetColumnTitle", Change::None, [&](Grid& grid) {
    const auto text = quill::column_title(grid, column);
    return text ? quill::put_result(title, *text) : quill::error::kCellOutOfRange;
  });
}

void WGridGetRowTitle(int field, int row, std::span<char> title) {
  std::fill(title.begin(), title.end(), ' ');
  quill::with_grid(field, "WGridGetRowTitle", Change::None, [&](Grid& grid) {
    const auto text = quill::row_title(grid, row);
    return text ? quill::put_result(title, *text) : quill::error::kCellOutOfRange;
  });
}

void WGridPutCellString(int field, int column, int row, std::string_view text) {
  quill::with_grid(field, "WGridPutCellString", Change::Repaint, [&](Grid& grid) {
    const int code = quill::put_text(grid, column, row, text);
    return code == 0 && quill::trim_trailing(text).size() > quill::kGridTextLength
               ? quill::error::kVariableTooSmall
               : code;
  });
}

void WGridPutCellInteger(int field, int column, int row, int value) {
  quill::with_grid(field, "WGridPutCellInteger", Change::Repaint, [&](Grid& grid) {
    if (grid.valid_cell(column, row) && grid.column(column).type != quill::ColumnType::Integer)
      return quill::error::kGridColumnType;
    return quill::put_number(grid, column, row, value);
  });
}

void WGridPutCellReal(int field, int column, int row, float value) {
  quill::with_grid(field, "WGridPutCellReal", Change::Repaint, [&](Grid& grid) {
    if (grid.valid_cell(column, row) && !quill::is_floating(grid.column(column).type))
      return quill::error::kGridColumnType;
    return quill::put_number(grid, column, row, static_cast<double>(value));
  });
}

void WGridPutCellDouble(int field, int column, int row, double value) {
  quill::with_grid(field, "WGridPutCellDouble", Change::Repaint, [&](Grid& grid) {
    if (grid.valid_cell(column, row) && !quill::is_floating(grid.column(column).type))
      return quill::error::kGridColumnType;
    return quill::put_number(grid, column, row, value);
  });
}

void WGridPutCellCheckBox(int field, int column, int row, int state) {
  quill::with_grid(field, "WGridPutCellCheckBox", Change::Repaint,
                   [&](Grid& grid) { return quill::put_check(grid, column, row, state); });
}

void WGridPutCellOption(int field, int column, int row, int option) {
  quill::with_grid(field, "WGridPutCellOption", Change::Repaint,
                   [&](Grid& grid) { return quill::put_option(grid, column, row, option); });
}

void WGridGetCellString(int field, int column, int row, std::span<char> text) {
  std::fill(text.begin(), text.end(), ' ');
  quill::with_grid(field, "WGridGetCellString", Change::None, [&](Grid& grid) {
    if (!grid.valid_cell(column, row)) return quill::error::kCellOutOfRange;
    const quill::GridColumn& source = grid.column(column);
    const quill::GridCell& cell = grid.cell(column, row);
    if (source.type == quill::ColumnType::OptionMenu) {
      return quill::put_result(text, quill::option_text(source, cell));
    }
    if (source.type != quill::ColumnType::Text && !quill::is_numeric(source.type))
      return quill::error::kGridColumnType;
    return quill::put_result(text, cell.text);
  });
}

void WGridGetCellInteger(int field, int column, int row, int& value) {
  value = quill::kUndefinedInteger;
  quill::with_grid(field, "WGridGetCellInteger", Change::None, [&](Grid& grid) {
    double number = 0.0;
    const int code = quill::get_number(grid, column, row, number, quill::kUndefinedInteger);
    value = std::isnan(number)
                ? quill::kUndefinedInteger
                : static_cast<int>(std::clamp(std::round(number), -2147483648.0, 2147483647.0));
    return code;
  });
}

void WGridGetCellReal(int field, int column, int row, float& value) {
  value = static_cast<float>(quill::kUndefinedReal);
  quill::with_grid(field, "WGridGetCellReal", Change::None, [&](Grid& grid) {
    double number = 0.0;
    const int code = quill::get_number(grid, column, row, number, quill::kUndefinedReal);
    value = static_cast<float>(number);
    return code;
  });
}

void WGridGetCellDouble(int field, int column, int row, double& value) {
  value = quill::kUndefinedReal;
  quill::with_grid(field, "WGridGetCellDouble", Change::None, [&](Grid& grid) {
    return quill::get_number(grid, column, row, value, quill::kUndefinedReal);
  });
}

void WGridGetCellCheckBox(int field, int column, int row, int& state) {
  state = 0;
  quill::with_grid(field, "WGridGetCellCheckBox", Change::None, [&](Grid& grid) {
    if (!grid.valid_cell(column, row)) return quill::error::kCellOutOfRange;
    if (grid.column(column).type != quill::ColumnType::CheckBox) return quill::error::kGridColumnType;
    state = grid.cell(column, row).check;
    return 0;
  });
}

void WGridGetCellOption(int field, int column, int row, int& option) {
  option = 0;
  quill::with_grid(field, "WGridGetCellOption", Change::None, [&](Grid& grid) {
    if (!grid.valid_cell(column, row)) return quill::error::kCellOutOfRange;
    if (grid.column(column).type != quill::ColumnType::OptionMenu) return quill::error::kGridColumnType;
    option = grid.cell(column, row).option;
    return 0;
  });
}

void WGridClearCell(int field, int column, int row) {
  quill::with_grid(field, "WGridClearCell", Change::Repaint,
                   [&](Grid& grid) { return quill::clear_cell(grid, column, row); });
}

void WGridColourCell(int field, int column, int row, int text_colour, int background_colour) {
  quill::with_grid(field, "WGridColourCell", Change::Repaint, [&](Grid& grid) {
    if (!grid.valid_cell(column, row)) return quill::error::kCellOutOfRange;
    const auto colour = [](int value) { return value < 0 ? quill::kNoColour : value & 0xFFFFFF; };
    quill::GridCell& cell = grid.cell(column, row);
    cell.text_colour = colour(text_colour);
    cell.background_colour = colour(background_colour);
    return 0;
  });
}

void WGridGetCellColour(int field, int column, int row, int& text_colour, int& background_colour) {
  text_colour = quill::kNoColour;
  background_colour = quill::kNoColour;
  quill::with_grid(field, "WGridGetCellColour", Change::None, [&](Grid& grid) {
    if (!grid.valid_cell(column, row)) return quill::error::kCellOutOfRange;
    text_colour = grid.cell(column, row).text_colour;
    background_colour = grid.cell(column, row).background_colour;
    return 0;
  });
}

void WGridSort(int field, int column, int order) {
  quill::with_grid(field, "WGridSort", Change::Repaint,
                   [&](Grid& grid) { return quill::sort_rows(grid, column, order); });
}

void WGridFind(int field, std::string_view text, int& column, int& row) {
  quill::with_grid(field, "WGridFind", Change::Repaint, [&](Grid& grid) {
    int c = column;
    int r = row;
    if (!quill::find_text(grid, text, c, r)) return quill::error::kNoSubstring;
    column = c;
    row = r;
    return 0;
  });
}

void WGridGoTo(int field, int column, int row) {
  quill::with_grid(field, "WGridGoTo", Change::Repaint, [&](Grid& grid) {
    if (!grid.valid_cell(column, row)) return quill::error::kCellOutOfRange;
    grid.current_column = column;
    grid.current_row = row;
    return 0;
  });
}

void WGridGetCurrentCell(int field, int& column, int& row) {
  column = 0;
  row = 0;
  quill::with_grid(field, "WGridGetCurrentCell", Change::None, [&](Grid& grid) {
    column = grid.current_column;
    row = grid.current_row;
    return 0;
  });
}
