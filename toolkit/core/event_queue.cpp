// The event state, the posting rules and the completion of an event record.
#include "event_queue.hpp"

namespace quill {
namespace {

EventState make_default_state() {
  EventState state;
  for (int type = 1; type <= kEventTypes; ++type) state.enabled[type] = default_enabled(type);
  return state;
}

bool is_window_area_event(const EventValues& v) {
  return (v.type == EvRepaint || v.type == EvResized) && v.detail3 == 0 && v.window >= 0 &&
         v.window < kWindowSlots;
}

}  // namespace

bool has_graphics_units(int type) {
  return type == EvKey || type == EvMouseDown || type == EvMouseUp || type == EvMouseMotion ||
         type == EvRepaint || type == EvResized || type == EvMouseDouble;
}

EventState& events() {
  static EventState state = make_default_state();
  return state;
}

bool default_enabled(int type) {
  switch (type) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 7:
    case 8:
    case 9:
    case 13:
    case 14: return true;
    default: return false;
  }
}

void reset_event_state() { events() = make_default_state(); }

bool event_enabled(int type) {
  return type >= 1 && type <= kEventTypes && events().enabled[static_cast<std::size_t>(type)];
}

bool post_event(EventValues v, PostSource source) {
  EventState& s = events();
  if (v.type >= graphics_field_event(EvMouseDown) && v.type <= graphics_field_event(EvMouseDouble)) {
    v.type -= kGraphicsFieldEvent;
    v.detail3 = 1;
  }
  if (!event_enabled(v.type)) return false;
  const bool pending = s.undelivered;
  if (v.type == EvRepaint && pending && s.posted.type == EvResized) return false;
  if (v.type == EvResized && source.hidden_window) return false;
  if (v.type == EvFieldEdited && pending) {
    s.slots[kFieldChangeSlot] = v;
    return true;
  }
  if (v.type == EvRepaint && v.detail3 == 0 && pending && s.posted.type == EvRepaint &&
      s.posted.detail3 == 1) {
    s.slots[kFieldRepaintSlot] = s.posted;
  }
  if (is_window_area_event(v) && pending && source.keeps_pending) {
    EventValues& slot = s.slots[static_cast<std::size_t>(v.window)];
    if (!(v.type == EvRepaint && slot.type == EvResized)) slot = v;
  }
  s.posted = v;
  s.undelivered = true;
  s.waiting = false;
  return true;
}

EventValues take_pending_slot(ClientSizeQuery client_size) {
  EventState& s = events();
  for (int window = 0; window < kWindowSlots; ++window) {
    EventValues& slot = s.slots[static_cast<std::size_t>(window)];
    int width = 0;
    int height = 0;
    if (slot.type <= 0 || client_size == nullptr || !client_size(window, width, height)) continue;
    EventValues v = slot;
    slot = EventValues{};
    if (v.type == EvRepaint) {
      v.detail1 = width;
      v.detail2 = height;
      v.detail3 = 0;
      v.pixel_x = 0;
      v.pixel_y = 0;
      v.pixel_w = width;
      v.pixel_h = height;
    }
    return v;
  }
  for (int index : {kFieldChangeSlot, kFieldRepaintSlot}) {
    EventValues& slot = s.slots[static_cast<std::size_t>(index)];
    if (slot.type > 0) {
      EventValues v = slot;
      slot = EventValues{};
      return v;
    }
  }
  return EventValues{};
}

EventValues take_posted(ClientSizeQuery client_size) {
  EventState& s = events();
  EventValues v = s.posted;
  if (is_window_area_event(v)) {
    EventValues& slot = s.slots[static_cast<std::size_t>(v.window)];
    int width = 0;
    int height = 0;
    if (v.type == EvRepaint && slot.type == EvRepaint && client_size != nullptr &&
        client_size(v.window, width, height)) {
      v.detail1 = width;
      v.detail2 = height;
      v.pixel_x = 0;
      v.pixel_y = 0;
      v.pixel_w = width;
      v.pixel_h = height;
    }
    slot = EventValues{};
  }
  s.posted = EventValues{};
  s.undelivered = false;
  return v;
}

int pixel_to_units(int pixel, int size) {
  if (size < 2) return 0;
  return static_cast<int>((pixel + 0.5) * 9999.0 / size);
}

int units_to_pixel(int units, int size) {
  return static_cast<int>(static_cast<long long>(size - 1) * units / 9999);
}

// Without a graphics layer, graphics units are the default range 0..1 over the whole area.
void complete_record(const EventValues& v, int width, int height, EventRecord& r,
                     const GraphicsUnits* graphics) {
  r = EventRecord{};
  r.window = v.window;
  r.detail1 = v.detail1;
  r.detail2 = v.detail2;
  r.detail3 = v.detail3;
  r.detail4 = v.detail4;
  r.time_ms = v.time_ms;
  r.pixel_x = v.pixel_x;
  r.pixel_y = v.pixel_y;
  r.unit_x = v.pixel_x;
  r.unit_y = v.pixel_y;
  const float w = width > 0 ? static_cast<float>(width) : 1.0f;
  const float h = height > 0 ? static_cast<float>(height) : 1.0f;
  if (v.type == EvViewScroll) {
    r.graph_x = static_cast<float>(v.pixel_x);
    r.graph_y = static_cast<float>(v.pixel_y);
    r.unit_x = 0;
    r.unit_y = 0;
    return;
  }
  if (!has_graphics_units(v.type)) return;
  if (v.pixel_x >= 0 && v.pixel_y >= 0) {
    r.graph_x = graphics != nullptr ? graphics->x : (static_cast<float>(v.pixel_x) + 0.5f) / w;
    r.graph_y = graphics != nullptr ? graphics->y : (h - static_cast<float>(v.pixel_y) - 1.0f + 0.5f) / h;
    r.unit_x = pixel_to_units(v.pixel_x, width);
    r.unit_y = pixel_to_units(v.pixel_y, height);
  }
  if (v.type == EvRepaint) {
    r.pixel_w = v.pixel_w;
    r.pixel_h = v.pixel_h;
    r.graph_w = graphics != nullptr ? graphics->width : static_cast<float>(v.pixel_w) / w;
    r.graph_h = graphics != nullptr ? graphics->height : static_cast<float>(v.pixel_h) / h;
    if (v.pixel_x >= 0 && v.pixel_y >= 0) {
      r.detail1 = pixel_to_units(v.pixel_x + v.pixel_w - 1, width) - r.unit_x;
      r.detail2 = pixel_to_units(v.pixel_y + v.pixel_h - 1, height) - r.unit_y;
    }
  } else if (v.type == EvResized) {
    r.pixel_w = v.detail1;
    r.pixel_h = v.detail2;
  }
}

}  // namespace quill

void WEventEnable(int type, int state) {
  if (type < 1 || type > quill::kEventTypes || (state != 0 && state != 1)) return;
  quill::events().enabled[static_cast<std::size_t>(type)] = state == 1;
}

void WEventEnabled(int type, int& state) { state = quill::event_enabled(type) ? 1 : 0; }

void WEventDoubleClick(int state) { quill::events().double_click = state == 1; }
