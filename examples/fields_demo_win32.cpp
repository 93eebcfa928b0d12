// Fields demo: a dialog with numeric fields (integer and real spins, a double and an
// integer edit field) beside a grid field of text, integer, double, check box and option
// menu columns. Ranges, formats and the grid's columns come from the dialog's extended
// data; the values are put here through the dialog and grid routines.
// Usage: fields_demo [seconds to stay open, 0: until Done or closed]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fields_demo_ids.h"
#include "quill/quillanthor.hpp"

namespace {

struct Row {
  const char* name;
  int count;
  double reading;
  int checked;
  int colour;
};

void fill_fields() {
  WDialogPutInteger(FD_SAMPLES, 12);
  WDialogPutReal(FD_STEP, 0.25F);
  WDialogSpinStepReal(FD_STEP, 0.25F, 1.0F);
  WDialogPutDouble(FD_SCALE, 1.125);
  WDialogPutInteger(FD_OFFSET, -40);
  const Row rows[] = {{"north", 17, 3.25, 1, 1}, {"east", 240, 12.5, 0, 3},  {"south", 8, 0.875, 1, 2},
                      {"west", 96, 41.0, 0, 0},  {"centre", 3, 7.125, 1, 1}, {"spare", 0, 0.0, 0, 0}};
  int row = 0;
  for (const Row& r : rows) {
    ++row;
    WGridRowTitle(FD_GRID, row, std::to_string(row));
    WGridPutCellString(FD_GRID, 1, row, r.name);
    WGridPutCellInteger(FD_GRID, 2, row, r.count);
    WGridPutCellDouble(FD_GRID, 3, row, r.reading);
    WGridPutCellCheckBox(FD_GRID, 4, row, r.checked);
    WGridPutCellOption(FD_GRID, 5, row, r.colour);
  }
  WGridColourCell(FD_GRID, 3, 2, 0x000080, 0x80FFFF);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
  WStartup();
  int width = 320, height = 120;
  WindowOpen(WinSystemMenu, 0, 0, &width, &height, std::nullopt, {}, std::nullopt, "Quillanthor fields demo");
  WDialogLoad(FD_DIALOG);
  fill_fields();
  WDialogShow(-1, -1, FD_SAMPLES, 2);
  if (seconds > 0) {
    WEventTimer(seconds * 1000, 1, 0);
  }
  std::puts("ready");
  std::fflush(stdout);
  for (;;) {
    int type = 0;
    EventRecord record{};
    WEventGet(type, record);
    if (type == EvCloseAsked || type == EvTimerTick || type == EvButton) {
      break;
    }
  }
  WindowShutdown();
  return 0;
}
