// CGM file driver (driver 9): device description, metafile header and pictures.
#include <algorithm>
#include <array>
#include <cmath>

#include "graphics/cgm/cgm_driver.hpp"
#include "graphics/drawing_rules.hpp"

namespace quill::cgm {
namespace {

using FontSet = std::array<std::string_view, 16>;

constexpr double kVdcMax = 32767.0;

constexpr std::array<FontSet, 3> kFontSets = {{
    {"Courier New", "Courier New Bold", "Courier New Italic", "Courier New Bold Italic", "Arial",
     "Arial Bold", "Arial Italic", "Arial Bold Italic", "Times New Roman", "Times New Roman Bold",
     "Times New Roman Italic", "Times New Roman Bold Italic", "Symbol", "Symbol Italic", "Symbol Bold",
     "Symbol Bold Italic"},
    {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique", "Helvetica", "Helvetica-Bold",
     "Helvetica-Oblique", "Helvetica-BoldOblique", "Times-Roman", "Times-Bold", "Times-Italic",
     "Times-BoldItalic", "Symbol", "Symbol", "Symbol", "Symbol"},
    {"COURIER", "COURIER_BOLD", "COURIER_ITALIC", "COURIER_BOLD_ITALIC", "HELVETICA", "HELVETICA_BOLD",
     "HELVETICA_OBLIQUE", "HELVETICA_BOLD_OBLIQUE", "TIMES_ROMAN", "TIMES_BOLD", "TIMES_ITALIC",
     "TIMES_BOLD_ITALIC", "SYMBOL", "SYMBOL", "SYMBOL", "SYMBOL"},
}};

void describe_device() {
  if (!describe_device_from(
          {kDriverNumber, 756, 540, 600.0, 256, driver_info(kDriverNumber)->capabilities, "quilplot.cgm"})) {
    return;
  }
  DeviceDescription& device = drawing().device;
  device.set_option(GrOption::HatchDistance, 100);
  device.options[28] = 2;
}

void write_descriptor() {
  Encoder& e = cgm().encoder;
  e.start(0, 1).add_string("KVS CGM File").finish();
  e.start(1, 1).add_int(1).finish();
  e.start(1, 2).add_string("KVS CGM driver v4").finish();
  e.start(1, 3).add_int(0).finish();
  e.start(1, 4).add_int(16).finish();
  e.start(1, 5).add_int(1).add_int(16).add_int(16).finish();
  e.start(1, 6).add_int(16).finish();
  const int set = cgm().font_set >= 1 && cgm().font_set <= 3 ? cgm().font_set : 1;
  e.start(1, 13);
  for (std::string_view name : kFontSets[static_cast<std::size_t>(set - 1)]) {
    e.add_string(name);
  }
  e.finish();
  e.start(1, 7).add_int(8).finish();
  e.start(1, 10).add_colour(Rgb{0, 0, 0}).add_colour(Rgb{255, 255, 255}).finish();
}

void write_file_start() {
  cgm().encoder.set_sink(Sink{&drawing().output, nullptr});
  write_metafile_start();
}

const FileDriver kDriver = [] {
  FileDriver driver = kElements;
  driver.describe = describe_device;
  driver.header = write_file_start;
  driver.trailer = write_metafile_end;
  return driver;
}();

}  // namespace

namespace {

CgmState*& active_state() {
  static CgmState file_state;
  static CgmState* active = &file_state;
  return active;
}

}  // namespace

CgmState& cgm() { return *active_state(); }

StateScope::StateScope(CgmState& state) : previous_(active_state()) { active_state() = &state; }

StateScope::~StateScope() { active_state() = previous_; }

// A picture begins with its descriptor; a white background keeps readers from drawing
// on black. A later picture repeats the attributes in force, since each picture
// starts from the defaults.
void begin_picture(bool repeat_attributes) {
  CgmState& s = cgm();
  Encoder& e = s.encoder;
  e.start(0, 3).add_string("KVS CGM Data").finish();
  e.start(2, 3).add_int(0).finish();
  e.start(2, 5).add_int(0).finish();
  e.start(2, 2).add_int(1).finish();
  e.start(2, 7).add_colour(Rgb{255, 255, 255}).finish();
  e.start(3, 1).add_int(16).finish();
  e.start(2, 6).add_point(0, 0).add_point(s.extent_x, s.extent_y).finish();
  e.start(0, 4).finish();
  e.start(5, 18).add_int(1).add_int(5).add_real(0.0).add_real(0.0).finish();
  s.picture_open = true;
  s.direction = 0.0;
  if (!repeat_attributes) {
    return;
  }
  write_attributes(drawing());
}

void write_metafile_start() {
  CgmState& s = cgm();
  const DrawingState& state = drawing();
  // The whole device must fit the 16-bit VDC range: a larger device gets fewer VDC per inch.
  const double largest = std::max(state.device.width(), state.device.height()) / 72.0 * kVdcPerInch;
  s.vdc_per_inch = largest > kVdcMax ? kVdcPerInch * kVdcMax / largest : kVdcPerInch;
  s.extent_x = std::max(1.0, std::trunc(state.device.width() / 72.0 * s.vdc_per_inch));
  s.extent_y = std::max(1.0, std::trunc(state.device.height() / 72.0 * s.vdc_per_inch));
  s.sx = driver_scale(s.extent_x, state.drawable.width);
  s.sy = driver_scale(s.extent_y, state.drawable.height);
  s.colour = output_colour(state.colour.current);
  s.previous = s.colour;
  s.clip_set = false;
  write_descriptor();
  begin_picture(false);  // the start of a hardcopy or recording sends the attributes
}

void end_picture() {
  CgmState& s = cgm();
  if (s.picture_open) {
    s.encoder.start(0, 5).finish();
    s.picture_open = false;
  }
}

void ensure_picture() {
  if (!cgm().picture_open) {
    begin_picture(true);
  }
}

void write_metafile_end() {
  end_picture();
  cgm().encoder.start(0, 2).finish();
}

Rgb output_colour(int colour) { return reverse_mode_colour(colour_rgb(colour)); }

}  // namespace quill::cgm

namespace quill {

void register_driver_cgm() { register_driver(cgm::kDriverNumber, file_driver_function<cgm::kDriver>); }

}  // namespace quill
