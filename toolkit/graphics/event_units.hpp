// The graphics units of an event: where the pointer was (and how large a repaint is) in
// the user units of the drawing state, worked out with the event's window or dialog field
// as the drawing target for the moment.
#pragma once

#include "graphics/drawing_state.hpp"

namespace quill {

// An event's pixels: the column and row (from the top) of its position, negative when it
// has none, and the size of a repaint (0 for other events).
struct EventPixels {
  int x = -1, y = -1;
  int width = 0, height = 0;
};

// Words 9 and 10 (x, y) and 7 and 8 (width, height) of an event record.
struct EventUnits {
  float x = 0.0F, y = 0.0F;
  float width = 0.0F, height = 0.0F;
};

// Makes target the current drawable, with its width and height as the drawable size,
// until it goes out of scope; then the previous drawable and its area come back. Nothing
// is sent to a driver either way.
class TemporaryTarget {
 public:
  explicit TemporaryTarget(const Drawable& target);
  ~TemporaryTarget();
  TemporaryTarget(const TemporaryTarget&) = delete;
  TemporaryTarget& operator=(const TemporaryTarget&) = delete;

 private:
  Drawable saved_;
};

// The units of pixels on target (kind, identifiers and size in pixels set): the position
// is taken at the pixel's middle, the row counted from the bottom of the target, through
// the current user range (IGrUnits) over the current area (IGrArea).
EventUnits event_units(const Drawable& target, const EventPixels& pixels);

}  // namespace quill
