#include "graphics/print_handover.hpp"

#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "quill/os.hpp"

namespace quill {

bool destination_is_path(std::string_view destination) {
  return destination.find_first_of("\\/:") != std::string_view::npos;
}

int hand_over_print_file(const std::string& file, const std::string& document,
                         const std::string& destination) {
  if (const std::optional<int> printed = send_to_printer(file, document, destination)) {
    return *printed;
  }
  if (!destination_is_path(destination)) return error::kPrinterUnavailable;
  return silent_try([&] { IOsCopyFile(file, destination); });
}

}  // namespace quill
