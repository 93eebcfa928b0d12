// A grid field in a dialog, driven from outside. Each event is written to the log as
// "event type window detail1 detail2"; after each change of the grid the grid is saved
// to the --csv file and "saved" is logged; the Load button loads the --input file and
// logs "loaded"; the Clear button clears the field, saves and logs "cleared". "cell column row left top right bottom" lines give the screen
// rectangles of the cells, "rect id ..." those of the buttons. Done ends the demo.
#include <windows.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "dialog/dialog_internal_win32.hpp"
#include "grid/grid_field_win32.hpp"
#include "grid/grid_layers.hpp"
#include "grid_demo_ids.h"
#include "quill/dialog.hpp"
#include "demo_log_win32.hpp"
#include "quill/events.hpp"
#include "quill/grid.hpp"
#include "quill/window.hpp"

namespace {

std::string screen_rect(HWND window, RECT rect) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return demo_log::rect_words(rect);
}

// The columns, rows, titles, range, justification and options come from the dialog's
// "[Grids]" data; the row titles and a coloured cell are set here.
void set_up_grid() {
  for (int r = 1; r <= 3; ++r) WGridRowTitle(GD_FIELD, r, "row " + std::to_string(r));
  WGridPutCellString(GD_FIELD, 1, 3, "yellow cell");
  WGridColourCell(GD_FIELD, 1, 3, 0x000080, 0x00FFFF);
}

}  // namespace

int main(int argc, char** argv) {
  demo_log::open(argc, argv);
  std::string csv = "grid-demo.csv";
  std::string input = "grid-input.csv";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--csv") == 0) csv = argv[i + 1];
    if (std::strcmp(argv[i], "--input") == 0) input = argv[i + 1];
  }
  WindowOpen(3, 700, 20, nullptr, nullptr, std::nullopt, {}, std::nullopt, "Grid demo");
  quill::register_grid_layer();
  quill::register_grid_field_class();
  WEventEnable(EvFieldEdited, 1);
  WDialogLoad(GD_DIALOG);
  set_up_grid();
  WDialogShow(60, 200, GD_FIELD, 2);
  HWND dialog = quill::current_dialog_window();
  HWND grid = GetDlgItem(dialog, GD_FIELD);
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 4; ++c) {
      demo_log::line("cell " + std::to_string(c) + " " + std::to_string(r) + " " +
                     screen_rect(grid, quill::grid_field_cell_rect(grid, c, r)));
    }
  }
  for (const int id : {GD_LOAD, GD_DONE, GD_CLEAR}) {
    HWND button = GetDlgItem(dialog, id);
    RECT rect{};
    GetClientRect(button, &rect);
    demo_log::line("rect " + std::to_string(id) + " " + screen_rect(button, rect));
  }
  demo_log::line("ready");
  for (;;) {
    EventRecord record;
    const int type = demo_log::next_event(record);
    if (type == EvFieldEdited && record.detail2 == GD_FIELD) {
      WGridSave(GD_FIELD, csv, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
      demo_log::line("saved");
    }
    if (type == EvButton && record.detail1 == GD_LOAD) {
      WGridLoad(GD_FIELD, input, 1, 2);
      WGridSave(GD_FIELD, csv, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
      demo_log::line("loaded");
    }
    if (type == EvButton && record.detail1 == GD_CLEAR) {
      WDialogClearField(GD_FIELD);
      WGridSave(GD_FIELD, csv, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
      demo_log::line("cleared");
    }
    if (type == EvCloseAsked || (type == EvButton && record.detail1 == GD_DONE)) break;
  }
  WindowShutdown();
  demo_log::close();
  return 0;
}
