// Grid files against independent readers and writers: Python's csv module (strict mode)
// reads every saved form and writes files the loader must read cell by cell; html5lib
// (strict mode) parses the HTML export. Also writes to a full device.
#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "grid/grid_registry.hpp"
#include "grid_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"
#include "quill/text.hpp"
#include "base/error_state.hpp"

namespace {

using grid_test::GridTest;
using grid_test::kField;
using grid_test::read_file;
using grid_test::write_file;
using Records = std::vector<std::vector<std::string>>;

const std::string kScripts = GRID_TEST_SCRIPTS;

void run(const std::string& command) {
  const std::string line = std::string(GRID_TEST_PYTHON) + " " + command;
  ASSERT_EQ(std::system(line.c_str()), 0) << line;
}

std::string to_hex(const std::string& text) {
  if (text.empty()) return "-";
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char c : text) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 0xF];
  }
  return hex;
}

std::string from_hex(const std::string& hex) {
  if (hex == "-") return {};
  std::string text;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return text;
}

Records python_read(const std::string& csv_file) {
  run(kScripts + "/csv_oracle.py read " + csv_file + " records.txt");
  Records records;
  std::istringstream lines(read_file("records.txt"));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream tokens(line);
    records.emplace_back();
    for (std::string token; tokens >> token;) records.back().push_back(from_hex(token));
  }
  return records;
}

void python_write(const Records& records, const std::string& csv_file, const std::string& quoting,
                  const std::string& end) {
  std::string hex;
  for (const auto& record : records) {
    for (const auto& field : record) hex += to_hex(field) + " ";
    hex += "\n";
  }
  write_file("records.txt", hex);
  run(kScripts + "/csv_oracle.py write records.txt " + csv_file + " " + quoting + " " + end);
}

// The value the toolkit's own conversion reads from a cell's display text: what a load
// of that text must store.
double value_read_from(const quill::GridColumn& column, const quill::GridCell& cell) {
  if (!cell.defined || column.type == quill::ColumnType::Integer) return cell.value;
  double value = 0.0;
  float real = 0.0F;
  quill::silent_try([&] {
    if (column.type == quill::ColumnType::Real) {
      IStringToReal(cell.text, real);
      value = static_cast<double>(real);
    } else {
      IStringToReal8(cell.text, value);
    }
  });
  return value;
}

constexpr std::array<std::string_view, 3> kOptions{"one", "two, \"2\"", "\xe9t\xe9"};
const std::vector<std::string> kTexts = {
    "plain", "say \"hi\", you", " lead", "two\r\nlines", "bare\nfeed", "", "\"", ",", "caf\xe9 \x80"};

class GridInteropTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    define({4, 5, 6, 7, 9, 11, 10}, static_cast<int>(kTexts.size()));
    WGridFormat(kField, 3, "(F8.3)");
    WGridFormat(kField, 4, "(E14.6)");
    WGridPutOptions(kField, 6, kOptions, 3);
    WGridTitles(kField, 1, 1);
    WGridColumnTitle(kField, 0, "corner, \"c\"");
    WGridColumnTitle(kField, 1, "Text");
    for (int r = 1; r <= grid().rows; ++r) {
      const std::size_t i = static_cast<std::size_t>(r - 1);
      WGridPutCellString(kField, 1, r, kTexts[i]);
      WGridRowTitle(kField, r, "row " + std::to_string(r));
      if (r % 3 != 0) {
        WGridPutCellInteger(kField, 2, r, r * 1000 - 5000);
        WGridPutCellReal(kField, 3, r, static_cast<float>(r) / 8.0F);
        WGridPutCellDouble(kField, 4, r, r * -1234.5);
      }
      WGridPutCellCheckBox(kField, 5, r, r % 2);
      WGridPutCellOption(kField, 6, r, r % 4);
    }
    ASSERT_EQ(take_error(), 0);
  }

  quill::Grid& grid() { return *quill::find_grid(kField).grid; }

  void clear_cells() {
    for (int r = 1; r <= grid().rows; ++r) {
      for (int c = 1; c <= grid().column_count(); ++c) WGridClearCell(kField, c, r);
    }
  }

  // Every cell as in before: the same text, check and option, and the value a load of
  // the text stores (within a relative tolerance where the file holds another form of
  // the number than the cell's text).
  void expect_cells_as(const quill::Grid& before, const std::string& what, double tolerance = 0.0) {
    for (int r = 1; r <= before.rows; ++r) {
      for (int c = 1; c <= before.column_count(); ++c) {
        const quill::GridCell& expected = before.cell(c, r);
        const quill::GridCell& actual = grid().cell(c, r);
        const std::string where = what + " cell " + std::to_string(c) + "," + std::to_string(r);
        EXPECT_EQ(actual.text, expected.text) << where;
        const double value = value_read_from(before.column(c), expected);
        EXPECT_NEAR(actual.value, value, std::abs(value) * tolerance) << where;
        EXPECT_EQ(actual.check, expected.check) << where;
        EXPECT_EQ(actual.option, expected.option) << where;
      }
    }
  }

  // The fields a reader should see for the grid saved with options.
  Records expected_records(int options) {
    const quill::Grid& g = grid();
    Records records;
    const bool titles = (options & 2) != 0;
    if (titles) {
      records.emplace_back();
      records.back().push_back(g.corner_title);
      for (int c = 1; c <= g.column_count(); ++c) records.back().push_back(g.column(c).title);
    }
    for (int r = 1; r <= g.rows; ++r) {
      records.emplace_back();
      auto& record = records.back();
      if (titles) record.push_back(g.row_title_texts[static_cast<std::size_t>(r - 1)]);
      for (int c = 1; c <= g.column_count(); ++c) {
        const quill::GridColumn& column = g.column(c);
        const quill::GridCell& cell = g.cell(c, r);
        std::string field(cell.text);
        if (quill::is_numeric(column.type) && !cell.defined && (options & 4) != 0) {
          field = column.type == quill::ColumnType::Integer ? "-999"
                  : column.type == quill::ColumnType::Real  ? "-999.000"
                                                            : "-0.999000E+03";
        }
        if (column.type == quill::ColumnType::CheckBox) field = cell.check ? "Yes" : "No";
        if (column.type == quill::ColumnType::OptionMenu)
          field = std::string(quill::option_text(column, cell));
        if (column.type == quill::ColumnType::Kind10) field.clear();
        record.push_back(field);
      }
    }
    return records;
  }
};

TEST_F(GridInteropTest, PythonReadsEverySavedFormStrictly) {
  for (int options = 0; options <= 7; ++options) {
    WGridSave(kField, "saved.csv", std::nullopt, std::nullopt, std::nullopt, std::nullopt, options);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(python_read("saved.csv"), expected_records(options)) << "options " << options;
  }
}

TEST_F(GridInteropTest, LoadsWhatPythonWritesCellByCell) {
  // Python's minimal quoting leaves " lead" bare, and a bare field loses its leading blanks.
  WGridPutCellString(kField, 1, 3, "lead");
  for (const int options : {0, 2}) {
    const Records records = expected_records(options);
    const quill::Grid before = grid();
    for (const std::string quoting : {"minimal", "all"}) {
      for (const std::string end : {"crlf", "lf"}) {
        python_write(records, "python.csv", quoting, end);
        clear_cells();
        WGridLoad(kField, "python.csv", 0, options);
        ASSERT_EQ(take_error(), 0) << quoting << " " << end;
        expect_cells_as(before, quoting + " " + end);
      }
    }
  }
}

