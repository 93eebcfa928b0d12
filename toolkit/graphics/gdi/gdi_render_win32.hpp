// Draws the driver operations on a GDI device context: the common part of the Windows
// printer and enhanced metafile drivers. Device units are the context's logical units.
#pragma once

#include <windows.h>

#include "graphics/driver.hpp"

namespace quill {

class GdiRenderer {
 public:
  GdiRenderer() = default;
  GdiRenderer(const GdiRenderer&) = delete;
  GdiRenderer& operator=(const GdiRenderer&) = delete;
  ~GdiRenderer() { detach(); }

  // Starts drawing on dc, whose logical page is device_height units high; drawing units
  // become device units through scale_x and scale_y. dots_per_point sizes the pens.
  void attach(HDC dc, double scale_x, double scale_y, double device_height, double dots_per_point);
  // Deselects and frees the pens, brushes and fonts; the context is left to its owner.
  void detach();
  void draw(GrOp op);

 private:
  POINT to_device(double x, double y) const;
  void update_pen();
  void update_brush(bool mixed);
  void update_font();
  void text();
  void shape(GrOp op);
  void arc(bool closed, bool filled);
  void polyline();
  void image();
  void clip();
  void replace(HGDIOBJ& slot, HGDIOBJ object);

  HDC dc_ = nullptr;
  double sx_ = 1.0, sy_ = 1.0, height_ = 0.0, dots_per_point_ = 1.0;
  COLORREF colour_ = 0;
  double font_rotation_ = 0.0;       // the text rotation the selected font was made for
  bool symbols_as_unicode_ = false;  // the symbol family drawn as Unicode in the serif face
  HGDIOBJ pen_ = nullptr, brush_ = nullptr, font_ = nullptr;
  HGDIOBJ original_pen_ = nullptr, original_brush_ = nullptr, original_font_ = nullptr;
};

// Makes every image transfer fail as a printer that refuses images does (tests only).
void refuse_images_for_test(bool refuse);

}  // namespace quill
