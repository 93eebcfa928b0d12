// Message boxes under a real window system: a thread timer finds the box the toolkit
// shows, records what it looks like and presses a button.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/error_report.hpp"
#include "base/report_layer.hpp"
#include "core/settings.hpp"
#include "core/command_line.hpp"
#include "base/error_state.hpp"
#include "quill/startup.hpp"

namespace {

struct SeenBox {
  int count = 0;
  std::string caption;
  std::string text;
  int default_id = 0;
  std::vector<int> buttons;
  HWND owner = nullptr;
  bool owner_enabled = true;
};

SeenBox seen;
int press_id = IDOK;
// When set, the box must look like this or the process ends with code 9 (used in
// child processes, which cannot report a failure otherwise).
const char* required_text = nullptr;

std::string window_text(HWND window) {
  char buffer[1024] = {};
  GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}

BOOL CALLBACK collect_button(HWND child, LPARAM) {
  char name[32] = {};
  GetClassNameA(child, name, sizeof(name));
  if (lstrcmpiA(name, "Button") != 0 || !IsWindowVisible(child)) return TRUE;
  const int id = GetDlgCtrlID(child);
  seen.buttons.push_back(id);
  if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.default_id = id;
  return TRUE;
}

BOOL CALLBACK find_box(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK drive_box(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), find_box, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  ++seen.count;
  seen.caption = window_text(box);
  seen.text = window_text(GetDlgItem(box, 0xFFFF));
  seen.buttons.clear();
  seen.default_id = 0;
  EnumChildWindows(box, collect_button, 0);
  seen.owner = GetWindow(box, GW_OWNER);
  seen.owner_enabled = seen.owner != nullptr && IsWindowEnabled(seen.owner);
  if (required_text != nullptr && seen.text != required_text) ExitProcess(9);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(press_id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, press_id)));
}

// Arms the timer that will press button id on the next box of this thread.
void press_next_box_with(int id) {
  press_id = id;
  SetTimer(nullptr, 0, 30, drive_box);
}

class Win32ErrorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_errors_for_test();
    seen = SeenBox{};
    required_text = nullptr;
  }
  void TearDown() override { quill::reset_errors_for_test(); }
};

struct BoxCase {
  int buttons;
  int icon;
  int default_button;
  int press;
  int result;
  int expected_default;
  std::vector<int> expected_buttons;
};

TEST_F(Win32ErrorsTest, MessageBoxButtonsDefaultsAndResults) {
  // Each box costs about two seconds under Wine without a window manager, so the
  // table covers every button set and every default rule once.
  const BoxCase cases[] = {
      {0, 4, 1, IDOK, 1, IDOK, {IDOK}},
      {9, 0, 2, IDOK, 1, IDOK, {IDOK}},
      {1, 3, 1, IDCANCEL, 0, IDOK, {IDOK, IDCANCEL}},
      {1, 3, 2, IDOK, 1, IDCANCEL, {IDOK, IDCANCEL}},
      {2, 1, 1, IDRETRY, 1, IDRETRY, {IDRETRY, IDCANCEL}},
      {3, 2, 2, IDNO, 2, IDNO, {IDYES, IDNO}},
      {4, 0, 7, IDCANCEL, 0, IDCANCEL, {IDYES, IDNO, IDCANCEL}},
      {5, 0, 1, IDIGNORE, 0, IDRETRY, {IDABORT, IDRETRY, IDIGNORE}},
      {5, 0, 2, IDABORT, 2, IDABORT, {IDABORT, IDRETRY, IDIGNORE}},
  };
  for (const BoxCase& c : cases) {
    quill::errors().last_message_box_result = -5;
    press_next_box_with(c.press);
    WMessageBox(c.buttons, c.icon, c.default_button, "Proceed?", "Question");
    const std::string where =
        "buttons " + std::to_string(c.buttons) + " default " + std::to_string(c.default_button);
    EXPECT_EQ(quill::errors().last_message_box_result, c.result) << where;
    EXPECT_EQ(seen.caption, "Question") << where;
    EXPECT_EQ(seen.text, "Proceed?") << where;
    EXPECT_EQ(seen.default_id, c.expected_default) << where;
    std::vector<int> buttons = seen.buttons;
    std::sort(buttons.begin(), buttons.end());
    std::vector<int> expected = c.expected_buttons;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(buttons, expected) << where;
  }
  EXPECT_EQ(seen.count, static_cast<int>(std::size(cases)));
  EXPECT_EQ(quill::errors().last_error, 0);
}

