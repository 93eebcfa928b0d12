#include <gtest/gtest.h>

#include "bitmap/view_geometry.hpp"

namespace {

using quill::ViewGeometry;
using quill::ViewMode;

// The view of a bitmap_width x bitmap_height bitmap in a client_width x client_height
// window, laid out from mode, zoom and scroll position.
ViewGeometry laid_out(ViewGeometry g) {
  quill::layout_view(g);
  return g;
}

TEST(ViewGeometry, ScrollRangeFollowsModeAndZoom) {
  struct Case {
    ViewMode mode;
    double zoom;
    double expected_zoom;
    int max_x, max_y;
  } cases[] = {
      {ViewMode::Actual, 3.0, 1.0, 8000 - 800, 8000 - 600},
      {ViewMode::Zoom, 2.0, 2.0, 8000 - 400, 8000 - 300},
      {ViewMode::Zoom, 0.1, 0.1, 0, 2000},  // 8000 columns show whole in 800 pixels
      {ViewMode::Fit, 5.0, 0.075, 0, 0},
      {ViewMode::Zoom, 1000.0, quill::kMaxZoom, 8000 - 12, 8000 - 9},
  };
  for (const Case& c : cases) {
    const ViewGeometry g = laid_out({8000, 8000, 800, 600, c.mode, c.zoom, 99999, 99999});
    EXPECT_DOUBLE_EQ(g.zoom, c.expected_zoom);
    EXPECT_EQ(g.max_x(), c.max_x);
    EXPECT_EQ(g.max_y(), c.max_y);
    EXPECT_EQ(g.x, c.max_x) << "the position is clamped to the range";
    EXPECT_EQ(g.y, c.max_y);
  }
}

TEST(ViewGeometry, ScrollReportsOnlyChanges) {
  ViewGeometry g = laid_out({1000, 500, 400, 300, ViewMode::Actual});
  EXPECT_FALSE(quill::scroll_view(g, -5, 0));
  EXPECT_TRUE(quill::scroll_view(g, 10, 20));
  EXPECT_FALSE(quill::scroll_view(g, 10, 20));
  EXPECT_TRUE(quill::scroll_view(g, 5000, 5000));
  EXPECT_EQ(g.x, 600);
  EXPECT_EQ(g.y, 200);
  EXPECT_EQ(g.line_step(), 16);
  EXPECT_EQ(g.page_step_y(), 300 - 16);
  ViewGeometry zoomed = laid_out({1000, 500, 400, 300, ViewMode::Zoom, 4.0});
  EXPECT_EQ(zoomed.line_step(), 4) << "a step moves about 16 window pixels";
}

TEST(ViewGeometry, WindowPointsMapToBitmapPixels) {
  // 100 x 50 bitmap at zoom 2 in a 300 x 200 window: centred with margins 50 and 50.
  const ViewGeometry small = laid_out({100, 50, 300, 200, ViewMode::Zoom, 2.0});
  int bx = 0, by = 0;
  EXPECT_TRUE(quill::window_to_bitmap(small, 50, 50, bx, by));
  EXPECT_EQ(bx, 0);
  EXPECT_EQ(by, 0);
  EXPECT_TRUE(quill::window_to_bitmap(small, 249, 149, bx, by));
  EXPECT_EQ(bx, 99);
  EXPECT_EQ(by, 49);
  EXPECT_FALSE(quill::window_to_bitmap(small, 49, 60, bx, by));
  EXPECT_EQ(bx, -1);
  EXPECT_FALSE(quill::window_to_bitmap(small, 250, 60, bx, by));
  // Scrolled: window pixel 0 shows the position.
  const ViewGeometry big = laid_out({8000, 8000, 800, 600, ViewMode::Actual, 1.0, 1234, 567});
  EXPECT_TRUE(quill::window_to_bitmap(big, 10, 3, bx, by));
  EXPECT_EQ(bx, 1244);
  EXPECT_EQ(by, 570);
}

TEST(ViewGeometry, BlitCoversTheWindowFromThePosition) {
  const auto b = quill::view_blit(laid_out({8000, 8000, 801, 600, ViewMode::Zoom, 2.0, 100, 7999}));
  EXPECT_EQ(b.src_x, 100);
  EXPECT_EQ(b.src_y, 8000 - 300);
  EXPECT_EQ(b.src_width, 401) << "a partly shown column counts";
  EXPECT_EQ(b.src_height, 300);
  EXPECT_EQ(b.dst_width, 802);
  EXPECT_EQ(b.dst_x, 0);
  const auto fit = quill::view_blit(laid_out({400, 100, 200, 200, ViewMode::Fit}));
  EXPECT_EQ(fit.dst_width, 200);
  EXPECT_EQ(fit.dst_height, 50);
  EXPECT_EQ(fit.dst_y, 75);
}

}  // namespace
