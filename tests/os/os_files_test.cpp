// Files and folders on a scratch folder, natively and under Wine: names with blanks and
// code-page bytes, missing folders, read-only files, full disks, and the report lines with
// the system's error number and text.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

#include "base/error_report.hpp"
#include "base/error_state.hpp"
#include "base/platform.hpp"
#include "os/os_internal.hpp"
#include "quill/errors.hpp"
#include "quill/os.hpp"
#include "os_test_support.hpp"

namespace {

namespace fs = std::filesystem;

// The system's error numbers the cases expect.
struct SystemErrors {
  int not_found, no_folder, exists, not_empty, is_folder, read_only, under_a_file, disk_full;
};
#ifdef _WIN32
constexpr SystemErrors kError{ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ALREADY_EXISTS,
                              ERROR_DIR_NOT_EMPTY,  ERROR_ACCESS_DENIED,  ERROR_ACCESS_DENIED,
                              ERROR_PATH_NOT_FOUND, ERROR_DISK_FULL};
#else
constexpr SystemErrors kError{ENOENT, ENOENT, EEXIST, ENOTEMPTY, EISDIR, EACCES, ENOTDIR, ENOSPC};
#endif

using os_test::read_file;
using os_test::trimmed;

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class OsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_errors_for_test();
    previous_ = fs::current_path();
    scratch_ = fs::temp_directory_path() /
               ("quill_os_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(scratch_, ignored)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(scratch_, ignored);
    quill::reset_errors_for_test();
  }
  // A name in the scratch folder as the toolkit routines take it.
  std::string at(const std::string& name) const {
    return scratch_.string() + quill::platform::kPathSeparator + name;
  }

  // Runs call and checks it reported 13 for routine with the system error number and the
  // system's own text after the message.
  static void expect_system_error(const std::function<void()>& call, const char* routine, int error_number,
                                  const std::string& label) {
    quill::errors().last_error = 0;
    quill::errors().os_error = 0;
    call();
    EXPECT_EQ(IErrorCode(), 13) << label;
    EXPECT_EQ(quill::errors().os_error, error_number) << label;
    const std::string text = quill::platform::system_error_text(error_number);
    EXPECT_FALSE(text.empty()) << label;
    EXPECT_EQ(quill::compose_report_line(13, routine),
              std::string("Routine:") + routine + " Error=  13:Operating system error: " + text)
        << label;
  }

  fs::path previous_;
  fs::path scratch_;
};

