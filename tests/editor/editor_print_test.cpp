#include "editor/editor_print.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "graphics/drawing_state.hpp"

namespace {

TEST(EditorPrint, PaginateWrapsLongLinesAndFillsPages) {
  const auto pages = quill::paginate("abcdefghi\r\n\r\nxy\nlast", 4, 4);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0], (std::vector<std::string>{"abcd", "efgh", "i", ""}));
  EXPECT_EQ(pages[1], (std::vector<std::string>{"xy", "last"}));
  EXPECT_EQ(quill::paginate("", 10, 10).size(), 1u);
}

// Runs share a row until a line ends or the row is full; a row is as high as its
// largest text; pages take the rows that fit.
TEST(EditorPrint, RunsWrapByTheirSizes) {
  const std::vector<quill::PrintRun> runs = {{"ab", 10.0F, 0, 0}, {"cdef\r\n\r\nxyz", 20.0F, 1, 0xFF}};
  const auto pages = quill::lay_out_runs(runs, 10.0F, 30.0F);
  std::vector<std::string> rows;
  for (const auto& page : pages) {
    std::string row_text;
    for (const auto& row : page) {
      std::string text;
      for (const auto& piece : row.pieces) text += piece.text + "|";
      EXPECT_NEAR(row.height, 20.0F * 25.4F / 72.0F * 4.6F / 3.5F, 1e-3F) << text;
      rows.push_back(text);
    }
    rows.push_back("--");
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"ab|c|", "de|", "f|", "--", "", "xy|", "z|", "--"}));
  EXPECT_NEAR(pages[0][0].pieces[1].x, 2 * 0.6F * 10.0F * 25.4F / 72.0F, 1e-3F);
  EXPECT_EQ(pages[0][0].pieces[1].run, 1u);
}

#ifndef _WIN32
// The PostScript pages read back by Ghostscript's text device: every line, the header
// with the title and "Page n of m" on each page.
TEST(EditorPrint, PostScriptPagesReadBack) {
  quill::reset_drawing_for_tests();
  const auto dir = std::filesystem::temp_directory_path() / "editor_print_test";
  std::filesystem::create_directories(dir);
  const std::string ps = (dir / "text.ps").string(), txt = (dir / "text.txt").string();
  std::string text;
  for (int i = 1; i <= 130; ++i) text += "line " + std::to_string(i) + "\r\n";
  quill::print_text(text, 2, ps, "notes.txt", 15);
  const std::string command = "gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=" + txt + " " + ps;
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(txt);
  std::stringstream read;
  read << in.rdbuf();
  const std::string got = read.str();
  for (int i = 1; i <= 130; ++i) {
    const std::string line = "line " + std::to_string(i);
    const std::size_t at = got.find(line);
    ASSERT_NE(at, std::string::npos) << line;
    EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(got[at + line.size()]))) << line;
  }
  // As many headers as pages, each with the title and its number.
  int pages = 0;
  std::sscanf(got.c_str() + got.find("Page 1 of "), "Page 1 of %d", &pages);
  ASSERT_GT(pages, 1);
  for (int p = 1; p <= pages + 1; ++p) {
    const std::string header = "Page " + std::to_string(p) + " of " + std::to_string(pages);
    EXPECT_EQ(got.find(header) != std::string::npos, p <= pages) << header;
  }
  EXPECT_EQ(quill::drawing().drawable.kind, quill::DrawableKind::None);
  // Rich text keeps its runs' styles and colours in the PostScript.
  quill::print_runs({{"plain ", 10.0F, 0, 0}, {"bold red", 14.0F, 1, 0x0000FF}}, 2, ps, "rich", 15);
  std::ifstream rich(ps);
  std::stringstream postscript;
  postscript << rich.rdbuf();
  const std::string drawn = postscript.str();
  const std::size_t red = drawn.find("1.0 0.0 0.0 g"), bold = drawn.find("/Courier-2 ff");  // its bold font
  EXPECT_LT(drawn.find("(plain )"), red);
  EXPECT_LT(red, bold);
  EXPECT_LT(bold, drawn.find("(bold red)"));
}
#endif

}  // namespace
