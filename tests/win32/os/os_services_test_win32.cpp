// Programs, help and mail on Windows (under Wine): exit codes, time limits and captured
// output of real processes, the shell's viewer, and mail through a stand-in provider.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/error_report.hpp"
#include "base/error_state.hpp"
#include "os/os_internal.hpp"
#include "quill/errors.hpp"
#include "quill/os.hpp"
#include "os_test_support.hpp"

namespace {

namespace fs = std::filesystem;

using os_test::read_file;

// The folder of this test program, where the helper program and the provider DLL are.
fs::path program_folder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

class OsServicesWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_errors_for_test();
    scratch_ = fs::temp_directory_path() / "quill_os_services";
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
  }
  void TearDown() override {
    quill::os::set_mail_library_for_test("mapi32.dll");
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }
  static std::string child(const std::string& arguments) {
    return "\"" + (program_folder() / "quill_os_child.exe").string() + "\" " + arguments;
  }
  fs::path scratch_;
};

TEST_F(OsServicesWin32, ExecuteReportsExitCodesLimitsAndOutput) {
  const os_test::ExecuteCase cases[] = {
      {"cmd /c exit 3", 1, 20000, 0, 3},
      {child("exit 7"), 3, 20000, 0, 7},  // hidden
      {child("sleep 0"), 0, 20000, 0, -999},
      {"  ", 1, 20000, 23, -999},
      {"quill-no-such-program.exe x", 1, 20000, 13, -999},
  };
  for (const auto& c : cases) os_test::expect_execute(c);
  EXPECT_EQ(quill::errors().os_error, ERROR_FILE_NOT_FOUND);

  os_test::expect_time_limit(child("sleep 8000"), 300, 5000);
  EXPECT_EQ(quill::compose_report_line(1034, "IOsExecute"),
            "Routine:IOsExecute Error=1034:External process timed out before completion");

  const fs::path output = scratch_ / "out put.txt";
  int exit_code = 0;
  IErrorReset();
  IOsExecute(child("echo captured"), 1, exit_code, std::nullopt, output.string());
  EXPECT_EQ(IErrorCode(), 0);
  EXPECT_EQ(read_file(output.string()), "captured\r\nerr\r\n");
  IOsExecute("cmd /c echo hello", 1, exit_code, std::nullopt, output.string());
  EXPECT_EQ(read_file(output.string()), "hello\r\n");
}

TEST_F(OsServicesWin32, MailGoesThroughTheProviderAndReportsItsFailures) {
  const fs::path log = scratch_ / "mail.log";
  const fs::path attachment = scratch_ / "grid data.csv";
  std::ofstream(attachment) << "1,2\n";
  SetEnvironmentVariableA("QUILL_TEST_MAPI_LOG", log.string().c_str());

  quill::os::set_mail_library_for_test("quill_no_such_mapi.dll");
  IOsSendMail("a@example.org", "s", "t");
  EXPECT_EQ(IErrorCode(), 1082);

  quill::os::set_mail_library_for_test((program_folder() / "quill_test_mapi.dll").string());
  SetEnvironmentVariableA("QUILL_TEST_MAPI_RESULT", "0");
  IErrorReset();
  IOsSendMail(" a@example.org ; Team:b@example.org ", "Totals", "Line 1\r\nLine 2", attachment.string());
  EXPECT_EQ(IErrorCode(), 0);
  EXPECT_EQ(read_file(log.string()),
            "subject=Totals\ntext=Line 1\r\nLine 2\nflags=1\n"
            "to=1|a@example.org|SMTP:a@example.org\n"
            "to=1|Team:b@example.org|Team:b@example.org\n"
            "file=" +
                attachment.string() + "|grid data.csv\n");

  struct Case {
    const char* label;
    const char* recipients;
    std::string attachments;
    const char* provider_result;
    int code;
    int os_error;
  };
  const Case cases[] = {
      {"no recipient", " ; ", "", "0", 1085, 0},
      {"missing attachment", "a@example.org", (scratch_ / "none.csv").string(), "0", 1084,
       ERROR_FILE_NOT_FOUND},
      {"provider fails", "a@example.org", "", "2", 1083, 2},
  };
  for (const Case& c : cases) {
    quill::errors().os_error = 0;
    SetEnvironmentVariableA("QUILL_TEST_MAPI_RESULT", c.provider_result);
    IErrorReset();
    IOsSendMail(c.recipients, "s", "t", c.attachments, 1);
    EXPECT_EQ(IErrorCode(), c.code) << c.label;
    EXPECT_EQ(quill::errors().os_error, c.os_error) << c.label;
  }
  EXPECT_EQ(quill::compose_report_line(1083, "IOsSendMail"),
            "Routine:IOsSendMail Error=1083:Error invoking e-mail program: One or more "
            "unspecified errors occurred. No message was sent.");
}

BOOL CALLBACK find_viewer(HWND window, LPARAM found) {
  char title[256] = {};
  GetWindowTextA(window, title, sizeof(title));
  if (IsWindowVisible(window) && std::string(title).find("quill help.txt") != std::string::npos) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Points ".txt" at class in the classes of the test's own Wine prefix.
void associate_txt(const char* file_class) {
  RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, file_class, static_cast<DWORD>(std::strlen(file_class)));
}

TEST_F(OsServicesWin32, HelpShowsTextFilesInTheirViewerAndRefusesOtherKinds) {
  HKEY existing = nullptr;
  if (RegOpenKeyA(HKEY_CLASSES_ROOT, ".txt", &existing) == ERROR_SUCCESS) {
    RegCloseKey(existing);
    GTEST_SKIP() << "the system has a .txt association of its own, which the test would change";
  }
  const fs::path help = scratch_ / "quill help.txt";
  std::ofstream(help) << "Help text\r\n";
  IErrorReset();
  WHelpFile("manual.doc");
  EXPECT_EQ(IErrorCode(), 1031);
  IErrorReset();
  WHelpFile((scratch_ / "none.htm").string());
  EXPECT_EQ(IErrorCode(), 13);

  associate_txt("quilltest.noviewer");  // a class without an open command
  IErrorReset();
  WHelpFile(help.string());
  EXPECT_EQ(IErrorCode(), 1030);

  associate_txt("txtfile");
  IErrorReset();
  WHelpFile(help.string());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ".txt");
  ASSERT_EQ(IErrorCode(), 0);
  HWND viewer = nullptr;
  for (int i = 0; i < 100 && viewer == nullptr; ++i) {
    Sleep(100);
    EnumWindows(find_viewer, reinterpret_cast<LPARAM>(&viewer));
  }
  ASSERT_NE(viewer, nullptr) << "no viewer window shows the help file";
  PostMessageA(viewer, WM_CLOSE, 0, 0);
}

}  // namespace
