// The graphics side of event completion: positions in the user units of the drawing state.
#include "core/event_queue.hpp"
#include "graphics/event_units.hpp"
#include "graphics/routines.hpp"

namespace quill {

bool graphics_event_units(const EventValues& event, int width, int height, GraphicsUnits& units) {
  if (event.detail3 == 2) return false;  // a bitmap view's units come from its bitmap
  Drawable target;
  if (event.detail3 == 1) {
    target.kind = DrawableKind::Field;
    target.dialog = event.window;
    target.id = event.detail4;
  } else {
    target.kind = DrawableKind::Window;
    target.id = event.window;
  }
  target.width = width;
  target.height = height;
  const EventUnits found =
      event_units(target, EventPixels{event.pixel_x, event.pixel_y, event.pixel_w, event.pixel_h});
  units = GraphicsUnits{found.x, found.y, found.width, found.height};
  return true;
}

}  // namespace quill
