// HP-GL drivers' internals: HP-GL/2 with PCL framing for printers (driver 12) and plain
// HP-GL for pen plotters (driver 1) share the command writer, coordinates, pens, lines,
// fills and text; the plain dialect leaves out what only HP-GL/2 devices understand.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "graphics/drawing_state.hpp"
#include "graphics/file_driver.hpp"
#include "graphics/line_buffer.hpp"
#include "graphics/metafile/metafile.hpp"

namespace quill::hpgl {

inline constexpr int kPrinterDriver = 12;
inline constexpr int kPlotterDriver = 1;
inline constexpr int kScaleMax = 32760;
inline constexpr double kPlotterUnitsPerPoint = 1016.0 / 72.0;
inline constexpr int kNoPen = -1;

struct Point {
  long x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct HpglState {
  bool plain = false;               // pen-plotter HP-GL: no PCL, comments, PC, PW, LA, PM
  int model = 5;                    // printer model 1..5, or plotter model 1..4
  int colours = 256;                // 2: background pen 0 and pen 1 for every other colour
  double sx = 1.0, sy = 1.0;        // drawing units to scaled units 0..kScaleMax
  long limit = 1000000;             // scaled coordinates are clamped to +-limit
  Point p1, p2;                     // scaling points in plotter units
  Point pen{-99999999, -99999999};  // last pen position; unknown after text and pages
  bool pen_known = false;
  int pen_number = kNoPen;            // last pen selected
  std::array<bool, 256> defined{};    // pens given a colour with PC
  std::array<int, 256> pen_colour{};  // true colour: the colour value each pen holds
  int next_pen = 1;
  int text_mode = -1, family = -1, style = -1, justification = -1;
  double direction = 0.0;  // text angle last written with DI (degrees)
  bool font_pending = true;
  int pattern = 0;            // raster fill pattern selected (two-colour models)
  std::vector<Point> points;  // outline being written (capacity reused)
};

HpglState& hpgl();

// Printer and plotter models chosen by the program; 0 takes the configuration's HPGL2
// and PLOTTER settings, and a value out of range the default (printer 5, plotter 1).
struct HpglModels {
  int printer = 0;  // 1..5
  int plotter = 0;  // 1..4
};
HpglModels& hpgl_models();
int printer_model();
int plotter_model();

// Writes one command line. Blanks are reduced (none right after the two-letter
// mnemonic, single blanks between tokens) except in label and comment text.
void emit(std::string_view command);
void emit(const LineBuffer& command);
// A comment CO"... closed by a quote; HP-GL/2 only.
void comment(std::string_view text);

Point scaled(double x, double y);
long scaled_length_x(double length);
void add_point(LineBuffer& line, Point p);
// PU to p unless the pen is there already.
void move_to(Point p);
// Pen-down moves through points, packed into command lines of at most 50 characters.
void draw_through(const Point* points, std::size_t count);
void forget_pen_position();

// Pen for colour, selected when it differs from the last one, and its comment.
void select_colour(int colour);
void reselect_pen();
// The current colour as red, green, blue after the reverse mode.
Rgb output_colour(int colour);

void draw_line(double x1, double y1, double x2, double y2);
void draw_point(double x, double y);
void draw_polyline(PointArrays points);
void draw_arc(const Primitive& p);
void draw_fill(Shape shape, const Primitive& p);
void end_fill(Shape shape);
void write_line_style(int style);
void write_line_width(int tenths);
void write_line_join(int join);
void write_line_cap(int cap);
void write_line_attribute(LineAttribute which, const LineAttributes& line);
void write_clip(const Area& area);
void write_text(const TextAttributes& text);
void write_direction(double degrees);

// Header pieces shared by both dialects.
void start_output(bool plain);
void write_fill_patterns();

// The driver given the entries both dialects share.
constexpr FileDriver with_shared_entries(FileDriver driver) {
  driver.set_colour = [](const ColourState& colour) { select_colour(colour.current); };
  driver.set_line = write_line_attribute;
  driver.select_font = [](const TextAttributes&) { hpgl().font_pending = true; };
  driver.clip = write_clip;
  driver.line = draw_line;
  driver.point = draw_point;
  driver.polyline = draw_polyline;
  driver.arc = draw_arc;
  driver.fill = draw_fill;
  driver.end_fill = end_fill;
  driver.text = write_text;
  return driver;
}

extern const FileDriver kPrinter;
extern const FileDriver kPlotter;

}  // namespace quill::hpgl
