// PostScript driver internals shared by its files.
#pragma once

#include <string_view>

#include "graphics/drawing_state.hpp"
#include "graphics/line_buffer.hpp"

namespace quill::postscript {

inline constexpr int kDriverNumber = 2;

struct Colour {
  double red = -1.0, green = -1.0, blue = -1.0;
  bool operator==(const Colour&) const = default;
};

struct PsState {
  int segments = 0;  // of the open path; 0: no path
  bool filled_path = false;
  double pen_x = kUnknownPosition, pen_y = kUnknownPosition;  // drawing units
  Colour written;                                             // last colour written
  Colour pending;  // colour of the open path (and the next one); a finish writes it
  int style = 0;
  int width = 0;
  bool font_pending = true;
  bool page_marked = false;  // something drawn since the last page start
  int page = 0;
  double sx = 1.0, sy = 1.0;
};

PsState& ps();

// Number forms: a coordinate-like value (F9.2, a last zero decimal dropped), and plain
// fixed forms clamped to their field width.
void add_coordinate(LineBuffer& line, double value);
void add_field(LineBuffer& line, double value, int width, int decimals);
// "x y m" or "x y l" for a point in drawing units.
void write_point(double x, double y, char op);
void write_line(const LineBuffer& line);
void write_line(std::string_view text);

// The drawing state's current colour, and any colour, after the reverse mode.
Colour current_colour();
Colour reversed_colour(const Rgb& rgb);
// Finishes an open path: the colour if changed, then "s" or "cf".
void finish_path();
// Writes the pending colour when it differs from the last written one.
void bring_colour_up_to_date();

void write_header();
void end_page(bool ends_job);
void write_trailer();
void describe_device();
void draw_text(const TextAttributes& text);
void draw_image(const Primitive& p);

}  // namespace quill::postscript
