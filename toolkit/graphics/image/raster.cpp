#include "graphics/image/raster.hpp"

#include "graphics/image/text_mask.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace quill {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPixelsPerPoint = 96.0 / 72.0;

int clamp_int(double v, int low, int high) {
  if (!(v >= low)) return low;  // also NaN
  if (v > high) return high;
  return static_cast<int>(v);
}

// Cuts the segment a-b to the rectangle [low, high] in both directions (Liang-Barsky);
// false when nothing of it lies inside.
bool clip_segment(double& ax, double& ay, double& bx, double& by, double low_x, double low_y, double high_x,
                  double high_y) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = bx - ax, dy = by - ay;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {ax - low_x, high_x - ax, ay - low_y, high_y - ay};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) return false;
  bx = ax + t1 * dx;
  by = ay + t1 * dy;
  ax += t0 * dx;
  ay += t0 * dy;
  return true;
}

// On and off lengths in line widths of the dash patterns of line styles 1..7.
constexpr std::array<std::array<double, 6>, 8> kDashes = {{
    {0, 0, 0, 0, 0, 0},   // 0 solid
    {6, 3, 0, 0, 0, 0},   // 1 dashed
    {1, 2, 0, 0, 0, 0},   // 2 dotted
    {6, 2, 1, 2, 0, 0},   // 3 dash dot
    {6, 2, 1, 2, 1, 2},   // 4 dash dot dot
    {12, 4, 0, 0, 0, 0},  // 5 long dashes
    {3, 3, 0, 0, 0, 0},   // 6 short dashes
    {12, 3, 3, 3, 0, 0},  // 7 long short
}};

}  // namespace

void Raster::attach(MemoryBitmap* target, double scale_x, double scale_y, bool honour_clip) {
  target_ = target;
  scale_x_ = scale_x;
  scale_y_ = scale_y;
  honour_clip_ = honour_clip;
  clip_left_ = clip_top_ = 0;
  clip_right_ = target != nullptr ? target->width() - 1 : -1;
  clip_bottom_ = target != nullptr ? target->height() - 1 : -1;
  if (target != nullptr) {
    set_colour();
    set_thickness();
  }
}

Raster::Point Raster::to_pixel(double x, double y) const {
  return {x * scale_x_, target_->height() - y * scale_y_};
}

void Raster::set_thickness() {
  const double pixels = drawing().line.width / 10.0 * kPixelsPerPoint * scale_x_;
  thickness_ = pixels < 1.5 || !std::isfinite(pixels) ? 1 : clamp_int(std::lround(pixels), 1, 1000);
}

void Raster::set_clip() {
  const Area& area = drawing().area;
  const Point a = to_pixel(area.x, area.y + area.height);
  const Point b = to_pixel(area.x + area.width, area.y);
  clip_left_ = clamp_int(std::floor(a.x), 0, target_->width() - 1);
  clip_top_ = clamp_int(std::floor(a.y), 0, target_->height() - 1);
  clip_right_ = clamp_int(std::ceil(b.x) - 1, 0, target_->width() - 1);
  clip_bottom_ = clamp_int(std::ceil(b.y) - 1, 0, target_->height() - 1);
}

void Raster::span(int y, int x0, int x1, std::uint32_t value) {
  if (y < clip_top_ || y > clip_bottom_) {
    return;
  }
  x0 = std::max(x0, clip_left_);
  x1 = std::min(x1, clip_right_);
  if (x0 <= x1) {
    target_->fill_span(y, x0, x1, value);
  }
}

void Raster::plot(int x, int y) { span(y, x, x, value_); }

// Bresenham between the pixels holding the end points, after cutting the line to the
// bitmap; an end point on the far edge of the bitmap belongs to the last pixel.
void Raster::thin_line(Point a, Point b) {
  const int width = target_->width(), height = target_->height();
  if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y) ||
      !clip_segment(a.x, a.y, b.x, b.y, -1.0, -1.0, width + 1.0, height + 1.0)) {
    return;
  }
  const auto index = [](double v, int size) {
    const double f = std::floor(v);
    return static_cast<long>(f == size && v <= size ? size - 1 : f);
  };
  long x0 = index(a.x, target_->width()), y0 = index(a.y, target_->height());
  const long x1 = index(b.x, target_->width()), y1 = index(b.y, target_->height());
  const long dx = std::labs(x1 - x0), dy = -std::labs(y1 - y0);
  const long sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  long error = dx + dy;
  for (long steps = 0; steps <= dx - dy; ++steps) {
    if (x0 >= 0 && y0 >= 0 && x0 < target_->width() && y0 < target_->height()) {
      plot(static_cast<int>(x0), static_cast<int>(y0));
    }
    if (x0 == x1 && y0 == y1) {
      break;
    }
    const long twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void Raster::solid_line(Point a, Point b) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  if (thickness_ <= 1 || !(length > 0.0)) {
    thin_line(a, b);
    return;
  }
  const double half = thickness_ / 2.0;
  const double nx = -(b.y - a.y) / length * half, ny = (b.x - a.x) / length * half;
  fill_polygon({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}},
               value_);
}

