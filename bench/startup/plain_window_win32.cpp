// The plainest Win32 program with one window: the yardstick for the calculator's start-up.
// It registers a class, creates and shows one top-level window titled "Plain window" and
// runs the message loop until the window is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK plain_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = plain_procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = "PlainWindow";
  if (RegisterClassA(&window_class) == 0) return 1;
  HWND window = CreateWindowExA(0, "PlainWindow", "Plain window", WS_OVERLAPPEDWINDOW, 100, 100, 320, 240,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
