// Start-up trace: with ORLIX_STARTUP_TRACE naming a file, the start-up path notes when
// each of its steps ends, and the table (milliseconds since the process was created, and
// each step's own share) is appended to that file once the event loop first goes idle.
// Without the variable every call is a test of one flag.
#pragma once

namespace quill {

// Notes the end of a start-up step; the name must outlive the process (a literal).
void startup_step(const char* name);
// True while a trace is being collected and not yet written.
bool startup_trace_open();
// The event loop calls this before it waits: with no message left, the first window has
// been painted; the table is written then.
void startup_trace_idle();

}  // namespace quill
