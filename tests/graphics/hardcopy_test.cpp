#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings.hpp"
#include "graphics/drawing_state.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

constexpr int kFakeDriver = 11;
std::vector<int> g_ops;

// A file driver that records the operations it receives.
void fake_driver(GrOp op) {
  DeviceDescription& device = drawing().device;
  if (op == GrOp::Initialise) {
    if (device.answer == kProbeValue) {
      device.answer = kFakeDriver;
      return;
    }
    device.set_option(GrOption::Width, 400);
    device.set_option(GrOption::Height, 300);
    device.default_file = "fake.out";
  }
  g_ops.push_back(static_cast<int>(op));
  if (op == GrOp::BeginOutput) {
    begin_file_output();
  } else if (op == GrOp::EndOutput) {
    end_file_output();
  }
}

class Hardcopy : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    errors().last_error = 0;
    previous_ = register_driver(kFakeDriver, fake_driver);
    g_ops.clear();
    directory_ = std::filesystem::temp_directory_path() / "quill_hardcopy_test";
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override {
    reset_drawing_for_tests();
    register_driver(kFakeDriver, previous_);
    std::filesystem::remove_all(directory_);
  }
  std::string file(const char* name) const { return (directory_ / name).string(); }
  DriverFunction previous_ = nullptr;
  std::filesystem::path directory_;
};

TEST_F(Hardcopy, StartRunsEveryStepInOrder) {
  IGrHardCopySelect(kFakeDriver);
  g_ops.clear();
  IGrHardCopy("S", file("a.out"), "title");
  // open, area reapplied (clip), replay: width, style, join, cap, clip, font, colour
  EXPECT_EQ(g_ops, (std::vector<int>{18, 24, 30, 29, 36, 37, 24, 21, 3}));
  EXPECT_TRUE(drawing().hardcopy.active);
  EXPECT_EQ(drawing().drawable.width, 400.0);
  EXPECT_NEAR(drawing().drawable.max_y, 299.99, 1e-9);
  EXPECT_EQ(drawing().pen_x, kUnknownPosition);
  EXPECT_TRUE(std::filesystem::exists(file("a.out")));
  g_ops.clear();
  IGrHardCopy("E");
  EXPECT_EQ(g_ops, (std::vector<int>{19}));
  EXPECT_FALSE(drawing().hardcopy.active);
  IGrHardCopy("E");
  EXPECT_EQ(g_ops.size(), 1U);
}

TEST_F(Hardcopy, EndGoesToTheActiveDriverNotTheSelectedOne) {
  IGrHardCopySelect(kFakeDriver);
  IGrHardCopy("s", file("b.out"));
  IGrHardCopySelect(5);
  g_ops.clear();
  IGrHardCopy("S");  // driver 5 does nothing, but the running hardcopy is ended
  EXPECT_EQ(g_ops, (std::vector<int>{19}));
  EXPECT_FALSE(drawing().hardcopy.active);
}

TEST_F(Hardcopy, DriversFiveAndSevenProduceNothing) {
  for (int driver : {5, 7}) {
    const DriverFunction saved = register_driver(driver, nullptr);
    IGrHardCopySelect(driver);
    EXPECT_EQ(errors().last_error, 0);
    IGrHardCopy("S", file("none.out"));
    EXPECT_FALSE(drawing().hardcopy.active);
    EXPECT_FALSE(std::filesystem::exists(file("none.out")));
    register_driver(driver, saved);
  }
  IGrHardCopySelect(13);
  EXPECT_EQ(errors().last_error, 46);
}

TEST_F(Hardcopy, FailedOpenReportsErrorOneAndLeavesNoHardcopy) {
  IGrHardCopySelect(kFakeDriver);
  g_ops.clear();
  IGrHardCopy("S", "/nonexistent-directory/x.out");
  EXPECT_EQ(errors().last_error, 1);
  EXPECT_FALSE(drawing().hardcopy.active);
  EXPECT_EQ(g_ops, (std::vector<int>{18}));
}

