// Grid set-up lines: what the parser reads and what applying them does to a grid.
#include <gtest/gtest.h>

#include <string>

#include "grid/grid_setup.hpp"

namespace {

using quill::GridSetupKind;

TEST(GridSetup, ParsesEveryLineKindAndRejectsMalformedOnes) {
  struct Case {
    const char* text;
    GridSetupKind kind;
  };
  const Case cases[] = {
      {"columns 4 5 9 11", GridSetupKind::Columns},
      {"widths 14  8 ", GridSetupKind::Widths},
      {"rows 3", GridSetupKind::Rows},
      {"rows 3 500", GridSetupKind::Rows},
      {"titles 1 0", GridSetupKind::Titles},
      {"title 0 Unit price ", GridSetupKind::Title},
      {"format 3 (F10.2)", GridSetupKind::Format},
      {"case 1 2", GridSetupKind::TextCase},
      {"justify 2 1", GridSetupKind::Justify},
      {"range 2 * 99.5", GridSetupKind::Range},
      {"options 4 red|green|blue", GridSetupKind::Options},
      {"columns 4 x", GridSetupKind::Invalid},
      {"rows", GridSetupKind::Invalid},
      {"rows 1 2 3", GridSetupKind::Invalid},
      {"titles 1", GridSetupKind::Invalid},
      {"justify two 1", GridSetupKind::Invalid},
      {"range 2 1", GridSetupKind::Invalid},
      {"range 2 1 2 3", GridSetupKind::Invalid},
      {"colour 1 2", GridSetupKind::Invalid},
      {"", GridSetupKind::Invalid},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quill::parse_grid_setup_line(c.text).kind, c.kind) << c.text;
  }
  const auto title = quill::parse_grid_setup_line("title 2   Unit price  ");
  EXPECT_EQ(title.column, 2);
  EXPECT_EQ(title.text, "Unit price");
  const auto range = quill::parse_grid_setup_line("range 2 * 99.5");
  EXPECT_FALSE(range.low.has_value());
  EXPECT_EQ(range.high, 99.5);
  const auto options = quill::parse_grid_setup_line("options 4 red|green light|");
  EXPECT_EQ(options.options,
            (std::vector<std::string>{"red", "green light"}));  // no empty option after the last bar
}

TEST(GridSetup, AppliesLinesInOrderAndReportsWhatTheGridRefuses) {
  quill::Grid grid;
  const char* lines[] = {"columns 4 5 7 11", "widths 20 6",  "rows 3 50",       "titles 1 1",
                         "title 0 #",        "title 1 Name", "format 3 (F8.1)", "case 1 1",
                         "justify 2 2",      "range 2 0 10", "options 4 a|b"};
  for (const char* line : lines) {
    EXPECT_EQ(quill::apply_grid_setup(grid, quill::parse_grid_setup_line(line)), 0) << line;
  }
  EXPECT_EQ(grid.column_count(), 4);
  EXPECT_EQ(grid.column(1).width, 20);
  EXPECT_EQ(grid.column(2).width, 6);
  EXPECT_EQ(grid.rows, 3);
  EXPECT_EQ(grid.max_rows, 50);
  EXPECT_TRUE(grid.column_titles && grid.row_titles);
  EXPECT_EQ(grid.corner_title, "#");
  EXPECT_EQ(grid.column(1).title, "Name");
  EXPECT_EQ(grid.column(3).format, "(F8.1)");
  EXPECT_EQ(grid.column(1).case_setting, 1);
  EXPECT_EQ(grid.column(2).justification, 2);
  EXPECT_EQ(grid.column(2).high, 10.0);
  EXPECT_EQ(grid.column(4).options.size(), 2u);

  struct Refusal {
    const char* line;
    int code;
  };
  const Refusal refusals[] = {
      {"rows 60", 1113},       {"rows 5 2", 1113},         {"range 1 0 1", 1111}, {"range 2 5 1", 1009},
      {"options 1 x|y", 1111}, {"format 1 (F5.1)", 1111},  {"justify 9 0", 1017}, {"justify 1 3", 1011},
      {"columns 4 3", 1111},   {"widths 1 1 1 1 1", 1017}, {"nonsense", 1011},
  };
  for (const Refusal& r : refusals) {
    EXPECT_EQ(quill::apply_grid_setup(grid, quill::parse_grid_setup_line(r.line)), r.code) << r.line;
  }
  EXPECT_EQ(grid.rows, 3);
  EXPECT_EQ(grid.max_rows, 50);
}

}  // namespace