TEST_F(OsFiles, NamesWithBlanksAndCodePageBytesGoThroughEveryRoutine) {
  const std::string source = at("a b.txt");
  const std::string copy = at("c d \xe4.txt");  // a single code-page byte, as on Windows
  write_file(source, "hello");
  IOsCopyFile(source + "   ", copy);  // trailing blanks are not part of a name
  ASSERT_EQ(IErrorCode(), 0);
  EXPECT_TRUE(IOsExists(copy));
  EXPECT_FALSE(IOsDirExists(copy));
  long long size = 0;
  IOsFileSize(copy, size);
  EXPECT_EQ(size, 5);
  long long seconds = 0;
  IOsFileTime(copy, seconds);
  const long long now =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
          .count();
  EXPECT_LT(std::abs(seconds - now), 120);

  std::array<std::string, 4> names;
  int count = 0;
  IOsDirList(scratch_.string(), "*.txt", names, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(names[0], "a b.txt");
  EXPECT_EQ(names[1], "c d \xe4.txt");
  EXPECT_EQ(names[2], "");

  IOsDirMake(at("new folder/deeper \xe4"));
  EXPECT_TRUE(IOsDirExists(at("new folder/deeper \xe4")));
  IOsDirMake(at("new folder"));  // an existing folder is no failure
  IOsRenameFile(copy, at("renamed \xe4.txt"));
  IOsMoveFile(at("renamed \xe4.txt"), at("new folder/deeper \xe4/moved.txt"));
  EXPECT_EQ(read_file(at("new folder/deeper \xe4/moved.txt")), "hello");
  IOsDeleteFile(at("new folder/deeper \xe4/moved.txt"));
  IOsDirRemove(at("new folder/deeper \xe4"));
  EXPECT_EQ(IErrorCode(), 0);
  EXPECT_FALSE(IOsDirExists(at("new folder/deeper \xe4")));
  EXPECT_FALSE(IOsExists(copy));
}

TEST_F(OsFiles, FailuresReportTheSystemErrorWithItsText) {
  write_file(at("there.txt"), "x");
  write_file(at("other.txt"), "y");
  write_file(at("locked.txt"), "old");
  fs::permissions(scratch_ / "locked.txt",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  IOsDirMake(at("full/inner"));
  struct Case {
    const char* label;
    std::function<void()> call;
    const char* routine;
    int error_number;
  };
  const Case cases[] = {
      {"delete missing", [&] { IOsDeleteFile(at("missing.txt")); }, "IOsDeleteFile", kError.not_found},
      {"delete folder", [&] { IOsDeleteFile(at("full")); }, "IOsDeleteFile", kError.is_folder},
      {"copy from missing", [&] { IOsCopyFile(at("missing.txt"), at("x")); }, "IOsCopyFile",
       kError.not_found},
      {"copy into missing folder", [&] { IOsCopyFile(at("there.txt"), at("no/x.txt")); }, "IOsCopyFile",
       kError.no_folder},
      {"rename onto existing", [&] { IOsRenameFile(at("there.txt"), at("other.txt")); }, "IOsRenameFile",
       kError.exists},
      {"move onto existing", [&] { IOsMoveFile(at("there.txt"), at("other.txt")); }, "IOsMoveFile",
       kError.exists},
      {"remove non-empty folder", [&] { IOsDirRemove(at("full")); }, "IOsDirRemove", kError.not_empty},
      {"change to missing folder", [&] { IOsDirChange(at("missing")); }, "IOsDirChange", kError.not_found},
      {"make under a file", [&] { IOsDirMake(at("there.txt/sub")); }, "IOsDirMake", kError.under_a_file},
      {"list missing folder",
       [&] {
         int count = 0;
         IOsDirInfo(at("missing"), "*", count);
       },
       "IOsDirInfo", kError.no_folder},
      {"copy onto read-only", [&] { IOsCopyFile(at("there.txt"), at("locked.txt")); }, "IOsCopyFile",
       kError.read_only},
#ifdef _WIN32
      {"delete read-only", [&] { IOsDeleteFile(at("locked.txt")); }, "IOsDeleteFile", kError.read_only},
#endif
  };
  for (const Case& c : cases) expect_system_error(c.call, c.routine, c.error_number, c.label);
  EXPECT_EQ(read_file(at("other.txt")), "y");  // never replaced
  EXPECT_EQ(read_file(at("there.txt")), "x");
  EXPECT_EQ(read_file(at("locked.txt")), "old");

  long long size = 0;
  expect_system_error([&] { IOsFileSize(at("missing"), size); }, "IOsFileSize", kError.not_found, "size");
  EXPECT_EQ(size, -999);

  // The same file on both sides, however it is spelt, is refused before anything is opened.
  fs::current_path(scratch_);
  for (const char* target : {"there.txt", "./there.txt"}) {
    IErrorReset();
    IOsCopyFile("there.txt", target);
    EXPECT_EQ(IErrorCode(), 55) << target;
  }
  EXPECT_EQ(read_file(at("there.txt")), "x");
}

// A copy that fills the disk reports the system's "disk full" and leaves no partial file.
TEST_F(OsFiles, FullDiskIsReportedAndLeavesNoPartialCopy) {
  const std::string big = at("big.bin");
  write_file(big, std::string(256 * 1024, 'z'));
#ifdef _WIN32
  const std::string full = "Z:\\dev\\full";
#else
  const std::string full = "/dev/full";
#endif
  expect_system_error([&] { IOsCopyFile(big, full); }, "IOsCopyFile", kError.disk_full, full);
#ifndef _WIN32
  const fs::path small = scratch_ / "small";
  fs::create_directories(small);
  if (::geteuid() != 0 || ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "no small tmpfs can be mounted here; /dev/full alone was checked";
  }
  expect_system_error([&] { IOsCopyFile(big, (small / "copy.bin").string()); }, "IOsCopyFile",
                      kError.disk_full, "small tmpfs");
  EXPECT_FALSE(fs::exists(small / "copy.bin"));
  ::umount(small.c_str());
#endif
}

TEST_F(OsFiles, ListingMatchesPatternsKindsAndArraySize) {
  for (const char* name : {"b.csv", "a.csv", "c.CSV", "notes.txt", "a1.csv"}) write_file(at(name), "");
  IOsDirMake(at("sub.csv"));
  struct Case {
    const char* pattern;
    int kind;
    std::vector<std::string> names;
  };
  const bool folds = quill::os::kNamesFoldCase;
  const Case cases[] = {
      {"*.csv", 0,
       folds ? std::vector<std::string>{"a.csv", "a1.csv", "b.csv", "c.CSV"}
             : std::vector<std::string>{"a.csv", "a1.csv", "b.csv"}},
      {"?.csv", 0,
       folds ? std::vector<std::string>{"a.csv", "b.csv", "c.CSV"}
             : std::vector<std::string>{"a.csv", "b.csv"}},
      {"*.csv", 1, {"sub.csv"}},
      {"s*", 2, {"sub.csv"}},
      {"   ", 2, {"a.csv", "a1.csv", "b.csv", "c.CSV", "notes.txt", "sub.csv"}},
      {"*.xyz", 0, {}},
  };
  for (const Case& c : cases) {
    std::array<std::string, 8> names;
    int count = -1;
    int info = -1;
    IErrorReset();
    IOsDirInfo(scratch_.string(), c.pattern, info, c.kind);
    IOsDirList(scratch_.string(), c.pattern, names, count, c.kind);
    EXPECT_EQ(IErrorCode(), 0) << c.pattern;
    EXPECT_EQ(info, static_cast<int>(c.names.size())) << c.pattern;
    ASSERT_EQ(count, info) << c.pattern;
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + count), c.names) << c.pattern;
  }
  // More matches than the array holds: the first ones, the full count, code 40.
  std::array<std::string, 2> two;
  int count = 0;
  IOsDirList(scratch_.string(), "*", two, count, 2);
  EXPECT_EQ(IErrorCode(), 40);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(two[0], "a.csv");
  EXPECT_EQ(two[1], "a1.csv");
}

