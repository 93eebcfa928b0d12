// The grid model: typed columns, cells, titles and the row count, with the operations
// the public routines and the grid files work through. Portable; no window system.
// Operations return 0 or a toolkit error code; the public routines report it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/platform.hpp"
#include "grid/cell_text.hpp"
#include "text/format.hpp"

namespace quill {

enum class ColumnType : int {
  Text = 4,
  Integer = 5,
  Real = 6,
  Real8 = 7,
  Kind8 = 8,  // a column kind the grid files carry as an empty field
  CheckBox = 9,
  Kind10 = 10,  // likewise
  OptionMenu = 11,
};

bool is_column_type(int code);
bool is_numeric(ColumnType type);
bool is_floating(ColumnType type);

inline constexpr int kGridMaxColumns = 1000;
inline constexpr int kGridMaxRows = 10'000'000;
inline constexpr std::size_t kGridFormatLength = 50;
// Longest cell text or title: doubled quotes and the enclosing pair still fit one
// field of a grid file.
inline constexpr std::size_t kGridTextLength = 32000;

inline constexpr int kCaseUpper = 1;
inline constexpr int kCaseLower = 2;
inline constexpr int kJustifyLeft = 0;
inline constexpr int kJustifyCentre = 1;
inline constexpr int kJustifyRight = 2;
inline constexpr int kNoColour = -1;

// Undefined values read from an empty numeric cell.
inline constexpr int kUndefinedInteger = -999;
inline constexpr double kUndefinedReal = -999.0;

struct GridColumn {
  ColumnType type = ColumnType::Text;
  int width = 10;
  std::string format;  // display format of real and double columns, at most 50 characters
  std::shared_ptr<const FormatProgram> program;  // format, parsed once
  int case_setting = 0;                          // 1 upper, 2 lower, others none
  int justification = kJustifyLeft;
  std::optional<double> low;  // range of numeric columns; absent bounds are open
  std::optional<double> high;
  std::vector<std::string> options;  // option menu texts, option n at n-1
  std::string title;
};

// Ordered to pack into 40 bytes: a grid of a million rows holds ten million of them.
struct GridCell {
  CellText text;  // displayed text; trailing blanks never stored
  double value = 0.0;
  int option = 0;               // option menu cells: selected option (1-based), 0 none
  int text_colour = kNoColour;  // 0x00BBGGRR or -1
  int background_colour = kNoColour;
  bool defined = false;    // numeric cells: holds a value
  std::uint8_t check = 0;  // check box cells: 1 checked
};

// A grid of a million rows is 400 MB of cells.
using GridCells = std::vector<GridCell, platform::TableAllocator<GridCell>>;

struct Grid {
  std::vector<GridColumn> columns;  // column c at c - 1
  int rows = 0;
  int max_rows = 1000;
  bool column_titles = false;
  bool row_titles = false;
  std::string corner_title;
  std::vector<std::string> row_title_texts;  // one per row
  GridCells cells;                           // rows x columns, row by row in stored order
  // Row r's cells are stored as row row_order[r - 1]; empty while rows are stored in
  // their order. A sort only reorders this; a change of shape puts the rows in order first.
  std::vector<int> row_order;
  std::uintptr_t setup_owner = 0;  // the control whose dialog data set the grid up
  int current_column = 1;          // the cell a person works on, kept inside the grid
  int current_row = 1;
  int repaints = 0;
  // What a person may do besides editing cells (WDialogFieldOptions 1 and 2): add rows
  // by moving past the last one, and reorder the rows.
  bool user_adds_rows = false;
  bool sort_locked = false;

