#include "graphics/print_setup.hpp"

#include "base/error_codes.hpp"
#include "graphics/drawing_state.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"

namespace quill {

PrinterChoice& printer_choice() {
  static PrinterChoice choice;
  return choice;
}

}  // namespace quill

using namespace quill;

void IGrPrinterSelect(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const std::string wanted(name);
  if (!wanted.empty() && !printer_exists(wanted)) {
    IErrorReport(error::kPrinterUnavailable, "IGrPrinterSelect");
    return;
  }
  printer_choice().name = wanted;
}

void IGrPrinterPaper(int paper) { printer_choice().paper = paper < 0 ? 0 : paper; }

void IGrPrinterDialog(int& chosen) {
  chosen = 0;
  PrintBoxResult result;
  if (!run_print_box(printer_choice(), result)) return;
  printer_choice() = {result.name, result.paper};
  IGrHardCopySelect(10);
  IGrHardCopyOptions(8, result.copies);
  IGrHardCopyOptions(5, result.landscape ? 1 : 0);
  chosen = 1;
}
