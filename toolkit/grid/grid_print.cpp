// Printing a grid through the selected hardcopy driver: its cells in their colours and
// justification, its titles, over as many pages as it needs, with the column titles (and
// the row titles) repeated on every page.
#include <algorithm>
#include <string>
#include <vector>

#include "graphics/print_session.hpp"
#include "grid/grid_print_layout.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/grid.hpp"

namespace quill {
namespace {

// Millimetres: Courier text 3.5 high (2.1 per character), 5 per line, 15 margins, and a
// header line above the grid.
constexpr float kTextHeight = 3.5F;
constexpr float kCharWidth = 0.6F * kTextHeight;
constexpr float kLineHeight = 5.0F;
constexpr float kMargin = 15.0F;
constexpr float kHeaderHeight = 10.0F;
constexpr int kTitleBackground = 0xE0E0E0;
constexpr int kLineColour = 0xA0A0A0;
constexpr int kBlack = 0;

std::string cell_text(const GridColumn& column, const GridCell& cell) {
  switch (column.type) {
    case ColumnType::CheckBox: return cell.check != 0 ? "[X]" : "[ ]";
    case ColumnType::OptionMenu: return std::string(option_text(column, cell));
    case ColumnType::Kind8:
    case ColumnType::Kind10: return {};
    default: return std::string(cell.text);
  }
}

// One printed cell: a box from left to right (millimetres) on the line whose bottom is y.
struct CellBox {
  float left, right, bottom;
};

void draw_cell(const CellBox& box, std::string_view text, int width, int justification, int text_colour,
               int background) {
  if (background >= 0) {
    IGrFillPattern(4);
    IGrColourN(background);
    IGrRectangle(box.left, box.bottom, box.right, box.bottom + kLineHeight);
    IGrFillPattern(0);
  }
  IGrColourN(kLineColour);
  IGrRectangle(box.left, box.bottom, box.right, box.bottom + kLineHeight);
  text = text.substr(0, static_cast<std::size_t>(std::max(width, 0)));
  if (text.empty()) return;
  IGrColourN(text_colour >= 0 ? text_colour : kBlack);
  const float baseline = box.bottom + (kLineHeight - kTextHeight) / 2 + 0.3F;
  const float pad = kCharWidth / 2;
  IGrCharJustify(justification);
  const float x = justification == kJustifyCentre  ? (box.left + box.right) / 2
                  : justification == kJustifyRight ? box.right - pad
                                                   : box.left + pad;
  IGrCharOut(x, baseline, text);
}

void print_grid(const Grid& grid, PrintSession& session, std::string_view title) {
  const auto page_width = static_cast<float>(session.page_width());
  const auto page_height = static_cast<float>(session.page_height());
  std::vector<int> widths;
  for (const GridColumn& column : grid.columns) widths.push_back(std::max(column.width, 1));
  int row_title_width = 0;
  if (grid.row_titles) {
    row_title_width = static_cast<int>(grid.corner_title.size());
    for (const std::string& text : grid.row_title_texts)
      row_title_width = std::max(row_title_width, static_cast<int>(text.size()));
    row_title_width = std::clamp(row_title_width, 1, 20) + 1;
  }
  const int page_columns = static_cast<int>((page_width - 2 * kMargin) / kCharWidth);
  const int page_lines = static_cast<int>((page_height - 2 * kMargin - kHeaderHeight) / kLineHeight);
  const std::vector<GridPage> pages =
      grid_pages(widths, grid.rows, row_title_width, grid.column_titles, page_columns, page_lines);
  IGrCharFont(1, 0);
  IGrCharSize(0.0F, kTextHeight);
  IGrLineWidth(1);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const GridPage& page = pages[p];
    if (p > 0) IGrNewPage();
    const float top = page_height - kMargin;
    IGrColourN(kBlack);
    IGrCharJustify(0);
    if (!title.empty()) IGrCharOut(kMargin, top - kTextHeight, title);
    IGrCharJustify(2);
    IGrCharOut(page_width - kMargin, top - kTextHeight,
               "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size()));
    float y = top - kHeaderHeight - kLineHeight;
    // The left edge of each column of this page, after the row titles.
    std::vector<float> lefts{kMargin + static_cast<float>(row_title_width) * kCharWidth};
    for (int c = page.first_column; c <= page.last_column; ++c) {
      lefts.push_back(lefts.back() +
                      static_cast<float>(widths[static_cast<std::size_t>(c - 1)] + 1) * kCharWidth);
    }
    const auto print_line = [&](std::string_view row_title, auto&& cell_of) {
      if (row_title_width > 0) {
        draw_cell({kMargin, lefts.front(), y}, row_title, row_title_width - 1, kJustifyLeft, kBlack,
                  kTitleBackground);
      }
      for (int c = page.first_column; c <= page.last_column; ++c) {
        const std::size_t at = static_cast<std::size_t>(c - page.first_column);
        cell_of(c, CellBox{lefts[at], lefts[at + 1], y});
      }
      y -= kLineHeight;
    };
    if (grid.column_titles) {
      IGrCharFont(1, 1);
      print_line(grid.corner_title, [&](int c, const CellBox& box) {
        draw_cell(box, grid.column(c).title, widths[static_cast<std::size_t>(c - 1)], kJustifyLeft, kBlack,
                  kTitleBackground);
      });
      IGrCharFont(1, 0);
    }
    for (int r = page.first_row; r <= page.last_row; ++r) {
      const std::string_view row_title =
          row_title_width > 0 ? *quill::row_title(grid, r) : std::string_view{};
      print_line(row_title, [&](int c, const CellBox& box) {
        const GridColumn& column = grid.column(c);
        const GridCell& cell = grid.cell(c, r);
        draw_cell(box, cell_text(column, cell), widths[static_cast<std::size_t>(c - 1)], column.justification,
                  cell.text_colour, cell.background_colour);
      });
    }
  }
}

}  // namespace
}  // namespace quill

using namespace quill;

void WGridPrint(int field, std::string_view file_name, std::string_view title) {
  const GridTarget target = find_grid(field);
  if (target.error != 0) {
    IErrorReport(target.error, "WGridPrint");
    return;
  }
  PrintSession session(file_name, title);
  if (session.active()) print_grid(*target.grid, session, title);
}
