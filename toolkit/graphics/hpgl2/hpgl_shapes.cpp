// HP-GL lines, polylines, arcs, fills, line attributes and clipping.
#include <algorithm>
#include <cmath>

#include "graphics/hpgl2/hpgl_driver.hpp"

namespace quill::hpgl {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kPolylineNote = 31;

// Comment codes that name the kind of a fill.
int fill_kind(Shape shape) {
  switch (shape) {
    case Shape::Ellipse: return 5;
    case Shape::Triangle: return 8;
    case Shape::Rectangle: return 6;
    case Shape::Parallelogram: return 7;
    case Shape::Sector: return 4;
    default: return 11;
  }
}

std::vector<Point>& outline() {
  std::vector<Point>& points = hpgl().points;
  points.clear();
  return points;
}

// Points along an ellipse from start to end angle (radians), one per 5 degrees or so.
void add_ellipse_points(std::vector<Point>& points, const Primitive& p, double start, double end) {
  const double sweep = std::isfinite(end - start) ? std::clamp(end - start, -kTwoPi, kTwoPi) : 0.0;
  const int steps = std::max(4, static_cast<int>(std::ceil(std::fabs(sweep) / kTwoPi * 72.0)));
  for (int i = 0; i <= steps; ++i) {
    const double angle = start + sweep * i / steps;
    points.push_back(scaled(p.cx + p.rx * std::cos(angle), p.cy + p.ry * std::sin(angle)));
  }
}

// Loads the outline of a closed fill shape; false when it has no points.
bool load_fill_outline(Shape shape, const Primitive& p) {
  std::vector<Point>& points = outline();
  switch (shape) {
    case Shape::Ellipse: add_ellipse_points(points, p, 0.0, kTwoPi); break;
    case Shape::Sector:
      // A full turn is filled as the whole ellipse: the edge out to the rim and back
      // makes some readers leave part of the disc empty.
      if (p.end_angle - p.start_angle < kTwoPi - 1e-6) {
        points.push_back(scaled(p.cx, p.cy));
      }
      add_ellipse_points(points, p, p.start_angle, p.end_angle);
      points.push_back(points.front());
      break;
    case Shape::Rectangle:
      for (auto [x, y] : {std::pair{p.x1, p.y1}, {p.x2, p.y1}, {p.x2, p.y2}, {p.x1, p.y2}, {p.x1, p.y1}}) {
        points.push_back(scaled(x, y));
      }
      break;
    default: {
      const PointArrays corners = point_arrays(p);
      for (std::size_t i = 0; i < corners.size(); ++i) {
        points.push_back(scaled(corners.xs[i], corners.ys[i]));
      }
      if (!corners.xs.empty()) {
        points.push_back(points.front());
      }
    }
  }
  return points.size() > 1;
}

void trace_outline() {
  const std::vector<Point>& points = hpgl().points;
  move_to(points.front());
  draw_through(points.data() + 1, points.size() - 1);
}

// On two-colour devices a fill colour is shown by density: dark colours fill solid,
// middle ones with the dense pattern 1, light ones with the sparse pattern 2.
int fill_pattern_for_colour() {
  HpglState& s = hpgl();
  if (s.colours > 2 || s.pen_number == 0) {
    return 0;
  }
  const Rgb rgb = output_colour(drawing().colour.current);
  const double luminance = (0.3 * rgb.red + 0.59 * rgb.green + 0.11 * rgb.blue) / 255.0;
  return luminance < 0.2 ? 0 : luminance < 0.6 ? 1 : 2;
}

// Pen plotters cannot fill: the outline gets horizontal hatch lines, about half a
// millimetre apart at the default hatch distance.
void hatch_outline() {
  HpglState& s = hpgl();
  const std::vector<Point> outline_points = s.points;  // move_to and draw_through keep s.points intact
  long low = outline_points.front().y, high = low;
  for (const Point& p : outline_points) {
    low = std::min(low, p.y);
    high = std::max(high, p.y);
  }
  const double page_height = static_cast<double>(std::max(s.p2.y - s.p1.y, 1L));
  const int distance = std::max(drawing().device.option(GrOption::HatchDistance), 100);
  const long spacing = std::max(1L, static_cast<long>(20.0 * distance / 100.0 * kScaleMax / page_height));
  std::vector<long> crossings;
  constexpr long kMaxLines = 4000;
  for (long y = low + spacing / 2, lines = 0; y < high && lines < kMaxLines; y += spacing, ++lines) {
    crossings.clear();
    for (std::size_t i = 0; i + 1 < outline_points.size(); ++i) {
      const Point& a = outline_points[i];
      const Point& b = outline_points[i + 1];
      if ((a.y <= y) != (b.y <= y)) {
        const double t = static_cast<double>(y - a.y) / static_cast<double>(b.y - a.y);
        crossings.push_back(a.x + static_cast<long>(std::lround(t * static_cast<double>(b.x - a.x))));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const Point end{crossings[i + 1], y};
      move_to(Point{crossings[i], y});
      draw_through(&end, 1);
    }
  }
}

void fill_outline(Shape shape) {
  HpglState& s = hpgl();
  s.pattern = fill_pattern_for_colour();
  if (s.pattern != 0) {
    LineBuffer line;
    line.add("FT11 ").add_int(s.pattern);
    emit(line);
  }
  const std::vector<Point>& points = s.points;
  if (shape == Shape::Rectangle) {
    move_to(points[0]);
    LineBuffer line;
    line.add("RA");
    add_point(line, points[2]);
    emit(line);
  } else {
    move_to(points.front());
    emit("PM0");
    draw_through(points.data() + 1, points.size() - 1);
    emit("PM2;FP");
  }
  if (s.pattern != 0) {
    emit("FT2");
    s.pattern = 0;
  }
  forget_pen_position();
}

}  // namespace

void draw_line(double x1, double y1, double x2, double y2) {
  const Point end = scaled(x2, y2);
  move_to(scaled(x1, y1));
  draw_through(&end, 1);
}

void draw_point(double x, double y) {
  const Point at = scaled(x, y);
  move_to(at);
  draw_through(&at, 1);
}

void draw_polyline(PointArrays p) {
  const std::size_t n = p.size();
  if (n == 0) {
    return;
  }
  std::vector<Point>& points = outline();
  for (std::size_t i = 0; i < n; ++i) {
    points.push_back(scaled(p.xs[i], p.ys[i]));
  }
  move_to(points.front());
  if (n > static_cast<std::size_t>(kPolylineNote)) {
    LineBuffer text;
    text.add("14 ").add_int(static_cast<long long>(n));
    comment(text.view());
  }
  draw_through(points.data() + 1, n - 1);
}

// An arc, or with int_param[0] == 1 the closed outline of a sector.
void draw_arc(const Primitive& p) {
  std::vector<Point>& points = outline();
  const bool closed = p.int_param[0] == 1;
  if (closed) {
    points.push_back(scaled(p.cx, p.cy));
  }
  add_ellipse_points(points, p, p.start_angle, p.end_angle);
  if (closed) {
    points.push_back(points.front());
  }
  trace_outline();
}

void end_fill(Shape shape) {
  LineBuffer text;
  text.add_int(fill_kind(shape)).add(" -1");
  comment(text.view());
  reselect_pen();
}

void draw_fill(Shape shape, const Primitive& p) {
  const DrawingState& state = drawing();
  LineBuffer text;
  text.add_int(fill_kind(shape));
  comment(text.view());
  if (!load_fill_outline(shape, p)) {
    return;
  }
  // Outlined ellipses are drawn as outlines; a pen plotter hatches its fills.
  const bool outline_only = (shape == Shape::Ellipse && state.fill_style < kFillSolidMixed) || hpgl().plain;
  if (outline_only) {
    trace_outline();
    if (hpgl().plain && (shape != Shape::Ellipse || state.fill_style >= kFillSolidMixed)) {
      hatch_outline();
    }
  } else {
    fill_outline(shape);
  }
}

void write_fill_patterns() {
  // 8 x 4 cells of pen numbers: pattern 1 covers three cells in four, pattern 2 one.
  emit("RF1,8,4,1,1,1,0,1,1,1,0,1,0,1,1,1,0,1,1,1,1,1,0,1,1,1,0,1,1,1,0,1,1");
  emit("RF2,8,4,1,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0,0,0,1,0,0,0,0,0,0,0");
}

void write_line_style(int style) {
  constexpr std::string_view kPatterns[] = {"", "1", "2 2", "4 3", "7 2", "5 3", "3 1", "6 3"};
  LineBuffer line;
  line.add("LT");
  if (style >= 1 && style <= 7) {
    line.add(kPatterns[style]);
  }
  emit(line);
}

void write_line_width(int tenths) {
  if (hpgl().plain) {
    return;
  }
  const double width = std::clamp(tenths * 0.4 / kPlotterUnitsPerPoint, 0.0284, 5.0);
  LineBuffer line;
  line.add("PW").add_fixed(width, 3);
  emit(line);
}

void write_line_join(int join) {
  constexpr int kJoins[] = {1, 4, 5};
  if (hpgl().plain || join < 0 || join > 2) {
    return;
  }
  LineBuffer line;
  line.add("LA2 ").add_int(kJoins[join]);
  emit(line);
}

void write_line_cap(int cap) {
  constexpr int kCaps[] = {1, 4, 2};
  if (hpgl().plain || cap < 0 || cap > 2) {
    return;
  }
  LineBuffer line;
  line.add("LA1 ").add_int(kCaps[cap]);
  emit(line);
}

void write_line_attribute(LineAttribute which, const LineAttributes& line) {
  switch (which) {
    case LineAttribute::Width: write_line_width(line.width); return;
    case LineAttribute::Style: write_line_style(line.style); return;
    case LineAttribute::Join: write_line_join(line.join); return;
    case LineAttribute::Cap: write_line_cap(line.cap); return;
  }
}

// The input window in plotter units, set with scaling off.
void write_clip(const Area& area) {
  const HpglState& s = hpgl();
  const auto plotter = [](double scaled_value, long from, long to) {
    const double value = from + scaled_value / kScaleMax * static_cast<double>(to - from);
    return std::isfinite(value) ? static_cast<long>(std::trunc(value)) : from;
  };
  LineBuffer line;
  line.add("IW").add_int(plotter(area.x * s.sx, s.p1.x, s.p2.x)).add(' ');
  line.add_int(plotter(area.y * s.sy, s.p1.y, s.p2.y)).add(' ');
  line.add_int(plotter((area.x + area.width) * s.sx, s.p1.x, s.p2.x)).add(' ');
  line.add_int(plotter((area.y + area.height) * s.sy, s.p1.y, s.p2.y));
  emit("SC");
  emit(line);
  emit("SC0 32760 0 32760");
}

}  // namespace quill::hpgl
