// The event state and the posting rules that window and dialog procedures use to turn a
// message into the one pending event that WEventGet delivers. Portable: no window system.
#pragma once

#include <array>

#include "quill/events.hpp"

namespace quill {

inline constexpr int kEventTypes = 16;
inline constexpr int kWindowSlots = 51;       // windows 0..50
inline constexpr int kFieldChangeSlot = 51;   // a field change that came second in a fetch
inline constexpr int kFieldRepaintSlot = 52;  // a graphics-field repaint displaced by a window repaint
inline constexpr int kSlotCount = 53;

// The values of one event before its record is completed.
struct EventValues {
  int type = 0;
  int window = 0;  // window number, or a dialog's handle identifier
  int detail1 = -1;
  int detail2 = -1;
  int detail3 = -1;
  int detail4 = -1;
  int pixel_x = -1;
  int pixel_y = -1;
  int pixel_w = 0;
  int pixel_h = 0;
  int time_ms = 0;
};

// How the source of an event bears on the posting rules.
struct PostSource {
  bool hidden_window = false;  // a resize of a hidden window is not recorded
  // A toolkit window's own client area (not one combined with a dialog, not special):
  // only these keep a repaint or resize in their pending slot.
  bool keeps_pending = true;
};

struct EventState {
  std::array<bool, kEventTypes + 1> enabled{};  // index 1..16
  EventValues posted;                           // the pending event of the running fetch
  bool waiting = false;                         // true while the loop waits and nothing has been posted
  bool undelivered = false;                     // an event was posted and WEventGet has not returned it yet
  std::array<EventValues, kSlotCount> slots{};  // type 0 = empty
  int held_type = 0;                            // held-back event, returned first
  EventRecord held;
  bool double_click = false;
};

EventState& events();

// Enabled switches back to their defaults; pending, slots and held-back event cleared.
void reset_event_state();
bool event_enabled(int type);
bool default_enabled(int type);

// A dialog's graphics-field events are posted as kGraphicsFieldEvent + their type
// (EvMouseDown..EvMouseDouble); they are delivered as that type with detail3 = 1.
inline constexpr int kGraphicsFieldEvent = 100;
constexpr int graphics_field_event(int type) { return kGraphicsFieldEvent + type; }

// Posts one event under the drop and replace rules. Graphics-field events become their
// own type with detail3 = 1 (detail4 = the field).
// Returns true when the event became the pending one (or went to slot 51).
bool post_event(EventValues values, PostSource source = {});

// A fetch begins here: the first usable pending slot, cleared. client_size(window,
// w, h) answers whether window 0..50 has a client area and its size. Type 0 if none.
using ClientSizeQuery = bool (*)(int window, int& width, int& height);
EventValues take_pending_slot(ClientSizeQuery client_size);

// A fetch that found no pending slot ends here: takes the posted event, merging a kept repaint into a repaint of
// the whole client area, and clears the window's slot.
EventValues take_posted(ClientSizeQuery client_size);

// Words 9 and 10 (x, y) and 7 and 8 (width, height) as the graphics layer works them out
// in its user units for one event.
struct GraphicsUnits {
  float x = 0.0f, y = 0.0f;
  float width = 0.0f, height = 0.0f;
};

// Fills the record from values; words 5..10 and 14..15 from the client size of the
// event's source (width, height in pixels; below 2 gives unit 0). Words 7..10 come from
// graphics when given, else from the range 0..1 over the whole source.
void complete_record(const EventValues& values, int client_width, int client_height, EventRecord& record,
                     const GraphicsUnits* graphics = nullptr);
// True for the events whose words 9 and 10 (and 7 and 8 for a repaint) hold graphics units.
bool has_graphics_units(int type);

// Screen units 0..9999 across n pixels and back.
int pixel_to_units(int pixel, int size);
int units_to_pixel(int units, int size);

}  // namespace quill
