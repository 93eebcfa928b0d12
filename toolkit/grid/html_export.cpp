// WGridSaveHTML: a range of a grid as an HTML table, one tag or text per line, each
// line ended by a carriage return and a line feed. The output is plain ASCII: markup
// characters and every byte from 128 are written as character references.
#include <array>
#include <charconv>

#include "base/error_codes.hpp"
#include "grid/grid_file.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"

namespace quill {
namespace {

constexpr int kTableOnly = 1;
constexpr int kCentre = 2;
constexpr int kCheckLetters = 4;
constexpr int kNoColours = 8;
constexpr std::string_view kEmpty = "&nbsp;";

// Code points of the bytes 0x80 to 0x9F in the toolkit's single-byte code page
// (Windows-1252); 0 marks the bytes it leaves undefined.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr unsigned kReplacement = 0xFFFD;

void put_reference(BufferedWriter& out, unsigned code_point) {
  std::array<char, 16> buffer{'&', '#'};
  const auto end = std::to_chars(buffer.data() + 2, buffer.data() + buffer.size() - 1, code_point).ptr;
  *end = ';';
  out.write(std::string_view(buffer.data(), static_cast<std::size_t>(end + 1 - buffer.data())));
}

// Code point of a byte of the single-byte code page; control characters other than tab,
// line feed and carriage return have no place in a document and become U+FFFD.
unsigned code_point(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    const char16_t mapped = kHighControls[byte - 0x80];
    return mapped != 0 ? mapped : kReplacement;
  }
  if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F) return kReplacement;
  return byte;
}

// Text as document content: without trailing blanks, markup characters escaped.
void put_text(BufferedWriter& out, std::string_view text) {
  text = trim_trailing(text);
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    std::string_view entity;
    if (byte == '&') entity = "&amp;";
    if (byte == '<') entity = "&lt;";
    if (byte == '>') entity = "&gt;";
    if (byte == '"') entity = "&quot;";
    const unsigned point = code_point(byte);
    if (entity.empty() && point == byte && byte < 0x80) continue;
    out.write(text.substr(start, i - start));
    if (entity.empty()) {
      put_reference(out, point);
    } else {
      out.write(entity);
    }
    start = i + 1;
  }
  out.write(text.substr(start));
}

void put_line(BufferedWriter& out, std::string_view line) {
  out.write(line);
  out.write("\r\n");
}

// A text line, or "&nbsp;" so that an empty cell keeps its borders.
void put_content(BufferedWriter& out, std::string_view text) {
  if (trim_trailing(text).empty()) {
    put_line(out, kEmpty);
    return;
  }
  put_text(out, text);
  out.write("\r\n");
}

// Six lower-case hexadecimal digits, red from the low byte.
void put_colour(BufferedWriter& out, int colour) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::array<char, 6> text{};
  for (int component = 0; component < 3; ++component) {
    const int value = (colour >> (8 * component)) & 0xFF;
    text[static_cast<std::size_t>(2 * component)] = kDigits[value >> 4];
    text[static_cast<std::size_t>(2 * component + 1)] = kDigits[value & 0xF];
  }
  out.write(std::string_view(text.data(), text.size()));
}

std::string_view justification_word(int justification) {
  if (justification == kJustifyCentre) return "center";
  if (justification == kJustifyRight) return "right";
  return "left";
}

struct HtmlRequest {
  GridRange range;
  int options = 0;
  std::optional<std::string_view> title;
  int border = 0;
  std::optional<int> background;
};

void write_head(BufferedWriter& out, const HtmlRequest& request) {
  if ((request.options & kTableOnly) == 0) {
    put_line(out, "<!DOCTYPE html>");
    put_line(out, "<html>");
    put_line(out, "<head>");
    put_line(out, "<meta charset=\"utf-8\">");
    if (request.title) {
      out.write("<title>");
      put_text(out, *request.title);
      put_line(out, "</title>");
    }
    put_line(out, "</head>");
    if (request.background) {
      out.write("<body bgcolor=#");
      put_colour(out, *request.background);
      put_line(out, ">");
    } else {
      put_line(out, "<body>");
    }
  }
  if ((request.options & kCentre) != 0) put_line(out, "<center>");
  if (request.title) {
    out.write("<h2>");
    put_text(out, *request.title);
    put_line(out, "</h2>");
  }
  std::array<char, 16> border{};
  const auto end = std::to_chars(border.data(), border.data() + border.size(), request.border).ptr;
  out.write("<table border=");
  out.write(std::string_view(border.data(), static_cast<std::size_t>(end - border.data())));
  put_line(out, " cellpadding=5>");
}

