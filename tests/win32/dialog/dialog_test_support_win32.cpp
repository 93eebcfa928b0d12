#include "dialog_test_support.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "dialog/dialog_internal_win32.hpp"
#include "dialog_test_ids.h"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"
#include "quill/window.hpp"

namespace dialog_test {
namespace {

constexpr int kTimeoutTimer = 7771;

INPUT key_input(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// The root window with the keypad combined into it lives for the whole test program.
class RootWindowEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WindowOpen(3, 200, 100, nullptr, nullptr, std::nullopt, {}, TD_KEYPAD, "Dialog tests");
    WEventEnable(EvFieldEdited, 1);
    WEventEnable(EvPageSwitch, 1);
    drain();
  }
  void TearDown() override { WindowShutdown(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new RootWindowEnvironment);

}  // namespace

Event next_event(int timeout_ms) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    WEventTimer(timeout_ms, kTimeoutTimer, 0);
    Event event;
    WEventGet(event.type, event.record);
    WEventTimer(0, kTimeoutTimer, 0);
    if (event.type == EvTimerTick && event.record.detail1 == kTimeoutTimer) return {};
    if (event.type != EvRepaint && event.type != EvResized) return event;
  }
  return {};
}

void drain() {
  while (next_event(200).type != 0) {
  }
}

int last_error() { return quill::errors().last_error; }
void clear_error() { quill::errors().last_error = 0; }

void press(WORD key, std::vector<WORD> modifiers) {
  std::vector<INPUT> inputs;
  for (WORD m : modifiers) inputs.push_back(key_input(m, false));
  inputs.push_back(key_input(key, false));
  inputs.push_back(key_input(key, true));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(key_input(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void click(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  INPUT in[2] = {};
  in[0].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].type = INPUT_MOUSE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}

std::wstring window_text(HWND control) {
  wchar_t text[512] = {};
  GetWindowTextW(control, text, 512);
  return text;
}

HWND current_dialog() { return quill::current_dialog_window(); }
HWND field(int id) { return GetDlgItem(current_dialog(), id); }

}  // namespace dialog_test
