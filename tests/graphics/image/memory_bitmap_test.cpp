// Memory bitmaps: creation and freeing, drawing into them at every depth, and saving
// their areas through the public routines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "graphics/image/memory_bitmap.hpp"
#include "image_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"
#include "quill/metafile.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

using test::pixels_of;
using test::selected_bitmap;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};

bool same(Rgb a, Rgb b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

class MemoryBitmapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
    errors().last_error = 0;
  }
  void TearDown() override {
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
  }
};

TEST_F(MemoryBitmapTest, CreationRefusesBadSizesAndDepths) {
  struct Case {
    int width, height, depth, error;
  };
  for (const Case c : {Case{0, 10, 24, 1020}, Case{10, -1, 24, 1020}, Case{10, 10, 12, 1020},
                       Case{10, 10, 1, 1020}, Case{100000, 100000, 32, 1109}}) {
    int handle = 77;
    errors().last_error = 0;
    WBitmapCreate(handle, c.width, c.height, c.depth);
    EXPECT_EQ(errors().last_error, c.error) << c.width << "x" << c.height << "x" << c.depth;
    EXPECT_EQ(handle, 77);
  }
}

TEST_F(MemoryBitmapTest, NumbersRunOutAndFreedNumbersAreReusedAndRefused) {
  int handle = 0;
  for (int i = 1; i <= kMaxBitmaps; ++i) {
    WBitmapCreate(handle, 2, 2);
    ASSERT_EQ(handle, i);
  }
  WBitmapCreate(handle, 2, 2);
  EXPECT_EQ(errors().last_error, 1020);
  WBitmapDestroy(7);
  EXPECT_EQ(bitmap_slot(7), nullptr);
  errors().last_error = 0;
  IGrSelect(2, 7);
  EXPECT_EQ(errors().last_error, 1019);
  WBitmapDestroy(7);
  EXPECT_EQ(errors().last_error, 1021);
  WBitmapCreate(handle, 3, 3);
  EXPECT_EQ(handle, 7);
  errors().last_error = 0;
  IGrSelect(2, 7);
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_EQ(drawing().drawable.width, 3.0);
}

TEST_F(MemoryBitmapTest, ShapesAtEveryDepth) {
  for (const int depth : {4, 8, 16, 24, 32}) {
    SCOPED_TRACE(depth);
    MemoryBitmap& bitmap = selected_bitmap(40, 30, depth);
    EXPECT_EQ(drawing().drawable.true_colour, depth > 8);
    IGrColour("red");
    IGrFillPattern(4);
    IGrRectangle(2.0F, 2.0F, 10.0F, 10.0F);  // rows 20..27, columns 2..9
    IGrCircle(25.0F, 20.0F, 4.0F);           // centre column 25, row 10
    IGrFillPattern(0);
    IGrJoin(0.0F, 15.5F, 40.0F, 15.5F);  // row 14
    IGrCircle(25.0F, 20.0F, 8.0F);       // outline through column 33, row 10
    const struct {
      int x, y;
      Rgb colour;
    } probes[] = {{2, 27, kRed},  {9, 20, kRed},    {1, 27, kWhite}, {10, 20, kWhite}, {2, 28, kWhite},
                  {25, 10, kRed}, {25, 5, kWhite},  {0, 14, kRed},   {39, 14, kRed},   {0, 13, kWhite},
                  {32, 10, kRed}, {31, 10, kWhite}, {35, 10, kWhite}};
    for (const auto& p : probes) {
      EXPECT_TRUE(same(bitmap.pixel(p.x, p.y), p.colour)) << "pixel " << p.x << "," << p.y;
    }
    reset_bitmaps_for_tests();
  }
}

TEST_F(MemoryBitmapTest, PolygonsArcsPointsAndImages) {
  MemoryBitmap& bitmap = selected_bitmap(20, 20, 24);
  IGrColourN(0x00FF00);
  IGrFillPattern(4);
  const float xs[] = {1.0F, 9.0F, 1.0F};
  const float ys[] = {1.0F, 1.0F, 9.0F};
  IGrPolygon(xs, ys);                          // lower left triangle
  IGrSector(15.0F, 15.0F, 4.0F, 0.0F, 90.0F);  // upper right quarter disc
  IGrPoint(10.5F, 10.5F);
  const std::uint32_t image[] = {0x0000FF, 0xFF0000, 0x000000, 0xFFFFFF};
  IGrImage(0.0F, 12.0F, 4.0F, 16.0F, image, 2, 2);
  const Rgb green{0, 255, 0};
  EXPECT_TRUE(same(bitmap.pixel(2, 17), green));
  EXPECT_TRUE(same(bitmap.pixel(7, 12), kWhite));  // beyond the hypotenuse
  EXPECT_TRUE(same(bitmap.pixel(16, 3), green));
  EXPECT_TRUE(same(bitmap.pixel(13, 3), kWhite));  // left of the sector
  EXPECT_TRUE(same(bitmap.pixel(16, 6), kWhite));  // below it
  EXPECT_TRUE(same(bitmap.pixel(10, 9), green));
  EXPECT_TRUE(same(bitmap.pixel(0, 4), kRed));
  EXPECT_TRUE(same(bitmap.pixel(3, 4), (Rgb{0, 0, 255})));
  EXPECT_TRUE(same(bitmap.pixel(0, 7), (Rgb{0, 0, 0})));
  EXPECT_TRUE(same(bitmap.pixel(3, 7), kWhite));
}

