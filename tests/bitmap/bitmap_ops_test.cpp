#include <gtest/gtest.h>

#include "base/error_state.hpp"
#include "bitmap/bitmap_ops.hpp"
#include "graphics/drawing_state.hpp"
#include "quill/bitmap.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"

namespace {

using quill::BitwiseMode;
using quill::MemoryBitmap;

class BitmapOps : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_bitmaps_for_tests();
    IErrorReset();
  }
  void TearDown() override {
    quill::reset_bitmaps_for_tests();
    quill::reset_drawing_for_tests();
  }
};

// Each bitwise mode on stored values, for a palette and a true-colour depth.
TEST_F(BitmapOps, BitwiseModesCombineStoredValues) {
  struct Case {
    BitwiseMode mode;
    int depth;
    std::uint32_t target, source, expected;
  } cases[] = {
      {BitwiseMode::Copy, 8, 0xF0, 0x3C, 0x3C},
      {BitwiseMode::And, 8, 0xF0, 0x3C, 0x30},
      {BitwiseMode::Or, 8, 0xF0, 0x3C, 0xFC},
      {BitwiseMode::Xor, 8, 0xF0, 0x3C, 0xCC},
      {BitwiseMode::Invert, 8, 0xF0, 0x3C, 0xC3},
      {BitwiseMode::Invert, 4, 0, 0x5, 0xA},
      {BitwiseMode::Xor, 24, 0xFF00FF, 0x0F0F0F, 0xF00FF0},
      {BitwiseMode::Invert, 32, 0, 0x123456, 0xEDCBA9},
      {BitwiseMode::Invert, 16, 0, 0xF800, 0x07FF},
  };
  for (const Case& c : cases) {
    MemoryBitmap source(3, 2, c.depth), target(3, 2, c.depth);
    source.fill_span(1, 0, 2, c.source);
    target.fill_span(1, 0, 2, c.target);
    quill::copy_pixels(source, {0, 1, 3, 1}, target, 0, 1, c.mode);
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(target.value(x, 1), c.expected)
          << "mode " << static_cast<int>(c.mode) << " depth " << c.depth;
    }
    EXPECT_EQ(target.value(0, 0), target.native_value({255, 255, 255})) << "row 0 untouched";
  }
}

TEST_F(BitmapOps, CopyClipsToBothBitmapsAndHandlesOverlap) {
  MemoryBitmap b(4, 1, 8);
  for (int x = 0; x < 4; ++x) b.fill_span(0, x, x, static_cast<std::uint32_t>(x + 1));
  // Overlapping copy to the right within one bitmap reads the old pixels: 1 2 3 4 -> 1 1 2 3.
  quill::copy_pixels(b, {0, 0, 4, 1}, b, 1, 0, BitwiseMode::Copy);
  EXPECT_EQ((std::vector<std::uint32_t>{b.value(0, 0), b.value(1, 0), b.value(2, 0), b.value(3, 0)}),
            (std::vector<std::uint32_t>{1, 1, 2, 3}));
  // A box starting left of the source moves its destination along.
  MemoryBitmap t(4, 1, 8);
  t.fill_span(0, 0, 3, 9);
  quill::copy_pixels(b, {-2, 0, 4, 1}, t, 0, 0, BitwiseMode::Copy);
  EXPECT_EQ((std::vector<std::uint32_t>{t.value(0, 0), t.value(1, 0), t.value(2, 0), t.value(3, 0)}),
            (std::vector<std::uint32_t>{9, 9, 1, 1}));
}

TEST_F(BitmapOps, CopyBetweenDepthsKeepsColours) {
  MemoryBitmap source(2, 1, 24), target(2, 1, 4);
  source.fill_span(0, 0, 0, source.native_value({255, 0, 0}));
  source.fill_span(0, 1, 1, source.native_value({0, 0, 255}));
  quill::copy_pixels(source, {0, 0, 2, 1}, target, 0, 0, BitwiseMode::Copy);
  EXPECT_EQ(target.pixel(0, 0).red, 255);
  EXPECT_EQ(target.pixel(1, 0).blue, 255);
  EXPECT_EQ(target.pixel(1, 0).red, 0);
}

