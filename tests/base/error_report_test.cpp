// Error reporting: report-line composition, the report modes, the debug log,
// the message tables and the abnormal exit.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/error_report.hpp"
#include "base/platform.hpp"
#include "base/error_state.hpp"
#include "base/report_layer.hpp"

namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs each test in a fresh scratch directory with a fresh error state.
class ErrorReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_errors_for_test();
    previous_ = fs::current_path();
    scratch_ = fs::temp_directory_path() /
               ("quill_errors_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
    fs::current_path(scratch_);
  }
  void TearDown() override {
    quill::reset_errors_for_test();  // closes the debug log before its directory goes
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }
  fs::path previous_;
  fs::path scratch_;
};

struct LineCase {
  int code;
  std::string routine;
  int file_source;
  int file_error;
  int os_error;
  std::string expected;
};

TEST_F(ErrorReportTest, ComposesLinesForEveryCodeRangeAndDetailRule) {
  const std::string os_text = quill::platform::system_error_text(ENOENT);
  ASSERT_FALSE(os_text.empty());
  const LineCase cases[] = {
      {1003, "WindowOpen", 0, 0, 0, "Routine:WindowOpen Error=1003:Invalid window handle"},
      {12, "IStringToInteger", 0, 0, 0, "Routine:IStringToInteger Error=  12:Invalid character detected"},
      {2, "YYPROU", 0, 0, 0, "Internal routine:YYPROU Error=   2:Error reading/writing file or device"},
      {1005, "yywinsel", 0, 0, 0, "Internal routine:yywinsel Error=1005:No dialog currently selected"},
      {1005, "XXDLG", 0, 0, 0, "Internal routine:XXDLG Error=1005:No dialog currently selected"},
      {1005, "xxdlg", 0, 0, 0, "Internal routine:xxdlg Error=1005:No dialog currently selected"},
      {1005, "Yydlg", 0, 0, 0, "Routine:Yydlg Error=1005:No dialog currently selected"},
      {1005, "WDialogShow   ", 0, 0, 0, "Routine:WDialogShow Error=1005:No dialog currently selected"},
      {1005, "", 0, 0, 0, "Routine: Error=1005:No dialog currently selected"},
      {999, "IFoo", 0, 0, 0, "Routine:IFoo Error= 999:"},
      {0, "IFoo", 0, 0, 0, "Routine:IFoo Error=   0:"},
      {-5, "IFoo", 0, 0, 0, "Routine:IFoo Error=  -5:"},
      {12345, "IFoo", 0, 0, 0, "Routine:IFoo Error=****:"},
      {1116, "WEdit", 0, 0, 0, "Routine:WEdit Error=1116:Invalid editor font number"},
      {66, "WGrTextWidth", 0, 0, 0, "Routine:WGrTextWidth Error=  66:Invalid character code in WGrTextWidth"},
      // Codes 1 and 2 carry the system text only when the system reported the error.
      {1, "IOsCopyFile", 0, ENOENT, 0, "Routine:IOsCopyFile Error=   1:Error opening file or device"},
      {1, "IOsCopyFile", 1, ENOENT, 0, "Routine:IOsCopyFile Error=   1:Error opening file or device"},
      {1, "IOsCopyFile", 2, ENOENT, 0,
       "Routine:IOsCopyFile Error=   1:Error opening file or device: " + os_text},
      {2, "IOsCopyFile", 2, ENOENT, 0,
       "Routine:IOsCopyFile Error=   2:Error reading/writing file or device: " + os_text},
      {13, "IOsDeleteFile", 0, 0, ENOENT,
       "Routine:IOsDeleteFile Error=  13:Operating system error: " + os_text},
      {13, "IOsDeleteFile", 0, 0, 0, "Routine:IOsDeleteFile Error=  13:Operating system error:"},
      {1072, "IGrSaveImage", 0, 0, ENOENT,
       "Routine:IGrSaveImage Error=1072:API error during bit image save: " + os_text},
      {1084, "IOsMail", 0, 0, ENOENT,
       "Routine:IOsMail Error=1084:Error encoding e-mail attachments: " + os_text},
      {1035, "WGl", 0, 0, ENOENT, "Routine:WGl Error=1035:Failed to enable OpenGL graphics: " + os_text},
      {1044, "ICompress", 0, 0, -3,
       "Routine:ICompress Error=1044:Zlib compression/decompression error: data error"},
      {1044, "ICompress", 0, 0, 7, "Routine:ICompress Error=1044:Zlib compression/decompression error:"},
      {1083, "IOsMail", 0, 0, 25,
       "Routine:IOsMail Error=1083:Error invoking e-mail program: One or more recipients were invalid or did "
       "not resolve to any address."},
      {1106, "IDbSql", 0, 0, 0, "Routine:IDbSql Error=1106:SQL statement execution failed:"},
      {1108, "IDbFetch", 0, 0, 0, "Routine:IDbFetch Error=1108:Fetching a rowset failed in ODBC interface:"},
      {1003, "IDbFetch", 2, ENOENT, ENOENT, "Routine:IDbFetch Error=1003:Invalid window handle"},
  };
  for (const LineCase& c : cases) {
    quill::ErrorState& state = quill::errors();
    state.file_error_source = c.file_source;
    state.file_error = c.file_error;
    state.os_error = c.os_error;
    EXPECT_EQ(quill::compose_report_line(c.code, c.routine), c.expected)
        << "code " << c.code << " routine '" << c.routine << "'";
  }
}

