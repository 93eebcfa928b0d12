// SVG driver internals shared by its files.
#pragma once

#include <array>
#include <string_view>

#include "graphics/drawing_state.hpp"
#include "graphics/file_driver.hpp"
#include "graphics/line_buffer.hpp"

namespace quill::svg {

inline constexpr int kDriverNumber = 3;

enum class Group : unsigned char { Stroke, Fill, Text };

struct StrokeKey {
  int join = -1, cap = -1, width = -1, style = -1, red = -1, green = -1, blue = -1;
  bool operator==(const StrokeKey&) const = default;
};

struct SvgState {
  StrokeKey stroke;  // last written; all -1: no stroke group open
  int clip_counter = 0;
  bool clip_active = false;
  double sx = 1.0, sy = 1.0;
  double flip_height = 0.0;        // drawing height - 0.01
  std::array<Group, 16> groups{};  // open groups, innermost last
  int depth = 0;
};

SvgState& svg();

// Numbers: two decimals at most, no trailing zeros and no bare trailing point.
void add_number(LineBuffer& line, double value);
// A drawing point as "x,y" in document coordinates (scaled, y flipped).
void add_point(LineBuffer& line, double x, double y);
double doc_x(double x);
double doc_y(double y);
void add_colour(LineBuffer& line, const Rgb& rgb);
void write_line(const LineBuffer& line);
void write_line(std::string_view text);

// The current colour, or the fill colour of the fill style, after the reverse mode.
Rgb stroke_rgb();
Rgb fill_rgb();

void open_group(const LineBuffer& line, Group kind);
// Closes the innermost group when it is of this kind; returns whether it did.
bool close_group(Group kind);

// A line element whose end is closing (a point's differs from a line's).
void draw_line(double x1, double y1, double x2, double y2, std::string_view closing);
void draw_polyline(PointArrays points);
void draw_fill(Shape shape, const Primitive& p);
// Closes the fill group a solid fill opened.
void end_fill(Shape shape);
void draw_arc(const Primitive& p, bool sector);
void draw_text(const TextAttributes& text);

}  // namespace quill::svg
