// Internal helpers shared by the public graphics routines.
#pragma once

#include <string_view>

namespace quill {

struct EventValues;
struct GraphicsUnits;

// Sets the area as IGrArea does, reporting a failure for routine.
void apply_area(float left, float bottom, float right, float top, std::string_view routine);
// Ends an active hardcopy: operation 19 to the active driver, then no hardcopy.
void end_active_hardcopy();

// Windows build: makes the root window the current drawable (for WindowOpen).
void graphics_window_opened();
// Windows build: ends an active hardcopy and releases the screen's back buffer and its
// hold on the window. WindowShutdown calls it before the windows go.
void graphics_shutdown();
// Windows build: an event's position and repaint size in user units, its window or dialog
// field (width x height pixels) being the drawing target for the moment.
bool graphics_event_units(const EventValues& event, int width, int height, GraphicsUnits& units);

}  // namespace quill
