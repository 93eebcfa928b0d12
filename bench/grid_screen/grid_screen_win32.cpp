// A grid window of 1,000,000 rows x 10 columns, for timing by hand-like key presses: the
// grid is built through the routines, then every key the grid control receives is timed
// from its arrival to the end of the repaint it causes. The log (--log FILE) gets
// "build MS", "ready", then one "key VK CTRL MS ROW" line per key; Escape ends the run.
#include <windows.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/window_table.hpp"
#include "quill/events.hpp"
#include "quill/grid.hpp"
#include "quill/window.hpp"

namespace {

constexpr int kRows = 1'000'000;
constexpr std::array kTypes{4, 5, 7, 9, 11, 4, 5, 7, 9, 11};
constexpr std::array<std::string_view, 4> kOptions{"north", "east", "south", "west, far"};

FILE* log_file = nullptr;
WNDPROC grid_procedure = nullptr;

void log_line(const std::string& text) {
  if (log_file == nullptr) return;
  std::fputs((text + "\n").c_str(), log_file);
  std::fflush(log_file);
}

double milliseconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void build_grid() {
  WGridColumns(0, static_cast<int>(kTypes.size()), kTypes);
  WGridRowsMax(0, kRows);
  WGridTitles(0, 1, 0);
  WGridRows(0, kRows);
  for (int c = 5; c <= 10; c += 5) WGridPutOptions(0, c, kOptions, static_cast<int>(kOptions.size()));
  unsigned state = 20261210;
  const auto next = [&state] { return state = state * 1664525U + 1013904223U; };
  std::string text;
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 0; c < 10; c += 5) {
      text.assign(next() % 25, 'a');
      for (char& ch : text) ch = static_cast<char>('a' + next() % 26);
      WGridPutCellString(0, c + 1, r, text);
      WGridPutCellInteger(0, c + 2, r, static_cast<int>(next() % 2'000'001) - 1'000'000);
      WGridPutCellDouble(0, c + 3, r, static_cast<double>(next()) / 4096.0 - 5e5);
      WGridPutCellCheckBox(0, c + 4, r, static_cast<int>(next() % 2));
      WGridPutCellOption(0, c + 5, r, static_cast<int>(next() % 5));
    }
  }
}

// Times each key down to the end of the repaint it caused.
LRESULT CALLBACK timed_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_KEYDOWN) return CallWindowProcW(grid_procedure, control, message, wparam, lparam);
  if (wparam == VK_ESCAPE) {
    PostMessageW(GetAncestor(control, GA_ROOT), WM_CLOSE, 0, 0);
    return 0;
  }
  const auto start = std::chrono::steady_clock::now();
  const LRESULT result = CallWindowProcW(grid_procedure, control, message, wparam, lparam);
  UpdateWindow(control);
  const double ms = milliseconds_since(start);
  int column = 0;
  int row = 0;
  WGridGetCurrentCell(0, column, row);
  log_line("key " + std::to_string(wparam) + " " + (GetKeyState(VK_CONTROL) < 0 ? "1 " : "0 ") +
           std::to_string(ms) + " " + std::to_string(row));
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--log") == 0) log_file = std::fopen(argv[i + 1], "w");
  }
  int width = 900;
  int height = 600;
  WindowOpen(7, 20, 20, &width, &height, std::nullopt, {}, std::nullopt, "Grid screen bench");
  WGridWindow(2);
  const auto start = std::chrono::steady_clock::now();
  build_grid();
  log_line("build " + std::to_string(milliseconds_since(start)));
  HWND control = quill::windows().windows[0].converted;
  grid_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&timed_procedure)));
  SetFocus(control);
  UpdateWindow(control);
  log_line("ready");
  for (;;) {
    int type = 0;
    EventRecord record;
    WEventGet(type, record);
    if (type == EvCloseAsked) break;
  }
  WindowShutdown();
  if (log_file != nullptr) std::fclose(log_file);
  return 0;
}
