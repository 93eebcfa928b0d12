// A dialog demo driven from outside: the root window with the keypad and the fields
// dialog shown modeless. Each event is written to the log file as
// "event type window detail1 detail2", followed after a field change by
// "text field contents"; "rect id left top right bottom" lines give the screen
// rectangles of the fields. The "Other" button ends the demo.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "dialog/dialog_internal_win32.hpp"
#include "dialog_test_ids.h"
#include "quill/dialog.hpp"
#include "quill/events.hpp"
#include "quill/window.hpp"

namespace {

std::FILE* log_file = nullptr;

void log_line(const std::string& line) {
  if (log_file == nullptr) return;
  std::fprintf(log_file, "%s\n", line.c_str());
  std::fflush(log_file);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--log") == 0) log_file = std::fopen(argv[i + 1], "w");
  }
  WindowOpen(3, 700, 20, nullptr, nullptr, std::nullopt, {}, TD_KEYPAD, "Dialog demo");
  WEventEnable(EvFieldEdited, 1);
  WEventEnable(EvPageSwitch, 1);
  WDialogLoad(TD_FIELDS);
  WDialogFieldOptions(TD_EDIT_A, 3, 1);
  WDialogShow(60, 200, TD_EDIT_A, 2);
  HWND dialog = quill::current_dialog_window();
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    log_line("rect " + std::to_string(GetDlgCtrlID(child)) + " " + std::to_string(rect.left) + " " +
             std::to_string(rect.top) + " " + std::to_string(rect.right) + " " + std::to_string(rect.bottom));
  }
  log_line("ready");
  for (;;) {
    int type = 0;
    EventRecord record;
    WEventGet(type, record);
    log_line("event " + std::to_string(type) + " " + std::to_string(record.window) + " " +
             std::to_string(record.detail1) + " " + std::to_string(record.detail2));
    if (type == EvFieldEdited && record.window == TD_FIELDS) {
      char text[32];
      WDialogGetString(record.detail2, text);
      std::string value(text, sizeof(text));
      value.erase(value.find_last_not_of(' ') + 1);
      log_line("text " + std::to_string(record.detail2) + " " + value);
    }
    if (type == EvCloseAsked || (type == EvButton && record.detail1 == TD_OTHER)) break;
  }
  WindowShutdown();
  if (log_file != nullptr) std::fclose(log_file);
  return 0;
}
