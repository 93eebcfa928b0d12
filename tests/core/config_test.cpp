// Configuration lines: which lines count, how keys and values are cut, and what
// each key does to the settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/config.hpp"
#include "base/error_report.hpp"
#include "core/settings.hpp"
#include "base/error_state.hpp"

namespace {

using quill::ConfigKey;

struct ParseCase {
  std::string line;
  bool version;
  ConfigKey key;
  std::string value;
};

std::string padded(std::string head, std::size_t column, std::string tail) {
  head.resize(column, ' ');
  return head + tail;
}

TEST(ConfigLineTest, ParsesKeysValuesAndIgnoredLines) {
  const ParseCase cases[] = {
      {"DEBUG=4", false, ConfigKey::Debug, "4"},
      {"debug = 4", false, ConfigKey::Debug, "4"},
      {"\tDeBuG\t=\t2\t", false, ConfigKey::Debug, "2"},
      {"DE=4", false, ConfigKey::None, ""},
      {"=4", false, ConfigKey::None, ""},
      {"   =4", false, ConfigKey::None, ""},
      {"DEBUG 4", false, ConfigKey::None, ""},
      {"", false, ConfigKey::None, ""},
      {"DEBUG=", false, ConfigKey::None, ""},
      {"DEBUG=   ", false, ConfigKey::None, ""},
      {"DEBUGGER=1", false, ConfigKey::None, ""},
      {"PRINTERS=3", false, ConfigKey::None, ""},
      {"printer=3", false, ConfigKey::Printer, "3"},
      {"PLOTTER = 2", false, ConfigKey::Plotter, "2"},
      {"HPGL2=5", false, ConfigKey::Hpgl2, "5"},
      {"LFNGEN=41", false, ConfigKey::Lfngen, "41"},
      {"LFNPLOTI=43", false, ConfigKey::Lfnploti, "43"},
      {"lfnplotingunit=44", false, ConfigKey::Lfnploti, "44"},
      {"CHARDIR=  D:\\fonts\\  ", false, ConfigKey::Chardir, "D:\\fonts\\"},
      {"CHARSET=my font.chr", false, ConfigKey::Charset, "my font.chr"},
      {"CHARDIRX=a", false, ConfigKey::None, ""},
      {"CHARDIR=a=b", false, ConfigKey::Chardir, "a=b"},
      {"VERSION=", true, ConfigKey::None, ""},
      {"ver=1", true, ConfigKey::None, ""},
      {"  Verbose  = yes", true, ConfigKey::None, ""},
      {"VE=1", false, ConfigKey::None, ""},
      {"UNKNOWN=1", false, ConfigKey::None, ""},
      // Only the first 270 characters of a line are read.
      {padded("PRINTER=", 269, "5"), false, ConfigKey::Printer, "5"},
      {padded("PRINTER=", 270, "5"), false, ConfigKey::None, ""},
      {padded("PRINTER", 268, "=7"), false, ConfigKey::Printer, "7"},
      {padded("PRINTER", 269, "=7"), false, ConfigKey::None, ""},
      {padded("VERSION", 269, "="), false, ConfigKey::None, ""},
      {padded("VERSION", 270, "="), false, ConfigKey::None, ""},
      {std::string("DEBUG=") + '\0' + '1', false, ConfigKey::Debug, std::string(1, '\0') + '1'},
  };
  for (const ParseCase& c : cases) {
    const quill::ConfigEntry entry = quill::parse_config_line(c.line);
    EXPECT_EQ(entry.version, c.version) << "'" << c.line << "'";
    EXPECT_EQ(entry.key, c.key) << "'" << c.line << "'";
    EXPECT_EQ(entry.value, c.value) << "'" << c.line << "'";
  }
}

class ConfigApplyTest : public ::testing::Test {
 protected:
  void SetUp() override { quill::reset_errors_for_test(); }
  void TearDown() override { quill::reset_errors_for_test(); }
  void apply(const std::string& line) {
    quill::apply_config_entry(quill::parse_config_line(line), settings_);
  }
  quill::Settings settings_;
};

TEST_F(ConfigApplyTest, IntegerKeysTakeEffectOnlyWhenTheValueConverts) {
  apply("PRINTER=3");
  apply("PLOTTER=2");
  apply("HPGL2=4");
  EXPECT_EQ(settings_.printer_type, 3);
  EXPECT_EQ(settings_.plotter_type, 2);
  EXPECT_EQ(settings_.hpgl2_setting, 4);
  for (const char* bad : {"PRINTER=x", "PRINTER=3.5", "PRINTER=12a", "PRINTER=99999999999"}) {
    apply(bad);
    EXPECT_EQ(settings_.printer_type, 3) << bad;
    EXPECT_EQ(quill::errors().last_error, 0) << bad;
  }
  apply("PRINTER=-2");
  EXPECT_EQ(settings_.printer_type, -2);
}

TEST_F(ConfigApplyTest, DebugSetsTheReportModeWithinZeroToFour) {
  apply("debug = 2");
  EXPECT_EQ(quill::errors().report_mode, 2);
  apply("DEBUG=5");
  apply("DEBUG=-1");
  apply("DEBUG=one");
  EXPECT_EQ(quill::errors().report_mode, 2);
  apply("DEBUG=0");
  EXPECT_EQ(quill::errors().report_mode, 0);
}

// The general and the plot unit number may never become equal.
TEST_F(ConfigApplyTest, UnitNumbersStayDifferent) {
  apply("LFNGEN=42");
  EXPECT_EQ(settings_.general_unit, 40);
  apply("LFNPLOTI=40");
  EXPECT_EQ(settings_.plot_unit, 42);
  apply("LFNGEN=50");
  apply("LFNPLOTIXYZ=40");
  EXPECT_EQ(settings_.general_unit, 50);
  EXPECT_EQ(settings_.plot_unit, 40);
  apply("LFNGEN=40");
  EXPECT_EQ(settings_.general_unit, 50);
}

TEST_F(ConfigApplyTest, TextKeysTakeTheValueAsItStands) {
  apply("CHARDIR=12");
  EXPECT_EQ(settings_.charset_directory, "12");
  apply("CHARDIR=D:\\fonts");
  apply("CHARSET=x.chr");
  EXPECT_EQ(settings_.charset_directory, "D:\\fonts");
  EXPECT_EQ(settings_.charset_file, "x.chr");
  EXPECT_EQ(quill::errors().last_error, 0);
  apply("CHARSET=" + std::string(260, 'c'));
  EXPECT_EQ(settings_.charset_file, std::string(quill::kCharsetFileLength, 'c'));
  apply("CHARDIR=");
  EXPECT_EQ(settings_.charset_directory, "D:\\fonts");
}

TEST_F(ConfigApplyTest, VersionKeyIsNotedWhateverItsValue) {
  apply("VERSION");
  EXPECT_FALSE(settings_.version_requested);
  apply("VERSION=");
  EXPECT_TRUE(settings_.version_requested);
}

TEST_F(ConfigApplyTest, StreamReaderSplitsLinesAndCutsLongOnes) {
  const std::string data =
      "PRINTER=1\r\n\r\n# comment\nPLOTTER=3\n" + padded("HPGL2=", 269, "5") + "678\r\n" + "LFNGEN=61";
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(data.data(), 1, data.size(), file);
  std::rewind(file);
  quill::read_config_stream(file, settings_);
  std::fclose(file);
  EXPECT_EQ(settings_.printer_type, 1);
  EXPECT_EQ(settings_.plotter_type, 3);
  EXPECT_EQ(settings_.hpgl2_setting, 5);
  EXPECT_EQ(settings_.general_unit, 61);

  int lines = 0;
  quill::for_each_config_line(data, [&](std::string_view line) {
    EXPECT_LE(line.size(), quill::kConfigLineLength);
    EXPECT_EQ(line.find('\r'), std::string_view::npos);
    ++lines;
  });
  EXPECT_EQ(lines, 6);
}

}  // namespace