// The detail text is added only to lines shorter than 298 characters, and the whole
// line is cut at 300.
TEST_F(ErrorReportTest, LongLinesDropTheDetailAndAreCutAt300) {
  quill::errors().os_error = -3;
  const std::string tail = " Error=1044:Zlib compression/decompression error";
  for (std::size_t base_length : {296u, 297u, 298u, 299u, 300u}) {
    const std::string name(base_length - std::string("Routine:").size() - tail.size(), 'N');
    const std::string base = "Routine:" + name + tail;
    ASSERT_EQ(base.size(), base_length);
    std::string expected = base_length < 298 ? base + ": data error" : base;
    expected = expected.substr(0, 300);
    while (expected.back() == ' ') expected.pop_back();
    EXPECT_EQ(quill::compose_report_line(1044, name), expected) << base_length;
  }
  const std::string huge(400, 'R');
  EXPECT_EQ(quill::compose_report_line(1003, huge), ("Routine:" + huge).substr(0, 300));
}

TEST_F(ErrorReportTest, ModeZeroRecordsTheCodeAndShowsNothing) {
  testing::internal::CaptureStdout();
  IErrorReport(1005, "WDialogShow");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(quill::errors().last_error, 1005);
  EXPECT_FALSE(fs::exists("debug"));
}

TEST_F(ErrorReportTest, ModeOneWritesOneLineToStandardOutput) {
  IErrorMode(1);
  testing::internal::CaptureStdout();
  IErrorReport(12, "IStringToReal");
  IErrorReport(1003, "YYWINSEL");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Routine:IStringToReal Error=  12:Invalid character detected\n"
            "Internal routine:YYWINSEL Error=1003:Invalid window handle\n");
  EXPECT_EQ(quill::errors().report_mode, 1);
  EXPECT_EQ(quill::errors().last_error, 1003);
}

TEST_F(ErrorReportTest, ModeSetterIgnoresValuesOutsideZeroToFour) {
  for (int mode : {0, 1, 2, 3, 4, 2}) {
    IErrorMode(mode);
    EXPECT_EQ(quill::errors().report_mode, mode);
  }
  for (int bad : {5, -1, 100, -9999}) {
    IErrorMode(bad);
    EXPECT_EQ(quill::errors().report_mode, 2) << bad;
  }
}

