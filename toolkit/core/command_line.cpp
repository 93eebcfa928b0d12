// Capture of the process command line and access to its arguments.
#include "command_line.hpp"

#include "base/platform.hpp"
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
  if (index < 0) return {};
  std::size_t position = 0;
  for (int current = 0;; ++current) {
    position = line.find_first_not_of(' ', position);
    if (position == std::string_view::npos) return {};
    std::size_t begin = position;
    std::size_t end;
    if (line[position] == '"') {
      begin = position + 1;
      end = line.find('"', begin);
      if (end == std::string_view::npos) end = line.size();
      position = end == line.size() ? end : end + 1;
    } else {
      end = line.find(' ', position);
      if (end == std::string_view::npos) end = line.size();
      position = end;
    }
    if (current == index) return std::string(line.substr(begin, end - begin));
  }
}

std::string command_line_argument(int index) {
  capture_command_line();
  return command_line_argument(settings().command_line, index);
}

}  // namespace quill
