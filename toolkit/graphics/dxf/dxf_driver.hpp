// DXF driver internals shared by its files.
#pragma once

#include <string_view>

#include "graphics/drawing_state.hpp"
#include "graphics/file_driver.hpp"
#include "graphics/line_buffer.hpp"

namespace quill::dxf {

inline constexpr int kDriverNumber = 8;
inline constexpr int kDefaultColourDepth = 8;

struct DxfState {
  double sx = 1.0 / 72.0, sy = 1.0 / 72.0;  // drawing units to inches
  int colour_index = 7;
  int colour_value = 0;  // 0xRRGGBB, written at colour depth 24
  int cached_rgb = -1;   // the colour whose nearest index is cached
  int cached_index = 7;
};

DxfState& dxf();

// Groups: the code line and the value line.
void group(int code, std::string_view value);
// Real form: fixed six decimals, then leading blanks and trailing zeros removed ("2.").
void group_real(int code, double value);
// Integer form: a field of eight, written without leading blanks.
void group_int(int code, long long value);
// Text of a real as group_real writes it (out holds at least 32 characters).
std::string_view real_text(char* out, double value);

int colour_depth();
// Index 1..255 of the standard colour table nearest to red, green, blue in the
// hue-saturation-value cone; exact matches win at once.
int nearest_colour_index(int red, int green, int blue);
// Colour of a standard colour index 1..255 as 0xRRGGBB.
int standard_colour(int index);
// Updates dxf().colour_index and colour_value from colour.
void update_colour(const ColourState& colour);

// Name of line style 1..7; empty for solid (0) and other values.
std::string_view line_type_name(int style);

void write_header();

// Entities, one per primitive.
void write_line(double x1, double y1, double x2, double y2);
void write_point(double x, double y);
void write_polyline(PointArrays points);
void write_arc(const Primitive& p);
void write_fill(Shape shape, const Primitive& p);
void write_text(const TextAttributes& text);

}  // namespace quill::dxf
