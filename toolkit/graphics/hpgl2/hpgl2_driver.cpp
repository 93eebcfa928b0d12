// HP-GL/2 printer driver (driver 12): device description by printer model, PCL framing,
// header, page ends, and the operations both HP-GL dialects share.
#include <algorithm>
#include <cmath>

#include "core/settings.hpp"
#include "graphics/hpgl2/hpgl_driver.hpp"

namespace quill::hpgl {
namespace {

struct PrinterModel {
  int dots_per_inch;
  int width, height;  // plotter units
  int colours;
};

constexpr PrinterModel kPrinterModels[5] = {
    {300, 10860, 7918, 2},    {300, 10860, 7918, 256}, {600, 10860, 7918, 2},
    {600, 15836, 10860, 256}, {600, 10860, 7918, 256},
};
constexpr int kUnframedModel = 4;
constexpr int kNoSelectFontModel = 1;

const PrinterModel& model_row(int model) { return kPrinterModels[model - 1]; }

void describe_device() {
  const PrinterModel& model = model_row(printer_model());
  describe_device_from({kPrinterDriver, static_cast<int>(model.width / kPlotterUnitsPerPoint),
                        static_cast<int>(model.height / kPlotterUnitsPerPoint), 72.0, model.colours,
                        driver_info(kPrinterDriver)->capabilities, "quilplot.plt"});
  DeviceDescription& device = drawing().device;
  device.set_option(GrOption::Orientation, 1);
  device.set_option(GrOption::HatchDistance, 100);
  device.set_option(GrOption::LabelTerminator, 4);
}

bool framed() { return hpgl().model != kUnframedModel; }

// The title as comment text: a quote would end the comment, and so would a semicolon
// for some readers, which then take the rest for commands; control bytes break lines.
void write_title(std::string_view title) {
  LineBuffer line;
  for (char c : title) {
    const unsigned char byte = static_cast<unsigned char>(c);
    line.add(c == '"' ? '\'' : c == ';' ? ',' : byte < 32 || byte == 127 ? ' ' : c);
  }
  comment(line.view());
}

void add_scaling_points(LineBuffer& line) {
  const HpglState& s = hpgl();
  add_point(line, s.p1);
  line.add(' ');
  add_point(line, s.p2);
}

// Rotation, scaling points, label terminator, direction, transparency, fonts and the
// number of pens: what a page needs before its first command.
void write_page_settings() {
  const DrawingState& state = drawing();
  const HpglState& s = hpgl();
  const bool rotated = state.device.landscape() != (s.model == kUnframedModel);
  LineBuffer line;
  line.add(rotated ? "RO 90; IP" : "RO  0; IP");
  add_scaling_points(line);
  emit(line);
  OutputStream& out = drawing().output;
  out.write("DT");
  out.put(static_cast<char>(state.device.option(GrOption::LabelTerminator)));
  out.write("\r\n");
  emit("DI1. 0.");
  emit("TR0");
  if (s.model != kNoSelectFontModel) {
    emit("AD1,14;SA");
  }
  if (s.colours > 2) {
    emit("NP256");
  }
}

void write_header() {
  const DrawingState& state = drawing();
  start_output(false);
  HpglState& s = hpgl();
  OutputStream& out = drawing().output;
  if (framed()) {
    out.write_line("\x1b%0B");
  }
  if (!state.hardcopy.title.empty()) {
    write_title(state.hardcopy.title);
  }
  LineBuffer line;
  line.add("IN; IP");
  add_scaling_points(line);
  emit(line);
  write_page_settings();
  line.clear();
  line.add("13 ").add_int(s.model).add(s.colours > 2 ? " 1.2" : " 1.5").add(" 9");
  comment(line.view());
  line.clear();
  line.add("2 ").add_int(state.device.option(GrOption::ReverseMode));
  comment(line.view());
  emit("SC0 32760 0 32760");
  if (s.colours <= 2) {
    write_fill_patterns();
  }
}

// Without PCL framing a reader may start each page from its defaults: the page settings,
// pens, line attributes, clipping (with the scaling) and font are written again.
void restate_page() {
  HpglState& s = hpgl();
  write_page_settings();
  if (s.colours <= 2) {
    write_fill_patterns();
  }
  s.defined.fill(false);
  s.pen_number = kNoPen;
  s.family = s.style = s.justification = -1;
  s.direction = 0.0;
  const DrawingState& state = drawing();
  write_line_width(state.line.width);
  write_line_style(state.line.style);
  write_line_join(state.line.join);
  write_line_cap(state.line.cap);
  write_clip(state.area);
  s.font_pending = true;
  reselect_pen();
}

// Copies as two digits with a leading zero; larger counts in plain decimal.
void write_page_end() {
  const DrawingState& state = drawing();
  LineBuffer line;
  line.add("3 ").add_int(state.primitive.int_param[1]);
  comment(line.view());
  if (!framed()) {
    emit("PG");
    restate_page();
  } else {
    const int copies = std::max(state.device.option(GrOption::Copies), 1);
    line.clear();
    line.add("\x1b%1A\x1b&l");
    if (copies < 10) {
      line.add('0');
    }
    line.add_int(copies).add("X\f\x1b%0B");
    drawing().output.write_line(line.view());
  }
  forget_pen_position();
}

}  // namespace

int printer_model() {
  const int chosen = hpgl_models().printer;
  const int model = chosen != 0 ? chosen : settings().hpgl2_setting;
  return model >= 1 && model <= 5 ? model : 5;
}

void start_output(bool plain) {
  const DrawingState& state = drawing();
  HpglState& s = hpgl();
  std::vector<Point> points = std::move(s.points);
  s = HpglState{};
  s.points = std::move(points);
  s.plain = plain;
  s.limit = plain ? 32767 : 1000000;
  s.model = plain ? plotter_model() : printer_model();
  s.colours = state.device.colours;
  s.sx = driver_scale(kScaleMax, state.drawable.width);
  s.sy = driver_scale(kScaleMax, state.drawable.height);
  // Plotter units per device unit: device units are points, or 1/90 inch on plotters.
  const double factor = plain ? 1016.0 / 90.0 : kPlotterUnitsPerPoint;
  const auto plotter_units = [factor](int device_units) {
    return static_cast<long>(std::trunc(device_units * factor));
  };
  const DeviceDescription& device = state.device;
  const int x = device.option(GrOption::OffsetX), y = device.option(GrOption::OffsetY);
  s.p1 = Point{plotter_units(x), plotter_units(y)};
  s.p2 = Point{plotter_units(x + device.option(GrOption::Width)),
               plotter_units(y + device.option(GrOption::Height))};
}

namespace {

void write_trailer() {
  if (framed()) {
    drawing().output.write_line("\x1b%0A");
  }
}

}  // namespace

const FileDriver kPrinter = with_shared_entries({
    .number = kPrinterDriver,
    .describe = describe_device,
    .header = write_header,
    .trailer = write_trailer,
    .new_page = write_page_end,
});

}  // namespace quill::hpgl

namespace quill {

void register_driver_hpgl2() {
  register_driver(hpgl::kPrinterDriver, file_driver_function<hpgl::kPrinter>);
  register_driver(hpgl::kPlotterDriver, file_driver_function<hpgl::kPlotter>);
}

}  // namespace quill
