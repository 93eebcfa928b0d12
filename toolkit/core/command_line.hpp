// Access to the process command line, captured once into the settings.
#pragma once

#include <string>
#include <string_view>

namespace quill {

// Captures the command line into settings() unless that was done already.
void capture_command_line();

// Argument index of line: arguments are separated by blanks, and one that begins
// with a double quote runs to the next double quote (the quotes are not part of it).
// Empty when there is no such argument.
std::string command_line_argument(std::string_view line, int index);

// Argument index of the process command line (0 is the program path); index -1 only
// captures the command line and gives an empty text.
std::string command_line_argument(int index);

}  // namespace quill
