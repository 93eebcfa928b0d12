// e2e_probe: looks at the running calculator from another process, as the end-to-end
// test needs it: window rectangles, the controls of the keypad with their screen
// rectangles, texts and states, the About box, and which control has the focus.
// Output: one line per object, fields separated by blanks, texts as UTF-8 in hex.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A window that does not answer within a second (still starting, or busy) gives "-".
std::string hex_utf8(HWND window) {
  constexpr UINT kFlags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, kFlags, 1000, &length)) return "-";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                           reinterpret_cast<LPARAM>(text.data()), kFlags, 1000, &got)) {
    return "-";
  }
  text.resize(static_cast<std::size_t>(got));
  std::string utf8;
  if (!text.empty()) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                        nullptr);
  }
  std::string hex = utf8.empty() ? "-" : "";
  char pair[3];
  for (const unsigned char c : utf8) {
    std::snprintf(pair, sizeof pair, "%02x", c);
    hex += pair;
  }
  return hex;
}

void print_rect(const char* kind, long id, HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  char class_name[64] = "";
  GetClassNameA(window, class_name, sizeof class_name);
  std::printf("%s %ld %s %ld %ld %ld %ld %d %d %s\n", kind, id, class_name, r.left, r.top, r.right, r.bottom,
              IsWindowVisible(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0, hex_utf8(window).c_str());
}

BOOL CALLBACK print_control(HWND window, LPARAM) {
  print_rect("control", GetDlgCtrlID(window), window);
  return TRUE;
}

// The top-level windows of the calculator: its frame, and the About box when open.
struct Found {
  HWND frame = nullptr;
  HWND about = nullptr;
};

BOOL CALLBACK find_windows(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<Found*>(data);
  wchar_t title[64] = L"";
  GetWindowTextW(window, title, 64);
  if (!IsWindowVisible(window)) return TRUE;
  if (std::wstring(title) == L"Orlix Calculator 2") found->frame = window;
  if (std::wstring(title) == L"About") found->about = window;
  return TRUE;
}

}  // namespace

// argv[1], when given, names the Wine virtual desktop the calculator runs in.
int main(int argc, char** argv) {
  if (argc > 1) {
    HDESK desktop = OpenDesktopA(argv[1], 0, FALSE, GENERIC_ALL);
    if (desktop == nullptr || !SetThreadDesktop(desktop)) {
      std::printf("no-desktop\n");
      return 2;
    }
  }
  Found found;
  EnumWindows(find_windows, reinterpret_cast<LPARAM>(&found));
  if (found.frame == nullptr) {
    std::printf("none\n");
    return 1;
  }
  print_rect("frame", 0, found.frame);
  RECT client{};
  GetClientRect(found.frame, &client);
  MapWindowPoints(found.frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::printf("client %ld %ld %ld %ld\n", client.left, client.top, client.right, client.bottom);
  // Where the caption buttons are: their size and the frame's border (the window has
  // no sizing border); the close box is the rightmost button.
  std::printf("metrics %d %d %d %d\n", GetSystemMetrics(SM_CXSIZE), GetSystemMetrics(SM_CYSIZE),
              GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME));
  EnumChildWindows(found.frame, print_control, 0);
  if (found.about != nullptr) {
    print_rect("about", 0, found.about);
    EnumChildWindows(found.about, print_control, 0);
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(found.frame, nullptr);
  if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) {
    std::printf("focus %d\n", GetDlgCtrlID(info.hwndFocus));
  } else {
    std::printf("focus none\n");
  }
  std::fflush(stdout);
  return 0;
}
