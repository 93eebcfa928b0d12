// Printing an editor's text through a hardcopy driver (portable).
#pragma once

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

}  // namespace quill
