// A plain editor window for timing: a generated file of --mb megabytes (default 50) is
// loaded and shown (to the end of the first repaint), a word at its end is found, then the
// text becomes 1,000,000 lines with the caret at the end, and every key the text view
// receives is timed from its arrival to the end of the repaint it causes. The log (--log
// FILE) gets "shown MS", "found MS", "ready", then one "key MS" line per key; Escape ends.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/window_table.hpp"
#include "editor/editor_window_win32.hpp"
#include "quill/editor.hpp"
#include "quill/events.hpp"
#include "quill/window.hpp"

namespace {

using clock_type = std::chrono::steady_clock;

FILE* log_file = nullptr;
WNDPROC view_procedure = nullptr;
clock_type::time_point key_start;
bool key_pending = false;

void log_line(const std::string& text) {
  std::printf("%s\n", text.c_str());
  if (log_file == nullptr) return;
  std::fputs((text + "\n").c_str(), log_file);
  std::fflush(log_file);
}

double milliseconds_since(clock_type::time_point start) {
  return std::chrono::duration<double, std::milli>(clock_type::now() - start).count();
}

// Times a key from its WM_KEYDOWN to the end of the repaint after its WM_CHAR.
LRESULT CALLBACK timed_view(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_KEYDOWN) {
    if (wparam == VK_ESCAPE) PostQuitMessage(0);
    key_start = clock_type::now();
    key_pending = true;
  }
  const LRESULT result = CallWindowProcW(view_procedure, hwnd, message, wparam, lparam);
  if (message == WM_CHAR && key_pending) {
    UpdateWindow(hwnd);
    key_pending = false;
    log_line("key " + std::to_string(milliseconds_since(key_start)));
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t megabytes = 50;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--mb") == 0) megabytes = std::strtoul(argv[i + 1], nullptr, 10);
    if (std::strcmp(argv[i], "--log") == 0) log_file = std::fopen(argv[i + 1], "w");
  }
  const std::string line = "the quick brown fox jumps over the lazy dog 0123456789 abcdefghij\r\n";
  if (FILE* out = std::fopen("editor_screen.txt", "wb")) {
    for (std::size_t n = 0; n < megabytes * 1000000 / line.size(); ++n) std::fputs(line.c_str(), out);
    std::fputs("needle at the end\r\n", out);
    std::fclose(out);
  }
  int width = 900, height = 700;
  WindowOpen(7, 0, 0, &width, &height, std::nullopt, {}, std::nullopt, "Editor screen bench");
  int window = 0;
  WindowOpenChild(window, WinSystemMenu | WinStatusBar, 0, 0, 10000, 10000, "Editor screen");
  WindowSelect(window);
  WEditor(EditorPlain, EditorMenu | EditorToolbar);
  quill::Editor* editor = quill::current_editor();
  if (editor == nullptr) return 1;
  auto start = clock_type::now();
  WEditorLoad("editor_screen.txt");
  UpdateWindow(editor->text);
  log_line("shown " + std::to_string(milliseconds_since(start)));
  start = clock_type::now();
  int found = 0;
  WEditorFind("NEEDLE", 0, found);
  log_line("found " + std::to_string(milliseconds_since(start)) + (found == 1 ? "" : " (missed)"));
  std::string lines;
  for (int i = 1; i <= 1000000; ++i) lines += "line " + std::to_string(i) + "\r\n";
  WEditorPutText(lines);
  WEditorSelect(0x7FFFFFFF, 0x7FFFFFFF);  // the caret at the end (positions are clamped)
  std::remove("editor_screen.txt");
  view_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(editor->text, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(timed_view)));
  SetFocus(editor->text);
  int caret_line = 0, caret_column = 0;
  WEditorCaret(caret_line, caret_column);
  log_line("caret " + std::to_string(caret_line) + " " + std::to_string(caret_column));
  log_line("ready");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  WindowShutdown();
  return 0;
}
