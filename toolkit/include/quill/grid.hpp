// Grids: tables of typed cells in grid fields of dialogs and in grid windows, with CSV
// files and HTML export. field names a grid field of the current dialog; 0 names the grid
// of the current grid window. Columns and rows count from 1; column title 0 is the corner.
// A change or a file too large for memory reports 1018 and leaves the grid as it was.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// Column types: 4 text, 5 integer, 6 real, 7 double, 9 check box, 11 option menu
// (8 and 10 are kinds the grid files leave empty). Redefining keeps the cells of the
// columns whose type stays; widths (optional) are in characters. count beyond types:
// 1011; an unknown type: 1111; too many columns: 1018.
void WGridColumns(int field, int count, std::span<const int> types, std::span<const int> widths = {});
// Rows in use, 0 to the maximum (else 1113); rows beyond it are dropped, new rows start
// empty.
void WGridRows(int field, int rows);
// The most rows the grid may hold (1000 for a new grid). Below 0 or below the rows in
// use: 1113; beyond the grid's limit: 1018.
void WGridRowsMax(int field, int max_rows);
// The grid's column count, a column's type (1017 outside the grid), the rows in use
// and the maximum.
void WGridGetColumns(int field, int& count);
void WGridGetColumnType(int field, int column, int& type);
void WGridGetRows(int field, int& rows);
void WGridGetRowsMax(int field, int& max_rows);
// Whether the grid shows column titles and row titles (0 no, 1 yes).
void WGridTitles(int field, int column_titles, int row_titles);
// Display format of a real or double column (for example "(F10.2)"), at most 50 characters.
void WGridFormat(int field, int column, std::string_view format);
// Case of a text column: 1 upper, 2 lower, other values none.
void WGridCase(int field, int column, int case_setting);
// Justification: 0 left, 1 centre, 2 right.
void WGridJustify(int field, int column, int justification);
// Range of a numeric column; an absent bound is open.
void WGridRangeInteger(int field, int column, std::optional<int> low = std::nullopt,
                       std::optional<int> high = std::nullopt);
void WGridRangeReal(int field, int column, std::optional<double> low = std::nullopt,
                    std::optional<double> high = std::nullopt);
// The first count options of an option menu column; selections beyond them are cleared.
void WGridPutOptions(int field, int column, std::span<const std::string_view> options, int count);

// Titles of a column (0: the corner) and of a row, set and read back blank-padded (1023
// when cut to fit). A column or row outside the grid: 1017.
void WGridColumnTitle(int field, int column, std::string_view title);
void WGridRowTitle(int field, int row, std::string_view title);
void WGridGetColumnTitle(int field, int column, std::span<char> title);
void WGridGetRowTitle(int field, int row, std::span<char> title);

// Cells: a cell outside the grid reports 1017, a routine that does not suit the
// column's type 1111.

// Puts a value into a cell; a value outside the column's range is not stored (1009).
void WGridPutCellString(int field, int column, int row, std::string_view text);
void WGridPutCellInteger(int field, int column, int row, int value);
void WGridPutCellReal(int field, int column, int row, float value);
void WGridPutCellDouble(int field, int column, int row, double value);
void WGridPutCellCheckBox(int field, int column, int row, int state);
// option: 1-based number in the column's option list, 0 none.
void WGridPutCellOption(int field, int column, int row, int option);
// The displayed text of a text or numeric cell, or the selected option's text.
void WGridGetCellString(int field, int column, int row, std::span<char> text);
// A numeric cell's value; an empty cell gives -999 (-999.0) and reports 1010.
void WGridGetCellInteger(int field, int column, int row, int& value);
void WGridGetCellReal(int field, int column, int row, float& value);
void WGridGetCellDouble(int field, int column, int row, double& value);
// A check box cell's state (0, 1) and an option cell's option (1-based, 0 none).
void WGridGetCellCheckBox(int field, int column, int row, int& state);
void WGridGetCellOption(int field, int column, int row, int& option);
// Empties a cell (a check box cell becomes unchecked, an option cell has no option).
void WGridClearCell(int field, int column, int row);
// Colours 0x00BBGGRR (red in the low byte); -1 for the default.
void WGridColourCell(int field, int column, int row, int text_colour, int background_colour);
void WGridGetCellColour(int field, int column, int row, int& text_colour, int& background_colour);