TEST_F(ErrorReportTest, ModeTwoCreatesTheDebugLogAnewAndAppendsCrLfLines) {
  { std::ofstream("debug") << "an older log\r\n"; }
  IErrorMode(2);
  IErrorReport(1003, "WindowOpen");
  IErrorReport(4, "IStringToInteger");
  EXPECT_EQ(quill::debug_log_name(), "debug");
  EXPECT_EQ(read_file("debug"),
            "Routine:WindowOpen Error=1003:Invalid window handle\r\n"
            "Routine:IStringToInteger Error=   4:Number too large in string to numeric conversion\r\n");
}

// A name that cannot be created (here: a directory is in the way) passes on to the next.
TEST_F(ErrorReportTest, DebugLogFallsBackToTxtThenDatThenLosesLines) {
  struct Case {
    std::vector<std::string> blocked;
    std::string expected_log;
  };
  const Case cases[] = {
      {{"debug"}, "debug.txt"},
      {{"debug", "debug.txt"}, "debug.dat"},
      {{"debug", "debug.txt", "debug.dat"}, ""},
  };
  for (const Case& c : cases) {
    quill::reset_errors_for_test();
    fs::current_path(scratch_);
    const fs::path dir = scratch_ / ("case" + std::to_string(c.blocked.size()));
    fs::create_directories(dir);
    fs::current_path(dir);
    for (const std::string& name : c.blocked) fs::create_directory(name);
    IErrorMode(2);
    IErrorReport(1094, "WClipboardPutString");
    IErrorReport(1095, "WClipboardGetString");
    EXPECT_EQ(quill::debug_log_name(), c.expected_log);
    EXPECT_EQ(quill::errors().last_error, 1095);
    if (!c.expected_log.empty()) {
      EXPECT_EQ(read_file(c.expected_log),
                "Routine:WClipboardPutString Error=1094:Error accessing the clipboard\r\n"
                "Routine:WClipboardGetString Error=1095:Clipboard data type mismatch\r\n");
    }
  }
  quill::reset_errors_for_test();
  fs::current_path(scratch_);
}

// The creation is tried once per process: a log that could not be made stays absent.
TEST_F(ErrorReportTest, DebugLogIsTriedOnlyOnce) {
  for (const char* name : {"debug", "debug.txt", "debug.dat"}) fs::create_directory(name);
  IErrorMode(2);
  IErrorReport(1, "IOsOpen");
  for (const char* name : {"debug", "debug.txt", "debug.dat"}) fs::remove(name);
  IErrorReport(2, "IOsOpen");
  EXPECT_FALSE(fs::exists("debug"));
  EXPECT_EQ(quill::debug_log_name(), "");
}

TEST_F(ErrorReportTest, ModeThreeHandsTheLineToTheStatusBarAndStaysSilentInside) {
  static std::vector<std::string> shown;
  static std::vector<int> modes_inside;
  shown.clear();
  modes_inside.clear();
  IErrorMode(3);
  IErrorReport(1010, "WDialogGetInteger");  // no status bar yet: goes nowhere
  quill::ReportLayer status_bar;
  status_bar.name = "test";
  status_bar.status_bar_line = [](std::string_view line) {
    shown.emplace_back(line);
    modes_inside.push_back(quill::errors().report_mode);
    IErrorReport(1003, "WindowStatusBar");  // a failure inside must not report again
  };
  quill::register_layer(status_bar);
  IErrorReport(1010, "WDialogGetInteger");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Routine:WDialogGetInteger Error=1010:Field value undefined");
  EXPECT_EQ(modes_inside[0], 0);
  EXPECT_EQ(quill::errors().report_mode, 3);
  EXPECT_EQ(quill::errors().last_error, 1010);
}

TEST_F(ErrorReportTest, SilentTryHidesTheFailureAndRestoresTheState) {
  IErrorReport(1001, "WMenuSetState");
  IErrorMode(1);
  testing::internal::CaptureStdout();
  const int code = quill::silent_try([] { IErrorReport(1, "IOsOpenFile"); });
  const int none = quill::silent_try([] {});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(code, 1);
  EXPECT_EQ(none, 0);
  EXPECT_EQ(quill::errors().report_mode, 1);
  EXPECT_EQ(quill::errors().last_error, 1001);
}

