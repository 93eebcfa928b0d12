// Helpers shared by the Windows test programs: events with a timeout and real input
// through SendInput.
#pragma once

#include <windows.h>

#include <vector>

#include "quill/events.hpp"

namespace win32_test {

struct Event {
  int type = 0;
  EventRecord record;
};

// The next event, or a tick of the timeout timer when nothing else arrives in time.
Event next_event(int timeout_ms = 2000);
bool is_timeout(const Event& e);
// The next event that is not a repaint or resize (which the window system may add); the
// timeout tick when nothing else arrives in time, type 0 after a long run of repaints.
Event next_input_event(int timeout_ms = 2000);
// The last-error code, which it resets.
int take_error();
// Lets the window system settle: events are processed and dropped until none has come
// for quiet_ms.
void drain(int quiet_ms);

// Presses key with the modifiers held, then releases everything; the navigation keys go
// as extended keys, as a keyboard sends them.
void press(WORD key, const std::vector<WORD>& modifiers = {});
// One mouse input (button or wheel flags) at the cursor.
void mouse(DWORD flags, DWORD data = 0);

}  // namespace win32_test
