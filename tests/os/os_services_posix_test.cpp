// Programs, help, mail and the selection boxes on a POSIX system: programs run, the rest
// reports the codes of a system without a viewer, mail library or common dialogs.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <unistd.h>

#include "base/error_state.hpp"
#include "quill/errors.hpp"
#include "quill/os.hpp"
#include "os_test_support.hpp"

namespace {

namespace fs = std::filesystem;

using os_test::read_file;

class OsServices : public ::testing::Test {
 protected:
  void SetUp() override {
    IErrorReset();
    scratch_ = fs::temp_directory_path() / ("quill_os_services_" + std::to_string(::getpid()));
    fs::create_directories(scratch_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }
  fs::path scratch_;
};

TEST_F(OsServices, ExecuteReportsExitCodesLimitsAndOutput) {
  const os_test::ExecuteCase cases[] = {
      {"sh -c \"exit 3\"", 1, 0, 0, 3},
      {"true", 3, 5000, 0, 0},                     // hidden means nothing here
      {"sh -c \"kill -9 $$\"", 1, 0, 0, 128 + 9},  // ended by a signal
      {"sleep 0", 0, 0, 0, -999},                  // not waited for
      {"   ", 1, 0, 23, -999},
      {"\"\" x", 1, 0, 23, -999},
      {"quill-no-such-program x", 1, 0, 13, -999},
  };
  for (const auto& c : cases) os_test::expect_execute(c);
  EXPECT_EQ(quill::errors().os_error, ENOENT);

  // A run past its limit ends at the limit, not when the program would have.
  os_test::expect_time_limit("sleep 5", 200, 3000);

  // Standard output and error both go to the file, which is made anew.
  const fs::path output = scratch_ / "out put.txt";
  std::ofstream(output) << "old text that must go\n";
  int exit_code = 0;
  IErrorReset();
  IOsExecute("sh -c \"echo one; echo two >&2\"", 1, exit_code, std::nullopt, output.string());
  EXPECT_EQ(IErrorCode(), 0);
  EXPECT_EQ(read_file(output.string()), "one\ntwo\n");
  IOsExecute("true", 1, exit_code, std::nullopt, (scratch_ / "missing" / "out.txt").string());
  EXPECT_EQ(IErrorCode(), 13);
}

TEST_F(OsServices, HelpMailAndBoxesReportWhatThisSystemLacks) {
  const fs::path text = scratch_ / "help.txt";
  std::ofstream(text) << "help\n";
  struct Case {
    const char* label;
    std::function<void()> call;
    int code;
  };
  std::array<char, 16> field;
  const Case cases[] = {
      {"help with an unknown extension", [&] { WHelpFile("manual.doc"); }, 1031},
      {"help file missing", [&] { WHelpFile((scratch_ / "none.html").string()); }, 13},
      {"no viewer", [&] { WHelpFile(text.string()); }, 1030},
      {"mail without recipient", [&] { IOsSendMail(" ; ", "s", "t"); }, 1085},
      {"mail without library", [&] { IOsSendMail("a@example.org", "s", "t", text.string()); }, 1082},
      {"file box", [&] { WSelectFile(0, "All|*.*", field); }, 1004},
      {"folder box", [&] { WSelectDirectory(field); }, 1004},
  };
  for (const Case& c : cases) {
    IErrorReset();
    field.fill('x');
    c.call();
    EXPECT_EQ(IErrorCode(), c.code) << c.label;
  }
  EXPECT_EQ(std::string(field.data(), field.size()), std::string(field.size(), ' '));
}

}  // namespace
