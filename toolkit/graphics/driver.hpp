// The driver interface: operation codes, the device description a driver fills in, the
// table of driver numbers, and the call that hands one operation to one driver.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quill {

// The single argument of a driver call: the boundary where the drawing state calls
// drivers. Every other input is read from drawing(); file drivers receive these as calls
// of their typed entries (file_driver.hpp).
enum class GrOp : int {
  Initialise = 1,  // fill in drawing().device (or only answer a probe)
  Line = 2,        // primitive.x1,y1 -> x2,y2
  Colour = 3,      // colour from drawing().colour
  EllipseScreen = 4,
  Ellipse = 5,  // primitive centre and radii
  EllipseScreenFill = 6,
  Triangle = 7,  // point arrays, 3 points
  TriangleScreen = 8,
  Rectangle = 9,  // primitive.x1,y1 / x2,y2 corners
  RectangleScreen = 10,
  Parallelogram = 11,  // point arrays, 4 points
  ParallelogramScreen = 12,
  Sector = 13,  // centre, radii, start and end angle
  SectorScreen = 14,
  Polygon = 15,  // point arrays, count
  PolygonScreen = 16,
  Clear = 17,
  BeginOutput = 18,  // open the output, write the header
  EndOutput = 19,    // write the trailer, close the output
  NewPage = 20,
  SelectFont = 21,
  Text = 22,
  HatchFill = 23,
  Clip = 24,  // clipping rectangle = the current area
  MeasureText = 25,
  Point = 26,
  DrawingMode = 27,
  Unassigned = 28,  // no operation has this code
  LineStyle = 29,
  LineWidth = 30,
  ReadPixel = 31,
  Polyline = 32,  // point arrays, count
  TextDirection = 33,
  Arc = 34,
  ColourValue = 35,
  LineJoin = 36,
  LineCap = 37,
  Image = 38,
  BitmapTransfer = 40,
};

// A driver: one function taking the operation code. It ignores codes it does not implement.
// A file driver's function is file_driver_function<kDriver> (file_driver.hpp), which hands
// the operation to the driver's typed entries.
using DriverFunction = void (*)(GrOp op);

inline constexpr int kMaxDriverNumber = 12;
inline constexpr int kOptionCount = 30;
inline constexpr int kProbeValue = -999;
inline constexpr int kCapabilityLength = 29;

// Numbered hardcopy options (index = option number; index 0 is unused).
enum class GrOption : int {
  Width = 1,
  Height = 2,
  OffsetX = 3,
  OffsetY = 4,
  Orientation = 5,
  ReverseMode = 6,
  Copies = 8,
  LineWidth = 9,
  LineJoin = 10,
  LineCap = 11,
  HatchDistance = 12,
  EndOfJob = 15,
  PathLimit = 16,
  LabelTerminator = 21,
  Encapsulated = 22,
  ColourDepth = 23,
  ImageFormat = 26,
};

// What a driver tells about itself on operation 1.
struct DeviceDescription {
  // Probe answer: set to kProbeValue by the caller before a probe; a driver then writes
  // its class number here and does nothing else.
  int answer = 0;
  std::array<int, kOptionCount + 1> options{};
  double units_per_inch_x = 0.0;
  double units_per_inch_y = 0.0;
  int colours = 0;
  std::string_view capabilities;  // kCapabilityLength characters "0"/"1"
  std::string default_file;       // empty: the driver writes no file

  int option(GrOption which) const { return options[static_cast<int>(which)]; }
  void set_option(GrOption which, int value) { options[static_cast<int>(which)] = value; }
  bool landscape() const { return (option(GrOption::Orientation) & 1) != 0; }
  bool encapsulated() const { return option(GrOption::Encapsulated) != 0; }
  bool end_of_job() const { return option(GrOption::EndOfJob) != 0; }
  int path_limit() const { return option(GrOption::PathLimit); }
  double width() const { return option(GrOption::Width); }
  double height() const { return option(GrOption::Height); }
};

// The part of a device description every driver fills in the same way.
struct DeviceSpec {
  int answer = 0;  // class number given to a probe
  int width = 0;   // options 1 and 2
  int height = 0;
  double units_per_inch = 0.0;  // both axes
  int colours = 0;
  std::string_view capabilities;
  std::string_view default_file;  // empty: keep the name the hardcopy selection set
};

// For a driver's operation 1. On a probe writes spec.answer and returns false. Otherwise
// clears every option, sets width, height, one copy and line width 1 plus the spec's
// resolution, colours, capabilities and file name, and returns true: the driver then sets
// the options that are its own.
bool describe_device_from(const DeviceSpec& spec);

// One row of the driver table: the fixed facts about each driver number.
struct DriverInfo {
  int number = 0;
  std::string_view output;
  std::string_view default_file;
  std::string_view capabilities;
};

inline constexpr std::string_view kScreenCapabilities = "11111111111111111110111011111";
inline constexpr std::string_view kRecorderCapabilities = "00000110111111100010011011100";
// Capability strings of driver 1 by plotter model 1..4.
inline constexpr std::array<std::string_view, 4> kPlotterCapabilities = {
    "00000100000000000010000000010", "00000100000000000010000000000", "00000100000010000010000000010",
    "00000100000011100010001001010"};

// The row for driver number, or nullptr for a number outside the table (and 5, 7).
const DriverInfo* driver_info(int number);

// Installs fn as the driver for number (1..kMaxDriverNumber) and returns the driver it
// replaces (nullptr if none). The built-in drivers are registered on first use.
DriverFunction register_driver(int number, DriverFunction fn);
DriverFunction registered_driver(int number);
// The screen driver (the current drawable's driver); nullptr where there is no screen.
DriverFunction register_screen_driver(DriverFunction fn);
// The memory-metafile recorder: while a memory metafile is the current drawable it
// receives the operations in place of the screen driver.
DriverFunction register_metafile_recorder(DriverFunction fn);

// Sends op to driver number; does nothing when no driver is registered for it.
void call_driver(int number, GrOp op);
// Probes driver number: returns its class number, or kProbeValue when there is none.
// Nothing but drawing().device.answer is changed.
int probe_driver(int number);
// Sends op to the screen driver (or the metafile recorder that replaces it) and, while a
// hardcopy is active, to the active hardcopy driver.
void send_operation(GrOp op);
// Sends op only to the screen driver (or the metafile recorder that replaces it).
void send_operation_to_screen(GrOp op);
// Sends op only to the active hardcopy driver, if any.
void send_to_hardcopy(GrOp op);

// Opens drawing().output on the hardcopy's file name. On failure reports error 1 for
// IGrHardCopy, leaves no active hardcopy and returns false.
bool begin_file_output();
// Closes the output (a failure there is reported once).
void end_file_output();

// Registers the built-in drivers if that has not happened yet.
void ensure_builtin_drivers();

// Each driver folder defines register_driver_<folder>(), which calls register_driver.
void register_builtin_drivers();

}  // namespace quill