// LibreOffice Calc opens a saved grid (Windows-1252 CSV with titles), keeps it as a
// spreadsheet and writes it out again as CSV with its own quoting and number forms; the
// loader reads Calc's file back to the same cells.
TEST_F(GridInteropTest, LoadsBackWhatLibreOfficeCalcWrites) {
  WGridPutCellString(kField, 1, 4, "two\nlines");  // Calc keeps line feeds in cells, not CR LF
  WGridSave(kField, "saved.csv", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
  ASSERT_EQ(take_error(), 0);
  const std::string office = "HOME=" + scratch_.string() + " soffice --headless ";
  const std::string to_sheet = office + "--infilter=CSV:44,34,1,1 --convert-to ods --outdir sheet saved.csv";
  const std::string to_csv = office +
                             "--convert-to 'csv:Text - txt - csv (StarCalc):44,34,1,1,,0,true,true,false' "
                             "--outdir back sheet/saved.ods";
  ASSERT_EQ(std::system((to_sheet + " >/dev/null 2>&1").c_str()), 0) << to_sheet;
  ASSERT_EQ(std::system((to_csv + " >/dev/null 2>&1").c_str()), 0) << to_csv;
  const std::string written = read_file("back/saved.csv");
  ASSERT_FALSE(written.empty()) << "LibreOffice wrote no file";
  ASSERT_NE(written, read_file("saved.csv")) << "Calc's file is expected to differ in its forms";
  const quill::Grid before = grid();
  clear_cells();
  WGridLoad(kField, "back/saved.csv", 0, 2);
  ASSERT_EQ(take_error(), 0);
  expect_cells_as(before, "LibreOffice", 1e-15);
}

TEST_F(GridInteropTest, Html5libParsesTheExportStrictly) {
  WGridJustify(kField, 2, 2);
  WGridJustify(kField, 5, 1);
  WGridColourCell(kField, 1, 1, 0x0F0E0D, 0x00FF00);
  WGridPutCellString(kField, 1, 2, "<script>alert(\"x\")</script> & more");
  WGridRows(kField, 2);
  WGridSaveHTML(kField, "grid.html", 1, 6, std::nullopt, std::nullopt, 2, "T\xe9st <1>", 2, 0xFFFFFF);
  ASSERT_EQ(take_error(), 0);
  run(kScripts + "/html_check.py grid.html > tree.txt");
  // Columns 2 to 6 have no title: a no-break space stands there.
  std::string expected =
      "doc title=\"T\\u00e9st <1>\" h2=\"T\\u00e9st <1>\" bgcolor=#ffffff center=yes\n"
      "row\n"
      "cell td align=None bgcolor=None color=None text=\"\"\n"
      "cell th align=center bgcolor=None color=None text=\"Text\"\n";
  for (int i = 0; i < 5; ++i) expected += "cell th align=center bgcolor=None color=None text=\"\\u00a0\"\n";
  expected +=
      "row\n"
      "cell td align=left bgcolor=None color=None text=\"row 1\"\n"
      "cell td align=left bgcolor=#00ff00 color=#0d0e0f text=\"plain\"\n"
      "cell td align=right bgcolor=None color=None text=\"-4000\"\n"
      "cell td align=left bgcolor=None color=None text=\"0.125\"\n"
      "cell td align=left bgcolor=None color=None text=\"-0.123450E+04\"\n"
      "cell td align=center bgcolor=None color=None text=\"\\u00b7\"\n"
      "cell td align=left bgcolor=None color=None text=\"one\"\n"
      "row\n"
      "cell td align=left bgcolor=None color=None text=\"row 2\"\n"
      "cell td align=left bgcolor=None color=None text=\"<script>alert(\\\"x\\\")</script> & more\"\n"
      "cell td align=right bgcolor=None color=None text=\"-3000\"\n"
      "cell td align=left bgcolor=None color=None text=\"0.250\"\n"
      "cell td align=left bgcolor=None color=None text=\"-0.246900E+04\"\n"
      "cell td align=center bgcolor=None color=None text=\"\\u00a0\"\n"
      "cell td align=left bgcolor=None color=None text=\"two, \\\"2\\\"\"\n";
  EXPECT_EQ(read_file("tree.txt"), expected);

  WGridSaveHTML(kField, "table.html", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 1 + 4 + 8);
  run(kScripts + "/html_check.py table.html fragment > table.txt");
  const std::string table = read_file("table.txt");
  EXPECT_EQ(table.find("bgcolor=#"), std::string::npos);
  EXPECT_EQ(table.find("color=#"), std::string::npos);
  EXPECT_NE(table.find("cell td align=center bgcolor=None color=None text=\"Y\""), std::string::npos);
}

TEST_F(GridInteropTest, FullDevicesAndUnwritablePathsGiveCodes2And1) {
  WGridSave(kField, "/dev/full");
  EXPECT_EQ(take_error(), 2);
  WGridSaveHTML(kField, "/dev/full");
  EXPECT_EQ(take_error(), 2);
  write_file("plain", "x");
  WGridSave(kField, "plain/inside.csv");
  EXPECT_EQ(take_error(), 1);
  WGridSaveHTML(kField, "plain/inside.html");
  EXPECT_EQ(take_error(), 1);
  WGridLoad(kField, ".");  // a directory opens but cannot be read
  EXPECT_EQ(take_error(), 2);
  EXPECT_EQ(quill::find_grid(kField).grid->cell(1, 1).text, "plain");
}

}  // namespace