TEST_F(Hardcopy, OverlongFileNameIsRefusedAndTitleIsCut) {
  IGrHardCopySelect(kFakeDriver);
  IGrHardCopy("S", std::string(261, 'n'));
  EXPECT_EQ(errors().last_error, 1);
  EXPECT_FALSE(drawing().hardcopy.active);
  errors().last_error = 0;
  IGrHardCopy("S", file("t.out") + "   ", std::string(300, 't'));
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_EQ(drawing().hardcopy.file_name, file("t.out"));
  EXPECT_EQ(drawing().hardcopy.title.size(), 200U);
  IGrHardCopy("E");
}

TEST_F(Hardcopy, NameForPrintingKeepsTheFileAndTheDestinationApart) {
  IGrHardCopySelect(kFakeDriver);
  IGrHardCopy("S", file("p.out") + " @ printer one");
  EXPECT_EQ(drawing().hardcopy.file_name, temporary_plot_file());
  EXPECT_EQ(drawing().hardcopy.print_destination, "printer one");
  IGrHardCopy("E");
  EXPECT_FALSE(std::filesystem::exists(temporary_plot_file()));
  EXPECT_FALSE(std::filesystem::exists(file("p.out")));
  // The Windows printer driver prints itself: its name is left alone.
  const DriverFunction saved = register_driver(10, fake_driver);
  IGrHardCopySelect(10);
  IGrHardCopy("S", file("q.out") + " @ printer one");
  EXPECT_EQ(drawing().hardcopy.file_name, file("q.out"));
  IGrHardCopy("E");
  register_driver(10, saved);
  IGrHardCopySelect(kFakeDriver);
  IGrHardCopy("S", "  ");
  EXPECT_EQ(drawing().hardcopy.file_name, "fake.out");
  IGrHardCopy("E");
  std::filesystem::remove("fake.out");
}

TEST_F(Hardcopy, OptionsKeepTheirRanges) {
  IGrHardCopySelect(kFakeDriver);
  struct Case {
    int option, value, stored;
  };
  const Case cases[] = {
      {1, 0, 400}, {1, 800, 800}, {5, 4, 0},    {5, 3, 3},  {6, 3, 0},      {6, 2, 2},
      {8, -4, 1},  {9, 0, 1},     {12, 5, 100}, {16, 9, 0}, {16, 255, 255}, {21, 128, 0},
      {21, 4, 4},  {14, 7, 0},    {30, 9, 9},   {10, 3, 0}, {11, 2, 2},
  };
  for (const Case& c : cases) {
    IGrHardCopyOptions(c.option, c.value);
    EXPECT_EQ(drawing().device.options[static_cast<std::size_t>(c.option)], c.stored)
        << "option " << c.option << " value " << c.value;
  }
  EXPECT_EQ(drawing().line.cap, 2);
  IGrHardCopyOptions(31, 1);  // out of the option range: ignored, no crash
}

TEST_F(Hardcopy, ExtensionFollowsEncapsulationAndImageFormat) {
  IGrHardCopySelect(2);
  EXPECT_EQ(drawing().device.default_file, "quilplot.ps");
  IGrHardCopyOptions(22, 1);
  EXPECT_EQ(drawing().device.default_file, "quilplot.eps");
  IGrHardCopyOptions(22, 0);
  EXPECT_EQ(drawing().device.default_file, "quilplot.ps");
  const DriverFunction saved = register_driver(6, fake_driver);
  IGrHardCopySelect(6);
  drawing().device.default_file = "dir.v2/quilplot.png";
  IGrHardCopyOptions(26, 2);
  EXPECT_EQ(drawing().device.default_file, "dir.v2/quilplot.pcx");
  IGrHardCopyOptions(26, 7);
  EXPECT_EQ(drawing().device.default_file, "dir.v2/quilplot.pcx");
  IGrHardCopyOptions(23, 3);
  EXPECT_EQ(drawing().device.option(GrOption::ColourDepth), 0);
  IGrHardCopyOptions(23, 24);
  EXPECT_EQ(drawing().device.option(GrOption::ColourDepth), 24);
  register_driver(6, saved);
}

}  // namespace
}  // namespace quill
