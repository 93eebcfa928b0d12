// Driver 10 prints through the spooler (job "Quillanthor graphic") on the chosen printer or
// the default one, with the hardcopy's copies and orientation and the chosen paper;
// driver 11 writes an enhanced metafile of 756 x 540 units at 600 units per inch.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/error_codes.hpp"
#include "graphics/gdi/gdi_render_win32.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/print_setup.hpp"
#include "quill/errors.hpp"

namespace quill {
namespace {

constexpr int kPrinterDriver = 10;
constexpr int kMetafileDriver = 11;
constexpr int kMetafileWidth = 756;
constexpr int kMetafileHeight = 540;
constexpr double kMetafileUnitsPerInch = 600.0;
constexpr char kJobName[] = "Quillanthor graphic";
// The two description strings, each ending in a NUL, the whole ending in two.
constexpr char kMetafileDescription[] = "Quillanthor graphic\0KVS metafile driver\0";

struct GdiDriverState {
  HDC dc = nullptr;
  bool printing = false;  // a print job is open on dc
  GdiRenderer renderer;
};

GdiDriverState& gdi_state() {
  static GdiDriverState state;
  return state;
}

std::string default_printer() {
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  if (size == 0) return {};
  std::string name(size, '\0');
  if (!GetDefaultPrinterA(name.data(), &size)) return {};
  name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  return name;
}

// The printer chosen by name, else the default one.
std::string target_printer() {
  const std::string& chosen = printer_choice().name;
  return chosen.empty() ? default_printer() : chosen;
}

// The printer's settings with the hardcopy's copies and orientation and the chosen paper;
// empty when the printer cannot be opened.
std::vector<char> printer_settings(const std::string& printer) {
  HANDLE handle = nullptr;
  if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &handle, nullptr)) return {};
  std::vector<char> buffer;
  const LONG size =
      DocumentPropertiesA(nullptr, handle, const_cast<char*>(printer.c_str()), nullptr, nullptr, 0);
  if (size > 0) {
    buffer.assign(static_cast<std::size_t>(size), '\0');
    auto* mode = reinterpret_cast<DEVMODEA*>(buffer.data());
    char* name = const_cast<char*>(printer.c_str());
    if (DocumentPropertiesA(nullptr, handle, name, mode, nullptr, DM_OUT_BUFFER) == IDOK) {
      const DeviceDescription& device = drawing().device;
      mode->dmFields |= DM_COPIES | DM_ORIENTATION;
      mode->dmCopies = static_cast<short>(std::max(1, std::min(device.option(GrOption::Copies), 9999)));
      mode->dmOrientation = device.landscape() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
      if (printer_choice().paper > 0) {
        mode->dmFields |= DM_PAPERSIZE;
        mode->dmPaperSize = static_cast<short>(printer_choice().paper);
      }
      DocumentPropertiesA(nullptr, handle, name, mode, mode, DM_IN_BUFFER | DM_OUT_BUFFER);
    } else {
      buffer.clear();
    }
  }
  ClosePrinter(handle);
  return buffer;
}

const DEVMODEA* as_mode(const std::vector<char>& settings) {
  return settings.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(settings.data());
}

void describe(int driver, int width, int height, double units_per_inch) {
  if (describe_device_from(
          {driver, width, height, units_per_inch, 256, driver_info(driver)->capabilities, {}})) {
    drawing().device.set_option(GrOption::PathLimit, 255);
  }
}

// The printer's page in device pixels and its resolution; without a printer, a letter
// page at 600 dots per inch.
void describe_printer() {
  int width = 5100, height = 6600, dpi = 600;
  const std::string printer = target_printer();
  if (!printer.empty()) {
    const std::vector<char> settings = printer_settings(printer);
    HDC info = CreateICA("WINSPOOL", printer.c_str(), nullptr, as_mode(settings));
    if (info != nullptr) {
      width = GetDeviceCaps(info, HORZRES);
      height = GetDeviceCaps(info, VERTRES);
      dpi = GetDeviceCaps(info, LOGPIXELSY);
      DeleteDC(info);
    }
  }
  describe(kPrinterDriver, width, height, dpi);
}

void give_up(int code = error::kFileOpen) {
  HardcopyState& hardcopy = drawing().hardcopy;
  hardcopy.active = false;
  hardcopy.active_driver = 0;
  IErrorReport(code, "IGrHardCopy");
}

void start_drawing(double units_per_inch) {
  GdiDriverState& s = gdi_state();
  const DrawingState& state = drawing();
  const DeviceDescription& device = state.device;
  s.renderer.attach(s.dc, driver_scale(device.width(), state.drawable.width),
                    driver_scale(device.height(), state.drawable.height), device.height(),
                    units_per_inch / 72.0);
}

