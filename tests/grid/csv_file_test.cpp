// WGridSave and WGridLoad: the bytes written, what loading stores, round trips for every
// column type and option, growth, the load errors and file failures.
#include <array>
#include <string>
#include <string_view>

#include "grid/csv_load.hpp"
#include "grid/grid_registry.hpp"
#include "grid_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"
#include "base/error_state.hpp"

namespace {

using grid_test::GridTest;
using grid_test::kField;
using grid_test::read_file;
using grid_test::write_file;

constexpr std::array<std::string_view, 3> kOptions{"low", "mid, \"quoted\"", "high"};

// Columns text, integer, real, double, check box, option menu, kind 8; two rows, titles.
class CsvFileTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    define({4, 5, 6, 7, 9, 11, 8}, 2);
    WGridFormat(kField, 3, "(F7.2)");
    WGridFormat(kField, 4, "(F10.4)");
    WGridPutOptions(kField, 6, kOptions, 3);
    WGridTitles(kField, 1, 1);
    const std::array<std::string_view, 8> titles{"#",      "Name", "Count", "Real",
                                                 "Double", "Done", "Level", "Other"};
    for (int c = 0; c <= 7; ++c) WGridColumnTitle(kField, c, titles[static_cast<std::size_t>(c)]);
    WGridRowTitle(kField, 1, "first");
    WGridRowTitle(kField, 2, "second");
    WGridPutCellString(kField, 1, 1, "say \"hi\", you");
    WGridPutCellInteger(kField, 2, 1, 12);
    WGridPutCellReal(kField, 3, 1, 2.5F);
    WGridPutCellDouble(kField, 4, 1, -0.125);
    WGridPutCellCheckBox(kField, 5, 1, 1);
    WGridPutCellOption(kField, 6, 1, 2);
    WGridPutCellString(kField, 1, 2, " lead");
    ASSERT_EQ(take_error(), 0);
  }

  quill::Grid& grid() { return *quill::find_grid(kField).grid; }

  // Every cell, title and selection, compared between the grid and a copy.
  void expect_same(const quill::Grid& expected) {
    const quill::Grid& actual = grid();
    ASSERT_EQ(actual.rows, expected.rows);
    EXPECT_EQ(actual.corner_title, expected.corner_title);
    EXPECT_EQ(actual.row_title_texts, expected.row_title_texts);
    for (int c = 1; c <= expected.column_count(); ++c) {
      EXPECT_EQ(actual.column(c).title, expected.column(c).title) << "column " << c;
      for (int r = 1; r <= expected.rows; ++r) {
        const quill::GridCell& a = actual.cell(c, r);
        const quill::GridCell& e = expected.cell(c, r);
        EXPECT_EQ(a.text, e.text) << "cell " << c << "," << r;
        EXPECT_EQ(a.defined, e.defined) << "cell " << c << "," << r;
        EXPECT_EQ(a.value, e.value) << "cell " << c << "," << r;
        EXPECT_EQ(a.check, e.check) << "cell " << c << "," << r;
        EXPECT_EQ(a.option, e.option) << "cell " << c << "," << r;
      }
    }
  }
};

TEST_F(CsvFileTest, WritesEachFieldFormByOption) {
  struct Case {
    int options;
    const char* bytes;
  };
  const Case cases[] = {
      {0,
       "\"say \"\"hi\"\", you\",12,\"2.50\",\"-0.1250\",Yes,\"mid, \"\"quoted\"\"\",\r\n"
       "\" lead\",,\"\",\"\",No,,\r\n"},
      {1,
       "\"say \"\"hi\"\", you\",12,2.50,-0.1250,Yes,\"mid, \"\"quoted\"\"\",\r\n"
       "\" lead\",,,,No,,\r\n"},
      {2,
       "\"#\",\"Name\",\"Count\",\"Real\",\"Double\",\"Done\",\"Level\",\"Other\"\r\n"
       "\"first\",\"say \"\"hi\"\", you\",12,\"2.50\",\"-0.1250\",Yes,\"mid, \"\"quoted\"\"\",\r\n"
       "\"second\",\" lead\",,\"\",\"\",No,,\r\n"},
      {4 + 1,
       "\"say \"\"hi\"\", you\",12,2.50,-0.1250,Yes,\"mid, \"\"quoted\"\"\",\r\n"
       "\" lead\",-999,-999.00,-999.0000,No,,\r\n"},
  };
  for (const Case& c : cases) {
    WGridSave(kField, "out.csv  ", std::nullopt, std::nullopt, std::nullopt, std::nullopt, c.options);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(read_file("out.csv"), c.bytes) << "options " << c.options;
  }
  // A range, clamped into the grid; the file is created anew each time.
  WGridSave(kField, "out.csv", 5, 99, -3, 1, 1);
  EXPECT_EQ(read_file("out.csv"), "Yes,\"mid, \"\"quoted\"\"\",\r\n");
  WGridSave(kField, "out.csv", 3, 2);
  EXPECT_EQ(read_file("out.csv"), "");
}

