#include <gtest/gtest.h>

#include <vector>

#include "graphics/driver.hpp"
#include "graphics/drawing_state.hpp"
#include "quill/graphics.hpp"

namespace quill {
namespace {

std::vector<GrOp> g_ops;

void recording_driver(GrOp op) {
  DeviceDescription& device = drawing().device;
  if (op == GrOp::Initialise && device.answer == kProbeValue) {
    device.answer = 7;
    return;
  }
  g_ops.push_back(op);
}

TEST(DriverTable, RowsHoldTheNumbersFilesAndCapabilities) {
  struct Row {
    int number;
    std::string_view file;
    std::string_view capabilities;
  };
  const Row rows[] = {
      {1, "quilplot.plt", "00000100000000000010000000010"},
      {2, "quilplot.ps", "00000111111111100010011011110"},
      {3, "quilplot.svg", "00000111111111100010011011110"},
      {4, "quilplot.prn", "00000111111111110010011011000"},
      {6, "quilplot.png", "00000111111111110010011111000"},
      {8, "quilplot.dxf", "00000100000011000010000000010"},
      {9, "quilplot.cgm", "00000110111111100010011011100"},
      {10, "", "00000111111111100010011011110"},
      {11, "", "00000111111111100010011011110"},
      {12, "quilplot.plt", "00000100011111100010011011110"},
  };
  for (const Row& row : rows) {
    const DriverInfo* info = driver_info(row.number);
    ASSERT_NE(info, nullptr) << row.number;
    EXPECT_EQ(info->default_file, row.file) << row.number;
    EXPECT_EQ(info->capabilities, row.capabilities) << row.number;
    EXPECT_EQ(info->capabilities.size(), static_cast<std::size_t>(kCapabilityLength));
  }
  for (int none : {0, 5, 7, 13, -1}) {
    EXPECT_EQ(driver_info(none), nullptr) << none;
  }
  EXPECT_EQ(kScreenCapabilities.size(), static_cast<std::size_t>(kCapabilityLength));
}

TEST(DriverTable, ProbeAnswersTheClassNumberOrTheProbeValue) {
  reset_drawing_for_tests();
  const DriverFunction previous = register_driver(7, recording_driver);
  g_ops.clear();
  EXPECT_EQ(probe_driver(7), 7);
  EXPECT_TRUE(g_ops.empty());  // a probe does nothing else
  register_driver(7, previous);
  EXPECT_EQ(probe_driver(7), previous == nullptr ? kProbeValue : 7);
  EXPECT_EQ(probe_driver(5), kProbeValue);
  EXPECT_EQ(probe_driver(99), kProbeValue);
  EXPECT_EQ(register_driver(99, recording_driver), nullptr);
  EXPECT_EQ(registered_driver(99), nullptr);
}

TEST(DriverTable, OperationsReachTheHardcopyDriverOnlyWhileActive) {
  reset_drawing_for_tests();
  const DriverFunction previous = register_driver(11, recording_driver);
  g_ops.clear();
  send_operation(GrOp::Line);
  drawing().hardcopy.active = true;
  drawing().hardcopy.active_driver = 11;
  send_operation(GrOp::Colour);
  send_to_hardcopy(GrOp::Clip);
  drawing().hardcopy.active = false;
  send_operation(GrOp::Line);
  EXPECT_EQ(g_ops, (std::vector<GrOp>{GrOp::Colour, GrOp::Clip}));
  register_driver(11, previous);
  reset_drawing_for_tests();
}

TEST(DriverTable, MetafileRecorderTakesTheScreensPlaceAndGetsTheStateAgain) {
  reset_drawing_for_tests();
  const DriverFunction previous = register_metafile_recorder(recording_driver);
  drawing().metafile_used[4] = true;
  g_ops.clear();
  IGrSelect(4, 4);
  EXPECT_EQ(g_ops, (std::vector<GrOp>{GrOp::Initialise, GrOp::LineWidth, GrOp::LineStyle, GrOp::Colour,
                                      GrOp::Clip, GrOp::SelectFont}));
  g_ops.clear();
  IGrJoin(0, 0, 1, 1);
  EXPECT_EQ(g_ops, (std::vector<GrOp>{GrOp::Line}));
  IGrSelect(1, 0);
  g_ops.clear();
  IGrJoin(0, 0, 1, 1);
  EXPECT_TRUE(g_ops.empty());
  register_metafile_recorder(previous);
  reset_drawing_for_tests();
}

}  // namespace
}  // namespace quill
