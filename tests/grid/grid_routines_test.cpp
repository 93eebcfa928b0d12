// The grid routines: finding the grid, setting it up, and reading and writing cells.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/layer_registry.hpp"
#include "grid/grid_registry.hpp"
#include "grid_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"

namespace {

using grid_test::GridTest;
using grid_test::kField;

TEST_F(GridTest, FindsGridsByCurrentDialogAndGridWindow) {
  define({4}, 1);
  WGridPutCellString(kField, 1, 1, "dialog");
  EXPECT_EQ(take_error(), 0);

  WGridPutCellString(11, 1, 1, "x");  // not a grid field
  EXPECT_EQ(take_error(), 1006);
  WGridPutCellString(0, 1, 1, "x");  // no grid window is current
  EXPECT_EQ(take_error(), 1006);

  quill::attach_window_grid(3);
  quill::select_grid_window(3);
  WGridColumns(0, 1, std::array{4});
  WGridRows(0, 1);
  WGridPutCellString(0, 1, 1, "window");
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(cell_text(1, 1), "dialog");  // the dialog's grid is another grid

  quill::select_grid_dialog(std::nullopt);
  WGridPutCellString(kField, 1, 1, "x");
  EXPECT_EQ(take_error(), 1005);
  quill::select_grid_dialog(2);
  WGridPutCellString(kField, 1, 1, "x");  // dialog 2 has no field 10
  EXPECT_EQ(take_error(), 1006);

  quill::select_grid_dialog(1);
  quill::detach_dialog_grids(1);
  WGridPutCellString(kField, 1, 1, "x");
  EXPECT_EQ(take_error(), 1006);
  std::string text(6, ' ');
  WGridGetCellString(0, 1, 1, text);
  EXPECT_EQ(text, "window");
}

// A grid window that went away (its window closed, or the window layer no longer names it
// as current) leaves nothing a later routine could reach.
int current_window = -1;
std::optional<int> window_lookup() {
  return current_window >= 0 ? std::optional<int>(current_window) : std::nullopt;
}

TEST_F(GridTest, GridsThatLeaveTheRegistryAreNotReachedAgain) {
  quill::GridLayer windows;
  windows.name = "test windows";
  windows.current_window = &window_lookup;
  quill::register_layer(windows);
  quill::attach_window_grid(4);
  current_window = 4;
  WGridColumns(0, 1, std::array{4});
  WGridRows(0, 2);
  WGridPutCellString(0, 1, 2, "window four");
  EXPECT_EQ(take_error(), 0);
  current_window = -1;  // another window is current
  WGridPutCellString(0, 1, 1, "x");
  EXPECT_EQ(take_error(), 1006);
  current_window = 4;
  quill::detach_window_grid(4);
  WGridPutCellString(0, 1, 1, "x");
  EXPECT_EQ(take_error(), 1006);
  std::string text(4, '*');
  WGridGetCellString(0, 1, 1, text);
  EXPECT_EQ(take_error(), 1006);
  quill::unregister_layer<quill::GridLayer>("test windows");

  define({4}, 3);
  for (int i = 0; i < 50; ++i) quill::attach_dialog_grid(1, 100 + i);  // the map rebalances
  quill::detach_dialog_grids(1);
  WGridSave(kField, "unused.csv");
  EXPECT_EQ(take_error(), 1006);
  WGridSort(kField, 1, 0);
  EXPECT_EQ(take_error(), 1006);
  EXPECT_TRUE(quill::grid_registry().grids.empty());
}

TEST_F(GridTest, StoresEveryCellTypeAndReadsItBack) {
  define({4, 5, 6, 7, 9, 11, 8}, 2);
  WGridFormat(kField, 3, "(F8.2)");
  WGridFormat(kField, 4, "(E12.4)");
  const std::array<std::string_view, 3> options{"red", "green  ", "blue"};
  WGridPutOptions(kField, 6, options, 3);
  ASSERT_EQ(take_error(), 0);

  WGridPutCellString(kField, 1, 1, "text  ");
  WGridPutCellInteger(kField, 2, 1, -42);
  WGridPutCellReal(kField, 3, 1, 2.5F);
  WGridPutCellDouble(kField, 4, 1, 1234.56);
  WGridPutCellCheckBox(kField, 5, 1, 7);
  WGridPutCellOption(kField, 6, 1, 2);
  ASSERT_EQ(take_error(), 0);

  EXPECT_EQ(cell_text(1, 1), "text");
  EXPECT_EQ(cell_text(2, 1), "-42");
  EXPECT_EQ(cell_text(3, 1), "2.50");
  EXPECT_EQ(cell_text(4, 1), "0.1235E+04");
  EXPECT_EQ(cell_text(6, 1), "green");
  int integer = 0;
  float real = 0.0F;
  double real8 = 0.0;
  int state = 0;
  int option = 0;
  WGridGetCellInteger(kField, 2, 1, integer);
  WGridGetCellReal(kField, 3, 1, real);
  WGridGetCellDouble(kField, 4, 1, real8);
  WGridGetCellCheckBox(kField, 5, 1, state);
  WGridGetCellOption(kField, 6, 1, option);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(integer, -42);
  EXPECT_EQ(real, 2.5F);
  EXPECT_EQ(real8, 1234.56);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(option, 2);

  // Empty numeric cells give the undefined values and 1010.
  WGridGetCellInteger(kField, 2, 2, integer);
  EXPECT_EQ(integer, -999);
  EXPECT_EQ(take_error(), 1010);
  WGridGetCellDouble(kField, 4, 2, real8);
  EXPECT_EQ(real8, -999.0);
  EXPECT_EQ(take_error(), 1010);

  WGridClearCell(kField, 2, 1);
  WGridClearCell(kField, 5, 1);
  WGridClearCell(kField, 6, 1);
  WGridGetCellInteger(kField, 2, 1, integer);
  EXPECT_EQ(take_error(), 1010);
  WGridGetCellCheckBox(kField, 5, 1, state);
  WGridGetCellOption(kField, 6, 1, option);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(option, 0);
  EXPECT_EQ(cell_text(2, 1), "");
}

TEST_F(GridTest, ReportsBadRequestsAndLeavesTheCellAsItWas) {
  define({4, 5, 6, 11}, 2);
  WGridRangeInteger(kField, 2, 0, 100);
  WGridRangeReal(kField, 3, std::nullopt, 1.0);
  WGridPutCellInteger(kField, 2, 1, 50);
  WGridPutCellReal(kField, 3, 1, 0.5F);
  const std::array<std::string_view, 1> options{"only"};
  WGridPutOptions(kField, 4, options, 1);
  ASSERT_EQ(take_error(), 0);

  struct Case {
    const char* what;
    void (*call)();
    int code;
  };
  const Case cases[] = {
      {"integer above the range", [] { WGridPutCellInteger(kField, 2, 1, 101); }, 1009},
      {"real above the open-below range", [] { WGridPutCellReal(kField, 3, 1, 1.5F); }, 1009},
      {"row beyond the grid", [] { WGridPutCellInteger(kField, 2, 3, 1); }, 1017},
      {"column 0", [] { WGridPutCellString(kField, 0, 1, "x"); }, 1017},
      {"text into an integer column", [] { WGridPutCellString(kField, 2, 1, "x"); }, 1111},
      {"integer into a real column", [] { WGridPutCellInteger(kField, 3, 1, 1); }, 1111},
      {"real into an integer column", [] { WGridPutCellReal(kField, 2, 1, 1.0F); }, 1111},
      {"check box into a text column", [] { WGridPutCellCheckBox(kField, 1, 1, 1); }, 1111},
      {"option beyond the list", [] { WGridPutCellOption(kField, 4, 1, 2); }, 1011},
      {"rows above the maximum", [] { WGridRows(kField, 1001); }, 1113},
      {"negative rows", [] { WGridRows(kField, -1); }, 1113},
      {"maximum below the rows in use", [] { WGridRowsMax(kField, 1); }, 1113},
      {"maximum above the grid limit", [] { WGridRowsMax(kField, 20'000'000); }, 1018},
      {"unknown column type", [] { WGridColumns(kField, 1, std::array{3}); }, 1111},
      {"format of a text column", [] { WGridFormat(kField, 1, "(F5.1)"); }, 1111},
      {"format that does not parse", [] { WGridFormat(kField, 3, "(F5.1"); }, 18},
      {"format for another kind", [] { WGridFormat(kField, 3, "(I5)"); }, 18},
      {"format over 50 characters", [] { WGridFormat(kField, 3, "(F5.1," + std::string(50, ' ') + ")"); },
       18},
      {"range low above high", [] { WGridRangeInteger(kField, 2, 5, 4); }, 1009},
      {"justification 3", [] { WGridJustify(kField, 1, 3); }, 1011},
  };
  for (const Case& c : cases) {
    c.call();
    EXPECT_EQ(take_error(), c.code) << c.what;
  }
  EXPECT_EQ(cell_text(2, 1), "50");
  EXPECT_EQ(cell_text(3, 1), "0.500000");

  // A receiving variable too small gets what fits and 1023.
  std::array<char, 1> small{};
  WGridGetCellString(kField, 2, 1, small);
  EXPECT_EQ(small[0], '5');
  EXPECT_EQ(take_error(), 1023);
}

TEST_F(GridTest, TextColumnsApplyTheirCaseSettingAndLimit) {
  define({4, 4, 4}, 1);
  WGridCase(kField, 1, 1);
  WGridCase(kField, 2, 2);
  WGridCase(kField, 3, 3);
  for (int c = 1; c <= 3; ++c) WGridPutCellString(kField, c, 1, "MiXed 1\xe9");
  EXPECT_EQ(cell_text(1, 1), "MIXED 1\xe9");
  EXPECT_EQ(cell_text(2, 1), "mixed 1\xe9");
  EXPECT_EQ(cell_text(3, 1), "MiXed 1\xe9");

  const std::string long_text(quill::kGridTextLength + 5, 'a');
  WGridPutCellString(kField, 1, 1, long_text);
  EXPECT_EQ(take_error(), 1023);
  std::string back(quill::kGridTextLength + 5, '?');
  WGridGetCellString(kField, 1, 1, back);
  EXPECT_EQ(back, std::string(quill::kGridTextLength, 'A') + "     ");
}

TEST_F(GridTest, ReshapingKeepsTheCellsThatRemain) {
  define({4, 5}, 2);
  WGridPutCellString(kField, 1, 2, "keep");
  WGridPutCellInteger(kField, 2, 2, 7);
  WGridRowTitle(kField, 2, "second");
  WGridRows(kField, 5);
  EXPECT_EQ(cell_text(1, 2), "keep");
  EXPECT_EQ(row_title(2), "second");
  EXPECT_EQ(cell_text(1, 5), "");

  // Column 2 changes type and starts empty; column 1 keeps its text; column 3 is new.
  WGridColumns(kField, 3, std::array{4, 6, 9});
  EXPECT_EQ(cell_text(1, 2), "keep");
  EXPECT_EQ(cell_text(2, 2), "");
  WGridRows(kField, 1);
  WGridRows(kField, 2);
  EXPECT_EQ(cell_text(1, 2), "");  // dropped rows come back empty
  EXPECT_EQ(row_title(2), "");
  EXPECT_EQ(take_error(), 0);

  // The shape reads back; a column outside the grid has no type.
  WGridRowsMax(kField, 40);
  int columns = 0, rows = 0, max_rows = 0, type = 0;
  WGridGetColumns(kField, columns);
  WGridGetRows(kField, rows);
  WGridGetRowsMax(kField, max_rows);
  WGridGetColumnType(kField, 2, type);
  EXPECT_EQ((std::array{columns, rows, max_rows, type}), (std::array{3, 2, 40, 6}));
  EXPECT_EQ(take_error(), 0);
  WGridGetColumnType(kField, 4, type);
  EXPECT_EQ(take_error(), 1017);
  EXPECT_EQ(type, 6);
}

TEST_F(GridTest, TitlesColoursAndRepaints) {
  define({4, 4}, 1);
  const int repaints = quill::grid_registry().grids.begin()->second.repaints;
  WGridTitles(kField, 1, 1);
  WGridColumnTitle(kField, 0, "corner  ");
  WGridColumnTitle(kField, 2, "second");
  WGridRowTitle(kField, 1, "row one");
  WGridColourCell(kField, 2, 1, 0x0000FF, 0x7F102030);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(column_title(0), "corner");
  EXPECT_EQ(column_title(2), "second");
  EXPECT_EQ(row_title(1), "row one");
  int text_colour = 0;
  int background = 0;
  WGridGetCellColour(kField, 2, 1, text_colour, background);
  EXPECT_EQ(text_colour, 0x0000FF);
  EXPECT_EQ(background, 0x102030);
  WGridColourCell(kField, 2, 1, -5, -1);
  WGridGetCellColour(kField, 2, 1, text_colour, background);
  EXPECT_EQ(text_colour, -1);
  EXPECT_EQ(background, -1);
  EXPECT_EQ(quill::grid_registry().grids.begin()->second.repaints, repaints + 6);

  WGridColumnTitle(kField, 3, "x");
  EXPECT_EQ(take_error(), 1017);
  WGridRowTitle(kField, 2, "x");
  EXPECT_EQ(take_error(), 1017);
}

TEST_F(GridTest, ShrinkingAnOptionListClearsSelectionsBeyondIt) {
  define({11}, 2);
  const std::array<std::string_view, 3> options{"a", "b", "c"};
  WGridPutOptions(kField, 1, options, 3);
  WGridPutCellOption(kField, 1, 1, 3);
  WGridPutCellOption(kField, 1, 2, 1);
  WGridPutOptions(kField, 1, options, 2);
  int option = -1;
  WGridGetCellOption(kField, 1, 1, option);
  EXPECT_EQ(option, 0);
  WGridGetCellOption(kField, 1, 2, option);
  EXPECT_EQ(option, 1);
}

}  // namespace