// A 3 x 2 bitmap with distinct values, turned by each angle: new size and where the
// original top-left and top-right pixels land.
TEST_F(BitmapOps, RotationMovesCornersCounterClockwise) {
  for (int depth : {4, 8, 16, 24, 32}) {
    MemoryBitmap b(3, 2, depth);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) b.fill_span(y, x, x, static_cast<std::uint32_t>(1 + x + 3 * y));
    }
    const auto r90 = quill::rotated(b, 90), r180 = quill::rotated(b, 180), r270 = quill::rotated(b, 270);
    EXPECT_EQ(r90->width(), 2);
    EXPECT_EQ(r90->height(), 3);
    EXPECT_EQ(r90->value(0, 0), 3U) << depth;  // top-right goes to top-left
    EXPECT_EQ(r90->value(0, 2), 1U) << depth;  // top-left goes to bottom-left
    EXPECT_EQ(r180->value(0, 0), 6U) << depth;
    EXPECT_EQ(r180->value(2, 1), 1U) << depth;
    EXPECT_EQ(r270->value(1, 0), 1U) << depth;  // top-left goes to top-right
    EXPECT_EQ(r270->value(0, 2), 6U) << depth;
  }
}

TEST_F(BitmapOps, PublicRoutinesReportTheirCodes) {
  int h = 0;
  WBitmapCreate(h, 4, 3, 8);
  ASSERT_EQ(IErrorCode(), 0);
  struct Case {
    const char* what;
    void (*call)(int);
    int code;
  } cases[] = {
      {"mode 5", [](int id) { WBitmapCopy(id, 0, 0, 1, 1, id, 1, 1, 5); }, 1043},
      {"free source", [](int id) { WBitmapCopy(id + 1, 0, 0, 1, 1, id, 1, 1); }, 1021},
      {"angle 45", [](int id) { WBitmapRotate(id, 45); }, 1090},
      {"angle 0", [](int id) { WBitmapRotate(id, 0); }, 1090},
      {"pixel outside", [](int id) { WBitmapPutPixel(id, 4, 0, 1); }, 1066},
      {"colour beyond table", [](int id) { WBitmapPutPixel(id, 0, 0, 256); }, 1066},
      {"no drawable", [](int id) { WBitmapCopy(0, 0, 0, 1, 1, id, 0, 0); }, 1019},
  };
  for (const Case& c : cases) {
    IErrorReset();
    c.call(h);
    EXPECT_EQ(IErrorCode(), c.code) << c.what;
  }
  int colour = 0;
  IErrorReset();
  WBitmapGetPixel(h, -1, 0, colour);
  EXPECT_EQ(IErrorCode(), 1066);
  EXPECT_EQ(colour, -1);
  // A metafile as the current drawable refuses pixel work.
  quill::drawing().drawable.kind = quill::DrawableKind::Metafile;
  IErrorReset();
  WBitmapGetPixel(0, 0, 0, colour);
  EXPECT_EQ(IErrorCode(), 1065);
  quill::drawing().drawable = quill::Drawable{};
}

TEST_F(BitmapOps, PixelsRoundTripAndRotationKeepsTheHandle) {
  int h = 0;
  WBitmapCreate(h, 5, 2, 24);
  WBitmapPutPixel(h, 4, 0, 0x3366CC);
  int colour = 0;
  WBitmapGetPixel(h, 4, 0, colour);
  EXPECT_EQ(colour, 0x3366CC);
  WBitmapRotate(h, 90);
  ASSERT_EQ(IErrorCode(), 0);
  ASSERT_NE(quill::bitmap_slot(h), nullptr);
  EXPECT_EQ(quill::bitmap_slot(h)->width(), 2);
  WBitmapGetPixel(h, 0, 0, colour);
  EXPECT_EQ(colour, 0x3366CC);
  // Drawing the bitmap as the current drawable: copy from it (handle 0) to a second one.
  int other = 0;
  WBitmapCreate(other, 2, 5, 24);
  IGrSelect(2, h);
  WBitmapCopy(0, 0, 0, 1, 1, other, 1, 4, BitmapXorMode);
  WBitmapGetPixel(other, 1, 4, colour);
  EXPECT_EQ(colour, 0x3366CC ^ 0xFFFFFF);
  EXPECT_EQ(IErrorCode(), 0);
}

}  // namespace
