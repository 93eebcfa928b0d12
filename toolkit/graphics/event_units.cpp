#include "graphics/event_units.hpp"

namespace quill {

TemporaryTarget::TemporaryTarget(const Drawable& target) : saved_(drawing().drawable) {
  Drawable& drawable = drawing().drawable;
  drawable.kind = target.kind;
  drawable.id = target.id;
  drawable.dialog = target.dialog;
  set_drawable_size(target.width, target.height);
}

TemporaryTarget::~TemporaryTarget() {
  drawing().drawable = saved_;
  update_area_units();
}

EventUnits event_units(const Drawable& target, const EventPixels& pixels) {
  const TemporaryTarget for_the_moment(target);
  EventUnits units;
  if (pixels.x >= 0 && pixels.y >= 0) {
    units.x = static_cast<float>(to_user_x(pixels.x + 0.5));
    units.y = static_cast<float>(to_user_y(target.height - pixels.y - 1 + 0.5));
  }
  units.width = static_cast<float>(to_user_width(pixels.width));
  units.height = static_cast<float>(to_user_height(pixels.height));
  return units;
}

}  // namespace quill
