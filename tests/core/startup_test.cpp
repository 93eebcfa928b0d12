// Start-up: environment, configuration search, temporary names, the report mode,
// IOsVariable and command-line access.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "core/command_line.hpp"
#include "base/error_report.hpp"
#include "base/platform.hpp"
#include "core/settings.hpp"
#include "core/startup_steps.hpp"
#include "base/error_state.hpp"
#include "quill/startup.hpp"

namespace fs = std::filesystem;
using quill::platform::kPathSeparator;

namespace {

const char* const kVariables[] = {"QUILLA", "WIDE", "QUILINIT", "QUILDEBUG", "TEMP", "TMP"};

void write_text(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string sep(std::string path) { return path + kPathSeparator; }

// Each test starts in an empty scratch directory with none of the toolkit's variables
// set (TEMP points into the scratch directory) and with WStartup not yet run.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) saved_[name] = quill::platform::environment(name);
    previous_ = fs::current_path();
    scratch_ = fs::temp_directory_path() / (std::string("quill_startup_") +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(scratch_);
    fs::create_directories(scratch_ / "work");
    fs::create_directories(scratch_ / "temp");
    fs::current_path(scratch_ / "work");
    for (const char* name : kVariables) quill::platform::set_environment(name, std::nullopt);
    quill::platform::set_environment("TEMP", (scratch_ / "temp").string());
    quill::reset_settings_for_test();
    quill::reset_errors_for_test();
  }
  void TearDown() override {
    quill::reset_errors_for_test();
    quill::reset_settings_for_test();
    for (const auto& [name, value] : saved_) quill::platform::set_environment(name, value);
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }
  static void set(const char* name, const std::string& value) {
    quill::platform::set_environment(name, value);
  }
  std::string temp() const { return sep((scratch_ / "temp").string()); }

  std::map<std::string, std::optional<std::string>> saved_;
  fs::path previous_;
  fs::path scratch_;
};

TEST_F(StartupTest, WithoutVariablesOrFileAllDefaultsStay) {
  IErrorMode(3);
  quill::errors().last_error = 1003;
  WStartup();
  const quill::Settings& s = quill::settings();
  EXPECT_EQ(s.initialised, quill::kStartedMarker);
  EXPECT_EQ(s.config_file, "");
  EXPECT_EQ(s.home_directory, "");
  EXPECT_EQ(s.charset_directory, "");
  EXPECT_EQ(s.charset_file, "standard.chr");
  EXPECT_EQ(s.general_unit, 40);
  EXPECT_EQ(s.plot_unit, 42);
  EXPECT_EQ(s.dump_device, 10);
  EXPECT_EQ(s.path_separator, kPathSeparator);
  EXPECT_EQ(s.temp_plot_file, temp() + "kvs$$00.plt");
  EXPECT_EQ(s.temp_dump_file, temp() + "kvs$$00.dmp");
  EXPECT_EQ(quill::errors().report_mode, 0);
  EXPECT_EQ(quill::errors().last_error, 0);
  EXPECT_GT(s.screen_width, 0);
  EXPECT_GT(s.screen_height, 0);
  EXPECT_LE(s.bits_per_pixel, 24);
  EXPECT_EQ(s.colour_count, 1LL << (s.bit_planes * s.bits_per_pixel));
  EXPECT_FALSE(quill::command_line_argument(0).empty());
}

TEST_F(StartupTest, SecondCallChangesNothing) {
  WStartup();
  quill::settings().general_unit = 77;
  set("QUILDEBUG", "1");
  write_text("quilla.ini", "LFNGEN=55\n");
  WStartup();
  EXPECT_EQ(quill::settings().general_unit, 77);
  EXPECT_EQ(quill::settings().config_file, "");
  EXPECT_EQ(quill::errors().report_mode, 0);
}

TEST_F(StartupTest, QuildebugSelectsModesZeroToFourOnly) {
  const std::pair<std::string, int> cases[] = {
      {"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"12", 1}, {"7", 0}, {"x", 0}, {"-1", 0}, {" 1", 0},
  };
  for (const auto& [value, mode] : cases) {
    quill::reset_settings_for_test();
    quill::reset_errors_for_test();
    set("QUILDEBUG", value);
    WStartup();
    EXPECT_EQ(quill::errors().report_mode, mode) << "'" << value << "'";
  }
}

TEST_F(StartupTest, HomeDirectoryComesFromQuillaThenWide) {
  using std::nullopt;
  struct Case {
    std::optional<std::string> quilla, wide;
    std::string expected;
  };
  const Case cases[] = {
      {"/opt/quil", nullopt, sep("/opt/quil")},
      {sep("/opt/quil"), "/other/", sep("/opt/quil")},
      {nullopt, sep(sep("/x") + "WIDE") + "bin", sep("/x")},
      {nullopt, "aWIDEbWIDEc", sep("aWIDEb")},
      {nullopt, "/tools/wide", sep("/tools/wide")},
      {nullopt, "WIDE", ""},
      {nullopt, nullopt, ""},
      {std::string(300, 'q'), nullopt, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quill::home_directory_from(c.quilla, c.wide), c.expected)
        << c.quilla.value_or("-") << " / " << c.wide.value_or("-");
  }

  set("QUILLA", (scratch_ / "home").string());
  WStartup();
  EXPECT_EQ(quill::settings().home_directory, sep((scratch_ / "home").string()));
  EXPECT_EQ(quill::settings().charset_directory, sep(sep((scratch_ / "home").string()) + "charsets"));
}

TEST_F(StartupTest, ConfigFileSearchOrder) {
  const fs::path home = scratch_ / "home";
  fs::create_directories(home);
  const std::string home_text = sep(home.string());
  const fs::path named = scratch_ / "named.ini";
  EXPECT_EQ(quill::find_config_file(home_text), "");
  write_text(home / "quilla.ini", "");
  EXPECT_EQ(quill::find_config_file(home_text), home_text + "quilla.ini");
  EXPECT_EQ(quill::find_config_file(""), "");
  write_text("quilla.ini", "");
  EXPECT_EQ(quill::find_config_file(home_text), "quilla.ini");
  set("QUILINIT", named.string());
  EXPECT_EQ(quill::find_config_file(home_text), "quilla.ini");  // not there yet
  write_text(named, "");
  EXPECT_EQ(quill::find_config_file(home_text), named.string());
  set("QUILINIT", scratch_.string());  // a directory is not a file
  EXPECT_EQ(quill::find_config_file(home_text), "quilla.ini");
}

TEST_F(StartupTest, ReadsTheFoundFileAndTheCallersFileReplacesIt) {
  write_text("quilla.ini", "PRINTER=2\r\ncharset = local.chr\r\n");
  const fs::path mine = scratch_ / "mine.ini";
  write_text(mine, "PRINTER=4\nCHARDIR=/fonts\n  debug = 1\nDE=3\n=2\nLFNGEN=42\nLFNPLOTI=60");
  testing::internal::CaptureStdout();
  WStartup(mine.string() + "   ");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  const quill::Settings& s = quill::settings();
  EXPECT_EQ(s.config_file, mine.string());
  EXPECT_EQ(s.printer_type, 4);
  EXPECT_EQ(s.charset_file, "standard.chr");
  EXPECT_EQ(s.charset_directory, sep("/fonts"));
  EXPECT_EQ(s.general_unit, 40);
  EXPECT_EQ(s.plot_unit, 60);
  EXPECT_EQ(quill::errors().report_mode, 1);
}

TEST_F(StartupTest, CallersFileThatDoesNotExistKeepsTheFoundOne) {
  write_text("quilla.ini", "charset = local.chr\nDEBUG=2\n");
  WStartup((scratch_ / "missing.ini").string());
  EXPECT_EQ(quill::settings().config_file, "quilla.ini");
  EXPECT_EQ(quill::settings().charset_file, "local.chr");
  EXPECT_EQ(quill::errors().report_mode, 2);
}

TEST_F(StartupTest, BlankCallersFileIsIgnoredAndAnUnreadableFileSkipped) {
  fs::create_directory("quilla.ini");  // exists, but cannot be read as a file
  WStartup("    ");
  EXPECT_EQ(quill::settings().config_file, "");
  EXPECT_EQ(quill::settings().charset_file, "standard.chr");
}

TEST_F(StartupTest, TemporaryNamesProbeForAFreeNumber) {
  const std::string dir = temp();
  EXPECT_EQ(quill::temporary_names(dir).plot, dir + "kvs$$00.plt");
  write_text(dir + "kvs$$00.plt", "");
  write_text(dir + "kvs$$01.dmp", "");
  EXPECT_EQ(quill::temporary_names(dir).plot, dir + "kvs$$02.plt");
  EXPECT_EQ(quill::temporary_names(dir).dump, dir + "kvs$$02.dmp");
  for (int n = 0; n <= 99; ++n) {
    char digits[3];
    std::snprintf(digits, sizeof(digits), "%02d", n);
    write_text(dir + "kvs$$" + digits + ".plt", "");
  }
  EXPECT_EQ(quill::temporary_names(dir).plot, dir + "kvs$$99.plt");
}

TEST_F(StartupTest, TemporaryDirectoryFromTempThenTmp) {
  quill::platform::set_environment("TEMP", std::nullopt);
  set("TMP", (scratch_ / "temp").string());
  WStartup();
  EXPECT_EQ(quill::settings().temp_directory, temp());
  EXPECT_EQ(quill::settings().temp_dump_file, temp() + "kvs$$00.dmp");
}

TEST_F(StartupTest, OsVariableIsBlankPaddedAndReportsWhenTooSmall) {
  set("QUILINIT", "abc");
  std::string value(6, '#');
  IOsVariable("QUILINIT", value);
  EXPECT_EQ(value, "abc   ");
  IOsVariable("QUILINIT  ", value);
  EXPECT_EQ(value, "abc   ");
  EXPECT_EQ(quill::errors().last_error, 0);
  std::string small(2, '#');
  IOsVariable("QUILINIT", small);
  EXPECT_EQ(small, "  ");
  EXPECT_EQ(quill::errors().last_error, 1023);
  quill::errors().last_error = 0;
  IOsVariable("QUILLA", value);
  EXPECT_EQ(value, "      ");
  EXPECT_EQ(quill::errors().last_error, 0);
  // Values longer than any first guess of the buffer size come back whole.
  for (std::size_t length : {255u, 256u, 257u, 1000u}) {
    set("QUILINIT", std::string(length, 'v'));
    std::string large(length + 3, '#');
    IOsVariable("QUILINIT", large);
    EXPECT_EQ(large, std::string(length, 'v') + "   ") << length;
  }
}

TEST(CommandLineTest, SplitsAtBlanksAndKeepsQuotedArgumentsWhole) {
  const std::string line = "\"C:\\Program Files\\calc.exe\"  -a   \"b c\" d\"e \"\" \"open";
  const std::string expected[] = {"C:\\Program Files\\calc.exe", "-a", "b c", "d\"e", "", "open"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(quill::command_line_argument(line, i), expected[i]) << i;
  EXPECT_EQ(quill::command_line_argument(line, 6), "");
  EXPECT_EQ(quill::command_line_argument(line, -1), "");
  EXPECT_EQ(quill::command_line_argument("", 0), "");
  EXPECT_EQ(quill::command_line_argument("   ", 0), "");
}

#ifndef _WIN32
using StartupDeathTest = StartupTest;

TEST_F(StartupDeathTest, VersionKeyEndsTheProcessWithTheVersionBox) {
  write_text("quilla.ini", "PRINTER=3\nVERSION=\n");
  EXPECT_EXIT(WStartup(), testing::ExitedWithCode(0),
              "^Quillanthor: Abnormal exit \\(code 0\\) : Quillanthor version 9.20c\n$");
}
#endif

}  // namespace
