// Events: the record the event loop fills, the event type codes and the loop routines.
#pragma once

#include <cstdint>
#include <cstring>

// Sixteen 32-bit words; words 7 to 10 are single-precision reals. Word i is reachable by
// name or through word(i) (the raw bits, also for the real words).
struct EventRecord {
  std::int32_t window = 0;   // 0 root window, 1..50 child windows, or a dialog's handle
  std::int32_t detail1 = 0;  // by event type: key code, command, button, width, ...
  std::int32_t detail2 = 0;  // by event type: previous field, button state, height, ...
  std::int32_t detail3 = 0;  // 0 window client area, 1 dialog graphics field, 2 bitmap viewer, -1 other
  std::int32_t detail4 = 0;  // graphics field identifier when detail3 is 1, else -1
  std::int32_t unit_x = 0;   // pixel_x in screen units 0..9999
  std::int32_t unit_y = 0;   // pixel_y in screen units 0..9999
  float graph_w = 0.0f;      // repaint: the area's width in user units
  float graph_h = 0.0f;      // repaint: the area's height in user units
  float graph_x = 0.0f;      // pixel_x in user units, at the pixel's middle
  float graph_y = 0.0f;      // pixel_y in user units, counted from the bottom
  std::int32_t time_ms = 0;  // the window system's time stamp in milliseconds
  std::int32_t pixel_x = 0;  // pixel column in the client area (-1: none)
  std::int32_t pixel_y = 0;  // pixel row from the top (-1: none)
  std::int32_t pixel_w = 0;  // repaint and resize: width in pixels
  std::int32_t pixel_h = 0;  // repaint and resize: height in pixels

  // Word index (0..15) as raw bits; 0 outside the record.
  std::int32_t word(int index) const {
    std::int32_t value = 0;
    if (index >= 0 && index < 16) {
      std::memcpy(&value, reinterpret_cast<const unsigned char*>(this) + 4 * index, 4);
    }
    return value;
  }
};
static_assert(sizeof(EventRecord) == 64, "EventRecord is sixteen 32-bit words");

// Event type codes returned by WEventGet (the events enabled from the start: 1, 2, 3, 4,
// 7, 8, 9, 13, 14).
inline constexpr int EvKey = 1;           // a key (detail1 its key code)
inline constexpr int EvCommand = 2;       // a menu, toolbar or accelerator command (detail1)
inline constexpr int EvButton = 3;        // a dialog's push button (detail1 its identifier)
inline constexpr int EvMouseDown = 4;     // a pointer button or wheel step (detail1 1..5)
inline constexpr int EvMouseUp = 5;       // a pointer button released (enable it)
inline constexpr int EvMouseMotion = 6;   // the pointer moved (enable it)
inline constexpr int EvRepaint = 7;       // part of a drawn window or field needs painting
inline constexpr int EvResized = 8;       // a window's client area changed size
inline constexpr int EvCloseAsked = 9;    // the close box, system menu or Alt+F4
inline constexpr int EvFieldEdited = 10;  // a dialog field changed (enable it)
inline constexpr int EvPageSwitch = 11;   // a tab page changed (enable it)
inline constexpr int EvFrameClick = 12;   // a click on a window's frame (enable it)
inline constexpr int EvTimerTick = 13;    // a WEventTimer tick (detail1 the timer)
inline constexpr int EvCommandLine = 14;  // Enter in the command line of a text editor window
inline constexpr int EvViewScroll = 15;   // a bitmap view scrolled (enable it)
inline constexpr int EvMouseDouble = 16;  // a double click, after WEventDoubleClick(1) (enable it)

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
