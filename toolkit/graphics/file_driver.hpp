// The file drivers' interface: one table of typed entries per driver. The core turns the
// drawing state's operations into calls of these entries: it opens and closes the output,
// checks once that the output is open, and keeps each driver's attributes up to date.
#pragma once

#include <span>

#include "graphics/drawing_state.hpp"

namespace quill {

// The closed shapes of the fill operations.
enum class Shape { Ellipse, Triangle, Rectangle, Parallelogram, Sector, Polygon };

enum class LineAttribute { Width, Style, Join, Cap };

// The first count points of the primitive's point arrays.
struct PointArrays {
  std::span<const double> xs, ys;
  std::size_t size() const { return xs.size(); }
};
PointArrays point_arrays(const Primitive& p);

// Every entry but describe may be null: the driver then ignores that operation.
struct FileDriver {
  int number = 0;  // the driver number, also its answer to a probe
  // Fills drawing().device (operation 1 when it is not a probe).
  void (*describe)() = nullptr;
  // Before the output opens: 0, or the error code with which the hardcopy is abandoned.
  int (*prepare)() = nullptr;
  void (*header)() = nullptr;   // the output has just opened
  void (*trailer)() = nullptr;  // the output is still open
  void (*release)() = nullptr;  // after the output closed (or failed to open) once prepared
  void (*new_page)() = nullptr;

  void (*set_colour)(const ColourState& colour) = nullptr;
  void (*set_line)(LineAttribute which, const LineAttributes& line) = nullptr;
  void (*select_font)(const TextAttributes& text) = nullptr;
  void (*clip)(const Area& area) = nullptr;

  void (*line)(double x1, double y1, double x2, double y2) = nullptr;
  void (*point)(double x, double y) = nullptr;
  void (*polyline)(PointArrays points) = nullptr;
  void (*arc)(const Primitive& p) = nullptr;  // int_param[0] == 1: a sector's outline
  void (*fill)(Shape shape, const Primitive& p) = nullptr;
  // The call that follows every fill, once the shape is complete.
  void (*end_fill)(Shape shape) = nullptr;
  void (*text)(const TextAttributes& text) = nullptr;
  void (*image)(const Primitive& p) = nullptr;
};

// The attributes a driver has been given, compared with the drawing state before it draws.
struct AttributesGiven {
  int colour = 0;
  LineAttributes line;
  int font_family = 0, font_style = 0;
};

// What a driver holds once its output opens (its header reads the drawing state).
AttributesGiven attributes_in_force();

// Hands op to the driver's entry for it; a drawing entry is first given every attribute
// that differs from given. For drivers whose output the caller manages (the metafile
// recorder): no lifecycle and no check of the output.
void run_entries(const FileDriver& driver, GrOp op, AttributesGiven& given);

// The whole of a file driver's operation: probe and description, opening the output and
// closing it, and, while the output is open, the entries.
void run_file_driver(const FileDriver& driver, GrOp op);

// The driver function under which the driver table holds a file driver:
// register_driver(number, file_driver_function<kDriver>).
template <const FileDriver& driver>
void file_driver_function(GrOp op) {
  run_file_driver(driver, op);
}

}  // namespace quill
