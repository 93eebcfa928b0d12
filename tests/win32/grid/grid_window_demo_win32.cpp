// The root window as a grid window, driven from outside. Each event is written to the
// log as "event type window detail1 detail2"; after each change of the grid it is saved
// to the --csv file and "saved" is logged; each resize logs "sizes" with the client
// area's and the grid window's sizes. "cell column row left top right bottom" lines give
// the screen rectangles of the cells. The Exit command (F12) ends the demo, which then
// logs the error a grid routine on the released grid window reports.
#include <windows.h>

#include <array>
#include <cstring>
#include <string>

#include "core/window_table.hpp"
#include "grid/grid_field_win32.hpp"
#include "grid_window_ids.h"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"
#include "demo_log_win32.hpp"
#include "quill/events.hpp"
#include "quill/grid.hpp"
#include "quill/window.hpp"

static_assert(GW_CMD_FIND == GridCmdFind && GW_CMD_FIND_NEXT == GridCmdFindNext &&
              GW_CMD_GOTO == GridCmdGoTo && GW_CMD_SORT_UP == GridCmdSortAscending &&
              GW_CMD_SORT_DOWN == GridCmdSortDescending);

namespace {

std::string size_of(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return std::to_string(rect.right) + " " + std::to_string(rect.bottom);
}

void set_up_grid() {
  WGridColumns(0, 3, std::array{4, 5, 9}, std::array{14, 8, 6});
  WGridRows(0, 3);
  WGridTitles(0, 1, 0);
  const std::array<std::string_view, 3> titles{"Fruit", "Count", "Ripe"};
  const std::array<std::string_view, 3> fruit{"pear", "apple", "cherry"};
  for (int i = 1; i <= 3; ++i) {
    WGridColumnTitle(0, i, titles[static_cast<std::size_t>(i - 1)]);
    WGridPutCellString(0, 1, i, fruit[static_cast<std::size_t>(i - 1)]);
    WGridPutCellInteger(0, 2, i, 4 - i);
  }
  WDialogFieldOptions(0, 1, 1);  // the user may add rows
}

}  // namespace

int main(int argc, char** argv) {
  demo_log::open(argc, argv);
  std::string csv = "grid-window.csv";
  int mode = 1;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--csv") == 0) csv = argv[i + 1];
    if (std::strcmp(argv[i], "--mode") == 0) mode = std::atoi(argv[i + 1]);
  }
  int width = 480;
  int height = 220;
  WindowOpen(7, 600, 40, &width, &height, GW_MENU, {}, std::nullopt, "Grid window demo");
  WEventEnable(EvFieldEdited, 1);
  WGridWindow(mode);
  set_up_grid();
  demo_log::line("setup " + std::to_string(IErrorCode()));
  const quill::WindowEntry& root = quill::windows().windows[0];
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) {
      RECT rect = quill::grid_field_cell_rect(root.converted, c, r);
      MapWindowPoints(root.converted, nullptr, reinterpret_cast<POINT*>(&rect), 2);
      demo_log::line("cell " + std::to_string(c) + " " + std::to_string(r) + " " +
                     demo_log::rect_words(rect));
    }
  }
  demo_log::line("ready");
  for (;;) {
    EventRecord record;
    const int type = demo_log::next_event(record);
    if (type == EvFieldEdited && record.window == 0) {
      WGridSave(0, csv, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
      demo_log::line("saved");
    }
    if (type == EvResized) demo_log::line("sizes " + size_of(root.client) + " " + size_of(root.converted));
    if (type == EvCloseAsked || (type == EvCommand && record.detail1 == GW_EXIT)) break;
  }
  WindowShutdown();
  IErrorReset();
  WGridPutCellString(0, 1, 1, "gone");
  demo_log::line("after-shutdown " + std::to_string(IErrorCode()));
  demo_log::close();
  return 0;
}
