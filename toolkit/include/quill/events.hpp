// Events: the record the event loop fills, the event type codes and the loop routines.
#pragma once

#include <cstdint>
#include <cstring>

// Sixteen 32-bit words; words 7 to 10 are single-precision reals. Word i is reachable by
// name or through word(i) (the raw bits, also for the real words).
struct EventRecord {
  std::int32_t window = 0;   // 0 root window, 1..50 child windows, or a dialog's handle
  std::int32_t detail1 = 0;
  std::int32_t detail2 = 0;
  std::int32_t detail3 = 0;  // 0 window client area, 1 dialog graphics field, 2 bitmap viewer, -1 other
  std::int32_t detail4 = 0;  // graphics field identifier when detail3 is 1, else -1
  std::int32_t unit_x = 0;   // pixel_x in screen units 0..9999
  std::int32_t unit_y = 0;
  float graph_w = 0.0f;
  float graph_h = 0.0f;
  float graph_x = 0.0f;
  float graph_y = 0.0f;
  std::int32_t time_ms = 0;
  std::int32_t pixel_x = 0;
  std::int32_t pixel_y = 0;
  std::int32_t pixel_w = 0;
  std::int32_t pixel_h = 0;

  std::int32_t word(int index) const {
    std::int32_t value = 0;
    if (index >= 0 && index < 16) {
      std::memcpy(&value, reinterpret_cast<const unsigned char*>(this) + 4 * index, 4);
    }
    return value;
  }
};
static_assert(sizeof(EventRecord) == 64, "EventRecord is sixteen 32-bit words");

// Event type codes returned by WEventGet.
inline constexpr int EvKey = 1;
inline constexpr int EvCommand = 2;
inline constexpr int EvButton = 3;
inline constexpr int EvMouseDown = 4;
inline constexpr int EvMouseUp = 5;
inline constexpr int EvMouseMotion = 6;
inline constexpr int EvRepaint = 7;
inline constexpr int EvResized = 8;
inline constexpr int EvCloseAsked = 9;
inline constexpr int EvFieldEdited = 10;
inline constexpr int EvPageSwitch = 11;
inline constexpr int EvFrameClick = 12;
inline constexpr int EvTimerTick = 13;
inline constexpr int EvCommandLine = 14;
inline constexpr int EvViewScroll = 15;
inline constexpr int EvMouseDouble = 16;

// Waits for the next enabled event; type receives its code, record its sixteen words.
void WEventGet(int& type, EventRecord& record);
// Like WEventGet but never waits: type 0 when no event is pending or already queued.
void WEventPeek(int& type, EventRecord& record);
// state 1 enables, 0 disables reporting of event type 1..16; other types are ignored.
void WEventEnable(int type, int state);
// state receives 1 when the event type is enabled, 0 when not (0 for types outside 1..16).
void WEventEnabled(int type, int& state);
// interval_ms > 0 starts timer timer_id (repeat 1: repeating, else one tick);
// interval_ms <= 0 stops it.
void WEventTimer(int interval_ms, int timer_id, int repeat);
// Waits hundredths/100 seconds while window messages go on being processed.
void WEventDelay(int hundredths);
// state 1 reports double clicks as EvMouseDouble, 0 (the default) as EvMouseDown.
void WEventDoubleClick(int state);
