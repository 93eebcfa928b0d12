// orlixcalc: the calculator's window and main loop. The toolkit opens the root window
// with the keypad dialog as its client; the loop turns toolkit events into engine keys
// and writes every changed display text back into the keypad's display field.
#include <windows.h>

#include <array>
#include <string_view>

#include "commands.hpp"
#include "core/startup_trace_win32.hpp"
#include "engine.hpp"
#include "quill/clipboard.hpp"
#include "dialog/dialog_settings.hpp"
#include "quill/dialog.hpp"
#include "quill/events.hpp"
#include "quill/startup.hpp"
#include "quill/window.hpp"
#include "resource_ids.h"

namespace {

constexpr std::string_view kTitle = "Orlix Calculator 2";
constexpr int kScreenWidthItem = 1;
constexpr int kWindowFlags = WinSystemMenu | WinMinimiseBox;
constexpr int kDistanceFromRight = 360;  // frame x = screen width - 360
constexpr int kTop = 8;
constexpr int kChangeReportOption = 3;
constexpr int kModal = 1;
// The display shows the overflow word in the Cyrillic code page whatever the system's.
constexpr unsigned kDisplayCodePage = 1251;

// The main loop's own state: the calculator and whether to stop.
struct MainLoopState {
  orlix::CalculatorState calculator;
  bool quit = false;
};

std::string_view display_text(const orlix::CalculatorState& calculator) {
  return {calculator.display.data(), calculator.display.size()};
}

void show_display(const orlix::CalculatorState& calculator) {
  WDialogPutString(IDC_DISPLAY, display_text(calculator));
}

// Field 1003 catches typed characters; it must be empty and focused between events.
void reset_hidden_field() {
  WDialogPutString(IDC_HIDDEN_INPUT, {});
  WDialogSetField(IDC_HIDDEN_INPUT, 1);
}

// COPY: the number without its leading blanks and without the memory indicator.
void copy_display(const orlix::CalculatorState& calculator) {
  WClipboardPutString(orlix::copy_text(calculator));
}

// The About box runs modal, centred on the screen; the keypad is current again after it.
void run_about_box() {
  WDialogLoad(IDD_ABOUT);
  WDialogShow(-1, -1, 0, kModal);
  WDialogUnload();
  WDialogSelect(IDD_KEYPAD);
}

void open_calculator_window(MainLoopState& state) {
  WStartup();
  quill::startup_step("WStartup done");
  const int screen_width = WScreenQuery(kScreenWidthItem);
  WindowOpen(kWindowFlags, screen_width - kDistanceFromRight, kTop, nullptr, nullptr, IDR_MAIN_MENU, {},
             IDD_KEYPAD, kTitle);
  quill::set_field_code_page(IDC_DISPLAY, kDisplayCodePage);
  WEventEnable(EvKey, 1);
  WEventEnable(EvFieldEdited, 1);
  WDialogFieldOptions(IDC_HIDDEN_INPUT, kChangeReportOption, 1);
  orlix::initialise(state.calculator);
  show_display(state.calculator);
  WDialogSetField(IDC_HIDDEN_INPUT, 1);
  quill::startup_step("calculator set up");
}

// Handles one event; returns false when the loop must end at once (a close request, or
// an entry that could not be read back).
bool handle_event(MainLoopState& state, int type, const EventRecord& record) {
  const orlix::EventPlan plan = orlix::plan_for_event(type, record.detail1, record.detail2);
  if (plan.stop_now) return false;

  orlix::Command command = plan.command;
  if (plan.read_hidden_field) {
    std::array<char, orlix::kDisplayLength> typed{};
    WDialogGetString(IDC_HIDDEN_INPUT, typed);
    command = {orlix::Action::Key, orlix::key_for_typed_character(typed[0])};
  }
  if (plan.reset_hidden_field) reset_hidden_field();

  switch (command.action) {
    case orlix::Action::Exit:
    case orlix::Action::Quit: state.quit = true; return true;
    case orlix::Action::About: run_about_box(); return true;
    case orlix::Action::None: return true;
    case orlix::Action::Key: break;
  }
  if (command.key == orlix::keys::kCopy) {
    copy_display(state.calculator);
    return true;
  }
  if (command.key < 0) return true;
  const orlix::KeyResult result = orlix::press_key(state.calculator, command.key);
  if (result.display_changed) show_display(state.calculator);
  return !result.read_back_failed;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  quill::startup_step("WinMain entered");
  MainLoopState state;
  open_calculator_window(state);
  while (!state.quit) {
    int type = 0;
    EventRecord record;
    WEventGet(type, record);
    if (!handle_event(state, type, record)) break;
  }
  WindowShutdown();
  return 0;
}