  int column_count() const { return static_cast<int>(columns.size()); }
  bool valid_cell(int column, int row) const {
    return column >= 1 && column <= column_count() && row >= 1 && row <= rows;
  }
  // Where row (1-based) is stored, counted from 0.
  std::size_t stored_row(int row) const {
    return static_cast<std::size_t>(row_order.empty() ? row : row_order[static_cast<std::size_t>(row - 1)]) -
           1;
  }
  // Callers check valid_cell first.
  GridCell& cell(int column, int row) {
    return cells[stored_row(row) * columns.size() + static_cast<std::size_t>(column - 1)];
  }
  const GridCell& cell(int column, int row) const {
    return cells[stored_row(row) * columns.size() + static_cast<std::size_t>(column - 1)];
  }
  const GridColumn& column(int c) const { return columns[static_cast<std::size_t>(c - 1)]; }
  GridColumn& column(int c) { return columns[static_cast<std::size_t>(c - 1)]; }
};

// Text without its trailing blanks.
inline std::string_view trim_trailing(std::string_view text) {
  std::size_t size = text.size();
  while (size > 0 && text[size - 1] == ' ') --size;
  return text.substr(0, size);
}

// Structure. Cells of columns and rows that remain keep their contents.
int set_columns(Grid& grid, std::span<const int> types, std::span<const int> widths);
int set_rows(Grid& grid, int rows);
int set_max_rows(Grid& grid, int max_rows);
int set_format(Grid& grid, int column, std::string_view format);
// The format a real or double column displays with: its own or the default.
std::string_view display_format(const GridColumn& column);

// Titles: column 0 is the corner. Texts lose their trailing blanks.
int put_column_title(Grid& grid, int column, std::string_view title);
int put_row_title(Grid& grid, int row, std::string_view title);
// nullopt for a column or row outside the grid.
std::optional<std::string_view> column_title(const Grid& grid, int column);
std::optional<std::string_view> row_title(const Grid& grid, int row);

// Cells. The cell functions check the coordinates (1017) and the column type (1111).
int put_text(Grid& grid, int column, int row, std::string_view text);
// Stores value in a numeric column with its display text; a value outside the column's
// range is not stored (1009).
int put_number(Grid& grid, int column, int row, double value);
int put_check(Grid& grid, int column, int row, int state);
int put_option(Grid& grid, int column, int row, int option);
// Selects the option whose text equals text (trailing blanks ignored); an empty text
// selects none; no match selects none and gives 1055.
int put_option_text(Grid& grid, int column, int row, std::string_view text);
int clear_cell(Grid& grid, int column, int row);
// Clears every cell of a row and, when asked, its title.
void clear_row(Grid& grid, int row, bool title);

// Stores the rows in their order (after a sort), so that cells[] runs row by row.
void store_rows_in_order(Grid& grid);
// Orders the rows (their cells and titles together) by column: order 0 ascending, 1
// descending. Texts compare without regard to ASCII case, numbers by value, check boxes
// unchecked first, option menus by option number; empty cells go last either way. Rows
// that compare equal keep their order.
int sort_rows(Grid& grid, int column, int order);
// The next cell after (column, row), row by row and wrapping, whose displayed text (an
// option's text for option menus) contains text, ASCII case ignored; false when none.
bool find_text(const Grid& grid, std::string_view text, int& column, int& row);

// The display text of value in column (integers as integers, reals and doubles with
// the column's display format), left-justified, into out; returns its length.
std::size_t format_value(const GridColumn& column, double value, std::span<char> out);
// The same text where it was written in out (no move to the front).
std::string_view format_value_in_place(const GridColumn& column, double value, std::span<char> out);
// Text of the selected option of a cell, empty when none.
std::string_view option_text(const GridColumn& column, const GridCell& cell);
bool in_range(const GridColumn& column, double value);

// Columns and rows first..last of a grid file: absent first ones are 1, absent last ones
// C and R, and each end is clamped into the grid. Empty when first > last.
struct GridRange {
  int first_column = 1;
  int last_column = 0;
  int first_row = 1;
  int last_row = 0;
};
GridRange clamp_range(const Grid& grid, std::optional<int> first_column, std::optional<int> last_column,
                      std::optional<int> first_row, std::optional<int> last_row);

}  // namespace quill