// A line in the current style: the dash pattern runs on from the previous line, so a
// polyline's pattern is continuous.
void Raster::line(Point a, Point b) {
  const int style = drawing().line.style;
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  if (style < 1 || style > 7 || !(length > 0.0) || !std::isfinite(length) || length > 1e6) {
    solid_line(a, b);
    return;
  }
  const auto& pattern = kDashes[static_cast<std::size_t>(style)];
  const double unit = std::max(thickness_, 1) * 1.5;
  double period = 0.0;
  for (const double part : pattern) period += part * unit;
  double done = 0.0;
  while (done < length) {
    double phase = std::fmod(dash_phase_ + done, period);
    std::size_t i = 0;
    while (i + 1 < pattern.size() && pattern[i + 1] > 0.0 && phase >= pattern[i] * unit) {
      phase -= pattern[i] * unit;
      ++i;
    }
    // At least a little progress, whatever the rounding of the phase.
    const double step = std::max(std::min(pattern[i] * unit - phase, length - done), 1e-6);
    if (i % 2 == 0) {
      const double t0 = done / length, t1 = (done + step) / length;
      solid_line({a.x + (b.x - a.x) * t0, a.y + (b.y - a.y) * t0},
                 {a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1});
    }
    done += step;
  }
  dash_phase_ = std::fmod(dash_phase_ + length, period);
}

void Raster::polyline(const std::vector<Point>& points, bool closed) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    line(points[i - 1], points[i]);
  }
  if (closed && points.size() > 2) {
    line(points.back(), points.front());
  }
}

// Even-odd scanline fill sampled at pixel centres.
void Raster::fill_polygon(const std::vector<Point>& points, std::uint32_t value) {
  if (points.size() < 3) {
    return;
  }
  double top = points[0].y, bottom = points[0].y;
  for (const Point& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const int first = clamp_int(std::ceil(top - 0.5), clip_top_, clip_bottom_ + 1);
  const int last = clamp_int(std::floor(bottom - 0.5), clip_top_ - 1, clip_bottom_);
  std::vector<double> crossings;
  for (int y = first; y <= last; ++y) {
    const double centre = y + 0.5;
    crossings.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Point& p = points[i];
      const Point& q = points[(i + 1) % points.size()];
      if ((p.y <= centre) != (q.y <= centre)) {
        crossings.push_back(p.x + (centre - p.y) / (q.y - p.y) * (q.x - p.x));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int x0 = clamp_int(std::ceil(crossings[i] - 0.5), clip_left_, clip_right_ + 1);
      const int x1 = clamp_int(std::ceil(crossings[i + 1] - 0.5) - 1, clip_left_ - 1, clip_right_);
      span(y, x0, x1, value);
    }
  }
}

std::vector<Raster::Point> Raster::arc_points(double start, double end, bool with_centre) const {
  const Primitive& p = drawing().primitive;
  const double reach = std::max(p.rx * scale_x_, p.ry * scale_y_);
  const double sweep = end - start;
  const int steps = clamp_int(std::ceil(reach * std::fabs(sweep) / 2.0), 8, 4096);
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(steps) + 2);
  if (with_centre) {
    points.push_back(to_pixel(p.cx, p.cy));
  }
  for (int i = 0; i <= steps; ++i) {
    const double angle = start + sweep * i / steps;
    points.push_back(to_pixel(p.cx + p.rx * std::cos(angle), p.cy + p.ry * std::sin(angle)));
  }
  return points;
}

std::uint32_t Raster::fill_value() const {
  const DrawingState& state = drawing();
  if (state.fill_style != kFillSolidMixed) {
    return value_;
  }
  const Rgb a = colour_rgb(state.colour.previous), b = colour_rgb(state.colour.current);
  const auto mean = [](int u, int v) { return static_cast<std::uint8_t>((u + v) / 2); };
  return target_->native_value({mean(a.red, b.red), mean(a.green, b.green), mean(a.blue, b.blue)});
}

std::vector<Raster::Point> Raster::to_pixels(PointArrays points) const {
  std::vector<Point> pixels;
  for (std::size_t i = 0; i < points.size(); ++i) {
    pixels.push_back(to_pixel(points.xs[i], points.ys[i]));
  }
  return pixels;
}