TEST_F(OsFiles, CurrentHomeAndTemporaryFolders) {
  const std::string separator(1, quill::platform::kPathSeparator);
  IOsDirChange(scratch_.string());
  std::array<char, 300> field{};
  IOsDirName(field);
  EXPECT_EQ(IErrorCode(), 0);
  EXPECT_EQ(trimmed(field), scratch_.string() + separator);

  const std::optional<std::string> temp = quill::platform::environment("TEMP");
  const std::optional<std::string> tmp = quill::platform::environment("TMP");
  quill::platform::set_environment("TEMP", std::nullopt);
  quill::platform::set_environment("TMP", scratch_.string());
  IOsTempDirectory(field);
  EXPECT_EQ(trimmed(field), scratch_.string() + separator);
  quill::platform::set_environment("TMP", std::nullopt);
  IOsTempDirectory(field);
  EXPECT_EQ(trimmed(field), quill::platform::default_temporary_directory());
  quill::platform::set_environment("TEMP", temp);
  quill::platform::set_environment("TMP", tmp);

  std::array<char, 3> small{'x', 'x', 'x'};
  IOsDirName(small);
  EXPECT_EQ(IErrorCode(), 1023);
  EXPECT_EQ(std::string(small.data(), 3), "   ");

#ifdef _WIN32
  const char* home_variables[] = {"USERPROFILE", "HOMEDRIVE", "HOMEPATH"};
#else
  const char* home_variables[] = {"HOME"};
#endif
  std::vector<std::optional<std::string>> saved;
  for (const char* name : home_variables) saved.push_back(quill::platform::environment(name));
  quill::platform::set_environment(home_variables[0], scratch_.string());
  IErrorReset();
  IOsHomeDirectory(field);
  EXPECT_EQ(trimmed(field), scratch_.string() + separator);
#ifdef _WIN32
  for (const char* name : home_variables) quill::platform::set_environment(name, std::nullopt);
  IOsHomeDirectory(field);
  EXPECT_EQ(IErrorCode(), 1093);
  EXPECT_EQ(trimmed(field), "");
#endif
  for (std::size_t i = 0; i < saved.size(); ++i) {
    quill::platform::set_environment(home_variables[i], saved[i]);
  }
}

TEST(OsText, WildcardsArgumentsListsAndHelpKinds) {
  using quill::os::wildcard_match;
  EXPECT_TRUE(wildcard_match("*.csv", ".csv", false));
  EXPECT_TRUE(wildcard_match("a*b*c", "aXbYbZc", false));
  EXPECT_FALSE(wildcard_match("a*b*c", "aXbYbZ", false));
  EXPECT_TRUE(wildcard_match("**?", "x", false));
  EXPECT_FALSE(wildcard_match("?", "", false));
  EXPECT_TRUE(wildcard_match("DATA?.CSV", "data1.csv", true));
  EXPECT_FALSE(wildcard_match("DATA?.CSV", "data1.csv", false));

  using Args = std::vector<std::string>;
  EXPECT_EQ(quill::os::split_arguments("  sh -c \"exit 3\"  x"), (Args{"sh", "-c", "exit 3", "x"}));
  EXPECT_EQ(quill::os::split_arguments("\"C:\\Program Files\\a.exe\" \"unterminated"),
            (Args{"C:\\Program Files\\a.exe", "unterminated"}));
  EXPECT_EQ(quill::os::split_list(" a@b.org ;; c d ; "), (Args{"a@b.org", "c d"}));

  using quill::os::HelpKind;
  EXPECT_EQ(quill::os::help_kind("x\\Manual.CHM"), HelpKind::HtmlHelp);
  EXPECT_EQ(quill::os::help_kind("readme.Html"), HelpKind::Viewer);
  EXPECT_EQ(quill::os::help_kind("a.txt.doc"), HelpKind::Unsupported);
  EXPECT_EQ(quill::os::help_kind("dir.txt/readme"), HelpKind::Unsupported);
}

}  // namespace
