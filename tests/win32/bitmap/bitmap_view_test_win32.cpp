// Bitmap views under Wine: real key presses, wheel turns and drags scroll the view and
// come back as EvViewScroll; other input carries bitmap pixels; drawing into the bitmap
// shows; image fields take memory bitmaps and metafiles. Also times scrolling a large
// bitmap.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/error_state.hpp"
#include "bitmap_test_ids.h"
#include "core/window_table.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "quill/bitmap.hpp"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"
#include "quill/events.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"
#include "quill/metafile.hpp"
#include "quill/window.hpp"
#include "test_support_win32.hpp"

namespace {

using win32_test::take_error;

using win32_test::Event;
using win32_test::next_input_event;

HWND view_window(int n) { return quill::windows().windows[static_cast<std::size_t>(n)].converted; }

class BitmapView : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::errors() = quill::ErrorState{};
    int width = 700, height = 500;
    WindowOpen(7, 10, 10, &width, &height, std::nullopt, {}, std::nullopt, "Bitmap view test");
    WEventEnable(EvViewScroll, 1);
    WEventEnable(EvMouseUp, 1);
    WBitmapCreate(bitmap_, 2000, 1500, 24);
    WindowOpenChild(window_, std::nullopt, 1000, 1000, 3000, 3000, "View");
    WindowSelect(window_);
    WBitmapView(bitmap_);
    ASSERT_EQ(take_error(), 0);
    ASSERT_NE(view_window(window_), nullptr);
    SetForegroundWindow(quill::windows().windows[static_cast<std::size_t>(window_)].frame);
    SetFocus(view_window(window_));
    win32_test::drain(150);
  }
  void TearDown() override {
    WindowShutdown();
    quill::reset_bitmaps_for_tests();
    quill::errors() = quill::ErrorState{};
  }
  void expect_scroll(int x, int y, const char* what) {
    const Event e = next_input_event();
    ASSERT_EQ(e.type, EvViewScroll) << what;
    EXPECT_EQ(e.record.window, window_) << what;
    EXPECT_EQ(e.record.detail3, 2) << what;
    EXPECT_EQ(e.record.detail1, x) << what;
    EXPECT_EQ(e.record.detail2, y) << what;
    EXPECT_EQ(e.record.pixel_x, x) << what;
    EXPECT_EQ(e.record.pixel_y, y) << what;
  }
  int bitmap_ = 0;
  int window_ = 0;
};

TEST_F(BitmapView, KeysWheelAndDragScroll) {
  RECT view{};
  GetClientRect(view_window(window_), &view);
  const int page = view.bottom - 16;
  win32_test::press(VK_DOWN);
  expect_scroll(0, 16, "arrow down");
  win32_test::press(VK_RIGHT);
  expect_scroll(16, 16, "arrow right");
  win32_test::press(VK_NEXT);
  expect_scroll(16, 16 + page, "page down");
  win32_test::press(VK_HOME);
  expect_scroll(0, 0, "home");
  win32_test::press(VK_UP);
  win32_test::press(VK_END);
  expect_scroll(2000 - view.right, 1500 - view.bottom, "end (up at the top gives nothing)");
  win32_test::press(VK_HOME);
  expect_scroll(0, 0, "home again");

  POINT centre{view.right / 2, view.bottom / 2};
  ClientToScreen(view_window(window_), &centre);
  SetCursorPos(centre.x, centre.y);
  win32_test::mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
  expect_scroll(0, 48, "wheel towards the user");

  // Drag up and left by 30 and 20 pixels: the picture follows the pointer.
  win32_test::mouse(MOUSEEVENTF_LEFTDOWN);
  Event e = next_input_event();
  ASSERT_EQ(e.type, EvMouseDown);
  EXPECT_EQ(e.record.detail3, 2);
  EXPECT_EQ(e.record.pixel_x, view.right / 2);
  EXPECT_EQ(e.record.pixel_y, 48 + view.bottom / 2) << "positions are bitmap pixels";
  SetCursorPos(centre.x - 30, centre.y - 20);
  win32_test::mouse(MOUSEEVENTF_MOVE);
  expect_scroll(30, 68, "drag");
  win32_test::mouse(MOUSEEVENTF_LEFTUP);
  e = next_input_event();
  EXPECT_EQ(e.type, EvMouseUp);

  // A key that does not scroll arrives as a key of the view, with the bitmap pixel under
  // the pointer and its graphics units (the bitmap's range 0..1, y upwards).
  win32_test::press('Q');
  e = next_input_event();
  ASSERT_EQ(e.type, EvKey);
  EXPECT_EQ(e.record.detail1, 'q');
  EXPECT_EQ(e.record.detail3, 2);
  EXPECT_EQ(e.record.pixel_x, 30 + view.right / 2 - 30);
  EXPECT_NEAR(e.record.graph_x, (e.record.pixel_x + 0.5f) / 2000.0f, 1e-4);
  EXPECT_NEAR(e.record.graph_y, (1500 - e.record.pixel_y - 0.5f) / 1500.0f, 1e-4);
}

