#include "base/error_codes.hpp"
#include "graphics/driver.hpp"

#include "graphics/drawing_state.hpp"
#include "quill/errors.hpp"

namespace quill {
namespace {

constexpr std::array<DriverInfo, 10> kDriverTable = {{
    {1, "HP-GL pen plotter", "quilplot.plt", kPlotterCapabilities[0]},
    {2, "PostScript or Encapsulated PostScript", "quilplot.ps", "00000111111111100010011011110"},
    {3, "SVG", "quilplot.svg", "00000111111111100010011011110"},
    {4, "Raster printer file", "quilplot.prn", "00000111111111110010011011000"},
    {6, "PNG image", "quilplot.png", "00000111111111110010011111000"},
    {8, "DXF", "quilplot.dxf", "00000100000011000010000000010"},
    {9, "CGM, binary encoding", "quilplot.cgm", "00000110111111100010011011100"},
    {10, "Windows printer", "", "00000111111111100010011011110"},
    {11, "Windows metafile", "", "00000111111111100010011011110"},
    {12, "HP-GL/2 with PCL framing", "quilplot.plt", "00000100011111100010011011110"},
}};

struct DriverTable {
  std::array<DriverFunction, kMaxDriverNumber + 1> drivers{};
  DriverFunction screen = nullptr;
  DriverFunction recorder = nullptr;
  bool builtins_registered = false;
};

DriverTable& table() {
  static DriverTable instance;
  return instance;
}

DriverTable& ready_table() {
  DriverTable& t = table();
  if (!t.builtins_registered) {
    t.builtins_registered = true;
    register_builtin_drivers();
  }
  return t;
}

bool valid_number(int number) { return number >= 1 && number <= kMaxDriverNumber; }

}  // namespace

void ensure_builtin_drivers() { ready_table(); }

const DriverInfo* driver_info(int number) {
  for (const DriverInfo& info : kDriverTable) {
    if (info.number == number) {
      return &info;
    }
  }
  return nullptr;
}

DriverFunction register_driver(int number, DriverFunction fn) {
  if (!valid_number(number)) {
    return nullptr;
  }
  DriverTable& t = ready_table();
  DriverFunction previous = t.drivers[static_cast<std::size_t>(number)];
  t.drivers[static_cast<std::size_t>(number)] = fn;
  return previous;
}

DriverFunction registered_driver(int number) {
  if (!valid_number(number)) {
    return nullptr;
  }
  return ready_table().drivers[static_cast<std::size_t>(number)];
}

DriverFunction register_screen_driver(DriverFunction fn) {
  DriverTable& t = ready_table();
  DriverFunction previous = t.screen;
  t.screen = fn;
  return previous;
}

DriverFunction register_metafile_recorder(DriverFunction fn) {
  DriverTable& t = ready_table();
  DriverFunction previous = t.recorder;
  t.recorder = fn;
  return previous;
}

void call_driver(int number, GrOp op) {
  DriverFunction fn = registered_driver(number);
  if (fn != nullptr) {
    fn(op);
  }
}

int probe_driver(int number) {
  DeviceDescription& device = drawing().device;
  device.answer = kProbeValue;
  call_driver(number, GrOp::Initialise);
  const int answer = device.answer;
  device.answer = 0;
  return answer;
}

void send_to_hardcopy(GrOp op) {
  const HardcopyState& hardcopy = drawing().hardcopy;
  if (hardcopy.active) {
    call_driver(hardcopy.active_driver, op);
  }
}

void send_operation_to_screen(GrOp op) {
  const DriverTable& t = ready_table();
  DriverFunction target = drawing().metafile_recorder ? t.recorder : t.screen;
  if (target != nullptr) {
    target(op);
  }
}

void send_operation(GrOp op) {
  send_operation_to_screen(op);
  send_to_hardcopy(op);
}

bool describe_device_from(const DeviceSpec& spec) {
  DeviceDescription& device = drawing().device;
  if (device.answer == kProbeValue) {
    device.answer = spec.answer;
    return false;
  }
  device.options = {};
  device.set_option(GrOption::Width, spec.width);
  device.set_option(GrOption::Height, spec.height);
  device.set_option(GrOption::Copies, 1);
  device.set_option(GrOption::LineWidth, 1);
  device.units_per_inch_x = spec.units_per_inch;
  device.units_per_inch_y = spec.units_per_inch;
  device.colours = spec.colours;
  device.capabilities = spec.capabilities;
  if (!spec.default_file.empty()) {
    device.default_file = std::string(spec.default_file);
  }
  return true;
}

bool begin_file_output() {
  DrawingState& state = drawing();
  if (state.output.open(state.hardcopy.file_name)) {
    return true;
  }
  state.hardcopy.active = false;
  state.hardcopy.active_driver = 0;
  IErrorReport(quill::error::kFileOpen, "IGrHardCopy");
  return false;
}

void end_file_output() { drawing().output.close(); }

}  // namespace quill
