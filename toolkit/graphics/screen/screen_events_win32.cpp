// The graphics side of event completion: positions in the user units of the drawing state.
#include "core/event_queue.hpp"
#include "graphics/event_units.hpp"
#include "graphics/routines.hpp"

namespace quill {

std::optional<GraphicsUnits> graphics_event_units(const EventValues& event, int width, int height) {
  if (event.detail3 == 2) return std::nullopt;  // a bitmap view's units come from its bitmap
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
  return GraphicsUnits{found.x, found.y, found.width, found.height};
}

}  // namespace quill
