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
    {300, 10860, 7918, 2}, {300, 10860, 7918, 256}, {600, 10860, 7918, 2},
    {600, 15836, 10860, 256}, {600, 10860, 7918, 256},
};
constexpr int kUnframedModel = 4;
constexpr int kNoSelectFontModel = 1;

const PrinterModel& model_row(int model) { return kPrinterModels[model - 1]; }

void describe_device() {
  if (drawing().device.answer == kProbeValue) {
    drawing().device.answer = kPrinterDriver;
    return;
  }
  const PrinterModel& model = model_row(printer_model());
  describe_device_from({kPrinterDriver, static_cast<int>(model.width / kPlotterUnitsPerPoint),
                        static_cast<int>(model.height / kPlotterUnitsPerPoint), 72.0, model.colours,
                        driver_info(kPrinterDriver)->capabilities, "quilplot.plt"});
  DeviceDescription& device = drawing().device;
  device.set_option(GrOption::orientation, 1);
  device.set_option(GrOption::hatch_distance, 100);
  device.set_option(GrOption::label_terminator, 4);
}

bool framed() { return hpgl().model != kUnframedModel; }

// The title as comment text: a quote would end the comment, control bytes break lines.
void write_title(std::string_view title) {
  LineBuffer line;
  for (char c : title) {
    const unsigned char byte = static_cast<unsigned char>(c);
    line.add(c == '"' ? '\'' : byte < 32 || byte == 127 ? ' ' : c);
  }
  comment(line.view());
}

void add_scaling_points(LineBuffer& line) {
  const HpglState& s = hpgl();
  add_point(line, s.p1);
  line.add(' ');
  add_point(line, s.p2);
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
  const bool rotated = state.device.landscape() != (s.model == kUnframedModel);
  line.clear();
  line.add(rotated ? "RO 90; IP" : "RO  0; IP");
  add_scaling_points(line);
  emit(line);
  out.write("DT");
  out.put(static_cast<char>(state.device.option(GrOption::label_terminator)));
  out.write("\r\n");
  emit("DI1. 0.");
  emit("TR0");
  if (s.model != kNoSelectFontModel) {
    emit("AD1,14;SA");
  }
  if (s.colours > 2) {
    emit("NP256");
  }
  line.clear();
  line.add("13 ").add_int(s.model).add(s.colours > 2 ? " 1.2" : " 1.5").add(" 9");
  comment(line.view());
  line.clear();
  line.add("2 ").add_int(state.device.option(GrOption::reverse_mode));
  comment(line.view());
  emit("SC0 32760 0 32760");
  if (s.colours <= 2) {
    write_fill_patterns();
  }
}

// Copies as two digits with a leading zero; larger counts in plain decimal.
void write_page_end() {
  const DrawingState& state = drawing();
  LineBuffer line;
  line.add("3 ").add_int(state.primitive.int_param[1]);
  comment(line.view());
  if (!framed()) {
    emit("PG");
  } else {
    const int copies = std::max(state.device.option(GrOption::copies), 1);
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
  const int x = device.option(GrOption::offset_x), y = device.option(GrOption::offset_y);
  s.p1 = Point{plotter_units(x), plotter_units(y)};
  s.p2 = Point{plotter_units(x + device.option(GrOption::width)), plotter_units(y + device.option(GrOption::height))};
}

// Operations both dialects share; false for those each driver handles itself.
bool shared_operation(GrOp op) {
  switch (op) {
    case GrOp::line: draw_line(); return true;
    case GrOp::point: draw_point(); return true;
    case GrOp::polyline: draw_polyline(); return true;
    case GrOp::arc: draw_arc(); return true;
    case GrOp::colour: case GrOp::colour_value: select_colour(); return true;
    case GrOp::ellipse: case GrOp::triangle: case GrOp::rectangle: case GrOp::parallelogram:
    case GrOp::sector: case GrOp::polygon:
      draw_fill(op);
      return true;
    case GrOp::select_font: hpgl().font_pending = true; return true;
    case GrOp::text: write_text(); return true;
    case GrOp::text_direction: write_direction(drawing().text.rotation); return true;
    case GrOp::clip: write_clip(); return true;
    case GrOp::line_style: write_line_style(); return true;
    case GrOp::line_width: write_line_width(); return true;
    case GrOp::line_join: write_line_join(); return true;
    case GrOp::line_cap: write_line_cap(); return true;
    default: return false;
  }
}

namespace {

void write_trailer() {
  if (framed()) {
    drawing().output.write_line("\x1b%0A");
  }
}

}  // namespace

void printer_driver(GrOp op) {
  if (run_file_driver_step(op, {describe_device, write_header, write_trailer}) || !drawing().output.is_open()) {
    return;
  }
  if (op == GrOp::new_page) {
    write_page_end();
    return;
  }
  shared_operation(op);
}

}  // namespace quill::hpgl

namespace quill {

void register_driver_hpgl2() {
  register_driver(hpgl::kPrinterDriver, hpgl::printer_driver);
  register_driver(hpgl::kPlotterDriver, hpgl::plotter_driver);
}

}  // namespace quill
