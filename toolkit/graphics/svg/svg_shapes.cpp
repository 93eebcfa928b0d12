// SVG driver: lines, points, polylines, filled shapes, arcs and sectors.
#include <cmath>

#include "graphics/svg/svg_driver.hpp"

namespace quill::svg {
namespace {

constexpr std::size_t kLineLimit = 256;
constexpr double kPi = 3.1415927;
constexpr double kFullTurn = 6.283185307179586;

// Builds a points attribute in lines of at most kLineLimit characters.
class PointList {
 public:
  explicit PointList(std::string_view opening) { line_.add(opening); }
  void add(double x, double y) {
    LineBuffer pair;
    if (!first_) {
      pair.add(' ');
    }
    add_point(pair, x, y);
    if (line_.size() + pair.size() > kLineLimit) {
      write_line(line_);
      line_.clear();
      std::string_view rest = pair.view();
      if (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
      }
      line_.add(rest);
    } else {
      line_.add(pair.view());
    }
    first_ = false;
  }
  void finish() {
    if (line_.size() + 3 > kLineLimit) {
      write_line(line_);
      line_.clear();
    }
    line_.add("\"/>");
    write_line(line_);
  }

 private:
  LineBuffer line_;
  bool first_ = true;
};

// The first count points (at most as many as there are).
void write_points(std::string_view opening, PointArrays points, std::size_t count) {
  PointList list(opening);
  for (std::size_t i = 0; i < count && i < points.size(); ++i) {
    list.add(points.xs[i], points.ys[i]);
  }
  list.finish();
}

void open_fill_group() {
  const SvgState& s = svg();
  LineBuffer line;
  line.add("<g style=\"stroke:none;fill:#");
  add_colour(line, fill_rgb());
  if (s.clip_active) {
    line.add(";clip-path:url(#clip").add_int(s.clip_counter).add(')');
  }
  line.add("\">");
  open_group(line, Group::Fill);
}

void write_ellipse(const Primitive& p) {
  const double rx = p.rx * svg().sx;
  const double ry = p.ry * svg().sy;
  LineBuffer line;
  line.add("<ellipse cx=\"");
  add_number(line, doc_x(p.cx));
  line.add("\" cy=\"");
  add_number(line, doc_y(p.cy));
  line.add("\" rx=\"");
  add_number(line, rx);
  line.add("\" ry=\"");
  add_number(line, ry);
  line.add("\"/>");
  write_line(line);
}

bool usable_radii(const Primitive& p) {
  return std::isfinite(p.rx) && std::isfinite(p.ry) && p.rx > 0.0 && p.ry > 0.0;
}

}  // namespace

void draw_line(double x1, double y1, double x2, double y2, std::string_view closing) {
  LineBuffer line;
  line.add("<line x1=\"");
  add_number(line, doc_x(x1));
  line.add("\" y1=\"");
  add_number(line, doc_y(y1));
  line.add("\" x2=\"");
  add_number(line, doc_x(x2));
  line.add("\" y2=\"");
  add_number(line, doc_y(y2));
  line.add(closing);
  write_line(line);
}

void draw_polyline(PointArrays points) {
  if (points.size() >= 2) {
    write_points("<polyline points=\"", points, points.size());
  }
}

void end_fill(Shape) {
  if (drawing().fill_style >= kFillSolidMixed) {
    close_group(Group::Fill);
  }
}

void draw_fill(Shape shape, const Primitive& p) {
  const bool solid = drawing().fill_style >= kFillSolidMixed;
  if (shape == Shape::Ellipse && !solid) {
    if (usable_radii(p)) {
      write_ellipse(p);  // inside the stroke group: an outline
    }
    return;
  }
  if (!solid) {
    return;  // outlines arrive as lines
  }
  open_fill_group();
  const PointArrays points = point_arrays(p);
  switch (shape) {
    case Shape::Ellipse:
      if (usable_radii(p)) {
        write_ellipse(p);
      }
      break;
    case Shape::Rectangle: {
      const double xs[] = {p.x1, p.x2, p.x2, p.x1};
      const double ys[] = {p.y1, p.y1, p.y2, p.y2};
      write_points("<polygon points=\"", {xs, ys}, 4);
      break;
    }
    case Shape::Sector: draw_arc(p, true); break;
    case Shape::Triangle: write_points("<polygon points=\"", points, 3); break;
    case Shape::Parallelogram: write_points("<polygon points=\"", points, 4); break;
    default: write_points("<polygon points=\"", points, points.size()); break;
  }
}

void draw_arc(const Primitive& p, bool sector) {
  if (!usable_radii(p) || !std::isfinite(p.start_angle) || !std::isfinite(p.end_angle)) {
    return;
  }
  const double sweep = p.end_angle - p.start_angle;
  // An arc that ends where it starts draws nothing, and one nudged short of that tilts
  // its chord once rounded: a full turn is two half arcs through the opposite point.
  const bool full_turn = sweep >= kFullTurn - 1e-6;
  const double end = full_turn ? p.start_angle + kFullTurn / 2.0 : p.start_angle + sweep;
  const double x1 = p.cx + p.rx * std::cos(p.start_angle);
  const double y1 = p.cy + p.ry * std::sin(p.start_angle);
  const double x2 = p.cx + p.rx * std::cos(end);
  const double y2 = p.cy + p.ry * std::sin(end);
  LineBuffer radii;
  add_number(radii, p.rx * svg().sx);
  radii.add(',');
  add_number(radii, p.ry * svg().sy);
  radii.add(" 0 ").add(!full_turn && sweep >= kPi ? "1 0 " : "0 0 ");
  LineBuffer line;
  line.add("<path d=\"M ");
  add_point(line, x1, y1);
  line.add(" A ").add(radii.view());
  add_point(line, x2, y2);
  if (full_turn) {
    line.add(" A ").add(radii.view());
    add_point(line, x1, y1);
  }
  if (sector || p.int_param[0] == 1) {
    line.add(" L ");
    add_point(line, p.cx, p.cy);
    line.add(" L ");
    add_point(line, x1, y1);
  }
  line.add("\"/>");
  write_line(line);
}

}  // namespace quill::svg