void begin_printing() {
  GdiDriverState& s = gdi_state();
  const std::string printer = target_printer();
  if (printer.empty()) {
    give_up();
    return;
  }
  const std::vector<char> settings = printer_settings(printer);
  if (settings.empty() && !printer_choice().name.empty()) {
    give_up(error::kPrinterUnavailable);  // the chosen printer has gone
    return;
  }
  s.dc = CreateDCA("WINSPOOL", printer.c_str(), nullptr, as_mode(settings));
  DOCINFOA job{};
  job.cbSize = sizeof job;
  job.lpszDocName = kJobName;
  if (s.dc == nullptr || StartDocA(s.dc, &job) <= 0) {
    if (s.dc != nullptr) DeleteDC(s.dc);
    s.dc = nullptr;
    give_up();
    return;
  }
  s.printing = true;
  // The page as printed (orientation and paper may differ from the description).
  DrawingState& state = drawing();
  state.device.set_option(GrOption::Width, GetDeviceCaps(s.dc, HORZRES));
  state.device.set_option(GrOption::Height, GetDeviceCaps(s.dc, VERTRES));
  if (state.hardcopy.hardcopy_only) set_drawable_size(state.device.width(), state.device.height());
  StartPage(s.dc);
  start_drawing(GetDeviceCaps(s.dc, LOGPIXELSY));
}

void begin_metafile() {
  GdiDriverState& s = gdi_state();
  const std::string& file = drawing().hardcopy.file_name;
  if (file.empty()) {
    give_up();
    return;
  }
  HDC reference = GetDC(nullptr);
  // The frame in hundredths of a millimetre.
  const RECT frame{0, 0, static_cast<LONG>(kMetafileWidth * 2540.0 / kMetafileUnitsPerInch),
                   static_cast<LONG>(kMetafileHeight * 2540.0 / kMetafileUnitsPerInch)};
  s.dc = CreateEnhMetaFileA(reference, file.c_str(), &frame, kMetafileDescription);
  const int dpi_x = GetDeviceCaps(reference, LOGPIXELSX), dpi_y = GetDeviceCaps(reference, LOGPIXELSY);
  ReleaseDC(nullptr, reference);
  if (s.dc == nullptr) {
    give_up();
    return;
  }
  // Logical units of 1/600 inch over the reference device's pixels.
  SetMapMode(s.dc, MM_ANISOTROPIC);
  SetWindowExtEx(s.dc, kMetafileWidth, kMetafileHeight, nullptr);
  SetViewportExtEx(s.dc, static_cast<int>(kMetafileWidth * dpi_x / kMetafileUnitsPerInch),
                   static_cast<int>(kMetafileHeight * dpi_y / kMetafileUnitsPerInch), nullptr);
  start_drawing(kMetafileUnitsPerInch);
}

void end_output() {
  GdiDriverState& s = gdi_state();
  s.renderer.detach();
  if (s.dc == nullptr) return;
  if (s.printing && drawing().hardcopy.discard) {
    AbortDoc(s.dc);  // the spooler drops the job
    DeleteDC(s.dc);
    s.printing = false;
  } else if (s.printing) {
    EndPage(s.dc);
    EndDoc(s.dc);
    DeleteDC(s.dc);
    s.printing = false;
  } else {
    HENHMETAFILE metafile = CloseEnhMetaFile(s.dc);
    if (metafile != nullptr) DeleteEnhMetaFile(metafile);
  }
  s.dc = nullptr;
}

void new_page() {
  GdiDriverState& s = gdi_state();
  if (s.printing && s.dc != nullptr) {
    EndPage(s.dc);
    StartPage(s.dc);
  }
}

void printer_driver(GrOp op) {
  switch (op) {
    case GrOp::Initialise: describe_printer(); return;
    case GrOp::BeginOutput: begin_printing(); return;
    case GrOp::EndOutput: end_output(); return;
    case GrOp::NewPage: new_page(); return;
    default: gdi_state().renderer.draw(op); return;
  }
}

void metafile_driver(GrOp op) {
  switch (op) {
    case GrOp::Initialise:
      describe(kMetafileDriver, kMetafileWidth, kMetafileHeight, kMetafileUnitsPerInch);
      return;
    case GrOp::BeginOutput: begin_metafile(); return;
    case GrOp::EndOutput: end_output(); return;
    default: gdi_state().renderer.draw(op); return;
  }
}

}  // namespace

void register_driver_gdi() {
  register_driver(kPrinterDriver, printer_driver);
  register_driver(kMetafileDriver, metafile_driver);
}

}  // namespace quill
