// Internal helpers shared by the public graphics routines.
#pragma once

#include <optional>
#include <string_view>

namespace quill {

struct EventValues;
struct GraphicsUnits;

// Sets the area as IGrArea does, reporting a failure for routine.
void apply_area(float left, float bottom, float right, float top, std::string_view routine);
// Ends an active hardcopy: operation 19 to the active driver, then no hardcopy. A file
// kept for printing is then handed on (or, after a failed write, only removed).
void end_active_hardcopy();
// Start-up: the configured printer type selects the start driver when it is the number of
// a printer or plotter driver present (1, 2, 4, 10, 12); other values keep driver 2. The
// plotter and HP-GL/2 models are read by their drivers from the settings.
void apply_hardcopy_defaults();

// Windows build: makes the root window the current drawable (for WindowOpen).
void graphics_window_opened();
// Windows build: ends an active hardcopy and releases the screen's back buffer and its
// hold on the window. WindowShutdown calls it before the windows go.
void graphics_shutdown();
// Windows build: an event's position and repaint size in user units, its window or dialog
// field (width x height pixels) being the drawing target for the moment.
std::optional<GraphicsUnits> graphics_event_units(const EventValues& event, int width, int height);

}  // namespace quill
