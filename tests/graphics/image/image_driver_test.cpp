// Driver 6: the image hardcopy draws the same pixels as a memory bitmap and writes them
// in the format and depth its options choose.
#include <gtest/gtest.h>

#include "graphics/drawing_state.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "image_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

class ImageDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
    errors().last_error = 0;
  }
  void TearDown() override {
    IGrHardCopy("E");
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
  }

  static void start(int width, int height, const std::filesystem::path& file) {
    IGrHardCopySelect(6);
    IGrHardCopyOptions(1, width);
    IGrHardCopyOptions(2, height);
    IGrHardCopy("S", file.string());
  }

  // Edges kept away from pixel centres, so both ways of scaling cover the same pixels.
  static void draw_picture() {
    IGrUnits(0.0F, 0.0F, 64.0F, 48.0F);
    IGrFillPattern(4);
    IGrColourN(0x2040F0);
    IGrRectangle(3.25F, 4.25F, 20.75F, 30.75F);
    IGrColourN(0x00C000);
    IGrCircle(40.25F, 24.25F, 10.1F);
    IGrFillPattern(0);
    IGrColourN(0x000000);
    IGrJoin(1.25F, 40.25F, 60.25F, 44.25F);
    IGrSector(50.25F, 10.25F, 6.1F, 10.0F, 200.0F);
  }

  test::TempDir dir;
};

TEST_F(ImageDriverTest, HardcopyEqualsThePictureDrawnInAMemoryBitmap) {
  if (!test::have_pillow()) {
    GTEST_SKIP() << "Pillow for /usr/bin/python3 is not installed";
  }
  int handle = 0;
  WBitmapCreate(handle, 64, 48, 24);
  IGrSelect(2, handle);
  draw_picture();
  const auto want = test::pixels_of(*bitmap_slot(handle));
  reset_drawing_for_tests();

  const auto path = dir.file("picture.png");
  start(64, 48, path);
  draw_picture();
  IGrHardCopy("E");
  ASSERT_EQ(errors().last_error, 0);
  std::string why;
  const auto read = test::read_with_pillow(path, why);
  ASSERT_TRUE(read.has_value()) << why;
  EXPECT_EQ(read->width, 64);
  EXPECT_EQ(read->height, 48);
  EXPECT_EQ(read->rgb, want);
  const auto check = test::run_command("pngcheck -q '" + path.string() + "'");
  EXPECT_TRUE(!test::have_program("pngcheck") || check.status == 0) << check.output;
}

TEST_F(ImageDriverTest, OptionsChooseFormatExtensionAndDepth) {
  struct Case {
    int format, depth;
    const char* extension;
    std::uint8_t first_byte;
  };
  for (const Case c : {Case{1, 24, ".bmp", 'B'}, Case{2, 8, ".pcx", 10}, Case{15, 8, ".png", 137},
                       Case{15, 1, ".png", 137}}) {
    SCOPED_TRACE(c.extension);
    IGrHardCopySelect(6);
    IGrHardCopyOptions(1, 30);
    IGrHardCopyOptions(2, 20);
    IGrHardCopyOptions(26, c.format);
    IGrHardCopyOptions(23, c.depth);
    EXPECT_EQ(drawing().device.default_file, std::string("quilplot") + c.extension);
    const auto path = dir.file(std::string("option") + c.extension);
    IGrHardCopy("S", path.string());
    draw_picture();
    IGrHardCopy("E");
    ASSERT_EQ(errors().last_error, 0);
    const auto bytes = test::read_file(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes[0], c.first_byte);
    if (c.format == 15) {
      EXPECT_EQ(bytes[25], 3);  // colour type palette
      EXPECT_EQ(bytes[24], c.depth == 1 ? 4 : 8);
    }
    reset_drawing_for_tests();
  }
}

TEST_F(ImageDriverTest, FailuresAreReportedAndEndTheHardcopy) {
  struct Case {
    std::string file;
    int width, error;
  };
  for (const Case& c : {Case{"/nonexistent-dir/x.png", 20, 1}, Case{"/dev/full", 20, 2},
                        Case{dir.file("huge.png").string(), 100000, 34}}) {
    errors().last_error = 0;
    start(c.width, c.width, c.file);
    draw_picture();
    IGrHardCopy("E");
    EXPECT_EQ(errors().last_error, c.error) << c.file;
    EXPECT_FALSE(drawing().hardcopy.active);
    reset_drawing_for_tests();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("huge.png")));
}

}  // namespace
}  // namespace quill
