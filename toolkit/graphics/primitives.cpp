// The drawing routines: each converts user units to drawing units, fills the primitive
// parameters and sends one operation to the screen and the active hardcopy driver.
// Closed shapes go as their fill operation followed by a closing call when the fill
// style is solid, and as lines when it is an outline.
#include <cmath>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "graphics/drawing_state.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"

namespace quill {
namespace {

constexpr double kDegree = 0.017453292519943295;

bool solid() { return drawing().fill_style >= kFillSolidMixed; }

void send_line(double x1, double y1, double x2, double y2) {
  Primitive& p = drawing().primitive;
  p.x1 = x1;
  p.y1 = y1;
  p.x2 = x2;
  p.y2 = y2;
  send_operation(GrOp::Line);
}

// Sends a fill operation and, after it, its closing call.
void send_fill(GrOp op) {
  Primitive& p = drawing().primitive;
  p.int_param[1] = 0;
  send_operation(op);
  p.int_param[1] = kClosingCall;
  send_operation(op);
  p.int_param[1] = 0;
}

// Loads user points into the primitive's point arrays in drawing units.
void load_points(std::span<const float> x, std::span<const float> y, std::size_t n) {
  Primitive& p = drawing().primitive;
  p.xs.resize(n);
  p.ys.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    p.xs[i] = to_drawing_x(x[i]);
    p.ys[i] = to_drawing_y(y[i]);
  }
  p.count = static_cast<int>(n);
}

// The caller chooses how many points a shape has; a shape whose points do not fit in
// memory is not drawn and reports 49.
template <typename Draw>
void draw_point_arrays(std::string_view routine, Draw draw) {
  if (const int code = allocating(error::kFillTooComplex, draw)) {
    drawing().primitive.count = 0;
    IErrorReport(code, routine);
  }
}

void outline_loaded_points() {
  const Primitive& p = drawing().primitive;
  const std::size_t n = static_cast<std::size_t>(p.count);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t next = (i + 1) % n;
    // Copies: send_line overwrites the line pair, not the arrays.
    send_line(p.xs[i], p.ys[i], p.xs[next], p.ys[next]);
  }
}

void closed_shape(GrOp op, std::span<const float> x, std::span<const float> y, std::size_t n) {
  load_points(x, y, n);
  if (solid()) {
    send_fill(op);
  } else {
    outline_loaded_points();
  }
}

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

bool finite_positive(double value) { return std::isfinite(value) && value > 0.0; }

void load_circle(float x, float y, double rx, double ry) {
  Primitive& p = drawing().primitive;
  p.cx = to_drawing_x(x);
  p.cy = to_drawing_y(y);
  p.rx = rx;
  p.ry = ry;
}

// Arc or sector: angles in radians with end > start.
bool load_arc(float x, float y, float radius, float start_angle, float sweep, const char* routine) {
  const double rx = to_drawing_width(radius);
  if (!finite_positive(rx) || !std::isfinite(sweep) || sweep == 0.0F || !std::isfinite(start_angle)) {
    IErrorReport(error::kRadius, routine);
    return false;
  }
  load_circle(x, y, rx, rx);
  Primitive& p = drawing().primitive;
  double start = start_angle;
  double end = start + sweep;
  if (end < start) {
    std::swap(start, end);
  }
  if (end - start > 360.0) {
    end = start + 360.0;
  }
  p.start_angle = start * kDegree;
  p.end_angle = end * kDegree;
  return true;
}

}  // namespace
}  // namespace quill

using namespace quill;

void IGrMoveTo(float x, float y) {
  DrawingState& state = drawing();
  state.user_pen_x = x;
  state.user_pen_y = y;
}

void IGrLineTo(float x, float y) {
  DrawingState& state = drawing();
  send_line(to_drawing_x(state.user_pen_x), to_drawing_y(state.user_pen_y), to_drawing_x(x), to_drawing_y(y));
  state.user_pen_x = x;
  state.user_pen_y = y;
}

void IGrJoin(float x1, float y1, float x2, float y2) {
  send_line(to_drawing_x(x1), to_drawing_y(y1), to_drawing_x(x2), to_drawing_y(y2));
  IGrMoveTo(x2, y2);
}

void IGrPoint(float x, float y) {
  Primitive& p = drawing().primitive;
  p.x1 = p.x2 = to_drawing_x(x);
  p.y1 = p.y2 = to_drawing_y(y);
  send_operation(GrOp::Point);
}

void IGrPolyLine(std::span<const float> x, std::span<const float> y) {
  const std::size_t n = x.size() < y.size() ? x.size() : y.size();
  if (n < 2) {
    return;
  }
  draw_point_arrays("IGrPolyLine", [&] {
    load_points(x, y, n);
    send_operation(GrOp::Polyline);
  });
}

void IGrPolygon(std::span<const float> x, std::span<const float> y) {
  const std::size_t n = x.size() < y.size() ? x.size() : y.size();
  if (n < 3) {
    return;
  }
  draw_point_arrays("IGrPolygon", [&] { closed_shape(GrOp::Polygon, x, y, n); });
}

void IGrTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
  if (cross(x2 - x1, y2 - y1, x3 - x1, y3 - y1) == 0.0) {
    IErrorReport(error::kZeroSize, "IGrTriangle");
    return;
  }
  const float xs[] = {x1, x2, x3};
  const float ys[] = {y1, y2, y3};
  closed_shape(GrOp::Triangle, xs, ys, 3);
}

void IGrParallelogram(float x1, float y1, float x2, float y2, float x3, float y3) {
  if (cross(x2 - x1, y2 - y1, x3 - x2, y3 - y2) == 0.0) {
    IErrorReport(error::kZeroSize, "IGrParallelogram");
    return;
  }
  const float xs[] = {x1, x2, x3, x1 + x3 - x2};
  const float ys[] = {y1, y2, y3, y1 + y3 - y2};
  closed_shape(GrOp::Parallelogram, xs, ys, 4);
}

void IGrRectangle(float x1, float y1, float x2, float y2) {
  if (x1 == x2 || y1 == y2) {
    IErrorReport(error::kZeroSize, "IGrRectangle");
    return;
  }
  Primitive& p = drawing().primitive;
  const double dx1 = to_drawing_x(x1), dy1 = to_drawing_y(y1);
  const double dx2 = to_drawing_x(x2), dy2 = to_drawing_y(y2);
  if (solid()) {
    p.x1 = dx1;
    p.y1 = dy1;
    p.x2 = dx2;
    p.y2 = dy2;
    send_fill(GrOp::Rectangle);
    return;
  }
  send_line(dx1, dy1, dx2, dy1);
  send_line(dx2, dy1, dx2, dy2);
  send_line(dx2, dy2, dx1, dy2);
  send_line(dx1, dy2, dx1, dy1);
}

void IGrEllipse(float x, float y, float radius, float ratio) {
  const double rx = to_drawing_width(radius);
  const double ry = rx * ratio;
  if (!finite_positive(rx) || !finite_positive(ry)) {
    IErrorReport(error::kRadius, "IGrEllipse");
    return;
  }
  load_circle(x, y, rx, ry);
  send_fill(GrOp::Ellipse);
}

void IGrCircle(float x, float y, float radius) {
  const double rx = to_drawing_width(radius);
  if (!finite_positive(rx)) {
    IErrorReport(error::kRadius, "IGrCircle");
    return;
  }
  load_circle(x, y, rx, rx);
  send_fill(GrOp::Ellipse);
}

void IGrArc(float x, float y, float radius, float start_angle, float sweep) {
  if (load_arc(x, y, radius, start_angle, sweep, "IGrArc")) {
    drawing().primitive.int_param[0] = 0;
    send_operation(GrOp::Arc);
  }
}

void IGrSector(float x, float y, float radius, float start_angle, float sweep) {
  if (!load_arc(x, y, radius, start_angle, sweep, "IGrSector")) {
    return;
  }
  Primitive& p = drawing().primitive;
  if (solid()) {
    send_fill(GrOp::Sector);
    return;
  }
  p.int_param[0] = 1;  // a closed arc: the outline of the sector
  send_operation(GrOp::Arc);
  p.int_param[0] = 0;
}

void IGrFillPattern(int style) {
  drawing().fill_style = style == kFillSolidMixed || style == kFillSolid ? style : 0;
}

void IGrLineType(int style) {
  if (style >= 0 && style <= 7) {
    drawing().line.style = style;
    send_operation(GrOp::LineStyle);
  }
}

void IGrLineWidth(int tenths_of_point) {
  drawing().line.width = tenths_of_point < 1 ? 1 : tenths_of_point;
  send_operation(GrOp::LineWidth);
}

void IGrLineJoin(int join) {
  if (join >= 0 && join <= 2) {
    drawing().line.join = join;
    send_operation(GrOp::LineJoin);
  }
}

void IGrLineCap(int cap) {
  if (cap >= 0 && cap <= 2) {
    drawing().line.cap = cap;
    send_operation(GrOp::LineCap);
  }
}

void IGrImage(float x1, float y1, float x2, float y2, std::span<const std::uint32_t> pixels, int width,
              int height) {
  if (width < 1 || height < 1 || x1 == x2 || y1 == y2 ||
      pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    IErrorReport(error::kZeroSize, "IGrImage");
    return;
  }
  Primitive& p = drawing().primitive;
  p.x1 = to_drawing_x(x1 < x2 ? x1 : x2);
  p.y1 = to_drawing_y(y1 < y2 ? y1 : y2);
  p.x2 = to_drawing_x(x1 < x2 ? x2 : x1);
  p.y2 = to_drawing_y(y1 < y2 ? y2 : y1);
  p.pixels = pixels;
  p.image_width = width;
  p.image_height = height;
  // A driver that converts the pixels needs a copy of them: one too large reports 1109.
  const int code = allocating(error::kImageTooLarge, [] { send_operation(GrOp::Image); });
  p.pixels = {};
  if (code != 0) IErrorReport(code, "IGrImage");
}

void IGrNewPage() { send_to_hardcopy(GrOp::NewPage); }