// Orders the rows (cells and row titles together) by column: order 0 ascending, 1
// descending; texts without regard to case, numbers by value, empty cells last.
void WGridSort(int field, int column, int order);
// Finds the next cell after column, row (row by row, wrapping; 0, 0 starts at the first
// cell) whose shown text contains text, case ignored; column and row receive it. When
// no cell matches they are left as they were and 10 is reported.
void WGridFind(int field, std::string_view text, int& column, int& row);
// The cell a person works on: moved by program (the grid scrolls to it) and read back.
void WGridGoTo(int field, int column, int row);
void WGridGetCurrentCell(int field, int& column, int& row);

// Writes columns first..last of rows first..last (absent: the grid's first or last;
// cut to the grid) as comma-separated lines. Options, the sum of: 1 no enclosing quotes
// (a field that needs them keeps them), 2 titles, 4 an empty numeric cell as the
// undefined value. Errors: 1 the file cannot be created, 2 a write failed.
void WGridSave(int field, std::string_view file_name, std::optional<int> first_column = std::nullopt,
               std::optional<int> last_column = std::nullopt, std::optional<int> first_row = std::nullopt,
               std::optional<int> last_row = std::nullopt, std::optional<int> options = std::nullopt);
// Reads a comma-separated file into the grid from row 1. grow 1 lets the rows grow up to
// the maximum; options 2: the file begins with titles. Errors: 1 the file cannot be
// opened, 2 a read failed (what was read stays), 1054 data beyond the grid, 1055 an
// option text that matches no option, 1018 a file too large for memory (grid unchanged).
void WGridLoad(int field, std::string_view file_name, std::optional<int> grow = std::nullopt,
               std::optional<int> options = std::nullopt);
// Writes the range (as for WGridSave) as an HTML table. Options, the sum of: 1 the table
// only, 2 centred, 4 check boxes as Y and N, 8 no cell colours. title: the page's title
// and a heading above the table; border: the table's border width (default 0);
// background: the page's colour 0xBBGGRR (not with option 1). Errors: 1 the file cannot
// be created, 2 a write failed.
void WGridSaveHTML(int field, std::string_view file_name, std::optional<int> first_column = std::nullopt,
                   std::optional<int> last_column = std::nullopt, std::optional<int> first_row = std::nullopt,
                   std::optional<int> last_row = std::nullopt, std::optional<int> options = std::nullopt,
                   std::optional<std::string_view> title = std::nullopt,
                   std::optional<int> border = std::nullopt, std::optional<int> background = std::nullopt);

// Prints the grid through the selected hardcopy driver (10 the Windows printer, or a file
// driver to file_name as IGrHardCopy takes it) in Courier: its cells in their colours and
// justification, cut to their column widths, with the titles the grid shows (column titles
// repeated on every page, row titles beside every row) and a header of title and "Page n
// of m". Rows go down as many pages as they need; columns wider than a page continue on
// further pages. A hardcopy in progress ends first; the drawing state is as before
// afterwards. Errors: those of finding the grid (1005, 1006) and of IGrHardCopy.
void WGridPrint(int field, std::string_view file_name = {}, std::string_view title = {});

// Turns the current toolkit window (the root window or a child window) into a grid
// window: a grid that covers its client area and follows its size, addressed as field 0
// by every grid routine, WDialogFieldOptions and WDialogClearField. Modes: 1 editable,
// 2 read-only (cells can be looked at, found and sorted, not changed), 0 gives the
// window back (the grid window and its grid go). Calling it on a grid window changes the
// mode and keeps the grid. A change made by the user posts EvFieldEdited with the window
// number and field 0 (detail1 = detail2 = 0). Commands of the window's menu, toolbars
// and accelerators go to the grid window first: the GridCmd* commands below are carried
// out by the grid, all others reach the application as EvCommand. Errors: 1052 an
// unknown mode, 1053 no toolkit window is open or the window holds a dialog, 1038 the
// window shows a bitmap, 1057 the root window while child windows lie inside it, 1051 a
// child window inside the root that has a menu.
void WGridWindow(int mode);

// A grid without any window, for a program that only reads, checks or writes grid files
// (also where there is no window system): mode 1 makes it (no columns, no rows, room for
// 1000 rows) or keeps the one there is, 0 frees it. While no grid window is current,
// field 0 names it. 1052 an unknown mode.
void WGridMemory(int mode);

// Command identifiers the grid carries out itself (menu items, toolbar buttons or
// accelerators of a grid window): the find prompt (also Ctrl+F in any grid), finding
// the last text again (F3), the go-to prompt (Ctrl+G), and sorting the rows by the
// current cell's column.
inline constexpr int GridCmdFind = 32401;
inline constexpr int GridCmdFindNext = 32402;
inline constexpr int GridCmdGoTo = 32403;
inline constexpr int GridCmdSortAscending = 32404;
inline constexpr int GridCmdSortDescending = 32405;