TEST_F(MemoryBitmapTest, LinesFarOutsideAreCutToTheBitmapAndBadPointsDrawNothing) {
  MemoryBitmap& bitmap = selected_bitmap(20, 20, 8);
  IGrColour("red");
  IGrJoin(-1e9F, 10.25F, 1e9F, 10.25F);  // row 9
  IGrJoin(5.25F, -1e9F, 5.25F, 1e9F);    // column 5
  IGrJoin(std::nanf(""), 3.0F, 5.0F, 5.0F);
  IGrJoin(1e30F, 1e30F, 2e30F, 2e30F);
  IGrPoint(-5.0F, 5.0F);
  IGrFillPattern(4);
  const float xs[] = {-1e20F, 1e20F, 0.0F};
  const float ys[] = {-1e20F, -1e20F, std::nanf("")};
  IGrPolygon(xs, ys);
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(same(bitmap.pixel(i, 9), kRed)) << i;
    EXPECT_TRUE(same(bitmap.pixel(5, i), kRed)) << i;
  }
  int coloured = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      coloured += same(bitmap.pixel(x, y), kRed) ? 1 : 0;
    }
  }
  EXPECT_EQ(coloured, 39);
}

TEST_F(MemoryBitmapTest, LineStylesLeaveGapsThatRunOnAlongAPolyline) {
  MemoryBitmap& bitmap = selected_bitmap(120, 10, 24);
  IGrColourN(0x000000);
  const auto count_row = [&](int y) {
    int dark = 0, runs = 0;
    bool previous = false;
    for (int x = 0; x < 120; ++x) {
      const bool on = bitmap.pixel(x, y).red == 0;
      dark += on ? 1 : 0;
      runs += on && !previous ? 1 : 0;
      previous = on;
    }
    return std::pair{dark, runs};
  };
  IGrJoin(0.0F, 8.5F, 120.0F, 8.5F);  // solid: row 1
  IGrLineType(1);                     // dashes of 9 pixels, gaps of 4.5
  IGrJoin(0.0F, 5.5F, 120.0F, 5.5F);  // row 4
  const float xs[] = {0.0F, 7.0F, 50.0F, 120.0F};
  const float ys[] = {2.5F, 2.5F, 2.5F, 2.5F};
  IGrPolyLine(xs, ys);  // row 7, the pattern runs across the joints
  EXPECT_EQ(count_row(1), (std::pair{120, 1}));
  const auto dashed = count_row(4);
  EXPECT_EQ(dashed.second, 9);
  EXPECT_GT(dashed.first, 75);
  EXPECT_LE(dashed.first, 92);  // each dash paints both end pixels
  EXPECT_EQ(count_row(7), dashed);
}

TEST_F(MemoryBitmapTest, MixedFillTakesTheMeanOfTwoColours) {
  MemoryBitmap& bitmap = selected_bitmap(10, 10, 24);
  IGrColourN(0x0000FF);
  IGrColourN(0xFF0000);
  IGrFillPattern(3);
  IGrRectangle(0.0F, 0.0F, 10.0F, 10.0F);
  EXPECT_TRUE(same(bitmap.pixel(5, 5), (Rgb{127, 0, 127})));
}

TEST_F(MemoryBitmapTest, SavedFilesHoldTheDrawnPixelsAtEveryDepth) {
  if (!test::have_pillow()) {
    GTEST_SKIP() << "Pillow for /usr/bin/python3 is not installed";
  }
  test::TempDir dir;
  for (const int depth : {4, 8, 16, 24, 32}) {
    MemoryBitmap& bitmap = selected_bitmap(23, 17, depth);
    IGrFillPattern(4);
    for (int i = 0; i < 8; ++i) {
      IGrColourN(depth > 8 ? 0x102030 * (i + 1) : i * 29);
      IGrCircle(static_cast<float>(3 * i), static_cast<float>(2 * i), 4.5F);
    }
    const auto want = pixels_of(bitmap);
    for (const char* extension : {".png", ".bmp", ".pcx"}) {
      SCOPED_TRACE(std::to_string(depth) + extension);
      const auto path = dir.file("drawn" + std::to_string(depth) + extension);
      IGrSaveImage(path.string());
      ASSERT_EQ(errors().last_error, 0);
      std::string why;
      const auto read = test::read_with_pillow(path, why);
      ASSERT_TRUE(read.has_value()) << why;
      if (depth != 16 || std::string_view(extension) != ".bmp") {  // Pillow widens those its own way
        EXPECT_EQ(read->rgb, want);
      }
    }
    reset_bitmaps_for_tests();
  }
}

