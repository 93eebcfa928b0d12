#include "editor/editor_print.hpp"

#include <algorithm>

#include "graphics/drawing_state.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"

namespace quill {
namespace {

constexpr float kPageWidth = 210.0F;  // user units are millimetres of an A4-wide page
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
  DrawingState& state = drawing();
  const UserRange units = state.units;
  const Area area = state.area;
  const Drawable drawable = state.drawable;
  const TextAttributes attributes = state.text;
  const ColourState colour = state.colour;
  int scratch = 0;
  WBitmapCreate(scratch, 8, 8, 24);
  if (scratch != 0) IGrSelect(2, scratch);
  IGrArea(0.0F, 0.0F, 1.0F, 1.0F);
  IGrHardCopySelect(driver);
  IGrHardCopy("S", file, title);
  const DeviceDescription& device = state.device;
  const float page_height =
      device.width() > 0 ? kPageWidth * static_cast<float>(device.height() / device.width()) : 297.0F;
  IGrUnits(0.0F, 0.0F, kPageWidth, page_height);
  const auto margin = static_cast<float>(std::clamp(margin_mm, 0, 60));
  const int columns = static_cast<int>((kPageWidth - 2 * margin) / kCharWidth);
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
    IGrCharOut(kPageWidth - margin, top - kTextHeight,
               "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size()));
    IGrJoin(margin, top - kHeaderHeight + 3.0F, kPageWidth - margin, top - kHeaderHeight + 3.0F);
    IGrCharJustify(0);
    float y = top - kHeaderHeight - kTextHeight;
    for (const std::string& row : pages[p]) {
      if (!row.empty()) IGrCharOut(margin, y, row);
      y -= kRowHeight;
    }
  }
  IGrHardCopy("E");
  state.units = units;
  state.area = area;
  state.drawable = drawable;
  state.text = attributes;
  state.colour = colour;
  if (scratch != 0) WBitmapDestroy(scratch);
}

}  // namespace quill