void Raster::draw_fill(Shape shape, const Primitive& p) {
  if (target_ == nullptr) {
    return;
  }
  const bool solid = drawing().fill_style >= kFillSolidMixed;
  std::vector<Point> points;
  if (shape == Shape::Ellipse) {
    points = arc_points(0.0, 2.0 * kPi, false);
    points.pop_back();
  } else if (shape == Shape::Sector) {
    points = arc_points(p.start_angle, p.end_angle, true);
  } else if (shape == Shape::Rectangle) {
    points = {to_pixel(p.x1, p.y1), to_pixel(p.x2, p.y1), to_pixel(p.x2, p.y2), to_pixel(p.x1, p.y2)};
  } else {
    points = to_pixels(point_arrays(p));
  }
  if (solid) {
    fill_polygon(points, fill_value());
  } else {
    polyline(points, true);
  }
}

void Raster::draw_image(const Primitive& p) {
  if (target_ == nullptr || p.image_width < 1 || p.image_height < 1 ||
      p.pixels.size() < static_cast<std::size_t>(p.image_width) * static_cast<std::size_t>(p.image_height)) {
    return;
  }
  // x1,y1 is the lower left corner, x2,y2 the upper right; in pixels y runs downwards.
  const Point lower_left = to_pixel(p.x1, p.y1), upper_right = to_pixel(p.x2, p.y2);
  const Point top_left{lower_left.x, upper_right.y};
  const double w = upper_right.x - lower_left.x, h = lower_left.y - upper_right.y;
  if (!(w > 0.0) || !(h > 0.0)) {
    return;
  }
  const int y0 = clamp_int(std::ceil(top_left.y - 0.5), clip_top_, clip_bottom_ + 1);
  const int y1 = clamp_int(std::ceil(lower_left.y - 0.5) - 1, clip_top_ - 1, clip_bottom_);
  const int x0 = clamp_int(std::ceil(top_left.x - 0.5), clip_left_, clip_right_ + 1);
  const int x1 = clamp_int(std::ceil(upper_right.x - 0.5) - 1, clip_left_ - 1, clip_right_);
  for (int y = y0; y <= y1; ++y) {
    const int row = clamp_int((y + 0.5 - top_left.y) / h * p.image_height, 0, p.image_height - 1);
    for (int x = x0; x <= x1; ++x) {
      const int column = clamp_int((x + 0.5 - top_left.x) / w * p.image_width, 0, p.image_width - 1);
      const std::uint32_t c =
          p.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(p.image_width) +
                   static_cast<std::size_t>(column)];
      const Rgb rgb{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                    static_cast<std::uint8_t>(c >> 16)};
      target_->fill_span(y, x, x, target_->native_value(rgb));
    }
  }
}

// Text through the platform's font engine, painted in the current colour.
void Raster::draw_text(const TextAttributes& attributes) {
  TextMask mask;
  if (target_ == nullptr) {
    return;
  }
  if (!render_text_mask(attributes.text, attributes, attributes.height * scale_y_, mask)) {
    return;
  }
  const Point at = to_pixel(attributes.x, attributes.y);
  const int origin_x = static_cast<int>(std::lround(at.x)) + mask.left;
  const int origin_y = static_cast<int>(std::lround(at.y)) + mask.top;
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      if (mask.covered[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width) +
                       static_cast<std::size_t>(x)] != 0) {
        span(origin_y + y, origin_x + x, origin_x + x, value_);
      }
    }
  }
}

void Raster::set_colour() {
  if (target_ != nullptr) {
    value_ = target_->native_value(colour_rgb(drawing().colour.current));
  }
}

void Raster::set_line(LineAttribute which) {
  if (target_ == nullptr) {
    return;
  }
  if (which == LineAttribute::Width) {
    set_thickness();
  } else if (which == LineAttribute::Style) {
    dash_phase_ = 0.0;
  }
}

void Raster::clip() {
  if (target_ != nullptr && honour_clip_) {
    set_clip();
  }
}

void Raster::draw_line(double x1, double y1, double x2, double y2) {
  if (target_ != nullptr) {
    line(to_pixel(x1, y1), to_pixel(x2, y2));
  }
}

void Raster::draw_point(double x, double y) {
  if (target_ != nullptr) {
    thin_line(to_pixel(x, y), to_pixel(x, y));
  }
}

void Raster::draw_polyline(PointArrays points) {
  if (target_ != nullptr) {
    polyline(to_pixels(points), false);
  }
}

void Raster::draw_arc(const Primitive& p) {
  if (target_ != nullptr) {
    polyline(arc_points(p.start_angle, p.end_angle, p.int_param[0] == 1), p.int_param[0] == 1);
  }
}

}  // namespace quill
