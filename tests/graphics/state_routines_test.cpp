#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "graphics/drawing_state.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class GraphicsState : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    errors().last_error = 0;
  }
  void TearDown() override { reset_drawing_for_tests(); }
};

// A request of IGrUnits or IGrArea: its four bounds, the error and the four bounds after.
struct BoundsCase {
  float l, b, r, t;
  int error;
  float left, bottom, right, top;
};

TEST_F(GraphicsState, UnitsResetOnlyTheFailingDirection) {
  const BoundsCase cases[] = {
      {0, 0, 0, 1, 16, 0, 0, 1, 1},
      {-5, 2, 5, 10, 0, -5, 2, 5, 10},
      {-5, 10, 5, 2, 16, -5, 0, 5, 1},
      {kNaN, 0, 1, 4, 16, 0, 0, 1, 4},
  };
  for (const BoundsCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.l << " " << c.b);
    errors().last_error = 0;
    IGrUnits(c.l, c.b, c.r, c.t);
    const UserRange& u = drawing().units;
    EXPECT_EQ(errors().last_error, c.error);
    EXPECT_EQ((std::array{u.left, u.bottom, u.right, u.top}), (std::array{c.left, c.bottom, c.right, c.top}));
    EXPECT_EQ(u.width, c.right - c.left);
    EXPECT_EQ(u.height, c.top - c.bottom);
  }
}

TEST_F(GraphicsState, AreaChecksEachDirection) {
  const BoundsCase cases[] = {
      {0.5F, 0, 0.5F, 1, 44, 0, 0, 1, 1},
      {0.1F, 0.2F, 0.6F, 0.9F, 0, 0.1F, 0.2F, 0.6F, 0.9F},
      {0, 0, 1.5F, 1, 44, 0, 0, 1, 1},
      {0, 1, 1, 1, 44, 0, 0, 1, 1},
      {0.25F, kNaN, 0.75F, 1, 44, 0.25F, 0, 0.75F, 1},
  };
  set_drawable_size(1000.01, 500.01);
  for (const BoundsCase& c : cases) {
    SCOPED_TRACE(c.l);
    errors().last_error = 0;
    IGrArea(c.l, c.b, c.r, c.t);
    const Area& a = drawing().area;
    EXPECT_EQ(errors().last_error, c.error);
    EXPECT_EQ((std::array{a.left, a.bottom, a.right, a.top}), (std::array{c.left, c.bottom, c.right, c.top}));
    EXPECT_NEAR(a.width, (c.right - c.left) * 1000.0, 1e-3);
  }
}

TEST_F(GraphicsState, PresentationRangeKeepsFallingBounds) {
  IPgArea(10, 5, 2, 8);
  const PresentationRange& p = drawing().presentation;
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_EQ(p.x.width, -8.0F);
  EXPECT_EQ(p.x.min, 2.0F);
  EXPECT_EQ(p.x.max, 10.0F);
  IPgArea(3, 4, 3, 9);
  EXPECT_EQ(errors().last_error, 16);
  EXPECT_EQ(p.x.lower, 0.0F);
  EXPECT_EQ(p.x.upper, 1.0F);
  EXPECT_EQ(p.y.width, 5.0F);
}

TEST_F(GraphicsState, NamedColoursOnPaletteAndTrueColourDrawables) {
  struct Case {
    const char* name;
    bool true_colour;
    int expected;  // -1: error 42, colour unchanged
  };
  const Case cases[] = {
      {"WHITE", false, 0},      {"blue", false, 159},
      {"black", false, 223},    {"Purple", false, -1},
      {"BRED", false, 31},      {"brightgreen", false, 31},
      {"bgreen", false, 95},    {"blu", true, 0xFF0000},
      {"red", true, 0x0000FF},  {"Yellow", true, 0x00FFFF},
      {"cyan", true, 0xFFFF00}, {"magenta", true, 0xFF00FF},
      {"", true, -1},
  };
  for (const Case& c : cases) {
    reset_drawing_for_tests();
    drawing().drawable.true_colour = c.true_colour;
    drawing().colour.current = 77;
    errors().last_error = 0;
    IGrColour(c.name);
    if (c.expected < 0) {
      EXPECT_EQ(errors().last_error, 42) << c.name;
      EXPECT_EQ(drawing().colour.current, 77) << c.name;
    } else {
      EXPECT_EQ(errors().last_error, 0) << c.name;
      EXPECT_EQ(drawing().colour.current, c.expected) << c.name;
      EXPECT_EQ(drawing().colour.previous, 77) << c.name;
    }
  }
}