void write_titles(BufferedWriter& out, const Grid& grid, const GridRange& range) {
  put_line(out, "<tr>");
  if (grid.row_titles) put_line(out, "<td></td>");
  for (int c = range.first_column; c <= range.last_column; ++c) {
    put_line(out, "<th align=center>");
    put_content(out, grid.column(c).title);
    put_line(out, "</th>");
  }
  put_line(out, "</tr>");
}

void write_cell(BufferedWriter& out, const GridColumn& column, const GridCell& cell, int options) {
  const bool colours = (options & kNoColours) == 0;
  const int text_colour = colours ? cell.text_colour : kNoColour;
  const int background = colours ? cell.background_colour : kNoColour;
  out.write("<td align=");
  out.write(justification_word(column.justification));
  if (background >= 0) {
    out.write(" bgcolor=#");
    put_colour(out, background);
  }
  put_line(out, ">");
  if (text_colour >= 0) {
    out.write("<font color=#");
    put_colour(out, text_colour);
    put_line(out, ">");
  }
  switch (column.type) {
    case ColumnType::CheckBox:
      if ((options & kCheckLetters) != 0) {
        put_line(out, cell.check != 0 ? "Y" : "N");
      } else {
        put_line(out, cell.check != 0 ? "<font face=\"Symbol\">&middot;</font>" : kEmpty);
      }
      break;
    case ColumnType::OptionMenu: put_content(out, option_text(column, cell)); break;
    case ColumnType::Kind8:
    case ColumnType::Kind10: break;
    default: put_content(out, cell.text); break;
  }
  if (text_colour >= 0) put_line(out, "</font>");
  put_line(out, "</td>");
}

void write_html(BufferedWriter& out, const Grid& grid, const HtmlRequest& request) {
  const GridRange& range = request.range;
  write_head(out, request);
  if (grid.column_titles) write_titles(out, grid, range);
  for (int r = range.first_row; r <= range.last_row && !out.failed(); ++r) {
    put_line(out, "<tr>");
    if (grid.row_titles) {
      put_line(out, "<td align=left>");
      put_content(out, *row_title(grid, r));
      put_line(out, "</td>");
    }
    for (int c = range.first_column; c <= range.last_column; ++c) {
      write_cell(out, grid.column(c), grid.cell(c, r), request.options);
    }
    put_line(out, "</tr>");
  }
  put_line(out, "</table>");
  if ((request.options & kCentre) != 0) put_line(out, "</center>");
  if ((request.options & kTableOnly) == 0) {
    put_line(out, "</body>");
    put_line(out, "</html>");
  }
}

}  // namespace
}  // namespace quill

void WGridSaveHTML(int field, std::string_view file_name, std::optional<int> first_column,
                   std::optional<int> last_column, std::optional<int> first_row, std::optional<int> last_row,
                   std::optional<int> options, std::optional<std::string_view> title,
                   std::optional<int> border, std::optional<int> background) {
  const quill::GridTarget target = quill::find_grid(field);
  if (target.error != 0) {
    IErrorReport(target.error, "WGridSaveHTML");
    return;
  }
  const quill::Grid& grid = *target.grid;
  quill::HtmlRequest request;
  request.range = quill::clamp_range(grid, first_column, last_column, first_row, last_row);
  request.options = options.value_or(0);
  request.title = title;
  request.border = border && *border > 0 ? *border : 0;
  if (background && *background >= 0) request.background = *background & 0xFFFFFF;
  quill::BufferedWriter out(quill::kGridWriterBuffer);
  if (!quill::open_grid_file(out, quill::grid_file_name(file_name))) {
    IErrorReport(quill::error::kFileOpen, "WGridSaveHTML");
    return;
  }
  quill::write_html(out, grid, request);
  if (!quill::close_grid_file(out)) IErrorReport(quill::error::kFileReadWrite, "WGridSaveHTML");
}
