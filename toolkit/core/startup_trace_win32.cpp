// The start-up trace (ORLIX_STARTUP_TRACE): timestamps from QueryPerformanceCounter,
// referred to the process's creation time so the loader's share before WinMain shows.
#include "startup_trace_win32.hpp"

#include <windows.h>

#include <array>
#include <cstdio>

namespace quill {
namespace {

enum class TraceState { Unknown, Collecting, Off };

struct Step {
  const char* name = nullptr;
  LONGLONG counter = 0;
};

struct StartupTrace {
  TraceState state = TraceState::Unknown;
  char file[MAX_PATH] = {};
  LARGE_INTEGER frequency{};
  double created_ms = 0;  // the process's creation on the counter's time line
  std::array<Step, 48> steps{};
  std::size_t count = 0;
};

StartupTrace& trace() {
  static StartupTrace state;
  return state;
}

double to_ms(const StartupTrace& t, LONGLONG counter) {
  return static_cast<double>(counter) * 1000.0 / static_cast<double>(t.frequency.QuadPart);
}

LONGLONG filetime_ticks(const FILETIME& time) {
  return static_cast<LONGLONG>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

// Reads the variable once; the creation time comes from the system clock, then is placed
// on the counter's time line by reading both clocks together.
void begin(StartupTrace& t) {
  const DWORD length = GetEnvironmentVariableA("ORLIX_STARTUP_TRACE", t.file, sizeof(t.file));
  if (length == 0 || length >= sizeof(t.file)) {
    t.state = TraceState::Off;
    return;
  }
  t.state = TraceState::Collecting;
  QueryPerformanceFrequency(&t.frequency);
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  FILETIME system_now{};
  GetSystemTimePreciseAsFileTime(&system_now);
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  double since_creation_ms = 0;
  if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
    since_creation_ms = static_cast<double>(filetime_ticks(system_now) - filetime_ticks(created)) / 10000.0;
  }
  t.created_ms = to_ms(t, now.QuadPart) - since_creation_ms;
}

void write_table(const StartupTrace& t) {
  std::FILE* out = std::fopen(t.file, "ab");
  if (out == nullptr) return;
  std::fprintf(out, "# start-up of process %lu: step, ms since creation, ms of the step\n",
               static_cast<unsigned long>(GetCurrentProcessId()));
  double previous = t.created_ms;
  for (std::size_t i = 0; i < t.count; ++i) {
    const double at = to_ms(t, t.steps[i].counter);
    std::fprintf(out, "%s\t%.2f\t%.2f\n", t.steps[i].name, at - t.created_ms, at - previous);
    previous = at;
  }
  std::fclose(out);
}

}  // namespace

void startup_step(const char* name) {
  StartupTrace& t = trace();
  if (t.state == TraceState::Unknown) begin(t);
  if (t.state != TraceState::Collecting || t.count == t.steps.size()) return;
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  t.steps[t.count++] = Step{name, now.QuadPart};
}

bool startup_trace_open() {
  StartupTrace& t = trace();
  if (t.state == TraceState::Unknown) begin(t);
  return t.state == TraceState::Collecting;
}

void startup_trace_idle() {
  if (!startup_trace_open() || HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0) return;
  startup_step("first idle: window painted");
  StartupTrace& t = trace();
  write_table(t);
  t.state = TraceState::Off;
}

}  // namespace quill
