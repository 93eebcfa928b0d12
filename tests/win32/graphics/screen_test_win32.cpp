// The screen driver under Wine: what is drawn shows in the root window's client area,
// stays there across repaints and resizes, and a hardcopy of a window drawing scales it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/window_table.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/routines.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/window.hpp"
#include "base/error_state.hpp"

namespace {

HWND client() { return quill::windows().windows[0].client; }

void pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

COLORREF pixel(int x, int y) {
  HDC dc = GetDC(client());
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(client(), dc);
  return colour;
}

class Screen : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_drawing_for_tests();
    int width = 400, height = 300;
    WindowOpen(7, std::nullopt, std::nullopt, &width, &height, std::nullopt, {}, std::nullopt, "Screen");
    width_ = width;
    height_ = height;
    IGrSelect(1, 0);
    pump(300);
  }
  void TearDown() override {
    quill::graphics_shutdown();
    WindowShutdown();
    quill::reset_drawing_for_tests();
  }
  int width_ = 0, height_ = 0;
};

TEST_F(Screen, DrawingShowsAndSurvivesRepaints) {
  EXPECT_EQ(quill::drawing().drawable.width, width_);
  IGrUnits(0, 0, 100, 100);
  IGrFillPattern(4);
  IGrColour("red");
  IGrRectangle(0, 0, 50, 100);
  IGrColour("blue");
  IGrCircle(75, 50, 10);
  pump(300);
  const int left = width_ / 4, right = width_ * 3 / 4, middle = height_ / 2;
  EXPECT_EQ(pixel(left, middle), RGB(255, 0, 0));
  EXPECT_EQ(pixel(right, middle), RGB(0, 0, 255));
  EXPECT_EQ(pixel(right, 5), RGB(255, 255, 255));
  InvalidateRect(client(), nullptr, TRUE);
  UpdateWindow(client());
  pump(300);
  EXPECT_EQ(pixel(left, middle), RGB(255, 0, 0));
  EXPECT_EQ(pixel(right, middle), RGB(0, 0, 255));
  ShowWindow(quill::windows().windows[0].frame, SW_MINIMIZE);
  pump(300);
  ShowWindow(quill::windows().windows[0].frame, SW_RESTORE);
  pump(500);
  EXPECT_EQ(pixel(left, middle), RGB(255, 0, 0));
}

TEST_F(Screen, HardcopyOfAWindowDrawingScalesToThePage) {
  char directory[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, directory);
  const std::string file = std::string(directory) + "quill_screen_test.svg";
  IGrHardCopySelect(3);
  IGrHardCopy("S", file);
  IGrUnits(0, 0, 100, 100);
  IGrJoin(0, 0, 100, 100);
  IGrHardCopy("E");
  EXPECT_EQ(quill::errors().last_error, 0);
  std::FILE* in = std::fopen(file.c_str(), "rb");
  ASSERT_NE(in, nullptr);
  char buffer[4096] = {};
  const std::size_t size = std::fread(buffer, 1, sizeof buffer - 1, in);
  std::fclose(in);
  std::remove(file.c_str());
  // The window's full extent maps onto the 640 x 480 page.
  EXPECT_NE(std::string(buffer, size).find("<line x1=\"0\" y1=\"480\" x2=\"640\" y2=\"0\"/>"),
            std::string::npos);
}

}  // namespace
