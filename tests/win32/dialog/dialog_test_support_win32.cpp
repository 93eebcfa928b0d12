#include "dialog_test_support.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "dialog/dialog_internal_win32.hpp"
#include "dialog_test_ids.h"
#include "quill/dialog.hpp"
#include "base/error_state.hpp"
#include "quill/window.hpp"

namespace dialog_test {
namespace {

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
  const Event event = win32_test::next_input_event(timeout_ms);
  return win32_test::is_timeout(event) ? Event{} : event;
}

void drain() { win32_test::drain(200); }

int last_error() { return quill::errors().last_error; }
void clear_error() { quill::errors().last_error = 0; }

void click(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  win32_test::mouse(MOUSEEVENTF_LEFTDOWN);
  win32_test::mouse(MOUSEEVENTF_LEFTUP);
}

bool clickable(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  return IsWindowVisible(control) && WindowFromPoint(middle) == control;
}

std::wstring window_text(HWND control) {
  wchar_t text[512] = {};
  GetWindowTextW(control, text, 512);
  return text;
}

HWND current_dialog() { return quill::current_dialog_window(); }
HWND field(int id) { return GetDlgItem(current_dialog(), id); }

}  // namespace dialog_test
