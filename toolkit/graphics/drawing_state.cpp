#include "graphics/drawing_state.hpp"

#include <cmath>

namespace quill {
namespace {

DrawingState& state_instance() {
  static DrawingState instance;
  return instance;
}

constexpr std::array<Rgb, 8> kRampEnds = {{
    {255, 0, 0},
    {255, 255, 0},
    {0, 255, 0},
    {0, 255, 255},
    {0, 0, 255},
    {255, 0, 255},
    {0, 0, 0},
    {255, 255, 255},
}};

std::uint8_t mix(std::uint8_t from, std::uint8_t to, int step, int steps) {
  return static_cast<std::uint8_t>(from + (to - from) * step / steps);
}

}  // namespace

DrawingState& drawing() { return state_instance(); }

void reset_drawing_for_tests() {
  DrawingState& state = state_instance();
  state.output.close();
  state.units = {};
  state.presentation = {};
  state.area = {};
  state.drawable = {};
  state.colour = {};
  state.line = {};
  state.text = {};
  state.fill_style = 0;
  state.primitive.xs.clear();
  state.primitive.ys.clear();
  state.primitive.count = 0;
  state.primitive.int_param = {};
  state.primitive.pixels = {};
  state.pen_x = state.pen_y = kUnknownPosition;
  state.user_pen_x = state.user_pen_y = 0.0;
  state.hardcopy = {};
  state.device = {};
  state.metafile_used = {};
  state.metafile_recorder = false;
  state.bitmap_count = 0;
}

Rgb palette_colour(int number) {
  const int ramp = (number & 255) / 32;
  const int step = (number & 255) % 32;
  const Rgb white{255, 255, 255};
  if (ramp == 7) {  // 224..255: grey from black up to near white
    return Rgb{mix(0, 255, step, 32), mix(0, 255, step, 32), mix(0, 255, step, 32)};
  }
  const Rgb end = kRampEnds[static_cast<std::size_t>(ramp)];
  return Rgb{mix(white.red, end.red, step, 31), mix(white.green, end.green, step, 31),
             mix(white.blue, end.blue, step, 31)};
}

Rgb colour_rgb(int colour) {
  if (colour < 0) {
    return Rgb{};
  }
  if (!drawing().drawable.true_colour) {
    return palette_colour(colour);
  }
  return Rgb{static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
             static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

void update_colour_intensities() {
  ColourState& colour = drawing().colour;
  const Rgb rgb = colour_rgb(colour.current);
  colour.red = rgb.red / 255.0;
  colour.green = rgb.green / 255.0;
  colour.blue = rgb.blue / 255.0;
}

void update_area_units() {
  DrawingState& state = drawing();
  Area& area = state.area;
  area.x = area.left * state.drawable.max_x;
  area.y = area.bottom * state.drawable.max_y;
  area.width = (area.right - area.left) * state.drawable.max_x;
  area.height = (area.top - area.bottom) * state.drawable.max_y;
}

void set_drawable_size(double width, double height) {
  Drawable& drawable = drawing().drawable;
  drawable.width = width;
  drawable.height = height;
  drawable.max_x = width - 0.01;
  drawable.max_y = height - 0.01;
  update_area_units();
}

double driver_scale(double device_size, double drawing_size) {
  const double usable = drawing_size - 0.01;
  if (!(usable > 0.0) || !std::isfinite(usable) || !std::isfinite(device_size)) {
    return 1.0;
  }
  return device_size / usable;
}

double to_drawing_x(double x) {
  const DrawingState& state = drawing();
  return state.area.x + (x - state.units.left) / state.units.width * state.area.width;
}

double to_drawing_y(double y) {
  const DrawingState& state = drawing();
  return state.area.y + (y - state.units.bottom) / state.units.height * state.area.height;
}

double to_drawing_width(double w) {
  const DrawingState& state = drawing();
  return w / state.units.width * state.area.width;
}

double to_drawing_height(double h) {
  const DrawingState& state = drawing();
  return h / state.units.height * state.area.height;
}

namespace {

// Drawing size d across an area of extent area_size covering user_size user units.
double user_extent(double d, double area_size, double user_size) {
  return area_size > 0.0 ? d / area_size * user_size : 0.0;
}

}  // namespace

double to_user_x(double x) {
  const DrawingState& state = drawing();
  return state.units.left + user_extent(x - state.area.x, state.area.width, state.units.width);
}

double to_user_y(double y) {
  const DrawingState& state = drawing();
  return state.units.bottom + user_extent(y - state.area.y, state.area.height, state.units.height);
}

double to_user_width(double w) {
  const DrawingState& state = drawing();
  return user_extent(w, state.area.width, state.units.width);
}

double to_user_height(double h) {
  const DrawingState& state = drawing();
  return user_extent(h, state.area.height, state.units.height);
}

}  // namespace quill
