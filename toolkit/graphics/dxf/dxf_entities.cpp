// DXF entities: one per primitive, in inches, on layer "1".
#include <algorithm>
#include <cmath>

#include "graphics/dxf/dxf_driver.hpp"

namespace quill::dxf {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr std::size_t kMaxText = 255;

void head(std::string_view name) {
  const DxfState& s = dxf();
  group(0, name);
  group(8, "1");
  group_int(62, s.colour_index);
  // Readers of releases without true colour take group 62 and skip 420.
  if (colour_depth() == 24) {
    group_int(420, s.colour_value);
  }
}

void point(int code, double x, double y) {
  const DxfState& s = dxf();
  group_real(code, x * s.sx);
  group_real(code + 10, y * s.sy);
}

void line_type_and_width() {
  const std::string_view name = line_type_name(drawing().line.style);
  if (!name.empty()) {
    group(6, name);
  }
  group_real(39, drawing().line.width / 720.0);
}

bool square_area() {
  const Area& area = drawing().area;
  return std::fabs((area.right - area.left) - (area.top - area.bottom)) < 1e-6F;
}

}  // namespace

void write_line(double x1, double y1, double x2, double y2) {
  head("LINE");
  line_type_and_width();
  point(10, x1, y1);
  point(11, x2, y2);
}

void write_point(double x, double y) {
  head("POINT");
  point(10, x, y);
}

void write_polyline(PointArrays points) {
  head("POLYLINE");
  line_type_and_width();
  group(66, "1");
  group(70, "0");
  for (std::size_t i = 0; i < points.size(); ++i) {
    group(0, "VERTEX");
    group(8, "1");
    point(10, points.xs[i], points.ys[i]);
  }
  group(0, "SEQEND");
}

namespace {

void write_circle(const Primitive& p) {
  if (drawing().fill_style >= kFillSolidMixed || !square_area() || p.rx != p.ry) {
    return;
  }
  head("CIRCLE");
  group_real(39, drawing().line.width / 720.0);
  point(10, p.cx, p.cy);
  group_real(40, p.rx * dxf().sx);
}

// Arc angles are written in degrees, counter-clockwise from the smaller to the larger.
// The outline of a sector also gets its two radii.
}  // namespace

void write_arc(const Primitive& p) {
  if (!square_area()) {
    return;
  }
  head("ARC");
  line_type_and_width();
  point(10, p.cx, p.cy);
  group_real(40, p.rx * dxf().sx);
  group_real(50, std::min(p.start_angle, p.end_angle) * kDegreesPerRadian);
  group_real(51, std::max(p.start_angle, p.end_angle) * kDegreesPerRadian);
  if (p.int_param[0] == 1) {
    for (double angle : {p.start_angle, p.end_angle}) {
      write_line(p.cx, p.cy, p.cx + p.rx * std::cos(angle), p.cy + p.rx * std::sin(angle));
    }
  }
}

namespace {

// SOLID takes its corners in zigzag order: first, second, then the one opposite the
// first's neighbour, so that a quadrilateral a-b-c-d is written a, b, d, c.
void write_solid(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
  head("SOLID");
  point(10, ax, ay);
  point(11, bx, by);
  point(12, cx, cy);
  point(13, dx, dy);
}

void write_solid_shape(Shape shape, const Primitive& p) {
  const DrawingState& state = drawing();
  if (state.fill_style != kFillSolid) {
    return;
  }
  if (shape == Shape::Rectangle) {
    const Area& area = state.area;
    const auto limit_x = [&area](double x) { return std::clamp(x, area.x, area.x + area.width); };
    const auto limit_y = [&area](double y) { return std::clamp(y, area.y, area.y + area.height); };
    const double x1 = limit_x(p.x1), y1 = limit_y(p.y1), x2 = limit_x(p.x2), y2 = limit_y(p.y2);
    write_solid(x1, y1, x2, y1, x1, y2, x2, y2);
    return;
  }
  const std::size_t needed = shape == Shape::Triangle ? 3 : 4;
  if (p.xs.size() < needed || p.ys.size() < needed || p.count < static_cast<int>(needed)) {
    return;
  }
  if (shape == Shape::Triangle) {
    write_solid(p.xs[0], p.ys[0], p.xs[1], p.ys[1], p.xs[2], p.ys[2], p.xs[2], p.ys[2]);
  } else {
    write_solid(p.xs[0], p.ys[0], p.xs[1], p.ys[1], p.xs[3], p.ys[3], p.xs[2], p.ys[2]);
  }
}

// Text value: line breaks and other control bytes would break the group structure.
void text_group(std::string_view text) {
  char cleaned[kMaxText];
  const std::size_t n = std::min(text.size(), kMaxText);
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    cleaned[i] = byte < 32 || byte == 127 ? ' ' : text[i];
  }
  group(1, std::string_view(cleaned, n));
}

}  // namespace

void write_text(const TextAttributes& text) {
  if (text.text.empty()) {
    return;
  }
  const DxfState& s = dxf();
  const double angle = std::isfinite(text.rotation) ? text.rotation : 0.0;
  const double sine = std::sin(angle / kDegreesPerRadian);
  const double cosine = std::cos(angle / kDegreesPerRadian);
  // The text position is the middle of the characters: move down towards the baseline.
  const double x = text.x + 0.22 * text.height * sine;
  const double y = text.y - 0.22 * text.height * cosine;
  head("TEXT");
  group_real(40, text.height * s.sy * (text.mode == 0 ? 0.78 : 0.63));
  group_real(41, text.height > 0.0 ? (text.width * s.sx) / (text.height * s.sy) : 1.0);
  group_int(50, static_cast<long long>(std::trunc(angle)));
  text_group(text.text);
  group(7, "STANDARD");
  if (text.alignment) {
    const double half = std::hypot(text.end_x - text.x, text.end_y - text.y) / 2.0;
    group(72, "1");
    point(10, x, y);
    point(11, x + half * cosine, y + half * sine);
  } else {
    group(72, "0");
    point(10, x, y);
  }
}

// Circles are written as outlines; sectors and polygons leave their fill to hatching lines.
void write_fill(Shape shape, const Primitive& p) {
  switch (shape) {
    case Shape::Ellipse: write_circle(p); return;
    case Shape::Triangle:
    case Shape::Rectangle:
    case Shape::Parallelogram: write_solid_shape(shape, p); return;
    default: return;
  }
}

}  // namespace quill::dxf
