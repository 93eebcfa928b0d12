#include "test_support_win32.hpp"

#include "quill/errors.hpp"

namespace win32_test {
namespace {

constexpr int kTimeoutTimer = 7777;

INPUT key_input(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_INSERT:
    case VK_DELETE:
    case VK_DIVIDE: in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY; break;
    default: break;
  }
  return in;
}

}  // namespace

Event next_event(int timeout_ms) {
  WEventTimer(timeout_ms, kTimeoutTimer, 0);
  Event e;
  WEventGet(e.type, e.record);
  WEventTimer(0, kTimeoutTimer, 0);
  return e;
}

bool is_timeout(const Event& e) { return e.type == EvTimerTick && e.record.detail1 == kTimeoutTimer; }

Event next_input_event(int timeout_ms) {
  for (int i = 0; i < 20; ++i) {
    Event e = next_event(timeout_ms);
    if (e.type != EvRepaint && e.type != EvResized) return e;
  }
  return {};
}

int take_error() {
  const int code = IErrorCode();
  IErrorReset();
  return code;
}

void drain(int quiet_ms) {
  while (!is_timeout(next_event(quiet_ms))) {
  }
}

void press(WORD key, const std::vector<WORD>& modifiers) {
  std::vector<INPUT> inputs;
  for (WORD m : modifiers) inputs.push_back(key_input(m, false));
  inputs.push_back(key_input(key, false));
  inputs.push_back(key_input(key, true));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(key_input(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void mouse(DWORD flags, DWORD data) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  SendInput(1, &in, sizeof(INPUT));
}

}  // namespace win32_test