struct TextCase {
  int value;
  std::optional<int> kind;
  std::size_t width;
  std::string expected;
};

TEST_F(ErrorReportTest, ErrorTextFillsBlankPaddedFromEachTable) {
  const TextCase cases[] = {
      {1003, std::nullopt, 30, "Invalid window handle"},
      {1003, 1, 7, "Invalid"},
      {5, 1, 10, ""},
      {1117, 1, 10, ""},
      {-6, 3, 25, "incompatible version"},
      {2, 3, 25, "need dictionary"},
      {0, 3, 10, ""},
      {-7, 3, 10, ""},
      {25, 6, 80, "One or more recipients were invalid or did not resolve to any address."},
      {4, 6, 10, ""},
      {0, 2, 20, ""},
      {0, 4, 20, ""},
      {99, 5, 20, ""},
      {ENOENT, 2, 200, quill::platform::system_error_text(ENOENT)},
      {ENOENT, 4, 200, quill::platform::system_error_text(ENOENT)},
  };
  for (const TextCase& c : cases) {
    std::string text(c.width, '#');
    IErrorText(c.value, text, c.kind);
    std::string expected = c.expected.substr(0, c.width);
    expected.resize(c.width, ' ');
    EXPECT_EQ(text, expected) << c.value << " kind " << c.kind.value_or(1);
  }
  for (int kind : {0, 7, -1}) {
    std::string untouched(12, '#');
    IErrorText(1003, untouched, kind);
    EXPECT_EQ(untouched, std::string(12, '#')) << kind;
  }
}

TEST_F(ErrorReportTest, AbnormalExitTextPutsTheCodeBeforeTheBracket) {
  EXPECT_EQ(quill::abnormal_exit_text("Quillanthor version 9.20c", 0),
            "Abnormal exit (code 0) : Quillanthor version 9.20c");
  EXPECT_EQ(quill::abnormal_exit_text("disk full   ", 12), "Abnormal exit (code 12) : disk full");
  EXPECT_EQ(quill::abnormal_exit_text("x", -1), "Abnormal exit (code -1) : x");
  EXPECT_EQ(quill::abnormal_exit_text("x", 9999), "Abnormal exit (code 9999) : x");
  EXPECT_EQ(quill::abnormal_exit_text("x", 10000), "Abnormal exit (code ****) : x");
}

#ifndef _WIN32
// Without a window system the boxes go to standard error and answer OK.
TEST_F(ErrorReportTest, ModeFourShowsTheBoxAndContinuesAfterOk) {
  IErrorMode(4);
  testing::internal::CaptureStderr();
  IErrorReport(1003, "WindowOpen");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Library Error: Routine:WindowOpen Error=1003:Invalid window handle\n");
  EXPECT_EQ(quill::errors().last_message_box_result, 1);
  EXPECT_EQ(quill::errors().report_mode, 4);
}

TEST_F(ErrorReportTest, MessageBoxReportsAFailedPreparationAndRunsTheHooks) {
  static int after_calls = 0;
  after_calls = 0;
  quill::ReportLayer windows;
  windows.name = "test";
  windows.before_message_box = [] { return 1020; };
  windows.after_message_box = [] { ++after_calls; };
  quill::register_layer(windows);
  testing::internal::CaptureStderr();
  WMessageBox(0, 0, 0, "m", "t");
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(quill::errors().last_error, 1020);
  EXPECT_EQ(after_calls, 1);
}

using ErrorReportDeathTest = ErrorReportTest;

TEST_F(ErrorReportDeathTest, AbnormalExitShowsItsTextAndEndsWithTheCode) {
  EXPECT_EXIT(IAbnormalExit("disk full", 3), testing::ExitedWithCode(3),
              "^Quillanthor: Abnormal exit \\(code 3\\) : disk full\n$");
  EXPECT_EXIT(IAbnormalExit("    ", 5), testing::ExitedWithCode(5), "^$");
  EXPECT_EXIT(IAbnormalExit("", 0), testing::ExitedWithCode(0), "^$");
}
#endif

}  // namespace