namespace {

// The example of the README, as written there.
TEST_F(GridTest, ReadmeExampleRunsAsDocumented) {
  quill::attach_dialog_grid(1, 201);
  constexpr int kGrid = 201;  // a grid field of the current dialog
  const std::array types{4, 5, 7, 9, 11};
  WGridColumns(kGrid, 5, types);  // text, integer, double, check box, option menu
  WGridRowsMax(kGrid, 5000);
  WGridRows(kGrid, 2);
  WGridFormat(kGrid, 3, "(F10.2)");  // display format of the double column
  WGridRangeInteger(kGrid, 2, 0, 999);
  WGridJustify(kGrid, 2, 2);  // right
  const std::array<std::string_view, 3> sizes{"small", "medium", "large"};
  WGridPutOptions(kGrid, 5, sizes, 3);
  WGridTitles(kGrid, 1, 0);  // column titles, no row titles
  WGridColumnTitle(kGrid, 1, "Item");
  WGridPutCellString(kGrid, 1, 1, "Bolt, \"M6\"");
  WGridPutCellInteger(kGrid, 2, 1, 250);
  WGridPutCellDouble(kGrid, 3, 1, 0.35);  // shows "0.35"
  WGridPutCellCheckBox(kGrid, 4, 1, 1);
  WGridPutCellOption(kGrid, 5, 1, 2);          // "medium"
  WGridColourCell(kGrid, 1, 1, -1, 0x00FFFF);  // default text, yellow background (red low byte)

  WGridSave(kGrid, "stock.csv", {}, {}, {}, {}, 2);  // with the title line
  WGridLoad(kGrid, "stock.csv", 1, 2);               // rows may grow to the maximum
  WGridSaveHTML(kGrid, "stock.html", {}, {}, {}, {}, 2, "Stock", 1);
  EXPECT_EQ(take_error(), 0);

  EXPECT_EQ(grid_test::read_file("stock.csv"),
            "\"Item\",\"\",\"\",\"\",\"\"\r\n"
            "\"Bolt, \"\"M6\"\"\",250,\"0.35\",Yes,\"medium\"\r\n"
            "\"\",,\"\",No,\r\n");
  std::string text(4, ' ');
  WGridGetCellString(kGrid, 3, 1, text);
  EXPECT_EQ(text, "0.35");
  EXPECT_NE(grid_test::read_file("stock.html").find("<td align=left bgcolor=#ffff00>"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(GridTest, SortsRowsByEachColumnKindWithEmptyCellsLast) {
  define({4, 5, 7, 9, 11, 8}, 5);
  const std::array<std::string_view, 3> options{"c", "b", "a"};
  WGridPutOptions(kField, 5, options, 3);
  WGridTitles(kField, 0, 1);
  const char* texts[] = {"pear", "", "Apple", "apple", "banana"};
  const int integers[] = {3, -1, 0, 10, 0};  // row 5 is cleared below
  ASSERT_EQ(take_error(), 0);
  const auto titles = [&] {
    std::string order;
    for (int r = 1; r <= 5; ++r) order += row_title(r).substr(1);
    return order;
  };
  struct Case {
    int column;
    int order;
    const char* rows;
  };
  const Case cases[] = {
      {1, 0, "34512"},                   // Apple and apple keep their order; the empty text goes last
      {1, 1, "15342"}, {2, 0, "23145"},  // -1 0 3 10, the empty cell last
      {2, 1, "41325"}, {3, 1, "54312"}, {4, 0, "24135"},  // unchecked first, each group in its order
      {5, 0, "14253"},                                    // options 1, 1, 2, 2, none
  };
  // Each case starts from the original order.
  for (const Case& c : cases) {
    for (int r = 1; r <= 5; ++r) {
      WGridRowTitle(kField, r, std::string(1, 'r').append(std::to_string(r)));
      WGridPutCellString(kField, 1, r, texts[r - 1]);
      WGridPutCellInteger(kField, 2, r, integers[r - 1]);
      WGridPutCellDouble(kField, 3, r, 1.5 * r);
      WGridPutCellCheckBox(kField, 4, r, r % 2);
      WGridPutCellOption(kField, 5, r, r % 3 == 0 ? 0 : r % 3);
    }
    WGridClearCell(kField, 2, 5);
    WGridClearCell(kField, 3, 2);
    WGridSort(kField, c.column, c.order);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(titles(), c.rows) << "column " << c.column << " order " << c.order;
  }
  WGridSort(kField, 6, 0);
  EXPECT_EQ(take_error(), 1111);
  WGridSort(kField, 7, 0);
  EXPECT_EQ(take_error(), 1017);
  WGridSort(kField, 1, 2);
  EXPECT_EQ(take_error(), 1011);
}

// After a sort, finding, growing, shrinking and retyping work on the rows as shown.
TEST_F(GridTest, SortedRowsStayInTheirOrderThroughChangesOfShape) {
  define({4, 5}, 4);
  const char* texts[] = {"d", "b", "a", "c"};
  for (int r = 1; r <= 4; ++r) {
    WGridPutCellString(kField, 1, r, texts[r - 1]);
    WGridPutCellInteger(kField, 2, r, r);
  }
  WGridSort(kField, 1, 0);
  WGridSort(kField, 2, 1);  // 4 3 2 1: c a b d
  const auto column = [](int c) {
    std::string shown;
    for (int r = 1; r <= 4; ++r) shown += cell_text(c, r) + " ";
    return shown;
  };
  EXPECT_EQ(column(1), "c a b d ");
  int found_column = 1;
  int found_row = 1;
  WGridFind(kField, "B", found_column, found_row);
  EXPECT_EQ(found_row, 3);
  WGridFind(kField, "A", found_column, found_row);  // after row 3, wrapping round to row 2
  EXPECT_EQ(found_row, 2);
  WGridRows(kField, 5);
  EXPECT_EQ(column(1), "c a b d ");
  WGridColumns(kField, 3, std::array{4, 7, 5});  // column 2 changes type and empties
  EXPECT_EQ(column(1), "c a b d ");
  EXPECT_EQ(cell_text(2, 1), "");
  WGridSort(kField, 1, 1);
  WGridRows(kField, 2);
  EXPECT_EQ(cell_text(1, 1) + cell_text(1, 2), "dc");
  EXPECT_EQ(take_error(), 0);
}

TEST_F(GridTest, FindsTextsRowByRowAndGoesToCells) {
  define({4, 5, 11}, 3);
  const std::array<std::string_view, 2> options{"Needle option", "other"};
  WGridPutOptions(kField, 3, options, 2);
  WGridPutCellString(kField, 1, 1, "hay");
  WGridPutCellString(kField, 1, 2, "a NEEDLE here");
  WGridPutCellInteger(kField, 2, 2, 12345);
  WGridPutCellOption(kField, 3, 3, 1);
  int column = 0;
  int row = 0;
  WGridFind(kField, "needle", column, row);
  EXPECT_EQ(column, 1);
  EXPECT_EQ(row, 2);
  WGridFind(kField, "needle", column, row);
  EXPECT_EQ(column, 3);
  EXPECT_EQ(row, 3);
  WGridFind(kField, "needle", column, row);  // wraps to the first match
  EXPECT_EQ(column, 1);
  EXPECT_EQ(row, 2);
  WGridFind(kField, "234", column, row);
  EXPECT_EQ(column, 2);
  EXPECT_EQ(take_error(), 0);
  WGridFind(kField, "absent", column, row);
  EXPECT_EQ(take_error(), 10);
  EXPECT_EQ(column, 2);

  WGridGoTo(kField, 3, 2);
  WGridGetCurrentCell(kField, column, row);
  EXPECT_EQ(column, 3);
  EXPECT_EQ(row, 2);
  WGridGoTo(kField, 4, 1);
  EXPECT_EQ(take_error(), 1017);
  WGridRows(kField, 1);  // the current cell stays inside the grid
  WGridGetCurrentCell(kField, column, row);
  EXPECT_EQ(row, 1);
}

}  // namespace
