// A grid window of 1,000,000 rows x 10 columns, for timing by hand-like key presses: the
// grid is built through the routines, then every key the grid control receives is timed
// from its arrival to the end of the repaint it causes. The log (--log FILE) gets
// "build MS", "ready", then one "key VK CTRL MS ROW" line per key; Escape ends the run.
// With --repaints N the program instead times N whole repaints and N Page Down keys sent
// as messages (the drawing's own cost, without the X server's key delivery), logs
// "repaint MS" and "pagedown MS" lines and ends. With --snapshot FILE it writes the
// control's pixels (32-bit rows, top-down) after the first page, after Page Down and after
// Ctrl+End to FILE and ends: two builds' drawings compare byte for byte.
#include <windows.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// The process's processor time so far (user and kernel), in milliseconds.
double processor_ms() {
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 10000.0;
}

void time_repaints(HWND control, int count) {
  const double processor_start = processor_ms();
  for (int i = 0; i < count; ++i) {
    auto start = std::chrono::steady_clock::now();
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
    log_line("repaint " + std::to_string(milliseconds_since(start)));
    start = std::chrono::steady_clock::now();
    SendMessageW(control, WM_KEYDOWN, VK_NEXT, 0);
    UpdateWindow(control);
    log_line("pagedown " + std::to_string(milliseconds_since(start)));
  }
  if (count > 0)
    log_line("processor per repaint " + std::to_string((processor_ms() - processor_start) / (2 * count)));
}

void append_pixels(HWND control, std::FILE* out) {
  RECT client{};
  GetClientRect(control, &client);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(control);
  HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, copy);
  BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  GdiFlush();
  std::fwrite(bits, 4, static_cast<std::size_t>(client.right) * static_cast<std::size_t>(client.bottom), out);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(copy);
  ReleaseDC(control, screen);
}

void write_snapshots(HWND control, const char* file) {
  std::FILE* out = std::fopen(file, "wb");
  if (out == nullptr) return;
  append_pixels(control, out);
  SendMessageW(control, WM_KEYDOWN, VK_NEXT, 0);
  UpdateWindow(control);
  append_pixels(control, out);
  SendMessageW(control, WM_KEYDOWN, VK_END, 0);
  UpdateWindow(control);
  append_pixels(control, out);
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  int repaints = 0;
  const char* snapshot = nullptr;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--log") == 0) log_file = std::fopen(argv[i + 1], "w");
    if (std::strcmp(argv[i], "--repaints") == 0) repaints = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--snapshot") == 0) snapshot = argv[i + 1];
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
  if (repaints > 0 || snapshot != nullptr) {
    if (snapshot != nullptr) write_snapshots(control, snapshot);
    time_repaints(control, repaints);
    WindowShutdown();
    if (log_file != nullptr) std::fclose(log_file);
    return 0;
  }
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