TEST_F(GraphicsState, ColourNumbersAndIntensities) {
  drawing().drawable.true_colour = false;
  IGrColourN(256);
  EXPECT_EQ(errors().last_error, 42);
  EXPECT_EQ(drawing().colour.current, 0);
  IGrColourN(31);  // full red on the palette
  EXPECT_DOUBLE_EQ(drawing().colour.red, 1.0);
  EXPECT_DOUBLE_EQ(drawing().colour.green, 0.0);
  drawing().drawable.true_colour = true;
  errors().last_error = 0;
  IGrColourN(0x336699);
  EXPECT_EQ(errors().last_error, 0);
  EXPECT_DOUBLE_EQ(drawing().colour.red, 0x99 / 255.0);
  EXPECT_DOUBLE_EQ(drawing().colour.blue, 0x33 / 255.0);
  EXPECT_EQ(drawing().colour.previous, 31);
  // The palette's ramps run from white to the full colour; 223 is black.
  EXPECT_EQ(palette_colour(0).green, 255);
  EXPECT_EQ(palette_colour(223).red, 0);
  EXPECT_EQ(palette_colour(159).blue, 255);
  EXPECT_EQ(palette_colour(159).red, 0);
}

TEST_F(GraphicsState, SelectFallsBackToWindowOneForInvalidDrawables) {
  struct Case {
    int kind, id, error, kind_after, id_after;
  };
  const Case cases[] = {
      {1, 3, 0, 1, 3},    {1, 51, 1019, 1, 1}, {2, 1, 1019, 1, 1},
      {4, 5, 1019, 1, 1}, {4, 6, 0, 4, 6},     {3, 1, 1019, 1, 1},
  };
  drawing().metafile_used[6] = true;
  // Windows 0..50 exist whatever the window system says.
  const auto saved = registered_layers<DrawableLayer>();
  unregister_layer<DrawableLayer>("screen");
  for (const Case& c : cases) {
    errors().last_error = 0;
    IGrSelect(c.kind, c.id);
    EXPECT_EQ(errors().last_error, c.error) << c.kind << "/" << c.id;
    EXPECT_EQ(static_cast<int>(drawing().drawable.kind), c.kind_after);
    EXPECT_EQ(drawing().drawable.id, c.id_after);
  }
  registered_layers<DrawableLayer>() = saved;
}

TEST_F(GraphicsState, DegenerateDrawingSizesNeverDivideByZero) {
  for (double size : {0.0, 0.005, 0.01, -5.0, std::nan("")}) {
    EXPECT_EQ(driver_scale(756.0, size), 1.0) << size;
  }
  EXPECT_NEAR(driver_scale(756.0, 378.01), 2.0, 1e-12);
}

TEST_F(GraphicsState, MetafileDestroyChecksTheSlot) {
  drawing().metafile_used[20] = true;
  for (int handle : {0, 21, 3, -1}) {
    errors().last_error = 0;
    WMetafileDestroy(handle);
    EXPECT_EQ(errors().last_error, 1060) << handle;
  }
  errors().last_error = 0;
  WMetafileDestroy(20);
  EXPECT_EQ(errors().last_error, 0);
  WMetafileDestroy(20);
  EXPECT_EQ(errors().last_error, 1060);
}

TEST_F(GraphicsState, ShapesOfZeroSizeReportTheirErrors) {
  set_drawable_size(100.01, 100.01);
  struct Case {
    void (*draw)();
    int error;
  };
  const Case cases[] = {
      {[] { IGrRectangle(0.2F, 0.3F, 0.2F, 0.9F); }, 22},  {[] { IGrTriangle(0, 0, 0.5F, 0.5F, 1, 1); }, 22},
      {[] { IGrParallelogram(0, 0, 0.5F, 0, 1, 0); }, 22}, {[] { IGrCircle(0.5F, 0.5F, 0); }, 20},
      {[] { IGrEllipse(0.5F, 0.5F, 0.1F, 0); }, 20},       {[] { IGrCircle(0.5F, 0.5F, kNaN); }, 20},
      {[] { IGrArc(0.5F, 0.5F, 0.1F, 30, 0); }, 20},       {[] { IGrImage(0, 0, 1, 1, {}, 2, 2); }, 22},
      {[] { IGrRectangle(0.2F, 0.3F, 0.4F, 0.9F); }, 0},
  };
  for (const Case& c : cases) {
    errors().last_error = 0;
    c.draw();
    EXPECT_EQ(errors().last_error, c.error);
  }
}

}  // namespace
}  // namespace quill