TEST_F(CsvFileTest, EverySavedFormLoadsBackUnchanged) {
  const quill::Grid saved = grid();
  for (const int options : {0, 1, 2, 3}) {
    WGridSave(kField, "round.csv", std::nullopt, std::nullopt, std::nullopt, std::nullopt, options);
    // Scramble the grid so the load must restore everything.
    for (int r = 1; r <= 2; ++r) {
      for (int c = 1; c <= 7; ++c) WGridClearCell(kField, c, r);
      WGridRowTitle(kField, r, "junk");
    }
    WGridColumnTitle(kField, 1, "junk");
    WGridLoad(kField, "round.csv", 0, options);
    EXPECT_EQ(take_error(), 0) << "options " << options;
    if ((options & 2) != 0) {
      expect_same(saved);
    } else {
      // Without titles in the file the titles keep what they held.
      WGridColumnTitle(kField, 1, "Name");
      WGridRowTitle(kField, 1, "first");
      WGridRowTitle(kField, 2, "second");
      expect_same(saved);
    }
  }
}

// The extreme integers and doubles written with 17 significant digits load back as the
// very values saved.
TEST_F(CsvFileTest, ExtremeIntegersAndDoublesLoadBackExactly) {
  WGridFormat(kField, 4, "(ES25.16E3)");
  const int integers[] = {-2147483647 - 1, 2147483647};
  const double doubles[] = {0.3, -184001.578125};
  for (int r = 1; r <= 2; ++r) {
    WGridPutCellInteger(kField, 2, r, integers[r - 1]);
    WGridPutCellDouble(kField, 4, r, doubles[r - 1]);
  }
  ASSERT_EQ(take_error(), 0);
  const quill::Grid saved = grid();
  WGridSave(kField, "extremes.csv");
  for (int r = 1; r <= 2; ++r) {
    WGridClearCell(kField, 2, r);
    WGridClearCell(kField, 4, r);
  }
  WGridLoad(kField, "extremes.csv");
  EXPECT_EQ(take_error(), 0);
  expect_same(saved);
  int smallest = 0;
  WGridGetCellInteger(kField, 2, 1, smallest);
  EXPECT_EQ(smallest, -2147483647 - 1);
}

TEST_F(CsvFileTest, UndefinedValuesLoadBackAsValues) {
  WGridSave(kField, "undefined.csv", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 4);
  WGridLoad(kField, "undefined.csv", 0, 4);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(cell_text(2, 2), "-999");
  EXPECT_EQ(cell_text(3, 2), "-999.00");
  EXPECT_EQ(cell_text(4, 2), "-999.0000");
  EXPECT_EQ(cell_text(1, 2), " lead");
}

TEST_F(CsvFileTest, LoadsWindowsAndBareLineEndsAlike) {
  const std::string lines[] = {
      "plain,7,1.5,2.25,yes,high,ignored\r\n\"two\r\nlines\",-3, 4,5,YES ,low,\r\n",
      "plain,7,1.5,2.25,yes,high,ignored\n\"two\r\nlines\",-3, 4,5,YES ,low,\n",
      "plain,7,1.5,2.25,yes,high,ignored\n\"two\r\nlines\",-3, 4,5,YES ,low,",
  };
  for (const std::string& text : lines) {
    write_file("in.csv", text);
    WGridLoad(kField, "in.csv");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(cell_text(1, 1), "plain");
    EXPECT_EQ(cell_text(2, 1), "7");
    EXPECT_EQ(cell_text(3, 1), "1.50");
    EXPECT_EQ(cell_text(4, 1), "2.2500");
    EXPECT_EQ(cell_text(6, 1), "high");
    EXPECT_EQ(cell_text(1, 2), "two\r\nlines");
    EXPECT_EQ(cell_text(2, 2), "-3");
    EXPECT_EQ(cell_text(3, 2), "4.00");
    int state = 0;
    WGridGetCellCheckBox(kField, 5, 2, state);
    EXPECT_EQ(state, 1);
  }
}

