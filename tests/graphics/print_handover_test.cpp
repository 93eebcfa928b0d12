// Hardcopy files kept for printing ("file @ destination"): the driver writes the temporary
// plot file, the end of the hardcopy hands it on and removes it. Runs natively and under
// Wine (where a destination may also be a printer the spooler knows).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/error_state.hpp"
#include "core/settings.hpp"
#include "driver_fixture.hpp"
#include "graphics/output_stream.hpp"
#include "base/error_codes.hpp"
#include "graphics/print_handover.hpp"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

constexpr int kSvgDriver = 3;

class PrintHandover : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    reset_settings_for_test();
    errors().last_error = 0;
    directory_ =
        fs::temp_directory_path() /
        ("quill_print_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(directory_);
    fs::create_directories(directory_ / "temp");
    settings().temp_plot_file = temporary().string();
    IGrHardCopySelect(kSvgDriver);
  }
  void TearDown() override {
    reset_drawing_for_tests();
    reset_settings_for_test();
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }
  fs::path temporary() const { return directory_ / "temp" / "kvs$$00.plt"; }
  fs::path file(const char* name) const { return directory_ / name; }

  // The drawing state as at start, with the SVG driver selected.
  static void fresh_state() {
    reset_drawing_for_tests();
    IGrHardCopySelect(kSvgDriver);
  }
  // Draws the test picture into a hardcopy started with name and returns the last error.
  static int draw(const std::string& name) {
    fresh_state();
    IGrHardCopy("S", name, "Print test");
    draw_test_picture();
    IGrHardCopy("E");
    return errors().last_error;
  }

  fs::path directory_;
};

TEST_F(PrintHandover, PathDestinationReceivesExactlyTheDriversBytes) {
  ASSERT_EQ(draw(file("plain.svg").string()), 0);
  const std::string plain = read_bytes(file("plain.svg"));
  ASSERT_GT(plain.size(), 1000U);

  const fs::path destination = directory_ / "out" / "printed.svg";
  fs::create_directories(destination.parent_path());
  fresh_state();
  IGrHardCopy("S", "picture.svg @ " + destination.string() + "  ");
  EXPECT_TRUE(drawing().hardcopy.active);
  EXPECT_EQ(drawing().hardcopy.file_name, temporary().string());
  EXPECT_TRUE(fs::exists(temporary()));
  draw_test_picture();
  IGrHardCopy("E");
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_EQ(read_bytes(destination), plain);
  EXPECT_FALSE(fs::exists(temporary()));
  EXPECT_FALSE(fs::exists("picture.svg"));  // the file part only names the document
}

TEST_F(PrintHandover, StartingAgainHandsOnTheRunningHardcopyFirst) {
  const fs::path first = file("first.svg");
  IGrHardCopy("S", "a @ " + first.string());
  draw_test_picture();
  IGrHardCopy("S", file("second.svg").string());  // ends the first hardcopy
  IGrHardCopy("E");
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_GT(read_bytes(first).size(), read_bytes(file("second.svg")).size());
  EXPECT_FALSE(fs::exists(temporary()));
}

TEST_F(PrintHandover, FailuresAreReportedAndLeaveNoTemporaryFile) {
  struct Case {
    std::string destination;
    int code;
  };
  const Case cases[] = {
      {"No Such Printer 4711", quill::error::kPrinterUnavailable},  // neither printer nor path
      {(directory_ / "missing" / "x.svg").string(), quill::error::kOperatingSystem},  // no folder
  };
  for (const Case& c : cases) {
    errors().last_error = 0;
    EXPECT_EQ(draw("plot.svg @ " + c.destination), c.code) << c.destination;
    EXPECT_FALSE(fs::exists(temporary())) << c.destination;
    EXPECT_FALSE(fs::exists(c.destination)) << c.destination;
  }
  EXPECT_FALSE(fs::exists("No Such Printer 4711"));
}

TEST_F(PrintHandover, AbandonedHardcopyIsNotHandedOn) {
  const fs::path destination = file("never.svg");
  IGrHardCopy("S", "x @ " + destination.string());
  ASSERT_TRUE(drawing().hardcopy.active);
  abandon_hardcopy_after_write_failure();  // as a failed write does
  EXPECT_EQ(errors().last_error, 2);
  errors().last_error = 0;
  IGrHardCopy("E");
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_FALSE(fs::exists(destination));
  EXPECT_FALSE(fs::exists(temporary()));
}

TEST_F(PrintHandover, UnwritableTemporaryFileReportsTheOpenOnly) {
  settings().temp_plot_file = (directory_ / "no-such-folder" / "kvs$$00.plt").string();
  IGrHardCopy("S", "x @ " + file("y.svg").string());
  EXPECT_EQ(errors().last_error, 1);
  EXPECT_FALSE(drawing().hardcopy.active);
  errors().last_error = 0;
  IGrHardCopy("E");
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_FALSE(fs::exists(file("y.svg")));
}

TEST_F(PrintHandover, NamesAndDestinations) {
  // A blank file part keeps the driver's default name as the document name.
  IGrHardCopy("S", "   @ " + file("d.svg").string());
  EXPECT_EQ(drawing().hardcopy.print_destination, file("d.svg").string());
  IGrHardCopy("E");
  EXPECT_TRUE(fs::exists(file("d.svg")));
  // Without " @ " (an at-sign alone is part of the name) the file is written directly.
  IGrHardCopy("S", file("a@b.svg").string());
  IGrHardCopy("E");
  EXPECT_TRUE(fs::exists(file("a@b.svg")));

  EXPECT_TRUE(destination_is_path("LPT1:"));
  EXPECT_TRUE(destination_is_path("\\\\server\\queue"));
  EXPECT_TRUE(destination_is_path("C:\\out\\x.ps"));
  EXPECT_TRUE(destination_is_path("/dev/usb/lp0"));
  EXPECT_FALSE(destination_is_path("Office Laser"));
}

#ifndef _WIN32
TEST_F(PrintHandover, WithoutASpoolerNoPrinterCanBeChosen) {
  IGrPrinterSelect("Some printer");
  EXPECT_EQ(errors().last_error, quill::error::kPrinterUnavailable);
  int chosen = -1;
  IGrPrinterDialog(chosen);
  EXPECT_EQ(chosen, 0);
}
#endif

}  // namespace
}  // namespace quill::test
