// Text attributes and text output.
#include <cmath>

#include "graphics/drawing_state.hpp"
#include "quill/graphics.hpp"

namespace quill {
namespace {

constexpr double kDegree = 0.017453292519943295;

// Character size in drawing units from the user size (default: 1/40 of the area height).
void update_character_size() {
  DrawingState& state = drawing();
  TextAttributes& text = state.text;
  const double default_height = state.area.height / 40.0;
  text.height = text.user_height > 0.0F ? to_drawing_height(text.user_height) : default_height;
  text.width = text.user_width > 0.0F ? to_drawing_width(text.user_width) : text.height * 0.6;
  if (!std::isfinite(text.height) || text.height < 0.0) {
    text.height = default_height;
  }
  if (!std::isfinite(text.width) || text.width < 0.0) {
    text.width = text.height * 0.6;
  }
}

}  // namespace
}  // namespace quill

using namespace quill;

void IGrCharFont(int family, int style) {
  TextAttributes& text = drawing().text;
  text.family = family >= 1 && family <= 4 ? family : 2;
  text.style = ((style % 4) + 4) % 4;
  update_character_size();
  send_operation(GrOp::SelectFont);
}

void IGrCharSize(float width, float height) {
  TextAttributes& text = drawing().text;
  text.user_width = std::isfinite(width) && width > 0.0F ? width : 0.0F;
  text.user_height = std::isfinite(height) && height > 0.0F ? height : 0.0F;
  update_character_size();
  send_operation(GrOp::SelectFont);
}

void IGrCharRotate(float degrees) {
  drawing().text.rotation = std::isfinite(degrees) ? std::fmod(degrees, 360.0F) : 0.0;
}

void IGrCharJustify(int justification) {
  if (justification >= 0 && justification <= 2) {
    drawing().text.justification = justification;
  }
}

void IGrTextMode(int mode) {
  if (mode >= 0 && mode <= 2) {
    drawing().text.mode = mode;
  }
}

void IGrTextFlags(int flags) { drawing().text.flags = flags & (kTextGroupStart | kTextGroupEnd); }

void IGrCharOut(float x, float y, std::string_view text_value) {
  DrawingState& state = drawing();
  TextAttributes& text = state.text;
  update_character_size();
  // The text's extent, estimated from the character width along the text direction, is
  // placed so that (x, y) is its start, middle or end by the justification; drivers
  // align the text exactly at that point.
  const double length = text.width * static_cast<double>(text_value.size());
  const double angle = text.rotation * kDegree;
  const double dx = length * std::cos(angle), dy = length * std::sin(angle);
  const int justification = text.mode == 1 ? 0 : text.justification;
  const double before = justification == 1 ? 0.5 : justification == 2 ? 1.0 : 0.0;
  text.x = to_drawing_x(x) - before * dx;
  text.y = to_drawing_y(y) - before * dy;
  text.end_x = text.x + dx;
  text.end_y = text.y + dy;
  text.text = text_value;
  send_operation(GrOp::Text);
  text.text = {};
}
