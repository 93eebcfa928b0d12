// A software rasteriser: draws the driver operations into a memory bitmap. Drawing units
// become pixels through a scale per direction; y grows upwards in drawing units and
// downwards in pixels. A pixel is covered when its centre lies inside a filled shape.
#pragma once

#include "graphics/driver.hpp"
#include "graphics/image/memory_bitmap.hpp"

namespace quill {

class Raster {
 public:
  // Draws into target (nullptr: draws nothing) with pixels = drawing units * scale.
  // honour_clip: operation 24 restricts drawing to the current area.
  void attach(MemoryBitmap* target, double scale_x, double scale_y, bool honour_clip);
  MemoryBitmap* target() const { return target_; }
  // One driver operation, read from the drawing state. Unsupported codes are ignored.
  void draw(GrOp op);

 private:
  struct Point {
    double x, y;
  };

  Point to_pixel(double x, double y) const;
  void set_colour();
  void set_thickness();
  void set_clip();
  void plot(int x, int y);
  void span(int y, int x0, int x1, std::uint32_t value);
  void thin_line(Point a, Point b);
  void solid_line(Point a, Point b);
  void line(Point a, Point b);
  void polyline(const std::vector<Point>& points, bool closed);
  void fill_polygon(const std::vector<Point>& points, std::uint32_t value);
  void shape(GrOp op);
  // Points of an elliptic arc (drawing units in, pixels out); with_centre adds the centre.
  std::vector<Point> arc_points(double start, double end, bool with_centre) const;
  void image();
  void text();
  std::uint32_t fill_value() const;

  MemoryBitmap* target_ = nullptr;
  double scale_x_ = 1.0, scale_y_ = 1.0;
  bool honour_clip_ = false;
  std::uint32_t value_ = 0;
  int thickness_ = 1;
  double dash_phase_ = 0.0;  // how far into the dash pattern the next line starts
  int clip_left_ = 0, clip_top_ = 0, clip_right_ = -1, clip_bottom_ = -1;
};

}  // namespace quill
