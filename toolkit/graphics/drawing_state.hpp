// The drawing state: the one process-wide record every graphics routine and driver reads.
// Coordinates handed to drivers are drawing units (device units of the current drawable,
// 0..usable maximum); a hardcopy driver scales them by its device size / usable maximum.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/layer_registry.hpp"
#include "base/platform.hpp"
#include "graphics/driver.hpp"
#include "graphics/output_stream.hpp"

namespace quill {

inline constexpr double kUnknownPosition = -9999.0;
inline constexpr int kMaxFileName = 260;
inline constexpr int kMaxTitle = 200;
inline constexpr int kMetafileSlots = 20;

struct UserRange {
  float left = 0.0F, bottom = 0.0F, right = 1.0F, top = 1.0F;
  float width = 1.0F, height = 1.0F;
};

// One direction of the presentation range: bounds as given, their difference (negative
// for falling bounds), and the smaller and larger bound.
struct PresentationAxis {
  float lower = 0.0F, upper = 1.0F, width = 1.0F, min = 0.0F, max = 1.0F;
};

struct PresentationRange {
  PresentationAxis x, y;
};

// Fractions 0..1 of the drawable, and the area's origin and size in drawing units.
struct Area {
  float left = 0.0F, bottom = 0.0F, right = 1.0F, top = 1.0F;
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};

// Window, Bitmap and Metafile are IGrSelect's kinds; Field is a dialog's graphics field
// (IGrSelectField), drawn by the screen driver like a window.
enum class DrawableKind : int { None = 0, Window = 1, Bitmap = 2, OwnHandle = 3, Metafile = 4, Field = 5 };

// The current drawable: its size in device units and the usable maximum (size - 0.01).
// A field is named by its dialog's handle (dialog) and its identifier (id).
struct Drawable {
  DrawableKind kind = DrawableKind::None;
  int id = 0;
  int dialog = 0;
  bool true_colour = true;
  double width = 0.0, height = 0.0;
  double max_x = 0.0, max_y = 0.0;
};

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// The current colour (number 0..255 on palette drawables, 0xBBGGRR value on true-colour
// ones), the previous one, and the current colour's intensities 0..1.
struct ColourState {
  int current = 0;
  int previous = 0;
  double red = 0.0, green = 0.0, blue = 0.0;
};

struct LineAttributes {
  int style = 0;  // 0 solid, 1..7 dash patterns
  int width = 1;  // tenths of a point
  int join = 0;   // 0 miter, 1 round, 2 bevel
  int cap = 0;    // 0 butt, 1 round, 2 square
};

// Bits of the text flags.
constexpr int kTextGroupStart = 1;
constexpr int kTextGroupEnd = 2;

struct TextAttributes {
  int family = 2;      // 1 Courier, 2 Helvetica/Arial, 3 Times, 4 Symbol
  int style = 0;       // 0 plain, 1 bold, 2 italic, 3 bold italic (modulo 4)
  double width = 0.0;  // character size in drawing units (set before operation 22)
  double height = 0.0;
  float user_width = 0.0F;  // character size in user units; 0: 1/40 of the area's height
  float user_height = 0.0F;
  double rotation = 0.0;   // degrees, counter-clockwise
  int justification = 0;   // 0 left, 1 centre, 2 right
  int mode = 0;            // 0, 1, 2: per-driver size factors; mode 1 ignores justification
  bool alignment = false;  // text alignment flag (drivers that align on a second point)
  int flags = kTextGroupStart | kTextGroupEnd;
  double x = 0.0, y = 0.0;          // position of the text being drawn (drawing units)
  double end_x = 0.0, end_y = 0.0;  // where the text ends (for centred/right text)
  std::string_view text;            // valid during operation 22 only
};

// Fill styles: below kFillSolidMixed shapes are outlines (only the ellipse is drawn by
// the driver); kFillSolidMixed fills with the mean of the previous and current colour.
inline constexpr int kFillSolidMixed = 3;
inline constexpr int kFillSolid = 4;

// Parameters of the primitive being sent. int_param[1] == kClosingCall marks the call
// that closes a fill group.
inline constexpr int kClosingCall = -1;

struct Primitive {
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
  double cx = 0.0, cy = 0.0, rx = 0.0, ry = 0.0;
  double start_angle = 0.0, end_angle = 0.0;  // radians, end > start
  // Point arrays (capacity reused); a polyline of a million points takes huge pages.
  std::vector<double, platform::TableAllocator<double>> xs, ys;
  int count = 0;
  std::array<int, 4> int_param{};
  // Image: row-major pixels (0xBBGGRR), drawn into x1,y1 (lower left) .. x2,y2.
  std::span<const std::uint32_t> pixels;
  int image_width = 0, image_height = 0;
  bool transfer_failed = false;  // set by a driver that could not take the image
};

struct HardcopyState {
  int selected = 2;   // driver number
  int described = 0;  // the driver whose description drawing().device holds
  bool active = false;
  int active_driver = 0;  // the driver that receives operations while active
  bool hardcopy_only = true;
  std::string file_name;
  std::string title;
  std::string print_destination;  // non-empty: the file is handed on at the end
  bool discard = false;           // set just before the end: the output is dropped, not printed
};

struct DrawingState {
  UserRange units;
  PresentationRange presentation;
  Area area;
  Drawable drawable;
  ColourState colour;
  LineAttributes line;
  TextAttributes text;
  int fill_style = 0;
  Primitive primitive;
  double pen_x = kUnknownPosition, pen_y = kUnknownPosition;  // last device point drawn
  double user_pen_x = 0.0, user_pen_y = 0.0;                  // current point, user units
  HardcopyState hardcopy;
  DeviceDescription device;  // of the selected hardcopy driver
  OutputStream output;       // the hardcopy's one output stream
  std::array<bool, kMetafileSlots + 1> metafile_used{};
  bool metafile_recorder = false;
  int bitmap_count = 0;  // memory bitmaps that IGrSelect kind 2 takes
};

// What the drawing state and the memory bitmaps ask of the layers that own or show
// drawables (the screen, the bitmap store, the bitmap views), registered with
// register_layer (base/layer_registry.hpp); the first layer offering an entry answers.
struct DrawableLayer {
  const char* name = "";
  bool (*window_exists)(int number) = nullptr;  // without it: windows 0..50
  bool (*bitmap_exists)(int number) = nullptr;  // without it: bitmaps 1..bitmap_count
  // Whether a loaded dialog has that graphics field; without it: none.
  bool (*field_exists)(int dialog_handle, int field_id) = nullptr;
  // Whether a view shows bitmap id (it may not be destroyed then); without it: no views.
  bool (*bitmap_in_view)(int id) = nullptr;
  // Bitmap id was drawn into: its views show the change.
  void (*bitmap_changed)(int id) = nullptr;
};

DrawingState& drawing();
// Test support: closes any output and returns the state to its start values.
void reset_drawing_for_tests();

// The red, green, blue of a colour number or value on the current drawable.
Rgb colour_rgb(int colour);
// Updates drawing().colour's intensities from its current colour.
void update_colour_intensities();
// The palette of 256-colour drawables: ramps from white to full red, yellow, green, cyan,
// blue, magenta and black (32 steps each), then a grey ramp.
Rgb palette_colour(int number);

// Sets the drawable size and its usable maximum; the area's device size follows.
void set_drawable_size(double width, double height);
// Recomputes the area in drawing units from its fractions and the drawable size.
void update_area_units();
// A driver's scale from drawing units to its device units; 1 for a degenerate drawing.
double driver_scale(double device_size, double drawing_size);

// User units to drawing units.
double to_drawing_x(double x);
double to_drawing_y(double y);
double to_drawing_width(double w);
double to_drawing_height(double h);
// Drawing units back to user units; a degenerate area gives the range's lower bound (or a
// size of 0).
double to_user_x(double x);
double to_user_y(double y);
double to_user_width(double w);
double to_user_height(double h);

}  // namespace quill
