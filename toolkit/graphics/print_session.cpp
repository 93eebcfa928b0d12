#include "graphics/print_session.hpp"

#include <algorithm>

#include "quill/graphics.hpp"

namespace quill {
namespace {

constexpr double kShortSide = 210.0, kA4Height = 297.0;

}  // namespace

PrintSession::PrintSession(std::string_view file_name, std::string_view title) {
  DrawingState& state = drawing();
  saved_ = saved_parts(state);
  // No drawable: the hardcopy alone receives the drawing, on a drawable of its page's size.
  state.drawable = Drawable{};
  state.metafile_recorder = false;
  state.area = Area{};
  IGrHardCopy("S", file_name, title);
  // Drivers' resolutions do not all give true sizes: the page's shorter side is taken as
  // 210 mm, the other in proportion.
  const DeviceDescription& device = state.device;
  width_mm_ = kShortSide;
  height_mm_ = kA4Height;
  if (device.width() > 0 && device.height() > 0) {
    const double scale = kShortSide / std::min(device.width(), device.height());
    width_mm_ = device.width() * scale;
    height_mm_ = device.height() * scale;
  }
  IGrUnits(0.0F, 0.0F, static_cast<float>(width_mm_), static_cast<float>(height_mm_));
  IGrLineType(0);
  IGrLineWidth(1);
  IGrFillPattern(0);
}

bool PrintSession::active() const { return !ended_ && drawing().hardcopy.active; }

void PrintSession::end() {
  if (ended_) return;
  ended_ = true;
  IGrHardCopy("E");
  saved_parts(drawing()) = saved_;
}

void PrintSession::abandon() {
  if (!ended_) drawing().hardcopy.discard = true;
  end();
}

PageBox fit_on_page(double page_width, double page_height, double margin, int image_width, int image_height) {
  const double room_x = std::max(page_width - 2 * margin, 0.0),
               room_y = std::max(page_height - 2 * margin, 0.0);
  if (image_width < 1 || image_height < 1) return {};
  const double scale = std::min(room_x / image_width, room_y / image_height);
  const double width = image_width * scale, height = image_height * scale;
  const double left = (page_width - width) / 2, bottom = (page_height - height) / 2;
  return {left, bottom, left + width, bottom + height};
}

}  // namespace quill
