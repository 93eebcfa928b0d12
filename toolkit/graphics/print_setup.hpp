// The printer the Windows printer driver prints on and its page set-up, as the application
// chose them (by name, by paper code, or in the print box).
#pragma once

#include <string>

namespace quill {

struct PrinterChoice {
  std::string name;  // empty: the default printer
  int paper = 0;     // Windows paper code; 0: the printer's own
};

PrinterChoice& printer_choice();

// Whether the spooler knows a printer of this name (never, where there is no spooler).
bool printer_exists(const std::string& name);

struct PrintBoxResult {
  std::string name;
  int copies = 1;
  bool landscape = false;
  int paper = 0;
};
// Shows the platform's print box starting from choice; false when cancelled or absent.
bool run_print_box(const PrinterChoice& choice, PrintBoxResult& result);

}  // namespace quill