TEST_F(CsvFileTest, ReadsCheckBoxesAndOptionsAndClearsWhatTheFileDoesNotReach) {
  write_file("in.csv",
             "a,1,,,yes,low\r\n"
             "b,2,,,Yes,mid\r\n"
             "c,3,,,No,\r\n"
             "d,x,,,Y,Mid, \"quoted\"\r\n"
             "e\r\n");
  WGridRows(kField, 6);
  WGridPutCellInteger(kField, 2, 5, 55);
  WGridPutCellInteger(kField, 2, 6, 99);
  WGridPutCellCheckBox(kField, 5, 6, 1);
  WGridPutCellOption(kField, 6, 6, 3);
  ASSERT_EQ(take_error(), 0);
  WGridLoad(kField, "in.csv");
  // "mid" and "Mid" match no option exactly (the stored text is `mid, "quoted"`).
  EXPECT_EQ(take_error(), 1055);
  const int expected_checks[] = {1, 1, 0, 0, 0, 0};
  for (int r = 1; r <= 6; ++r) {
    int state = -1;
    WGridGetCellCheckBox(kField, 5, r, state);
    EXPECT_EQ(state, expected_checks[r - 1]) << "row " << r;
  }
  int option = -1;
  WGridGetCellOption(kField, 6, 1, option);
  EXPECT_EQ(option, 1);
  WGridGetCellOption(kField, 6, 2, option);
  EXPECT_EQ(option, 0);
  WGridGetCellOption(kField, 6, 6, option);
  EXPECT_EQ(option, 0);
  EXPECT_EQ(cell_text(2, 4), "");  // "x" is no integer: the cell is cleared
  EXPECT_EQ(cell_text(1, 5), "e");
  EXPECT_EQ(cell_text(2, 5), "");  // after the line's last field
  EXPECT_EQ(cell_text(2, 6), "");  // after the file's last line
  EXPECT_EQ(grid().rows, 6);
  EXPECT_EQ(row_title(1), "first");  // rows titles are not in this file
}

TEST_F(CsvFileTest, GrowsUpToTheMaximumOrReports1054) {
  std::string text;
  for (int r = 1; r <= 5; ++r) text += "row" + std::to_string(r) + "\r\n";
  write_file("in.csv", text);

  WGridLoad(kField, "in.csv");
  EXPECT_EQ(take_error(), 1054);
  EXPECT_EQ(grid().rows, 2);
  EXPECT_EQ(cell_text(1, 2), "row2");

  WGridRowsMax(kField, 4);
  WGridLoad(kField, "in.csv", 1);
  EXPECT_EQ(take_error(), 1054);
  EXPECT_EQ(grid().rows, 4);
  EXPECT_EQ(cell_text(1, 4), "row4");

  WGridRowsMax(kField, 100);
  WGridLoad(kField, "in.csv", 1);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(grid().rows, 5);

  write_file("wide.csv", "a,1,,,,,,extra\r\n");
  WGridLoad(kField, "wide.csv");
  EXPECT_EQ(take_error(), 1054);
  EXPECT_EQ(cell_text(2, 1), "1");
}

TEST_F(CsvFileTest, OutOfRangeValuesKeepTheCellAndTheLoadGoesOnInTheSameGrid) {
  WGridRangeInteger(kField, 2, 0, 10);
  quill::attach_dialog_grid(1, 1009);  // a grid named like the code must stay untouched
  write_file("in.csv", "a,11\r\nb,5\r\nc,-1\r\n");
  WGridRows(kField, 3);
  WGridPutCellInteger(kField, 2, 3, 4);
  WGridLoad(kField, "in.csv");
  EXPECT_EQ(take_error(), 1009);
  EXPECT_EQ(cell_text(2, 1), "12");  // kept
  EXPECT_EQ(cell_text(1, 2), "b");
  EXPECT_EQ(cell_text(2, 2), "5");
  EXPECT_EQ(cell_text(1, 3), "c");
  EXPECT_EQ(cell_text(2, 3), "4");
  EXPECT_EQ(quill::grid_registry().grids.at(quill::GridKey{1, -1, 1009}).rows, 0);
}

TEST_F(CsvFileTest, LastErrorSurvivesConversionFailures) {
  quill::errors().last_error = 77;
  write_file("in.csv", "a,not a number,1.5\r\n");
  WGridLoad(kField, "in.csv", 0, 0);
  EXPECT_EQ(quill::errors().last_error, 77);
  EXPECT_EQ(cell_text(2, 1), "");
  EXPECT_EQ(cell_text(3, 1), "1.50");
}

