// Printing an editor's text through a hardcopy driver (portable).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The text's lines as pages: each line longer than columns continues on the next row;
// rows_per_page rows to a page (at least one page, even for no text).
std::vector<std::vector<std::string>> paginate(std::string_view text, int columns, int rows_per_page);

// Prints text (Windows-1252 bytes, lines ending in CR LF or LF) through hardcopy driver
// to file, each page with a header of title and "Page n of m" and margins of margin_mm.
// A print session: the drawing goes to the hardcopy alone (no window is drawn on) and the
// drawing state is as before afterwards.
void print_text(std::string_view text, int driver, const std::string& file, const std::string& title,
                int margin_mm);

// A run of rich text in one format: Windows-1252 bytes (lines ending in CR LF), size in
// points, style 1 bold, 2 italic, 3 both, colour 0xBBGGRR.
struct PrintRun {
  std::string text;
  float points = 10.0F;
  int style = 0;
  std::uint32_t colour = 0;
};
// One row of a page: pieces of runs at their offsets from the left margin (mm), and the
// row's height (mm), that of its largest text.
struct PrintRow {
  struct Piece {
    float x = 0.0F;
    std::string text;
    std::size_t run = 0;  // index into the runs
  };
  std::vector<Piece> pieces;
  float height = 0.0F;
};
// Rich text as pages of rows in the fixed-pitch family (a character 0.6 of its size
// wide): a line wider than width mm goes on in the next row; a page holds rows up to
// height mm (at least one row, and at least one page).
std::vector<std::vector<PrintRow>> lay_out_runs(const std::vector<PrintRun>& runs, float width, float height);
// Prints rich text as print_text does, each run in its size, style and colour.
void print_runs(const std::vector<PrintRun>& runs, int driver, const std::string& file,
                const std::string& title, int margin_mm);

}  // namespace quill
