// Shared helpers of the dialog tests: the root window with the combined keypad, events
// with a timeout, real key presses and clicks.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "quill/events.hpp"
#include "test_support_win32.hpp"

namespace dialog_test {

using win32_test::Event;
using win32_test::press;

// The next event other than repaints and resizes, or type 0 when none comes in time.
Event next_event(int timeout_ms = 1500);
// Processes and drops whatever is pending now.
void drain();
int last_error();
void clear_error();

void click(HWND control);
// True when a click at the control's middle would reach it (shown, on top, mapped).
bool clickable(HWND control);
// Text of a control as the platform holds it.
std::wstring window_text(HWND control);
HWND current_dialog();
HWND field(int id);

}  // namespace dialog_test