HWND test_owner = nullptr;

TEST_F(Win32ErrorsTest, MessageBoxIsOwnedByTheCurrentWindowWhichIsDisabledMeanwhile) {
  test_owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(test_owner, nullptr);
  static int snapshots = 0;
  static int restores = 0;
  snapshots = restores = 0;
  quill::ReportLayer owner;
  owner.name = "test";
  owner.current_window_handle = [] { return static_cast<void*>(test_owner); };
  owner.before_message_box = [] {
    ++snapshots;
    return 0;
  };
  owner.after_message_box = [] { ++restores; };
  quill::register_layer(owner);
  press_next_box_with(IDOK);
  WMessageBox(0, 4, 1, "Owned", "Owner test");
  EXPECT_EQ(seen.owner, test_owner);
  EXPECT_FALSE(seen.owner_enabled);
  EXPECT_TRUE(IsWindowEnabled(test_owner));
  EXPECT_EQ(snapshots, 1);
  EXPECT_EQ(restores, 1);
  EXPECT_EQ(quill::errors().last_error, 0);
  DestroyWindow(test_owner);
}

TEST_F(Win32ErrorsTest, ModeFourWithOkLetsTheCallerContinue) {
  IErrorMode(4);
  press_next_box_with(IDOK);
  IErrorReport(1003, "WindowOpen");
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(seen.caption, "Library Error");
  EXPECT_EQ(seen.text, "Routine:WindowOpen Error=1003:Invalid window handle");
  EXPECT_EQ(seen.default_id, IDOK);
  EXPECT_EQ(quill::errors().last_error, 1003);
  EXPECT_EQ(quill::errors().report_mode, 4);
  EXPECT_EQ(quill::errors().last_message_box_result, 1);
}

// The system's own text for an error number follows the message on the same line.
TEST_F(Win32ErrorsTest, SystemTextsHaveNoLineBreaks) {
  quill::errors().os_error = ERROR_FILE_NOT_FOUND;
  const std::string line = quill::compose_report_line(13, "IOsDeleteFile");
  const std::string head = "Routine:IOsDeleteFile Error=  13:Operating system error: ";
  ASSERT_GT(line.size(), head.size());
  EXPECT_EQ(line.substr(0, head.size()), head);
  EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST_F(Win32ErrorsTest, StartupReadsTheScreenAndTheCommandLine) {
  quill::reset_settings_for_test();
  WStartup();
  const quill::Settings& s = quill::settings();
  EXPECT_EQ(s.screen_width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(s.screen_height, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(s.nt_family);
  EXPECT_EQ(s.path_separator, '\\');
  const std::string program = quill::command_line_argument(0);
  ASSERT_GE(program.size(), 4u);
  EXPECT_EQ(program.substr(program.size() - 4), ".exe");
  quill::reset_settings_for_test();
}

using Win32ErrorsDeathTest = Win32ErrorsTest;

TEST_F(Win32ErrorsDeathTest, ModeFourWithCancelEndsTheProcessWithCodeZeroAndNoFurtherBox) {
  EXPECT_EXIT(
      {
        IErrorMode(4);
        required_text = "Routine:WindowOpen Error=1003:Invalid window handle";
        press_next_box_with(IDCANCEL);
        IErrorReport(1003, "WindowOpen");
        ExitProcess(8);  // Cancel returned instead of ending the process
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(Win32ErrorsDeathTest, AbnormalExitShowsItsBoxAndEndsWithTheCode) {
  EXPECT_EXIT(
      {
        required_text = "Abnormal exit (code 12) : disk full";
        press_next_box_with(IDOK);
        IAbnormalExit("disk full   ", 12);
      },
      testing::ExitedWithCode(12), "");
}

TEST_F(Win32ErrorsDeathTest, VersionKeyEndsStartupWithTheVersionBox) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "quill_win32_version";
  fs::create_directories(dir);
  std::ofstream(dir / "version.ini") << "VERSION=\r\n";
  const std::string file = (dir / "version.ini").string();
  EXPECT_EXIT(
      {
        quill::reset_settings_for_test();
        required_text = "Abnormal exit (code 0) : Quillanthor version 9.20c";
        press_next_box_with(IDOK);
        WStartup(file);
        ExitProcess(8);
      },
      testing::ExitedWithCode(0), "");
  fs::remove_all(dir);
}

}  // namespace
