// A software rasteriser: draws the driver operations into a memory bitmap. Drawing units
// become pixels through a scale per direction; y grows upwards in drawing units and
// downwards in pixels. A pixel is covered when its centre lies inside a filled shape.
#pragma once

#include "graphics/file_driver.hpp"
#include "graphics/image/memory_bitmap.hpp"

namespace quill {

class Raster {
 public:
  // Draws into target (nullptr: draws nothing) with pixels = drawing units * scale.
  // honour_clip: operation 24 restricts drawing to the current area.
  void attach(MemoryBitmap* target, double scale_x, double scale_y, bool honour_clip);
  MemoryBitmap* target() const { return target_; }

  // The attributes, read from the drawing state, and the primitives; without a target
  // they do nothing.
  void set_colour();
  void set_line(LineAttribute which);
  void clip();  // the current area, when attached with honour_clip
  void draw_line(double x1, double y1, double x2, double y2);
  void draw_point(double x, double y);
  void draw_polyline(PointArrays points);
  void draw_arc(const Primitive& p);
  void draw_fill(Shape shape, const Primitive& p);
  void draw_image(const Primitive& p);
  void draw_text(const TextAttributes& text);

 private:
  struct Point {
    double x, y;
  };

  Point to_pixel(double x, double y) const;
  std::vector<Point> to_pixels(PointArrays points) const;
  void set_thickness();
  void set_clip();
  void plot(int x, int y);
  void span(int y, int x0, int x1, std::uint32_t value);
  void thin_line(Point a, Point b);
  void solid_line(Point a, Point b);
  void line(Point a, Point b);
  void polyline(const std::vector<Point>& points, bool closed);
  void fill_polygon(const std::vector<Point>& points, std::uint32_t value);
  // Points of an elliptic arc (drawing units in, pixels out); with_centre adds the centre.
  std::vector<Point> arc_points(double start, double end, bool with_centre) const;
  std::uint32_t fill_value() const;

  MemoryBitmap* target_ = nullptr;
  double scale_x_ = 1.0, scale_y_ = 1.0;
  bool honour_clip_ = false;
  std::uint32_t value_ = 0;
  int thickness_ = 1;
  double dash_phase_ = 0.0;  // how far into the dash pattern the next line starts
  int clip_left_ = 0, clip_top_ = 0, clip_right_ = -1, clip_bottom_ = -1;
};

// The driver given the drawing and attribute entries of a file driver that draws into the
// raster page() gives.
template <Raster& (*page)()>
constexpr FileDriver with_raster_entries(FileDriver driver) {
  driver.set_colour = [](const ColourState&) { page().set_colour(); };
  driver.set_line = [](LineAttribute which, const LineAttributes&) { page().set_line(which); };
  driver.clip = [](const Area&) { page().clip(); };
  driver.line = [](double x1, double y1, double x2, double y2) { page().draw_line(x1, y1, x2, y2); };
  driver.point = [](double x, double y) { page().draw_point(x, y); };
  driver.polyline = [](PointArrays points) { page().draw_polyline(points); };
  driver.arc = [](const Primitive& p) { page().draw_arc(p); };
  driver.fill = [](Shape shape, const Primitive& p) { page().draw_fill(shape, p); };
  driver.text = [](const TextAttributes& text) { page().draw_text(text); };
  driver.image = [](const Primitive& p) { page().draw_image(p); };
  return driver;
}

}  // namespace quill