TEST_F(BitmapView, ZoomFitAndRefusals) {
  WBitmapView(bitmap_, ViewZoom, 4.0f);
  int x = -1, y = -1;
  float zoom = 0.0f;
  WBitmapViewQuery(x, y, zoom);
  EXPECT_FLOAT_EQ(zoom, 4.0f);
  win32_test::press(VK_DOWN);
  expect_scroll(0, 4, "a zoomed line is 16 window pixels");
  WBitmapView(bitmap_, ViewFit);
  WBitmapViewQuery(x, y, zoom);
  EXPECT_LT(zoom, 1.0f);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(take_error(), 0);

  WBitmapView(bitmap_, 7);
  EXPECT_EQ(take_error(), 1039);
  WBitmapView(bitmap_ + 1);
  EXPECT_EQ(take_error(), 1021);
  WBitmapDestroy(bitmap_);
  EXPECT_EQ(take_error(), 1036);
  int other = 0;
  WindowOpenChild(other);
  WindowSelect(other);
  WBitmapView(bitmap_);
  EXPECT_EQ(take_error(), 1037);
  WBitmapViewScroll(1, 1);
  EXPECT_EQ(take_error(), 1096);
  // Giving the window back frees the bitmap.
  WindowSelect(window_);
  WBitmapView(0);
  EXPECT_EQ(view_window(window_), nullptr);
  WBitmapDestroy(bitmap_);
  EXPECT_EQ(take_error(), 0);
}

// Drawing into the bitmap shows in the view without the application repainting.
TEST_F(BitmapView, ViewRepaintsFromTheBitmap) {
  IGrSelect(2, bitmap_);
  IGrColourN(0x0000FF);
  IGrFillPattern(4);
  IGrRectangle(0.0f, 0.0f, 1.0f, 1.0f);
  win32_test::drain(150);
  HWND view = view_window(window_);
  UpdateWindow(view);
  HDC dc = GetDC(view);
  const COLORREF shown = GetPixel(dc, 10, 10);
  ReleaseDC(view, dc);
  EXPECT_EQ(shown, RGB(255, 0, 0));
}

// One scroll step of an 8000 x 8000 bitmap: the key's message and the repaint it causes.
TEST_F(BitmapView, ScrollingALargeBitmapTakesMilliseconds) {
  int large = 0;
  WBitmapCreate(large, 8000, 8000, 24);
  ASSERT_EQ(take_error(), 0);
  IGrSelect(2, large);
  IGrColourN(0xFF8000);
  IGrFillPattern(4);
  IGrCircle(0.5f, 0.5f, 0.4f);
  WindowSelect(window_);
  WBitmapView(large);
  WindowSize(5500, 6500);
  win32_test::drain(200);
  HWND view = view_window(window_);
  RECT r{};
  GetClientRect(view, &r);
  // The fastest of three rounds, so that other programs' load weighs less.
  LARGE_INTEGER frequency{}, start{}, end{};
  QueryPerformanceFrequency(&frequency);
  constexpr int kSteps = 100, kRounds = 3;
  double ms = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kSteps; ++i) {
      SendMessageA(view, WM_KEYDOWN, i % 2 == 0 ? VK_DOWN : VK_RIGHT, 0);
      UpdateWindow(view);
    }
    GdiFlush();
    QueryPerformanceCounter(&end);
    ms = std::min(ms, 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart) / kSteps);
  }
  std::printf("scrolling 8000x8000 in a %ldx%ld view: %.2f ms per step\n", r.right, r.bottom, ms);
  int x = 0, y = 0;
  float zoom = 0.0f;
  WBitmapViewQuery(x, y, zoom);
  EXPECT_EQ(x, kRounds * kSteps / 2 * 16);
  EXPECT_EQ(y, kRounds * kSteps / 2 * 16);
  EXPECT_LT(ms, 16.0) << "one step repaints within a frame";
}

