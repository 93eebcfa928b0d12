// The configuration's hardcopy defaults as WStartup applies them: PRINTER selects the start
// driver, PLOTTER the pen-plotter model (driver 1), HPGL2 the HP-GL/2 model (driver 12),
// RASTER the raster printer model (driver 4).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "base/error_state.hpp"
#include "base/platform.hpp"
#include "core/settings.hpp"
#include "driver_fixture.hpp"
#include "graphics/driver.hpp"
#include "quill/startup.hpp"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

const char* const kVariables[] = {"QUILLA", "WIDE", "QUILINIT", "QUILDEBUG", "TEMP", "TMP"};

class HardcopyDefaults : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) saved_[name] = platform::environment(name);
    for (const char* name : kVariables) platform::set_environment(name, std::nullopt);
    directory_ = fs::temp_directory_path() / "quill_hardcopy_defaults";
    fs::remove_all(directory_);
    fs::create_directories(directory_);
    platform::set_environment("TEMP", directory_.string());
    platform::set_environment("QUILINIT", (directory_ / "quilla.ini").string());
    reset();
  }
  void TearDown() override {
    reset();
    for (const auto& [name, value] : saved_) platform::set_environment(name, value);
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }
  static void reset() {
    reset_settings_for_test();
    reset_drawing_for_tests();
    errors() = {};
  }
  // A fresh start-up reading a configuration file with text.
  void start_with(const std::string& text) {
    reset();
    std::ofstream(directory_ / "quilla.ini", std::ios::binary) << text;
    WStartup({}, {}, {});
  }
  std::string plot(int driver) {
    const fs::path path = directory_ / "plot.plt";
    IGrHardCopySelect(driver);
    IGrHardCopy("S", path.string());
    IGrHardCopy("E");
    return read_bytes(path);
  }

  std::map<std::string, std::optional<std::string>> saved_;
  fs::path directory_;
};

TEST_F(HardcopyDefaults, PrinterTypeSelectsAPrinterOrPlotterDriverPresent) {
#ifdef _WIN32
  constexpr int kWindowsPrinter = 10;  // present with GDI
#else
  constexpr int kWindowsPrinter = 2;  // no GDI: the default stays
#endif
  const std::pair<const char*, int> cases[] = {
      {"", 2},
      {"PRINTER=1", 1},
      {"printer = 12\r\n", 12},
      {"PRINTER=10", kWindowsPrinter},
      {"PRINTER=2", 2},
      {"PRINTER=3", 2},
      {"PRINTER=4", 4},  // SVG is no printer
      {"PRINTER=5", 2},
      {"PRINTER=0", 2},
      {"PRINTER=-12", 2},
      {"PRINTER=99999999999", 2},
      {"PRINTER=twelve", 2},
  };
  for (const auto& [text, driver] : cases) {
    start_with(text);
    EXPECT_EQ(drawing().hardcopy.selected, driver) << text;
    EXPECT_EQ(errors().last_error, 0) << text;
  }
}

TEST_F(HardcopyDefaults, StartDriverTakesTheHardcopyAndItsOptions) {
  start_with("PRINTER=12\nHPGL2=4\nPLOTTER=3\n");
  IGrHardCopyOptions(8, 3);  // before any start: kept for the start driver
  const fs::path path = directory_ / "default.plt";
  IGrHardCopy("S", path.string());
  EXPECT_EQ(drawing().hardcopy.active_driver, 12);
  EXPECT_EQ(drawing().device.option(GrOption::Copies), 3);
  IGrHardCopy("E");
  const std::string model4 = read_bytes(path);
  EXPECT_NE(model4.find("CO\"13 4 "), std::string::npos);
  EXPECT_EQ(model4.find('\x1b'), std::string::npos);  // model 4 has no PCL framing
  IGrHardCopySelect(1);
  EXPECT_EQ(drawing().device.capabilities, kPlotterCapabilities[2]);
  start_with("PRINTER=4\nRASTER=4\n");  // the colour model at 600 dots per inch
  EXPECT_EQ(drawing().hardcopy.selected, 4);
  IGrHardCopySelect(4);
  EXPECT_EQ(drawing().device.colours, 8);
  EXPECT_EQ(drawing().device.units_per_inch_x, 600.0);
}

TEST_F(HardcopyDefaults, InvalidModelsKeepTheDefaults) {
  for (const char* text :
       {"HPGL2=6\nPLOTTER=5\nRASTER=5", "HPGL2=0\nPLOTTER=-1\nRASTER=0", "HPGL2=x\nPLOTTER=1.5\nRASTER=x"}) {
    start_with(text);
    IGrHardCopySelect(4);
    EXPECT_EQ(drawing().device.colours, 2) << text;  // raster model 1
    EXPECT_EQ(drawing().device.units_per_inch_x, 300.0) << text;
    EXPECT_NE(plot(12).find("CO\"13 5 "), std::string::npos) << text;
    IGrHardCopySelect(1);
    EXPECT_EQ(drawing().device.capabilities, kPlotterCapabilities[0]) << text;
  }
}

TEST_F(HardcopyDefaults, SecondStartUpChangesNothing) {
  start_with("PRINTER=1");
  IGrHardCopySelect(3);
  std::ofstream(directory_ / "quilla.ini", std::ios::binary) << "PRINTER=12";
  WStartup({}, {}, {});
  EXPECT_EQ(drawing().hardcopy.selected, 3);
}

}  // namespace
}  // namespace quill::test
