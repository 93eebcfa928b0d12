// A dialog demo driven from outside: the root window with the keypad and the fields
// dialog shown modeless. Each event is written to the log file as
// "event type window detail1 detail2", followed after a field change by
// "text field contents"; "rect id left top right bottom" lines give the screen
// rectangles of the fields. The "Other" button ends the demo.
#include <windows.h>

#include <optional>
#include <string>

#include "dialog/dialog_internal_win32.hpp"
#include "dialog_test_ids.h"
#include "quill/dialog.hpp"
#include "demo_log_win32.hpp"
#include "quill/events.hpp"
#include "quill/window.hpp"

namespace {}  // namespace

int main(int argc, char** argv) {
  demo_log::open(argc, argv);
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
    demo_log::line("rect " + std::to_string(GetDlgCtrlID(child)) + " " + demo_log::rect_words(rect));
  }
  demo_log::line("ready");
  for (;;) {
    EventRecord record;
    const int type = demo_log::next_event(record);
    if (type == EvFieldEdited && record.window == TD_FIELDS) {
      char text[32];
      WDialogGetString(record.detail2, text);
      std::string value(text, sizeof(text));
      value.erase(value.find_last_not_of(' ') + 1);
      demo_log::line("text " + std::to_string(record.detail2) + " " + value);
    }
    if (type == EvCloseAsked || (type == EvButton && record.detail1 == TD_OTHER)) break;
  }
  WindowShutdown();
  demo_log::close();
  return 0;
}
