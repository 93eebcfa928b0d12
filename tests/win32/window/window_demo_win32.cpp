// A small program on the toolkit alone: a root window with menu, accelerators, toolbar
// and status bar that logs every event it receives, one line per event:
//   event <type> <word 0> ... <word 15>
// Command-line options: --flags N (default 39), --log FILE (default standard output),
// --x N --y N --width N --height N, --toolbars MASK (1 top, 2 left, 4 right, 8 bottom). Ctrl+C / Copy puts "1234  " on the clipboard; Esc /
// Exit ends the program; a close request is logged and ignored.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "quill/quillanthor.hpp"
#include "window_demo_ids.h"
#include "core/window_table.hpp"

namespace {

void log_line(std::FILE* out, const char* text) {
  std::fputs(text, out);
  std::fputc('\n', out);
  std::fflush(out);
}

}  // namespace

int main(int argc, char** argv) {
  int flags = 39;
  std::optional<int> x;
  std::optional<int> y;
  int width = 0;
  int height = 0;
  int toolbars[4] = {DEMO_TOOLBAR, 0, 0, 0};
  std::FILE* out = stdout;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const int value = std::atoi(argv[i + 1]);
    if (option == "--flags") flags = value;
    if (option == "--x") x = value;
    if (option == "--y") y = value;
    if (option == "--width") width = value;
    if (option == "--height") height = value;
    if (option == "--toolbars") {  // a bit mask of the sides: 1 top, 2 left, 4 right, 8 bottom
      for (int side = 0; side < 4; ++side) toolbars[side] = (value >> side) & 1 ? DEMO_TOOLBAR : 0;
    }
    if (option == "--log") {
      std::FILE* file = std::fopen(argv[i + 1], "w");
      if (file != nullptr) out = file;
    }
  }
  WStartup();
  WindowOpen(flags, x, y, &width, &height, DEMO_MENU, toolbars, std::nullopt, "Window demo  ");
  WEventEnable(EvMouseUp, 1);
  WEventEnable(EvFrameClick, 1);

  const quill::WindowEntry& root = quill::windows().windows[0];
  RECT frame{};
  RECT client{};
  GetWindowRect(root.frame, &frame);
  GetClientRect(root.client, &client);
  POINT origin{0, 0};
  ClientToScreen(root.client, &origin);
  RECT toolbar{};
  if (root.toolbars[0] != nullptr) GetWindowRect(root.toolbars[0], &toolbar);
  char line[512];
  std::snprintf(line, sizeof line,
                "ready frame %ld %ld %ld %ld client %ld %ld %d %d toolbar %ld %ld %ld %ld "
                "screen %d %d",
                frame.left, frame.top, frame.right, frame.bottom, origin.x, origin.y,
                static_cast<int>(client.right), static_cast<int>(client.bottom), toolbar.left, toolbar.top,
                toolbar.right, toolbar.bottom, WScreenQuery(1), WScreenQuery(2));
  log_line(out, line);

  for (;;) {
    int type = 0;
    EventRecord record;
    WEventGet(type, record);
    int length = std::snprintf(line, sizeof line, "event %d", type);
    for (int word = 0; word < 16; ++word) {
      length += std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length), " %d",
                              record.word(word));
    }
    log_line(out, line);
    if (type == EvCommand && record.detail1 == CMD_EXIT) break;
    if (type == EvCommand && record.detail1 == CMD_COPY) WClipboardPutString("1234  ");
    if (type == EvCommand && record.detail1 == CMD_STATUS) WindowStatusBar(1, "Status text");
  }
  WindowShutdown();
  log_line(out, "closed");
  if (out != stdout) std::fclose(out);
  return 0;
}
