#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics/drawing_state.hpp"
#include "graphics/output_stream.hpp"
#include "quill/errors.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class OutputStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    errors().last_error = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("quill_stream_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override {
    reset_drawing_for_tests();
    std::filesystem::remove(path_);
  }
  std::filesystem::path path_;
};

TEST_F(OutputStreamTest, LinesEndInCarriageReturnLineFeedAndBytesPassUnchanged) {
  OutputStream stream;
  ASSERT_TRUE(stream.open(path_.string()));
  stream.write_line("first");
  stream.write_line("");
  stream.put('\x04');
  stream.write(std::string_view("\0x", 2));
  EXPECT_TRUE(stream.close());
  EXPECT_EQ(read_file(path_), std::string("first\r\n\r\n\x04\0x", 12));
}

TEST_F(OutputStreamTest, LargeOutputCrossesTheBufferIntact) {
  OutputStream stream;
  ASSERT_TRUE(stream.open(path_.string()));
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    const std::string line = "line " + std::to_string(i);
    stream.write_line(line);
    expected += line + "\r\n";
  }
  EXPECT_EQ(stream.bytes_written(), static_cast<long long>(expected.size()));
  EXPECT_TRUE(stream.close());
  EXPECT_EQ(read_file(path_), expected);
}

TEST_F(OutputStreamTest, OpenOfAnUncreatableFileFailsWithoutReporting) {
  OutputStream stream;
  EXPECT_FALSE(stream.open("/nonexistent-directory/quilplot.ps"));
  EXPECT_FALSE(stream.is_open());
  stream.write_line("ignored");
  EXPECT_EQ(errors().last_error, 0);
}

// Counts reports of error 2 by watching the last-error code across writes.
TEST_F(OutputStreamTest, FullDiskIsReportedOnceAndAbandonsTheHardcopy) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "/dev/full is not available";
  }
  DrawingState& state = drawing();
  state.hardcopy.active = true;
  state.hardcopy.active_driver = 2;
  OutputStream& stream = state.output;
  ASSERT_TRUE(stream.open("/dev/full"));
  const std::string line(1000, 'x');
  int reports = 0;
  for (int i = 0; i < 200; ++i) {
    errors().last_error = 0;
    stream.write_line(line);
    reports += errors().last_error == 2 ? 1 : 0;
  }
  errors().last_error = 0;
  EXPECT_FALSE(stream.close());
  reports += errors().last_error == 2 ? 1 : 0;
  EXPECT_EQ(reports, 1);
  EXPECT_TRUE(stream.failed());
  EXPECT_FALSE(state.hardcopy.active);
}

TEST_F(OutputStreamTest, FailureThatShowsOnlyAtCloseIsStillReported) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "/dev/full is not available";
  }
  OutputStream stream;
  ASSERT_TRUE(stream.open("/dev/full"));
  stream.write_line("short enough to stay in the buffer");
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_FALSE(stream.close());
  EXPECT_EQ(errors().last_error, 2);
}

}  // namespace
}  // namespace quill
