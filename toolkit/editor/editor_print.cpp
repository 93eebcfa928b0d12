#include "editor/editor_print.hpp"

#include <algorithm>
#include <memory>

#include "graphics/print_session.hpp"
#include "quill/graphics.hpp"

namespace quill {
namespace {

constexpr float kTextHeight = 3.5F;
constexpr float kRowHeight = 4.6F;
constexpr float kHeaderHeight = 10.0F;
constexpr float kCharWidth = 0.6F * kTextHeight;  // Courier
constexpr float kPoint = 25.4F / 72.0F;           // millimetres
constexpr float kLineSpacing = kRowHeight / kTextHeight;

// A print session on a driver, with the page's size and margin in millimetres.
struct PrintPage {
  std::unique_ptr<PrintSession> session;
  float width = 0.0F, height = 0.0F, margin = 0.0F;
};
PrintPage start_printing(int driver, const std::string& file, const std::string& title, int margin_mm) {
  IGrHardCopySelect(driver);
  PrintPage page{std::make_unique<PrintSession>(file, title)};
  page.width = static_cast<float>(page.session->page_width());
  page.height = static_cast<float>(page.session->page_height());
  page.margin = static_cast<float>(std::clamp(margin_mm, 0, 60));
  return page;
}

// The page's header: the title, "Page n of m" and a rule under them; answers where the
// text starts (the top of its first row).
float print_header(const std::string& title, std::size_t page, std::size_t pages, float page_width,
                   float page_height, float margin) {
  const float top = page_height - margin;
  IGrCharFont(1, 0);
  IGrCharSize(0.0F, kTextHeight);
  IGrColourN(0);
  IGrCharJustify(0);
  IGrCharOut(margin, top - kTextHeight, title);
  IGrCharJustify(2);
  IGrCharOut(page_width - margin, top - kTextHeight,
             "Page " + std::to_string(page + 1) + " of " + std::to_string(pages));
  IGrJoin(margin, top - kHeaderHeight + 3.0F, page_width - margin, top - kHeaderHeight + 3.0F);
  IGrCharJustify(0);
  return top - kHeaderHeight;
}

}  // namespace

std::vector<std::vector<std::string>> paginate(std::string_view text, int columns, int rows_per_page) {
  const auto width = static_cast<std::size_t>(std::max(columns, 1));
  const auto rows = static_cast<std::size_t>(std::max(rows_per_page, 1));
  std::vector<std::vector<std::string>> pages(1);
  auto add_row = [&](std::string_view row) {
    if (pages.back().size() == rows) pages.emplace_back();
    pages.back().emplace_back(row);
  };
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    do {
      add_row(line.substr(0, width));
      line.remove_prefix(std::min(width, line.size()));
    } while (!line.empty());
    start = next;
  }
  return pages;
}

void print_text(std::string_view text, int driver, const std::string& file, const std::string& title,
                int margin_mm) {
  const PrintPage page = start_printing(driver, file, title, margin_mm);
  if (!page.session->active()) return;
  const float page_width = page.width, page_height = page.height, margin = page.margin;
  const int columns = static_cast<int>((page_width - 2 * margin) / kCharWidth);
  const int rows = static_cast<int>((page_height - 2 * margin - kHeaderHeight) / kRowHeight);
  const auto pages = paginate(text, columns, rows);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) IGrNewPage();
    float y = print_header(title, p, pages.size(), page_width, page_height, margin) - kTextHeight;
    IGrCharFont(1, 0);
    IGrCharSize(0.0F, kTextHeight);
    for (const std::string& row : pages[p]) {
      if (!row.empty()) IGrCharOut(margin, y, row);
      y -= kRowHeight;
    }
  }
}

std::vector<std::vector<PrintRow>> lay_out_runs(const std::vector<PrintRun>& runs, float width,
                                                float height) {
  std::vector<std::vector<PrintRow>> pages(1);
  PrintRow row;
  float x = 0.0F, used = 0.0F;
  const auto end_row = [&](float points) {
    if (row.height == 0.0F) row.height = points * kPoint * kLineSpacing;
    if (!pages.back().empty() && used + row.height > height) {
      pages.emplace_back();
      used = 0.0F;
    }
    used += row.height;
    pages.back().push_back(std::move(row));
    row = PrintRow{};
    x = 0.0F;
  };
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const PrintRun& run = runs[r];
    const float cell = 0.6F * run.points * kPoint;
    std::string_view rest = run.text;
    while (!rest.empty()) {
      const std::size_t end = std::min(rest.find('\n'), rest.size());
      std::string_view line = rest.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      while (!line.empty()) {
        // As many characters as fit the row (at least one on an empty row).
        auto fit = static_cast<std::size_t>(std::max(0.0F, (width - x) / cell) + 1e-3F);
        if (fit == 0 && row.pieces.empty()) fit = 1;
        if (fit == 0) {
          end_row(run.points);
          continue;
        }
        const std::string_view piece = line.substr(0, fit);
        row.pieces.push_back({x, std::string(piece), r});
        row.height = std::max(row.height, run.points * kPoint * kLineSpacing);
        x += cell * static_cast<float>(piece.size());
        line.remove_prefix(piece.size());
        if (!line.empty()) end_row(run.points);
      }
      if (end == rest.size()) break;
      end_row(run.points);
      rest.remove_prefix(end + 1);
    }
  }
  if (!row.pieces.empty()) end_row(runs.back().points);
  return pages;
}

void print_runs(const std::vector<PrintRun>& runs, int driver, const std::string& file,
                const std::string& title, int margin_mm) {
  const PrintPage page = start_printing(driver, file, title, margin_mm);
  if (!page.session->active()) return;
  const float page_width = page.width, page_height = page.height, margin = page.margin;
  const auto pages = lay_out_runs(runs, page_width - 2 * margin, page_height - 2 * margin - kHeaderHeight);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) IGrNewPage();
    float top = print_header(title, p, pages.size(), page_width, page_height, margin);
    for (const PrintRow& row : pages[p]) {
      // Text sits on a baseline a fifth of the row above the row's foot.
      const float baseline = top - row.height * 0.8F;
      for (const PrintRow::Piece& piece : row.pieces) {
        const PrintRun& run = runs[piece.run];
        IGrCharFont(1, run.style & 3);
        IGrCharSize(0.0F, run.points * kPoint);
        IGrColourN(static_cast<int>(run.colour & 0xFFFFFFu));
        IGrCharOut(margin + piece.x, baseline, piece.text);
      }
      top -= row.height;
    }
  }
}

}  // namespace quill
