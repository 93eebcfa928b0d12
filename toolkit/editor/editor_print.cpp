#include "editor/editor_print.hpp"

#include <algorithm>

#include "graphics/print_session.hpp"
#include "quill/graphics.hpp"

namespace quill {
namespace {

constexpr float kTextHeight = 3.5F;
constexpr float kRowHeight = 4.6F;
constexpr float kHeaderHeight = 10.0F;
constexpr float kCharWidth = 0.6F * kTextHeight;  // Courier

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
  IGrHardCopySelect(driver);
  PrintSession session(file, title);
  if (!session.active()) return;
  const auto page_width = static_cast<float>(session.page_width());
  const auto page_height = static_cast<float>(session.page_height());
  const auto margin = static_cast<float>(std::clamp(margin_mm, 0, 60));
  const int columns = static_cast<int>((page_width - 2 * margin) / kCharWidth);
  const int rows = static_cast<int>((page_height - 2 * margin - kHeaderHeight) / kRowHeight);
  const auto pages = paginate(text, columns, rows);
  IGrCharFont(1, 0);
  IGrCharSize(0.0F, kTextHeight);
  IGrColourN(0);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) IGrNewPage();
    const float top = page_height - margin;
    IGrCharJustify(0);
    IGrCharOut(margin, top - kTextHeight, title);
    IGrCharJustify(2);
    IGrCharOut(page_width - margin, top - kTextHeight,
               "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size()));
    IGrJoin(margin, top - kHeaderHeight + 3.0F, page_width - margin, top - kHeaderHeight + 3.0F);
    IGrCharJustify(0);
    float y = top - kHeaderHeight - kTextHeight;
    for (const std::string& row : pages[p]) {
      if (!row.empty()) IGrCharOut(margin, y, row);
      y -= kRowHeight;
    }
  }
}

}  // namespace quill
