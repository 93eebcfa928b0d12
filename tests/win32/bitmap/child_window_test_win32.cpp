// Child windows under Wine: their events carry their numbers, they take part in grid
// windows and drawing, and the codes for what they refuse.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/error_state.hpp"
#include "bitmap_test_ids.h"
#include "core/window_table.hpp"
#include "quill/bitmap.hpp"
#include "quill/errors.hpp"
#include "quill/events.hpp"
#include "quill/graphics.hpp"
#include "quill/grid.hpp"
#include "quill/image.hpp"
#include "quill/window.hpp"
#include "test_support_win32.hpp"

namespace {

using win32_test::take_error;

using win32_test::next_input_event;

const quill::WindowEntry& entry(int n) { return quill::windows().windows[static_cast<std::size_t>(n)]; }

class ChildWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::errors() = quill::ErrorState{};
    int width = 600, height = 400;
    WindowOpen(7, 20, 20, &width, &height, std::nullopt, {}, std::nullopt, "Child window test");
    win32_test::drain(100);
  }
  void TearDown() override {
    WindowShutdown();
    quill::errors() = quill::ErrorState{};
  }
  void focus(int n) {
    SetForegroundWindow(entry(n).inside_parent ? entry(0).frame : entry(n).frame);
    SetFocus(entry(n).client);
    win32_test::drain(100);
  }
};

TEST_F(ChildWindows, EventsCarryTheChildsNumber) {
  int top = 0, inside = 0;
  WindowOpenChild(top, std::nullopt, 100, 100, 3000, 3000, "Top-level child");
  WindowOpenChild(inside, WinInsideParent | WinSystemMenu, 500, 500, 4000, 4000, "Inside", BT_MENU);
  ASSERT_EQ(take_error(), 0);
  EXPECT_EQ(top, 1);
  EXPECT_EQ(inside, 2);
  EXPECT_EQ(GetParent(entry(inside).frame), entry(0).client);
  EXPECT_EQ(GetMenu(entry(inside).frame), nullptr) << "no menu bar inside the root";

  PostMessageA(entry(top).frame, WM_CLOSE, 0, 0);
  win32_test::Event e = next_input_event();
  EXPECT_EQ(e.type, EvCloseAsked);
  EXPECT_EQ(e.record.window, top);

  focus(top);
  win32_test::press('A');
  e = next_input_event();
  EXPECT_EQ(e.type, EvKey);
  EXPECT_EQ(e.record.window, top);

  // The inside window's menu still gives its accelerator's command.
  focus(inside);
  win32_test::press('H', {VK_CONTROL});
  e = next_input_event();
  EXPECT_EQ(e.type, EvCommand);
  EXPECT_EQ(e.record.detail1, BT_CMD_HELLO);
  EXPECT_EQ(e.record.window, inside);
}

TEST_F(ChildWindows, SizeCloseAndShutdown) {
  int n = 0;
  WindowOpenChild(n, WinInsideParent | WinSystemMenu, 0, 0, 5000, 5000);
  RECT root{};
  GetClientRect(entry(0).client, &root);
  RECT client{};
  GetClientRect(entry(n).client, &client);
  EXPECT_EQ(client.right, root.right * 5000 / 9999);
  WindowSelect(n);
  WindowSize(2500, 9999);
  GetClientRect(entry(n).client, &client);
  EXPECT_EQ(client.right, root.right * 2500 / 9999);
  EXPECT_EQ(client.bottom, root.bottom);

  const HWND frame = entry(n).frame;
  WindowCloseChild(n);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_EQ(quill::windows().current, 0) << "the root becomes current";
  WindowCloseChild(n);
  EXPECT_EQ(take_error(), 1003);

  int a = 0, b = 0;
  WindowOpenChild(a);
  WindowOpenChild(b, WinInsideParent);
  EXPECT_EQ(a, n) << "a closed number is used again";
  const HWND fa = entry(a).frame, fb = entry(b).frame;
  WindowShutdown();
  EXPECT_FALSE(IsWindow(fa));
  EXPECT_FALSE(IsWindow(fb));
  int c = 0;
  WindowOpenChild(c);
  EXPECT_EQ(take_error(), 1003) << "no root window";
  EXPECT_EQ(c, 0);
}

// Which conversions the root and child windows refuse.
TEST_F(ChildWindows, GridWindowsAndTheCodesForChildren) {
  int top = 0;
  WindowOpenChild(top);
  WindowSelect(top);
  WGridWindow(1);
  EXPECT_EQ(take_error(), 0) << "a child window becomes a grid window";
  EXPECT_NE(entry(top).converted, nullptr);
  int bitmap = 0;
  WBitmapCreate(bitmap, 10, 10);
  WBitmapView(bitmap);
  EXPECT_EQ(take_error(), 1038) << "a grid window does not become a view";

  int inside = 0;
  WindowOpenChild(inside, WinInsideParent, std::nullopt, std::nullopt, std::nullopt, std::nullopt, "",
                  BT_MENU);
  WindowSelect(inside);
  WGridWindow(1);
  EXPECT_EQ(take_error(), 1051);
  WindowSelect(0);
  WGridWindow(1);
  EXPECT_EQ(take_error(), 1057);
  WBitmapView(bitmap);
  EXPECT_EQ(take_error(), 1022) << "only child windows show bitmaps";
  WindowCloseChild(inside);
  WGridWindow(1);
  EXPECT_EQ(take_error(), 0);
  int refused = 0;
  WindowOpenChild(refused, WinInsideParent);
  EXPECT_EQ(take_error(), 1056) << "nothing goes inside a grid window";
}

// IGrSelect(1, n) draws into child n's own back buffer; the root's stays white.
TEST_F(ChildWindows, DrawingIntoAChildWindow) {
  int n = 0;
  WindowOpenChild(n, std::nullopt, 200, 200, 2000, 2000);
  IGrSelect(1, n);
  ASSERT_EQ(take_error(), 0);
  IGrColourN(0x0000FF);
  IGrFillPattern(4);
  IGrRectangle(0.0f, 0.0f, 1.0f, 1.0f);
  int colour = 0;
  WBitmapGetPixel(0, 5, 5, colour);
  EXPECT_EQ(colour, 0x0000FF);
  // A bitmap copied with XOR onto the window's picture.
  int bitmap = 0;
  WBitmapCreate(bitmap, 4, 4, 24);
  WBitmapCopy(bitmap, 0, 0, 4, 4, 0, 2, 2, BitmapXorMode);
  WBitmapGetPixel(0, 3, 3, colour);
  EXPECT_EQ(colour, 0xFFFF00);
  WBitmapGetPixel(0, 1, 1, colour);
  EXPECT_EQ(colour, 0x0000FF);
  IGrSelect(1, 0);
  WBitmapGetPixel(0, 5, 5, colour);
  EXPECT_EQ(colour, 0xFFFFFF);
  EXPECT_EQ(take_error(), 0);
}

}  // namespace
