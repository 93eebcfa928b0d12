// Capture of the process command line and access to its arguments.
#include "command_line.hpp"

#include "base/platform.hpp"
#include "os/os_internal.hpp"
#include "settings.hpp"

namespace quill {

void capture_command_line() {
  Settings& s = settings();
  if (s.command_line_captured) return;
  std::string line = platform::command_line();
  const std::size_t nul = line.find('\0');
  if (nul != std::string::npos) line.resize(nul);
  if (line.size() > kCommandLineLength) line.resize(kCommandLineLength);
  s.command_line = std::move(line);
  s.command_line_captured = true;
}

std::string command_line_argument(std::string_view line, int index) {
  const std::vector<std::string> arguments = os::split_arguments(line);
  if (index < 0 || static_cast<std::size_t>(index) >= arguments.size()) return {};
  return arguments[static_cast<std::size_t>(index)];
}

std::string command_line_argument(int index) {
  capture_command_line();
  return command_line_argument(settings().command_line, index);
}

}  // namespace quill
