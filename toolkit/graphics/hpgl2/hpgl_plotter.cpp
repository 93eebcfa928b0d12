// Pen-plotter HP-GL (driver 1): plain HP-GL without PCL framing, comments or the
// commands only HP-GL/2 devices know. Colours choose the nearest carousel pen.
#include "core/settings.hpp"
#include "graphics/hpgl2/hpgl_driver.hpp"

namespace quill::hpgl {
namespace {

struct PlotterModel {
  int width, height;  // plotter units
  int pens;
};

constexpr PlotterModel kPlotterModels[4] = {
    {10870, 7600, 6},
    {15970, 10870, 6},
    {10365, 7962, 8},
    {16640, 10365, 8},
};
constexpr double kDeviceUnitsPerInch = 90.0;

void describe_device() {
  const int model = plotter_model();
  const PlotterModel& row = kPlotterModels[model - 1];
  describe_device_from({kPlotterDriver, static_cast<int>(row.width / 1016.0 * kDeviceUnitsPerInch),
                        static_cast<int>(row.height / 1016.0 * kDeviceUnitsPerInch), kDeviceUnitsPerInch,
                        row.pens, kPlotterCapabilities[static_cast<std::size_t>(model - 1)], "quilplot.plt"});
  DeviceDescription& device = drawing().device;
  device.set_option(GrOption::HatchDistance, 100);
  device.set_option(GrOption::LabelTerminator, 3);
}

void write_header() {
  start_output(true);
  const HpglState& s = hpgl();
  OutputStream& out = drawing().output;
  emit("IN;");
  LineBuffer line;
  line.add("IP");
  add_point(line, s.p1);
  line.add(' ');
  add_point(line, s.p2);
  emit(line);
  emit("SC0 32760 0 32760");
  out.write("DT");
  out.put(static_cast<char>(drawing().device.option(GrOption::LabelTerminator)));
  out.write("\r\n");
  emit("DI1 0");
}

}  // namespace

int plotter_model() {
  const int chosen = hpgl_models().plotter;
  const int model = chosen != 0 ? chosen : settings().plotter_type;
  return model >= 1 && model <= 4 ? model : 1;
}

namespace {

void write_trailer() { emit("PU;SP0"); }

}  // namespace

const FileDriver kPlotter = with_shared_entries({
    .number = kPlotterDriver,
    .describe = describe_device,
    .header = write_header,
    .trailer = write_trailer,
    .new_page =
        [] {
          emit("PG");
          forget_pen_position();
        },
});

}  // namespace quill::hpgl