TEST_F(CsvFileTest, ShortTitleLineEmptiesTheOtherTitles) {
  write_file("in.csv", "\"c\",\"A\",\"B\"\r\n\"r1\",x\r\n");
  WGridLoad(kField, "in.csv", 0, 2);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(column_title(0), "c");
  EXPECT_EQ(column_title(2), "B");
  EXPECT_EQ(column_title(3), "");
  EXPECT_EQ(row_title(1), "r1");
  EXPECT_EQ(row_title(2), "");  // cleared with its row
  EXPECT_EQ(cell_text(1, 1), "x");
}

TEST_F(CsvFileTest, OverLongFieldsAreCutAndReported) {
  const std::string huge(100'000, 'z');
  write_file("in.csv", "\"" + huge + "\",3\r\nnext,4\r\n");
  WGridLoad(kField, "in.csv");
  EXPECT_EQ(take_error(), 1023);
  EXPECT_EQ(grid().cell(1, 1).text, std::string(quill::kGridTextLength, 'z'));
  EXPECT_EQ(cell_text(2, 1), "3");
  EXPECT_EQ(cell_text(1, 2), "next");
}

TEST_F(CsvFileTest, FieldsAcrossTheChunkBoundaryLoadWhole) {
  // Row texts of varied lengths put field and line ends on and around byte 65000.
  WGridColumns(kField, 2, std::array{4, 5});
  WGridRowsMax(kField, 10'000);
  std::string text;
  int rows = 0;
  while (text.size() < 140'000) {
    ++rows;
    text += '"';
    text.append(static_cast<std::size_t>(rows % 97), static_cast<char>('a' + rows % 26));
    text += "\"\"x\",";
    text += std::to_string(rows);
    text += "\r\n";
  }
  write_file("in.csv", text);
  WGridLoad(kField, "in.csv", 1);
  EXPECT_EQ(take_error(), 0);
  ASSERT_EQ(grid().rows, rows);
  for (int r = 1; r <= rows; ++r) {
    const std::string expected =
        std::string(static_cast<std::size_t>(r % 97), static_cast<char>('a' + r % 26)) + "\"x";
    ASSERT_EQ(grid().cell(1, r).text, expected) << "row " << r;
    ASSERT_EQ(grid().cell(2, r).value, r) << "row " << r;
  }
}

TEST_F(CsvFileTest, GuardsAndFileFailures) {
  quill::select_grid_dialog(std::nullopt);
  WGridSave(kField, "none.csv");
  EXPECT_EQ(take_error(), 1005);
  WGridLoad(kField, "none.csv");
  EXPECT_EQ(take_error(), 1005);
  quill::select_grid_dialog(1);
  WGridSave(kField + 1, "none.csv");
  EXPECT_EQ(take_error(), 1006);
  EXPECT_TRUE(read_file("none.csv").empty());

  WGridLoad(kField, "missing.csv");
  EXPECT_EQ(take_error(), 1);
  EXPECT_EQ(cell_text(1, 1), "say \"hi\", you");  // nothing read, nothing cleared
  WGridSave(kField, "no/such/dir/out.csv");
  EXPECT_EQ(take_error(), 1);
  WGridSave(kField, "");
  EXPECT_EQ(take_error(), 1);
}

TEST_F(CsvFileTest, LoaderDrivenFromMemoryMatchesTheFileLoader) {
  const std::string text = "\"t\",\"A\"\r\n\"r\",q,5,,,no,high\r\n";
  write_file("in.csv", text);
  WGridLoad(kField, "in.csv", 0, 2);
  const quill::Grid from_file = grid();
  quill::CsvGridLoader loader(grid(), false, 2);
  quill::CsvReader reader;
  reader.feed(text, loader);
  reader.finish(loader);
  EXPECT_EQ(loader.finish(), 0);
  expect_same(from_file);
}

}  // namespace

namespace {

// A load rewrites the cells' contents; their colours stay.
TEST_F(CsvFileTest, CellColoursSurviveALoad) {
  WGridColourCell(kField, 1, 2, 0x0000FF, 0x00FF00);
  write_file("colours.csv", "x,1\r\ny,2\r\n");
  WGridLoad(kField, "colours.csv");
  int text = 0;
  int background = 0;
  WGridGetCellColour(kField, 1, 2, text, background);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(text, 0x0000FF);
  EXPECT_EQ(background, 0x00FF00);
  EXPECT_EQ(cell_text(1, 2), "y");
}

}  // namespace
