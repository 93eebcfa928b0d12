// Without a print spooler no destination names a printer: a file kept for printing can
// only be copied to a device or file path.
#include "graphics/print_handover.hpp"

namespace quill {

std::optional<int> send_to_printer(const std::string&, const std::string&, const std::string&) {
  return std::nullopt;
}

}  // namespace quill

#include "graphics/print_setup.hpp"

namespace quill {

bool printer_exists(const std::string&) { return false; }

bool run_print_box(const PrinterChoice&, PrintBoxResult&) { return false; }

}  // namespace quill
