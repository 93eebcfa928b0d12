// CGM elements for the drawing operations: lines, fills, attributes, text and images.
#include <algorithm>
#include <cmath>

#include "graphics/cgm/cgm_driver.hpp"

#include "graphics/drawing_rules.hpp"
namespace quill::cgm {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kDegree = 0.017453292519943295;

enum class Interior : int { Hollow = 0, Solid = 1, Empty = 4 };

Encoder& encoder() { return cgm().encoder; }

void add_point(double x, double y) {
  const CgmState& s = cgm();
  encoder().add_point(x * s.sx, y * s.sy);
}

double vdc_length(double points_tenths) {
  return std::max(1.0, std::round(points_tenths * cgm().vdc_per_inch / 720.0));
}

void line_colour() { encoder().start(5, 4).add_colour(cgm().colour).finish(); }

void polyline_of_pair(double x1, double y1, double x2, double y2) {
  line_colour();
  encoder().start(4, 1);
  add_point(x1, y1);
  add_point(x2, y2);
  encoder().finish();
}

std::size_t point_count(const Primitive& p) {
  return std::min({static_cast<std::size_t>(std::max(p.count, 0)), p.xs.size(), p.ys.size()});
}

void polyline() {
  const Primitive& p = drawing().primitive;
  const std::size_t n = point_count(p);
  if (n < 2) {
    return;
  }
  line_colour();
  encoder().start(4, 1);
  for (std::size_t i = 0; i < n; ++i) {
    add_point(p.xs[i], p.ys[i]);
  }
  encoder().finish();
}

void add_arc_points(const Primitive& p, double start, double end) {
  const double sweep = std::isfinite(end - start) ? std::clamp(end - start, -kTwoPi, kTwoPi) : 0.0;
  const int steps = std::max(4, static_cast<int>(std::ceil(std::fabs(sweep) / kTwoPi * 72.0)));
  for (int i = 0; i <= steps; ++i) {
    const double angle = start + sweep * i / steps;
    add_point(p.cx + p.rx * std::cos(angle), p.cy + p.ry * std::sin(angle));
  }
}

// An arc as a polyline; with int_param[0] == 1 the closed outline of a sector.
void arc() {
  const Primitive& p = drawing().primitive;
  line_colour();
  encoder().start(4, 1);
  const bool closed = p.int_param[0] == 1;
  if (closed) {
    add_point(p.cx, p.cy);
  }
  add_arc_points(p, p.start_angle, p.end_angle);
  if (closed) {
    add_point(p.cx, p.cy);
  }
  encoder().finish();
}

void edge_attributes(bool visible) {
  const CgmState& s = cgm();
  Encoder& e = encoder();
  e.start(5, 30).add_int(visible ? 1 : 0).finish();
  if (visible) {
    e.start(5, 29).add_colour(s.colour).finish();
    e.start(5, 27).add_int(1).finish();
    e.start(5, 28).add_vdc(vdc_length(drawing().line.width)).finish();
  }
}

void shape(GrOp op) {
  const Primitive& p = drawing().primitive;
  Encoder& e = encoder();
  switch (op) {
    case GrOp::Ellipse:
      e.start(4, 17);
      add_point(p.cx, p.cy);
      add_point(p.cx + p.rx, p.cy);
      add_point(p.cx, p.cy + p.ry);
      e.finish();
      return;
    case GrOp::Rectangle:
      e.start(4, 11);
      add_point(p.x1, p.y1);
      add_point(p.x2, p.y2);
      e.finish();
      return;
    case GrOp::Sector:
      e.start(4, 7);
      add_point(p.cx, p.cy);
      add_arc_points(p, p.start_angle, p.end_angle);
      e.finish();
      return;
    default: {
      const std::size_t n = point_count(p);
      if (n < 3) {
        return;
      }
      e.start(4, 7);
      for (std::size_t i = 0; i < n; ++i) {
        add_point(p.xs[i], p.ys[i]);
      }
      e.finish();
    }
  }
}

// Filled shapes, and the ellipse also as an outline (its edge, with an empty interior).
void fill(GrOp op) {
  const DrawingState& state = drawing();
  if (state.primitive.int_param[1] == kClosingCall) {
    return;
  }
  const bool filled = state.fill_style >= kFillSolidMixed;
  if (!filled && op != GrOp::Ellipse) {
    return;
  }
  const CgmState& s = cgm();
  encoder().start(5, 23).add_colour(state.fill_style == kFillSolidMixed ? mixed_colour(s.previous, s.colour) : s.colour).finish();
  if (!filled) {
    edge_attributes(true);
  }
  encoder().start(5, 22).add_int(static_cast<long>(filled ? Interior::Solid : Interior::Empty)).finish();
  shape(op);
  if (!filled) {
    edge_attributes(false);
  }
}

void line_type() {
  // Solid, dot, dash, dash-dot, dash-dot-dot, dash-dot, dash, dash-dot-dot.
  constexpr int kTypes[8] = {1, 3, 2, 4, 5, 4, 2, 5};
  const int style = drawing().line.style;
  if (cgm().recorder && style >= 1 && style <= 7) {
    encoder().start(5, 2).add_int(-style).finish();  // a private type keeps the style for a replay
    return;
  }
  encoder().start(5, 2).add_int(style >= 0 && style <= 7 ? kTypes[style] : 1).finish();
}

void font() {
  const TextAttributes& text = drawing().text;
  const int family = text.family >= 1 && text.family <= 4 ? text.family : 2;
  encoder().start(5, 10).add_int((family - 1) * 4 + (text.style & 3) + 1).finish();
  encoder().start(5, 15).add_vdc(std::max(1.0, text.height * cgm().sy)).finish();
  if (cgm().recorder) {
    encoder().start(5, 12).add_real(text.height > 0.0 ? text.width / text.height : 0.6).finish();
  }
}

void orientation(double degrees) {
  CgmState& s = cgm();
  s.direction = degrees;
  const double c = std::cos(degrees * kDegree) * 1000.0, sn = std::sin(degrees * kDegree) * 1000.0;
  encoder().start(5, 16).add_vdc(std::round(-sn)).add_vdc(std::round(c)).add_vdc(std::round(c)).add_vdc(std::round(sn)).finish();
}

// Text is aligned at its bottom; the drawing state's position is the middle of the
// characters, so the reference point moves down by half the height.
void text() {
  const TextAttributes& t = drawing().text;
  const CgmState& s = cgm();
  Encoder& e = encoder();
  const double angle = std::isfinite(t.rotation) ? t.rotation : 0.0;
  if (angle != s.direction) {
    orientation(angle);
  }
  const int justification = t.mode == 1 || t.justification < 0 || t.justification > 2 ? 0 : t.justification;
  e.start(3, 4).add_int(1).finish();
  e.start(3, 3).add_colour(s.colour).finish();
  e.start(5, 14).add_colour(s.colour).finish();
  e.start(5, 18).add_int(justification + 1).add_int(5).add_real(0.0).add_real(0.0).finish();
  const double down_x = 0.5 * t.height * std::sin(angle * kDegree);
  const double down_y = -0.5 * t.height * std::cos(angle * kDegree);
  double x = t.x + down_x, y = t.y + down_y;
  if (s.recorder) {
    x = t.x;
    y = t.y;
  } else if (justification == 1) {
    x = (x + t.end_x + down_x) / 2.0;
    y = (y + t.end_y + down_y) / 2.0;
  } else if (justification == 2) {
    x = t.end_x + down_x;
    y = t.end_y + down_y;
  }
  e.start(4, 4);
  add_point(x, y);
  e.add_int(1).add_string(t.text).finish();
  e.start(3, 4).add_int(1).finish();
}

void clip() {
  const Area& area = drawing().area;
  cgm().clip_set = true;
  encoder().start(3, 6).add_int(1).finish();
  encoder().start(3, 5);
  add_point(area.x, area.y);
  add_point(area.x + area.width, area.y + area.height);
  encoder().finish();
}

// Cell array rows, top row first, run-length encoded; each row starts on a word.
void image() {
  const Primitive& p = drawing().primitive;
  const int width = p.image_width, height = p.image_height;
  if (width < 1 || height < 1 || p.pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return;
  }
  Encoder& e = encoder();
  e.start(4, 9);
  add_point(p.x1, p.y2);
  add_point(p.x2, p.y1);
  add_point(p.x2, p.y2);
  e.add_int(width).add_int(height).add_int(8).add_int(0);
  for (int row = 0; row < height; ++row) {
    const std::uint32_t* pixels = p.pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
    std::size_t row_bytes = 0;
    for (int column = 0; column < width;) {
      int run = 1;
      while (column + run < width && run < 32767 && pixels[column + run] == pixels[column]) {
        ++run;
      }
      const std::uint32_t value = pixels[column];
      e.add_int(run).add_colour(output_colour(static_cast<int>(value & 0xFFFFFFU)));
      row_bytes += 5;
      column += run;
    }
    if (row_bytes % 2 != 0) {
      e.add_byte(0);
    }
  }
  e.finish();
}

bool is_attribute(GrOp op) {
  switch (op) {
    case GrOp::LineStyle: case GrOp::LineWidth: case GrOp::LineJoin: case GrOp::LineCap:
    case GrOp::SelectFont: case GrOp::Clip: case GrOp::TextDirection:
      return true;
    default:
      return false;
  }
}

void attribute(GrOp op) {
  const LineAttributes& line = drawing().line;
  switch (op) {
    case GrOp::LineStyle: line_type(); return;
    case GrOp::LineWidth: encoder().start(5, 3).add_vdc(vdc_length(line.width)).finish(); return;
    case GrOp::LineJoin: encoder().start(5, 38).add_int(std::clamp(line.join, 0, 2) + 2).finish(); return;
    case GrOp::LineCap: encoder().start(5, 37).add_int(std::clamp(line.cap, 0, 2) + 2).add_int(3).finish(); return;
    case GrOp::SelectFont: font(); return;
    case GrOp::Clip: clip(); return;
    case GrOp::TextDirection: orientation(drawing().text.rotation); return;
    default: return;
  }
}

}  // namespace

