// SVG driver: its entries, document header and end, number forms, stroke groups, clipping.
#include <cmath>

#include "graphics/drawing_rules.hpp"
#include "graphics/file_driver.hpp"
#include "graphics/svg/svg_driver.hpp"

namespace quill::svg {
namespace {

constexpr std::string_view kJoins[3] = {"miter", "round", "bevel"};
constexpr std::string_view kCaps[3] = {"butt", "round", "square"};

int clamp_code(int value, int high) { return value < 0 ? 0 : value > high ? high : value; }

void describe_device() {
  if (describe_device_from(
          {kDriverNumber, 640, 480, 72.0, 256, driver_info(kDriverNumber)->capabilities, "quilplot.svg"})) {
    drawing().device.set_option(GrOption::PathLimit, 255);
  }
}

void write_header() {
  const DrawingState& state = drawing();
  SvgState& s = svg();
  s = SvgState{};
  s.sx = driver_scale(state.device.width(), state.drawable.width);
  s.sy = driver_scale(state.device.height(), state.drawable.height);
  s.flip_height = state.drawable.height - 0.01;
  write_line("<?xml version=\"1.0\"?>");
  write_line("<!DOCTYPE svg SYSTEM \"\">");
  LineBuffer line;
  line.add("<svg width=\"").add_int(state.device.option(GrOption::Width)).add("\" height=\"");
  line.add_int(state.device.option(GrOption::Height)).add("\" xmlns=\"http://www.w3.org/2000/svg\">");
  write_line(line);
}

void write_end() {
  SvgState& s = svg();
  LineBuffer line;
  for (; s.depth > 0; --s.depth) {
    line.add("</g>");
  }
  line.add("</svg>");
  write_line(line);
}

void update_stroke_group() {
  SvgState& s = svg();
  const DrawingState& state = drawing();
  const Rgb rgb = stroke_rgb();
  int width = static_cast<int>(state.line.width * 150.0 / 720.0 + 0.5);
  width = width < 1 ? 1 : width;
  const StrokeKey key{clamp_code(state.line.join, 2),
                      clamp_code(state.line.cap, 2),
                      width,
                      clamp_code(state.line.style, 7),
                      rgb.red,
                      rgb.green,
                      rgb.blue};
  if (key == s.stroke) {
    return;
  }
  // The stroke group is the outermost: closing it closes whatever is still open inside.
  while (s.depth > 0) {
    write_line("</g>");
    --s.depth;
  }
  LineBuffer line;
  line.add("<g style=\"fill:none;stroke:#");
  add_colour(line, rgb);
  line.add(";stroke-dasharray:");
  if (key.style == 0) {
    line.add("none");
  } else {
    add_dash_lengths(line, kDashPatterns[static_cast<std::size_t>(key.style)]);
  }
  line.add(";stroke-width:").add_int(key.width);
  line.add(";stroke-linejoin:").add(kJoins[key.join]);
  line.add(";stroke-linecap:").add(kCaps[key.cap]).add("\">");
  open_group(line, Group::Stroke);
  s.stroke = key;
}

void update_clip(const Area& a) {
  SvgState& s = svg();
  s.clip_active = a.left > 0.0F || a.bottom > 0.0F || a.right < 1.0F || a.top < 1.0F;
  if (!s.clip_active) {
    return;
  }
  ++s.clip_counter;
  LineBuffer line;
  line.add("<defs><clipPath id=\"clip").add_int(s.clip_counter).add("\"><rect width=\"");
  add_number(line, a.width * s.sx);
  line.add("\" height=\"");
  add_number(line, a.height * s.sy);
  line.add("\" x=\"");
  add_number(line, doc_x(a.x));
  line.add("\" y=\"");
  add_number(line, doc_y(a.y + a.height));
  line.add("\"/></clipPath></defs>");
  write_line(line);
}

// Colour and line attributes together make the stroke group.
constexpr FileDriver kDriver{
    .number = kDriverNumber,
    .describe = describe_device,
    .header = write_header,
    .trailer = write_end,
    .set_colour = [](const ColourState&) { update_stroke_group(); },
    .set_line = [](LineAttribute, const LineAttributes&) { update_stroke_group(); },
    .clip = update_clip,
    .line = [](double x1, double y1, double x2, double y2) { draw_line(x1, y1, x2, y2, "\"/>"); },
    .point = [](double x, double y) { draw_line(x, y, x, y, "\" />"); },
    .polyline = draw_polyline,
    .arc = [](const Primitive& p) { draw_arc(p, false); },
    .fill = draw_fill,
    .end_fill = end_fill,
    .text = draw_text,
};

}  // namespace

SvgState& svg() {
  static SvgState state;
  return state;
}

void add_number(LineBuffer& line, double value) {
  // "12.50" becomes "12.5", "12.00" becomes "12".
  line.add_fixed(clamp_to_field(value, 8, 2), 2, TrailingZeros{0, false, false});
}

double doc_x(double x) { return x * svg().sx; }
double doc_y(double y) { return (svg().flip_height - y) * svg().sy; }

void add_point(LineBuffer& line, double x, double y) {
  add_number(line, doc_x(x));
  line.add(',');
  add_number(line, doc_y(y));
}

void add_colour(LineBuffer& line, const Rgb& rgb) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (std::uint8_t c : {rgb.red, rgb.green, rgb.blue}) {
    line.add(kHex[c >> 4]).add(kHex[c & 15]);
  }
}

void write_line(const LineBuffer& line) { drawing().output.write_line(line.view()); }
void write_line(std::string_view text) { drawing().output.write_line(text); }

Rgb stroke_rgb() { return reverse_mode_colour(colour_rgb(drawing().colour.current)); }

Rgb fill_rgb() {
  const DrawingState& state = drawing();
  if (state.fill_style != kFillSolidMixed) {
    return stroke_rgb();
  }
  return reverse_mode_colour(mixed_fill_rgb());
}

void open_group(const LineBuffer& line, Group kind) {
  SvgState& s = svg();
  if (s.depth >= static_cast<int>(s.groups.size())) {
    return;  // refuse to nest deeper than the stack records: the document stays balanced
  }
  write_line(line);
  s.groups[static_cast<std::size_t>(s.depth++)] = kind;
}

bool close_group(Group kind) {
  SvgState& s = svg();
  if (s.depth == 0 || s.groups[static_cast<std::size_t>(s.depth - 1)] != kind) {
    return false;
  }
  write_line("</g>");
  --s.depth;
  return true;
}

}  // namespace quill::svg

namespace quill {
void register_driver_svg() { register_driver(svg::kDriverNumber, file_driver_function<svg::kDriver>); }
}  // namespace quill
