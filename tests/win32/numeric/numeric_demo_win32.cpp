// The numeric field demo, driven from outside: a root window and the numeric fields
// dialog shown modeless. It writes to its log file, as they happen:
//   "rect id left top right bottom"   screen rectangles of the fields (at start);
//   "updown id left top right bottom" the up-down control beside spin field id;
//   "event type window detail1 detail2" every event but timer ticks;
//   "beep kind"                       every beep (1 rejected key, 2 failed check);
//   "focus id start end"              the focused field and its selection, on change;
//   "value id int code real code stored text" what the field routines read, on change.
// The "Close" button ends the demo.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "dialog/dialog_internal_win32.hpp"
#include "dialog/numeric_state.hpp"
#include "numeric_test_ids.h"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"
#include "demo_log_win32.hpp"
#include "quill/events.hpp"
#include "quill/window.hpp"
#include "base/error_state.hpp"

namespace {

std::string rect_words(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return demo_log::rect_words(rect);
}

constexpr int kNumericFields[] = {ND_INT_RANGED, ND_INT_SPIN,      ND_INT_SPIN_TOP,  ND_REAL,
                                  ND_REAL_SPIN,  ND_DOUBLE,        ND_DOUBLE_SPIN,   ND_INT_OPTION,
                                  ND_INT_FREE,   ND_INT_SPIN_FAST, ND_READONLY_SPIN, ND_READONLY_INT_SPIN};

std::string value_line(HWND dialog, int id) {
  quill::errors().last_error = 0;
  int integer = 0;
  WDialogGetInteger(id, integer);
  const int integer_code = quill::errors().last_error;
  quill::errors().last_error = 0;
  float real = 0.0F;
  WDialogGetReal(id, real);
  const int real_code = quill::errors().last_error;
  quill::errors().last_error = 0;
  char text[64];
  WDialogGetString(id, text);
  std::string shown(text, sizeof(text));
  shown.erase(shown.find_last_not_of(' ') + 1);
  char real_text[64];
  std::snprintf(real_text, sizeof real_text, "%.6g", static_cast<double>(real));
  const quill::FieldRecord* record = quill::field_record(GetDlgItem(dialog, id));
  char stored[64];
  std::snprintf(stored, sizeof stored, "%.6g", record != nullptr ? record->value : -1.0);
  return "value " + std::to_string(id) + " " + std::to_string(integer) + " " + std::to_string(integer_code) +
         " " + real_text + " " + std::to_string(real_code) + " " + stored + " " + shown;
}

// Logs what changed since the last call: the focus and every field's read-back.
void log_changes(HWND dialog) {
  static std::string last_focus;
  static std::map<int, std::string> last_values;
  HWND focus = GetFocus();
  DWORD start = 0;
  DWORD end = 0;
  if (focus != nullptr)
    SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::string focus_line = "focus " + std::to_string(focus != nullptr ? GetDlgCtrlID(focus) : 0) + " " +
                                 std::to_string(start) + " " + std::to_string(end);
  if (focus_line != last_focus) demo_log::line(focus_line);
  last_focus = focus_line;
  for (int id : kNumericFields) {
    const std::string line = value_line(dialog, id);
    if (last_values[id] != line) demo_log::line(line);
    last_values[id] = line;
  }
}

void log_beep(quill::BeepKind kind) { demo_log::line("beep " + std::to_string(static_cast<int>(kind))); }

}  // namespace

int main(int argc, char** argv) {
  demo_log::open(argc, argv);
  quill::numeric_state().beep_observer = log_beep;
  WindowOpen(3, 700, 20, nullptr, nullptr, std::nullopt, {}, std::nullopt, "Numeric demo");
  WEventEnable(EvFieldEdited, 1);
  WEventEnable(EvTimerTick, 1);
  WDialogLoad(ND_FIELDS);
  WDialogFieldOptions(ND_INT_OPTION, 4, 1);
  WDialogSpinStepInteger(ND_INT_SPIN, 2);
  WDialogSpinStepInteger(ND_INT_SPIN_TOP, 2);
  WDialogSpinStepInteger(ND_INT_SPIN_FAST, 1, 100);
  WDialogSpinStepReal(ND_REAL_SPIN, 0.5F, 2.0F);
  WDialogShow(40, 160, ND_INT_RANGED, 2);
  HWND dialog = quill::current_dialog_window();
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    wchar_t class_name[32] = {};
    GetClassNameW(child, class_name, 32);
    if (lstrcmpiW(class_name, UPDOWN_CLASSW) == 0) {
      HWND buddy = reinterpret_cast<HWND>(SendMessageW(child, UDM_GETBUDDY, 0, 0));
      demo_log::line("updown " + std::to_string(GetDlgCtrlID(buddy)) + " " + rect_words(child) + " " +
                     std::to_string(IsWindowVisible(child) ? 1 : 0) + " " +
                     std::to_string(IsWindowEnabled(child) ? 1 : 0));
    } else if (id != 65535) {
      demo_log::line("rect " + std::to_string(id) + " " + rect_words(child));
    }
  }
  WEventTimer(100, 1, 1);
  log_changes(dialog);
  demo_log::line("ready");
  for (;;) {
    int type = 0;
    EventRecord record;
    WEventGet(type, record);
    if (type != EvTimerTick) {
      demo_log::line(demo_log::event_words(type, record));
    }
    log_changes(dialog);
    if (type == EvCloseAsked || (type == EvButton && record.detail1 == ND_CLOSE)) break;
  }
  WEventTimer(0, 1, 1);
  WindowShutdown();
  demo_log::close();
  return 0;
}