void write_operation(GrOp op) {
  CgmState& s = cgm();
  if (op == GrOp::Colour || op == GrOp::ColourValue) {
    s.previous = s.colour;
    s.colour = output_colour(drawing().colour.current);
    return;
  }
  if (op == GrOp::NewPage) {
    end_picture();
    return;
  }
  if (is_attribute(op)) {
    if (op == GrOp::Clip) {
      s.clip_set = true;
    }
    if (s.picture_open) {
      attribute(op);
    }
    return;
  }
  const Primitive& p = drawing().primitive;
  switch (op) {
    case GrOp::Line: ensure_picture(); polyline_of_pair(p.x1, p.y1, p.x2, p.y2); return;
    case GrOp::Point: ensure_picture(); polyline_of_pair(p.x1, p.y1, p.x1, p.y1); return;
    case GrOp::Polyline: ensure_picture(); polyline(); return;
    case GrOp::Arc: ensure_picture(); arc(); return;
    case GrOp::Ellipse: case GrOp::Triangle: case GrOp::Rectangle: case GrOp::Parallelogram:
    case GrOp::Sector: case GrOp::Polygon:
      if (p.int_param[1] != kClosingCall) {
        ensure_picture();
        fill(op);
      }
      return;
    case GrOp::Text: ensure_picture(); text(); return;
    case GrOp::Image: ensure_picture(); image(); return;
    default: return;
  }
}

}  // namespace quill::cgm
