// CGM elements for the drawing entries: lines, fills, attributes, text and images.
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

void polyline(PointArrays points) {
  if (points.size() < 2) {
    return;
  }
  line_colour();
  encoder().start(4, 1);
  for (std::size_t i = 0; i < points.size(); ++i) {
    add_point(points.xs[i], points.ys[i]);
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
void arc(const Primitive& p) {
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

void shape(Shape kind, const Primitive& p) {
  Encoder& e = encoder();
  switch (kind) {
    case Shape::Ellipse:
      e.start(4, 17);
      add_point(p.cx, p.cy);
      add_point(p.cx + p.rx, p.cy);
      add_point(p.cx, p.cy + p.ry);
      e.finish();
      return;
    case Shape::Rectangle:
      e.start(4, 11);
      add_point(p.x1, p.y1);
      add_point(p.x2, p.y2);
      e.finish();
      return;
    case Shape::Sector:
      e.start(4, 7);
      add_point(p.cx, p.cy);
      add_arc_points(p, p.start_angle, p.end_angle);
      e.finish();
      return;
    default: {
      const PointArrays points = point_arrays(p);
      if (points.size() < 3) {
        return;
      }
      e.start(4, 7);
      for (std::size_t i = 0; i < points.size(); ++i) {
        add_point(points.xs[i], points.ys[i]);
      }
      e.finish();
    }
  }
}

// Filled shapes, and the ellipse also as an outline (its edge, with an empty interior).
void fill(Shape kind, const Primitive& p) {
  const DrawingState& state = drawing();
  ensure_picture();
  const bool filled = state.fill_style >= kFillSolidMixed;
  if (!filled && kind != Shape::Ellipse) {
    return;
  }
  const CgmState& s = cgm();
  encoder()
      .start(5, 23)
      .add_colour(state.fill_style == kFillSolidMixed ? mixed_colour(s.previous, s.colour) : s.colour)
      .finish();
  if (!filled) {
    edge_attributes(true);
  }
  encoder().start(5, 22).add_int(static_cast<long>(filled ? Interior::Solid : Interior::Empty)).finish();
  shape(kind, p);
  if (!filled) {
    edge_attributes(false);
  }
}

void line_type(int style) {
  // Solid, dot, dash, dash-dot, dash-dot-dot, dash-dot, dash, dash-dot-dot.
  constexpr int kTypes[8] = {1, 3, 2, 4, 5, 4, 2, 5};
  if (cgm().recorder && style >= 1 && style <= 7) {
    encoder().start(5, 2).add_int(-style).finish();  // a private type keeps the style for a replay
    return;
  }
  encoder().start(5, 2).add_int(style >= 0 && style <= 7 ? kTypes[style] : 1).finish();
}

void font(const TextAttributes& text) {
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
  encoder()
      .start(5, 16)
      .add_vdc(std::round(-sn))
      .add_vdc(std::round(c))
      .add_vdc(std::round(c))
      .add_vdc(std::round(sn))
      .finish();
}

// Text is aligned at its bottom; the drawing state's position is the middle of the
// characters, so the reference point moves down by half the height.
void text(const TextAttributes& t) {
  ensure_picture();
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

void write_clip(const Area& area) {
  encoder().start(3, 6).add_int(1).finish();
  encoder().start(3, 5);
  add_point(area.x, area.y);
  add_point(area.x + area.width, area.y + area.height);
  encoder().finish();
}

// Cell array rows, top row first, run-length encoded; each row starts on a word.
void image(const Primitive& p) {
  ensure_picture();
  const int width = p.image_width, height = p.image_height;
  if (width < 1 || height < 1 ||
      p.pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return;
  }
  Encoder& e = encoder();
  e.start(4, 9);
  add_point(p.x1, p.y2);
  add_point(p.x2, p.y1);
  add_point(p.x2, p.y2);
  e.add_int(width).add_int(height).add_int(8).add_int(0);
  for (int row = 0; row < height; ++row) {
    const std::uint32_t* pixels =
        p.pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
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

void write_line_attribute(LineAttribute which, const LineAttributes& line) {
  switch (which) {
    case LineAttribute::Style: line_type(line.style); return;
    case LineAttribute::Width: encoder().start(5, 3).add_vdc(vdc_length(line.width)).finish(); return;
    case LineAttribute::Join:
      encoder().start(5, 38).add_int(std::clamp(line.join, 0, 2) + 2).finish();
      return;
    case LineAttribute::Cap:
      encoder().start(5, 37).add_int(std::clamp(line.cap, 0, 2) + 2).add_int(3).finish();
      return;
  }
}

void set_colour(const ColourState& colour) {
  CgmState& s = cgm();
  s.previous = s.colour;
  s.colour = output_colour(colour.current);
}

// Attributes are written into an open picture; a picture opened later repeats them.
void set_line(LineAttribute which, const LineAttributes& line) {
  if (cgm().picture_open) {
    write_line_attribute(which, line);
  }
}

void select_font(const TextAttributes& text) {
  if (cgm().picture_open) {
    font(text);
  }
}

void clip(const Area& area) {
  cgm().clip_set = true;
  if (cgm().picture_open) {
    write_clip(area);
  }
}

}  // namespace

void write_attributes(const DrawingState& state) {
  using enum LineAttribute;
  for (LineAttribute which : {Width, Style, Join, Cap}) {
    write_line_attribute(which, state.line);
  }
  font(state.text);
  if (cgm().clip_set) {
    write_clip(state.area);
  }
}

const FileDriver kElements{
    .number = kDriverNumber,
    .new_page = end_picture,
    .set_colour = set_colour,
    .set_line = set_line,
    .select_font = select_font,
    .clip = clip,
    .line =
        [](double x1, double y1, double x2, double y2) {
          ensure_picture();
          polyline_of_pair(x1, y1, x2, y2);
        },
    .point =
        [](double x, double y) {
          ensure_picture();
          polyline_of_pair(x, y, x, y);
        },
    .polyline =
        [](PointArrays points) {
          ensure_picture();
          polyline(points);
        },
    .arc =
        [](const Primitive& p) {
          ensure_picture();
          arc(p);
        },
    .fill = fill,
    .text = text,
    .image = image,
};

}  // namespace quill::cgm
