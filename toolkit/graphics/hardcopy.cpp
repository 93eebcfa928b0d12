// Hardcopy: starting and ending output through the selected driver, choosing the driver,
// the numbered hardcopy options, and the hardcopy defaults of the configuration.
#include <string>

#include "base/error_codes.hpp"
#include "core/settings.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/print_handover.hpp"
#include "graphics/routines.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/os.hpp"

namespace quill {
namespace {

constexpr int kPostScriptDriver = 2;
constexpr int kPngDriver = 6;
constexpr int kDxfDriver = 8;
constexpr int kWindowsPrinterDriver = 10;

// The drivers whose output goes to a printer or plotter: the ones a configured printer
// type may select at start.
constexpr int kPrinterDrivers[] = {1, kPostScriptDriver, 4, kWindowsPrinterDriver, 12};

// A hardcopy whose file is kept for printing: the driver writes temporary_file, which
// the end of the hardcopy hands on to destination as the document (the file part).
struct PendingPrint {
  bool pending = false;
  std::string temporary_file;
  std::string document;
  std::string destination;
};

PendingPrint& pending_print() {
  static PendingPrint instance;
  return instance;
}

std::string_view trim_trailing_blanks(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view trim_blanks(std::string_view text) {
  text = trim_trailing_blanks(text);
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  return text;
}

// Replaces the extension of name (after its last dot past the last path separator).
void replace_extension(std::string& name, std::string_view extension) {
  if (name.empty()) {
    return;
  }
  const std::size_t separator = name.find_last_of("/\\:");
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) {
    name.erase(dot);
  }
  name += extension;
}

void change_extensions(std::string_view extension) {
  DrawingState& state = drawing();
  replace_extension(state.device.default_file, extension);
  replace_extension(state.hardcopy.file_name, extension);
}

// Takes the caller's file name (or the driver's default) and title. A name holding
// " @ " is meant for printing: the part before it is the file, the rest the destination;
// every driver but the Windows printer then writes to the temporary plot file.
bool take_names(int driver, std::string_view file_name, std::string_view title) {
  HardcopyState& hardcopy = drawing().hardcopy;
  file_name = trim_trailing_blanks(file_name);
  if (file_name.size() > static_cast<std::size_t>(kMaxFileName)) {
    IErrorReport(quill::error::kFileOpen, "IGrHardCopy");
    return false;
  }
  const std::size_t at = file_name.find(" @ ");
  std::string_view destination;
  if (at != std::string_view::npos) {
    destination = trim_blanks(file_name.substr(at + 3));
    file_name = file_name.substr(0, at);
  }
  file_name = trim_blanks(file_name);
  hardcopy.file_name = file_name.empty() ? drawing().device.default_file : std::string(file_name);
  hardcopy.print_destination = std::string(destination);
  PendingPrint& print = pending_print();
  print = {};
  if (!destination.empty() && driver != kWindowsPrinterDriver) {
    print = {true, temporary_plot_file(), hardcopy.file_name, hardcopy.print_destination};
    hardcopy.file_name = print.temporary_file;
  }
  title = trim_trailing_blanks(title);
  hardcopy.title = std::string(title.substr(0, static_cast<std::size_t>(kMaxTitle)));
  return true;
}

// The end of a hardcopy kept for printing: a completely written file goes to its
// destination (a failure reported as its code); the temporary file is always removed.
void finish_print(bool written) {
  PendingPrint& print = pending_print();
  if (!print.pending) {
    return;
  }
  print.pending = false;
  OutputStream& output = drawing().output;
  if (output.is_open()) {
    output.close();  // a driver that gave up may leave it open; the file cannot go while open
  }
  if (written) {
    const int code = hand_over_print_file(print.temporary_file, print.document, print.destination);
    if (code != 0) {
      IErrorReport(code, "IGrHardCopy");
    }
  }
  if (IOsExists(print.temporary_file)) {
    IOsDeleteFile(print.temporary_file);
  }
}

void replay_state_to_hardcopy() {
  DrawingState& state = drawing();
  state.pen_x = kUnknownPosition;
  state.pen_y = kUnknownPosition;
  for (GrOp op : {GrOp::LineWidth, GrOp::LineStyle, GrOp::LineJoin, GrOp::LineCap, GrOp::Clip,
                  GrOp::SelectFont, GrOp::Colour}) {
    send_to_hardcopy(op);
  }
}

// The device description of the selected driver, made when the driver was selected
// without one (the start driver) so that options set before the start are kept.
void describe_selected_driver() {
  const HardcopyState& hardcopy = drawing().hardcopy;
  if (hardcopy.described != hardcopy.selected) {
    IGrHardCopySelect(hardcopy.selected);
  }
}

void start_hardcopy(std::string_view file_name, std::string_view title) {
  DrawingState& state = drawing();
  const int driver = state.hardcopy.selected;
  if (probe_driver(driver) == kProbeValue) {
    return;
  }
  describe_selected_driver();
  if (!take_names(driver, file_name, title)) {
    return;
  }
  state.hardcopy.hardcopy_only = state.drawable.kind == DrawableKind::None;
  if (state.hardcopy.hardcopy_only) {
    set_drawable_size(state.device.width(), state.device.height());
  }
  state.hardcopy.active = true;
  state.hardcopy.active_driver = driver;
  call_driver(driver, GrOp::BeginOutput);
  if (!state.hardcopy.active) {
    finish_print(false);
    return;  // the open failed and was reported
  }
  if (state.hardcopy.hardcopy_only) {
    const Area area = state.area;
    apply_area(area.left, area.bottom, area.right, area.top, "IGrArea");
  }
  replay_state_to_hardcopy();
}

bool option_in_range(int option, int value) {
  const DrawingState& state = drawing();
  switch (option) {
    case 1:
    case 2: return value >= 1;
    case 5: return value >= 0 && value <= 3;
    case 6:
    case 10:
    case 11: return value >= 0 && value <= 2;
    case 13:
    case 24: {
      const int limit = state.device.option(GrOption::Width) > state.device.option(GrOption::Height)
                            ? state.device.option(GrOption::Width)
                            : state.device.option(GrOption::Height);
      return value >= 0 && value <= limit;
    }
    case 14: return false;
    case 16: return value >= 10 && value <= 255;
    case 21: return value >= 1 && value <= 127;
    case 23:
      if (state.hardcopy.selected == kPngDriver) {
        return value == 1 || value == 4 || value == 8 || value == 24;
      }
      if (state.hardcopy.selected == kDxfDriver) {
        return value == 3 || value == 4 || value == 8 || value == 24;
      }
      return true;
    case 26: return value == 1 || value == 2 || value == 15;
    default: return option >= 1 && option <= kOptionCount;
  }
}

int raised_option(int option, int value) {
  if (option == 8 || option == 9) {
    return value < 1 ? 1 : value;
  }
  if (option == 12) {
    return value < 100 ? 100 : value;
  }
  return value;
}

// Options that also change the drawing state or the file name.
void apply_option_effects(int option, int value) {
  DrawingState& state = drawing();
  switch (option) {
    case 9:
      state.line.width = value;
      send_to_hardcopy(GrOp::LineWidth);
      break;
    case 10:
      state.line.join = value;
      send_to_hardcopy(GrOp::LineJoin);
      break;
    case 11:
      state.line.cap = value;
      send_to_hardcopy(GrOp::LineCap);
      break;
    case 22:
      if (state.hardcopy.selected == kPostScriptDriver) {
        change_extensions(value != 0 ? ".eps" : ".ps");
      }
      break;
    case 26:
      if (state.hardcopy.selected == kPngDriver) {
        change_extensions(value == 1 ? ".bmp" : value == 2 ? ".pcx" : ".png");
      }
      break;
    default: break;
  }
}

}  // namespace

void end_active_hardcopy() {
  HardcopyState& hardcopy = drawing().hardcopy;
  bool written = false;  // an abandoned hardcopy (a failed write) is not printed
  if (hardcopy.active) {
    call_driver(hardcopy.active_driver, GrOp::EndOutput);
    written = hardcopy.active && !hardcopy.discard;  // a failure at the end abandons it too
    hardcopy.active = false;
    hardcopy.active_driver = 0;
  }
  hardcopy.discard = false;
  finish_print(written);
}

void abandon_hardcopy_after_write_failure() {
  HardcopyState& hardcopy = drawing().hardcopy;
  hardcopy.active = false;
  hardcopy.active_driver = 0;
  IErrorReport(quill::error::kFileReadWrite, "YYPROU");
}

void apply_hardcopy_defaults() {
  const int printer = settings().printer_type;
  for (int driver : kPrinterDrivers) {
    if (driver == printer && probe_driver(driver) != kProbeValue) {
      drawing().hardcopy.selected = driver;
      return;
    }
  }
}

}  // namespace quill

using namespace quill;

void IGrHardCopy(std::string_view action, std::string_view file_name, std::string_view title) {
  end_active_hardcopy();
  if (!action.empty() && (action[0] == 'S' || action[0] == 's')) {
    start_hardcopy(file_name, title);
  }
}

void IGrHardCopySelect(int driver) {
  DrawingState& state = drawing();
  if (driver < 1 || driver > kMaxDriverNumber) {
    IErrorReport(quill::error::kNoHardcopyDriver, "IGrHardCopySelect");
    return;
  }
  state.hardcopy.selected = driver;
  state.device = {};
  const DriverInfo* info = driver_info(driver);
  if (info != nullptr) {
    state.device.default_file = std::string(info->default_file);
    state.device.capabilities = info->capabilities;
  }
  state.hardcopy.described = driver;
  call_driver(driver, GrOp::Initialise);
}

void IGrHardCopyOptions(int option, int value) {
  if (option < 1 || option > kOptionCount) {
    return;
  }
  describe_selected_driver();
  value = raised_option(option, value);
  if (!option_in_range(option, value)) {
    return;
  }
  drawing().device.options[static_cast<std::size_t>(option)] = value;
  apply_option_effects(option, value);
}
