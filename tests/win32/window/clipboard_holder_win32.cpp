// Holds the clipboard open for a while, as another program would: opens it, signals the
// named event "QuillClipboardHolder", waits the given milliseconds and closes it.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  const DWORD hold_ms = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 2000;
  // Opened for a window, as a program does: an ownerless open does not lock others out
  // under every implementation of the window system.
  HWND owner = CreateWindowExA(0, "STATIC", "holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  if (!OpenClipboard(owner)) return 1;
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, "QuillClipboardHolder");
  if (ready != nullptr) {
    SetEvent(ready);
    CloseHandle(ready);
  }
  Sleep(hold_ms);
  CloseClipboard();
  DestroyWindow(owner);
  return 0;
}
