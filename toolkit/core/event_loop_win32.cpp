// WEventGet and its companions: the message loop with its pre-processing order, timers
// and the delay.
#include "event_loop_win32.hpp"

#include "event_queue.hpp"
#include "startup_trace_win32.hpp"
#include "quill/events.hpp"
#include "window_table.hpp"
#include "core/window_layers.hpp"

namespace quill {
namespace {

struct LoopState {
  HWND dispatch_hwnd = nullptr;
  UINT dispatch_message = 0;
  bool delay_running = false;
};

LoopState& loop() {
  static LoopState state;
  return state;
}

bool client_size(int window, int& width, int& height) {
  if (window < 0 || window >= kMaxWindows) return false;
  HWND client = windows().windows[static_cast<std::size_t>(window)].client;
  RECT r{};
  if (client == nullptr || !GetClientRect(client, &r)) return false;
  width = r.right;
  height = r.bottom;
  return true;
}

// The drawing area an event's position refers to: a window's client area or a field.
PixelSize source_size(const EventValues& v) {
  if (v.detail3 == 1)
    return first_answer(&WindowLayer::field_size, v.window, v.detail4).value_or(PixelSize{});
  if (v.detail3 == 2) return first_answer(&WindowLayer::view_size, v.window).value_or(PixelSize{});
  PixelSize size;
  if (v.detail3 == 0 && v.type != EvFieldEdited) client_size(v.window, size.width, size.height);
  return size;
}

void deliver(EventValues v, int& type, EventRecord& record) {
  const auto [width, height] = source_size(v);
  // A graphics field's repaint covers the whole field.
  if (v.type == EvRepaint && v.detail3 == 1 && v.pixel_x < 0) {
    v.pixel_w = width;
    v.pixel_h = height;
  }
  std::optional<GraphicsUnits> units;
  if (v.detail3 >= 0 && v.detail3 <= 2 && has_graphics_units(v.type)) {
    units = first_answer(&WindowLayer::event_units, v, width, height);
  }
  complete_record(v, width, height, record, units ? &*units : nullptr);
  type = v.type;
  if (v.type == EvResized && v.detail3 == 0 && v.window >= 0 && v.window < kMaxWindows) {
    WindowEntry& entry = windows().windows[static_cast<std::size_t>(v.window)];
    entry.client_width = v.detail1;
    entry.client_height = v.detail2;
  }
}

// Clears what the last wait posted and starts a new wait; the window procedures end it.
void start_waiting(EventState& s) {
  s.posted = EventValues{};
  s.undelivered = false;
  s.waiting = true;
}

}  // namespace

bool in_own_dispatch(HWND hwnd) {
  const LoopState& state = loop();
  return state.dispatch_hwnd == hwnd &&
         (state.dispatch_message == WM_PAINT || state.dispatch_message == WM_SIZE);
}

void end_delay() { loop().delay_running = false; }

void process_message(MSG& msg) {
  if (const auto [dialog, owner] = first_answer(&WindowLayer::modeless_dialog); dialog != nullptr) {
    if (owner != nullptr && translate_window_accelerators(owner, msg)) return;
    if (IsDialogMessageA(dialog, &msg)) return;
  }
  if (msg.hwnd != nullptr && translate_window_accelerators(msg.hwnd, msg)) return;
  TranslateMessage(&msg);
  LoopState& state = loop();
  const HWND saved_hwnd = state.dispatch_hwnd;
  const UINT saved_message = state.dispatch_message;
  state.dispatch_hwnd = msg.hwnd;
  state.dispatch_message = msg.message;
  DispatchMessageA(&msg);
  state.dispatch_hwnd = saved_hwnd;
  state.dispatch_message = saved_message;
}

}  // namespace quill

using quill::events;

void WEventGet(int& type, EventRecord& record) {
  quill::EventState& s = events();
  if (s.held_type != 0) {
    type = s.held_type;
    record = s.held;
    s.held_type = 0;
    return;
  }
  quill::EventValues v = quill::take_pending_slot(quill::client_size);
  if (v.type == 0) {
    quill::start_waiting(s);
    MSG msg;
    while (s.waiting) {
      quill::startup_trace_idle();
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == -1) continue;
      if (got == 0) continue;  // a stray WM_QUIT: the application decides when to stop
      quill::process_message(msg);
    }
    v = quill::take_posted(quill::client_size);
  }
  quill::deliver(v, type, record);
}

void WEventPeek(int& type, EventRecord& record) {
  quill::EventState& s = events();
  quill::EventValues v = quill::take_pending_slot(quill::client_size);
  if (v.type == 0) {
    quill::start_waiting(s);
    MSG msg;
    while (s.waiting && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      quill::process_message(msg);
    }
    if (s.waiting) {
      s.waiting = false;
      type = 0;
      record = EventRecord{};
      return;
    }
    v = quill::take_posted(quill::client_size);
  }
  quill::deliver(v, type, record);
}

void WEventTimer(int interval_ms, int timer_id, int repeat) {
  const quill::WindowEntry& root = quill::windows().windows[0];
  if (root.frame == nullptr) return;
  const UINT_PTR id = static_cast<UINT_PTR>(static_cast<unsigned>(timer_id));
  if (interval_ms > 0) {
    SetTimer(repeat == 1 ? root.client : root.frame, id, static_cast<UINT>(interval_ms), nullptr);
  } else {
    KillTimer(root.client, id);
    KillTimer(root.frame, id);
  }
}

void WEventDelay(int hundredths) {
  const quill::WindowEntry& root = quill::windows().windows[0];
  if (root.client == nullptr || hundredths <= 0) return;
  const UINT ms = static_cast<UINT>(hundredths) * 10u;
  if (SetTimer(root.client, quill::kDelayTimerId, ms, nullptr) == 0) return;
  quill::LoopState& state = quill::loop();
  state.delay_running = true;
  quill::EventState& s = events();
  const quill::EventValues saved = s.posted;
  const bool saved_undelivered = s.undelivered;
  MSG msg;
  while (state.delay_running) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    quill::process_message(msg);
  }
  state.delay_running = false;
  KillTimer(root.client, quill::kDelayTimerId);
  // Events that arose during the delay are not delivered.
  s.posted = saved;
  s.undelivered = saved_undelivered;
  s.waiting = false;
}