TEST_F(MemoryBitmapTest, SavesTheCurrentArea) {
  test::TempDir dir;
  selected_bitmap(40, 30, 24);
  IGrArea(0.25F, 0.5F, 0.75F, 1.0F);
  const auto path = dir.file("area.bmp");
  IGrSaveImage(path.string(), 1);
  ASSERT_EQ(errors().last_error, 0);
  const auto bmp = test::read_file(path);
  ASSERT_GE(bmp.size(), 26U);
  EXPECT_EQ(bmp[18] | (bmp[19] << 8), 20);
  EXPECT_EQ(bmp[22] | (bmp[23] << 8), 15);
}

TEST_F(MemoryBitmapTest, SaveFailuresAreReported) {
  test::TempDir dir;
  struct Case {
    std::string name;
    std::optional<int> format;
    int error;
  };
  const Case cases[] = {
      {dir.file("picture.gif").string(), std::nullopt, 27},
      {dir.file("noextension").string(), std::nullopt, 27},
      {dir.file("picture.png").string(), 7, 27},
      {"/nonexistent-dir/picture.png", std::nullopt, 1},
      {"/dev/full", 15, 2},
#ifdef _WIN32
      {"", 0, 0},  // the clipboard takes the bitmap
#else
      {"", 0, 1094},  // no clipboard without a window system
#endif
  };
  selected_bitmap(8, 8, 8);
  for (const Case& c : cases) {
    errors().last_error = 0;
    IGrSaveImage(c.name, c.format);
    EXPECT_EQ(errors().last_error, c.error) << c.name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("picture.gif")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("picture.png")));
  IGrSaveImage("/nonexistent-dir/picture.png");
  EXPECT_EQ(errors().file_error, test::kPathNotFound);
  EXPECT_EQ(errors().file_error_source, 2);
  reset_drawing_for_tests();
  errors().last_error = 0;
  IGrSaveImage(dir.file("none.png").string());
  EXPECT_EQ(errors().last_error, 1019);
}

TEST_F(MemoryBitmapTest, ExtensionIsMatchedWithoutCase) {
  test::TempDir dir;
  selected_bitmap(4, 4, 24);
  const auto path = dir.file("upper.PCX");
  IGrSaveImage(path.string());
  ASSERT_EQ(errors().last_error, 0);
  EXPECT_EQ(test::read_file(path).front(), 10);
}

}  // namespace
}  // namespace quill

namespace quill {
namespace {

// A 4-bit bitmap's area printed as an image through the PNG driver, and a bitmap by its
// number: the page holds the picture fitted inside the margins; the drawing state stays.
TEST_F(MemoryBitmapTest, PrintingAreasAndBitmapsAsImages) {
  int handle = 0, page = 0;
  WBitmapCreate(handle, 40, 20, 4);
  IGrSelect(2, handle);
  IGrUnits(0, 0, 2, 1);
  IGrFillPattern(4);
  IGrColour("red");
  IGrRectangle(0, 0, 1, 1);
  IGrColour("blue");
  IGrRectangle(1, 0, 2, 1);
  IGrHardCopySelect(6);
  for (const bool by_number : {false, true}) {
    if (by_number) {
      WBitmapPrint(handle, "print.png");
    } else {
      IGrPrintImage("print.png");
    }
    EXPECT_EQ(errors().last_error, 0);
    EXPECT_EQ(drawing().drawable.kind, DrawableKind::Bitmap);
    EXPECT_EQ(drawing().units.right, 2.0F);
    WBitmapLoad(page, "print.png");
    const MemoryBitmap& printed = *bitmap_slot(page);
    const int w = printed.width(), h = printed.height();
    EXPECT_TRUE(same(printed.pixel(w * 3 / 10, h / 2), kRed)) << by_number;
    EXPECT_TRUE(same(printed.pixel(w * 7 / 10, h / 2), Rgb{0, 0, 255})) << by_number;
    EXPECT_TRUE(same(printed.pixel(2, 2), kWhite)) << by_number;
    WBitmapDestroy(page);
  }
  std::remove("print.png");

  struct Case {
    const char* what;
    void (*print)();
    int error;
  };
  int metafile = 0;
  WMetafileCreate(metafile);
  IGrSelect(4, metafile);
  for (const Case& c : {Case{"metafile drawable", [] { IGrPrintImage("x.png"); }, 1064},
                        Case{"free bitmap number", [] { WBitmapPrint(49, "x.png"); }, 1021},
                        Case{"no drawable",
                             [] {
                               drawing().drawable = {};
                               IGrPrintImage("x.png");
                             },
                             1019}}) {
    errors().last_error = 0;
    c.print();
    EXPECT_EQ(errors().last_error, c.error) << c.what;
  }
  EXPECT_FALSE(std::ifstream("x.png").good());
}

}  // namespace
}  // namespace quill
