// Graphics units of events: pixels of an event's window or field through the user range
// over the area, with the event's target current only for the moment.
#include <gtest/gtest.h>

#include "graphics/event_units.hpp"
#include "quill/graphics.hpp"

namespace quill {
namespace {

Drawable window_of(int id, double width, double height) {
  Drawable target;
  target.kind = DrawableKind::Window;
  target.id = id;
  target.width = width;
  target.height = height;
  return target;
}

class EventUnitsTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_drawing_for_tests(); }
  void TearDown() override { reset_drawing_for_tests(); }
};

TEST_F(EventUnitsTest, PixelMiddlesThroughTheUserRangeRowsFromTheBottom) {
  IGrUnits(0, 0, 100, 50);
  const Drawable target = window_of(0, 400, 300);
  // Across the usable width 399.99 (and height 299.99) of the drawable.
  const EventUnits corner = event_units(target, EventPixels{0, 299, 0, 0});
  EXPECT_NEAR(corner.x, 0.5 * 100 / 399.99, 1e-5);
  EXPECT_NEAR(corner.y, 0.5 * 50 / 299.99, 1e-5);
  const EventUnits far = event_units(target, EventPixels{399, 0, 0, 0});
  EXPECT_NEAR(far.x, 399.5 * 100 / 399.99, 1e-4);
  EXPECT_NEAR(far.y, 299.5 * 50 / 299.99, 1e-4);
  const EventUnits middle = event_units(target, EventPixels{199, 149, 0, 0});
  EXPECT_NEAR(middle.x, 199.5 * 100 / 399.99, 1e-4);
  EXPECT_NEAR(middle.y, 150.5 * 50 / 299.99, 1e-4);
}

TEST_F(EventUnitsTest, TheAreaNarrowsTheRangeAndPixelsOutsideItExtendIt) {
  IGrUnits(-10, 0, 10, 1);
  IGrArea(0.5F, 0.0F, 1.0F, 0.5F);
  const Drawable target = window_of(0, 201.01, 101.01);  // usable 201 x 101
  // The area's left edge lies at drawing x 100.5, its top at drawing y 50.5; row 50's
  // middle is at 101.01 - 50.5.
  EXPECT_NEAR(event_units(target, EventPixels{100, 100, 0, 0}).x, -10.0, 1e-4);
  EXPECT_NEAR(event_units(target, EventPixels{100, 50, 0, 0}).y, 50.51 / 50.5, 1e-5);
  EXPECT_NEAR(event_units(target, EventPixels{150, 100, 0, 0}).y, 0.51 / 50.5, 1e-5);
  EXPECT_NEAR(event_units(target, EventPixels{0, 0, 0, 0}).x, -10.0 - 100.0 / 100.5 * 20.0, 1e-3);
  const EventUnits size = event_units(target, EventPixels{-1, -1, 201, 101});
  EXPECT_NEAR(size.width, 40.0, 1e-4);
  EXPECT_NEAR(size.height, 2.0, 1e-4);
  EXPECT_EQ(size.x, 0.0F);  // no position
}

TEST_F(EventUnitsTest, TheCurrentDrawableComesBackAfterwards) {
  IGrUnits(0, 0, 10, 10);
  Drawable& current = drawing().drawable;
  current.kind = DrawableKind::Bitmap;
  current.id = 3;
  set_drawable_size(64, 32);
  const Area before = drawing().area;
  Drawable field;
  field.kind = DrawableKind::Field;
  field.dialog = 102;
  field.id = 1005;
  field.width = 20;
  field.height = 10;
  const EventUnits units = event_units(field, EventPixels{9, 4, 0, 0});
  EXPECT_NEAR(units.x, 9.5 * 10 / 19.99, 1e-4);
  EXPECT_NEAR(units.y, 5.5 * 10 / 9.99, 1e-4);
  EXPECT_EQ(current.kind, DrawableKind::Bitmap);
  EXPECT_EQ(current.id, 3);
  EXPECT_EQ(current.width, 64.0);
  EXPECT_EQ(drawing().area.width, before.width);
  EXPECT_EQ(drawing().area.height, before.height);
}

TEST_F(EventUnitsTest, AnEmptyTargetGivesTheLowerBoundsNotInfinities) {
  IGrUnits(5, 7, 9, 11);
  const EventUnits units = event_units(window_of(0, 0, 0), EventPixels{3, 3, 2, 2});
  EXPECT_EQ(units.x, 5.0F);
  EXPECT_EQ(units.y, 7.0F);
  EXPECT_EQ(units.width, 0.0F);
  EXPECT_EQ(units.height, 0.0F);
}

}  // namespace
}  // namespace quill
