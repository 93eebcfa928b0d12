// The parts of the event loop the window procedures call back into.
#pragma once

#include <windows.h>

namespace quill {

inline constexpr UINT_PTR kDelayTimerId = 999;

// True while the loop itself dispatches a paint or size message to hwnd.
bool in_own_dispatch(HWND hwnd);
// Ends the running WEventDelay (its timer expired).
void end_delay();
// One message through the pre-processing chain and, unless consumed, dispatched.
void process_message(MSG& msg);

}  // namespace quill
