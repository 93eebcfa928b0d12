// Handing a finished hardcopy file on for printing: a name "file @ destination" makes the
// driver write a temporary file, which the end of the hardcopy passes to the destination.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quill {

// A destination holding a path separator or a colon ("LPT1:", "C:\out\x.ps",
// "\\server\queue", "/dev/usb/lp0") is a device or file path; anything else can only be
// a printer name.
bool destination_is_path(std::string_view destination);

// Sends file to the printer named destination as raw data, the job named document.
// nullopt when the system knows no printer of that name; otherwise 0 or an error code
// (63 the printer refuses the job, 1 the file cannot be read, 2 a write failed).
std::optional<int> send_to_printer(const std::string& file, const std::string& document,
                                   const std::string& destination);

// Hands file on: to the printer named destination when the system knows one, else to the
// device or file path (IOsCopyFile). Returns 0 or the error code to report (63 for a name
// that is neither a known printer nor a path, 13 with the system's error recorded for a
// copy that failed).
int hand_over_print_file(const std::string& file, const std::string& document,
                         const std::string& destination);

}  // namespace quill