// WDialogPutImage types 3 and 4 at every bitmap depth.
TEST(ImageFields, MemoryBitmapsAndMetafiles) {
  quill::errors() = quill::ErrorState{};
  int width = 300, height = 200;
  WindowOpen(7, 10, 10, &width, &height, std::nullopt, {}, std::nullopt, "Image field test");
  WDialogLoad(BT_DIALOG);
  ASSERT_EQ(take_error(), 0);
  HWND field = nullptr;
  const auto shown_pixel = [&field](int x, int y) {
    HBITMAP image = reinterpret_cast<HBITMAP>(SendMessageA(field, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, image, 0, 0, nullptr, &info, DIB_RGB_COLORS);
    const int w = info.bmiHeader.biWidth, h = std::abs(info.bmiHeader.biHeight);
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biHeight = -h;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    GetDIBits(dc, image, 0, static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return pixels[static_cast<std::size_t>(y * w + x)] & 0xFFFFFF;  // 0xRRGGBB
  };
  field = GetDlgItem(quill::windows().windows[0].frame, BT_IMAGE);
  for (HWND w = nullptr;
       field == nullptr && (w = FindWindowExA(nullptr, w, nullptr, "Image field")) != nullptr;) {
    field = GetDlgItem(w, BT_IMAGE);
  }
  ASSERT_NE(field, nullptr);
  for (int depth : {4, 8, 16, 24, 32}) {
    int h = 0;
    WBitmapCreate(h, 8, 6, depth);
    ASSERT_EQ(take_error(), 0) << "bitmap " << depth;
    // Red: number 9 of the 16 colours, 31 of the toolkit palette, or the value.
    WBitmapPutPixel(h, 1, 2, depth == 4 ? 9 : depth == 8 ? 31 : 0x0000FF);
    WDialogPutImage(BT_IMAGE, h, 3);
    ASSERT_EQ(take_error(), 0) << depth;
    EXPECT_EQ(shown_pixel(0, 0), 0xFFFFFFU) << depth;
    const std::uint32_t red = shown_pixel(1, 2);
    EXPECT_GE(red >> 16, 0xC0U) << depth;
    EXPECT_LT(red & 0xFFFFU, 0x4040U) << depth;
    WBitmapDestroy(h);
  }
  int metafile = 0;
  WMetafileCreate(metafile);
  IGrSelect(4, metafile);
  IGrColourN(0xFF0000);
  IGrFillPattern(4);
  IGrRectangle(0.0f, 0.0f, 1.0f, 1.0f);
  IGrSelect(1, 0);
  WDialogPutImage(BT_IMAGE, metafile, 4);
  ASSERT_EQ(take_error(), 0);
  EXPECT_EQ(shown_pixel(5, 5), 0x0000FFU) << "the metafile's blue";
  WDialogPutImage(BT_IMAGE, 21, 4);
  EXPECT_EQ(take_error(), 1015);
  WDialogPutImage(BT_IMAGE, metafile + 1, 4);
  EXPECT_EQ(take_error(), 1061);
  WDialogPutImage(BT_IMAGE, 49, 3);
  EXPECT_EQ(take_error(), 1015);
  WindowShutdown();
}

}  // namespace
