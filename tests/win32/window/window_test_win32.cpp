// The root window and the event loop under Wine, driven by real messages: SendInput,
// posted system commands, timers and invalidated areas.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/event_queue.hpp"
#include "core/window_layers.hpp"
#include "core/window_table.hpp"
#include "dialog/dialog_layer.hpp"
#include "layers/layers.hpp"
#include "base/error_state.hpp"
#include "quill/events.hpp"
#include "quill/window.hpp"
#include "test_support_win32.hpp"
#include "window_demo_ids.h"

namespace {

using win32_test::Event;
using win32_test::is_timeout;
using win32_test::mouse;
using win32_test::next_event;
using win32_test::next_input_event;
using win32_test::press;

const quill::WindowEntry& root() { return quill::windows().windows[0]; }

// Makes the root window the foreground window with the client area focused; another
// program's window can hold the foreground for a moment, so this tries a few times.
bool focus_root() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    SetForegroundWindow(root().frame);
    SetFocus(root().client);
    if (GetForegroundWindow() == root().frame && GetFocus() == root().client) return true;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(50);
  }
  return false;
}

POINT client_to_screen(int x, int y) {
  POINT p{x, y};
  ClientToScreen(root().client, &p);
  return p;
}

class RootWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const int toolbars[4] = {DEMO_TOOLBAR, 0, 0, 0};
    width_ = 400;
    height_ = 300;
    WindowOpen(7 | 32, std::nullopt, std::nullopt, &width_, &height_, DEMO_MENU, toolbars, std::nullopt,
               "Window tests  ");
    ASSERT_TRUE(quill::windows().open);
    ASSERT_TRUE(focus_root());
    drain();
  }
  void TearDown() override {
    IErrorMode(0);
    WindowShutdown();
  }
  // Lets the window system settle: whatever is queued now is processed and dropped.
  static void drain() { win32_test::drain(150); }
  int width_ = 0;
  int height_ = 0;
};

TEST_F(RootWindow, ClientHasTheRequestedSizeWithToolbarAndStatusBarAround) {
  EXPECT_EQ(width_, 400);
  EXPECT_EQ(height_, 300);
  RECT client{};
  GetClientRect(root().client, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  ASSERT_NE(root().status_bar, nullptr);
  EXPECT_EQ(GetDlgCtrlID(root().status_bar), 999);
  EXPECT_TRUE(GetWindowLongA(root().status_bar, GWL_STYLE) & SBARS_SIZEGRIP);
  ASSERT_NE(root().toolbars[0], nullptr);

  // The whole frame is centred, status bar and toolbar included.
  RECT frame{};
  GetWindowRect(root().frame, &frame);
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(frame.left, (sw - (frame.right - frame.left)) / 2, 1);
  EXPECT_NEAR(frame.top, (sh - (frame.bottom - frame.top)) / 2, 1);

  // The caption loses its trailing blanks.
  char caption[64] = {};
  GetWindowTextA(root().frame, caption, sizeof caption);
  EXPECT_STREQ(caption, "Window tests");
}

TEST_F(RootWindow, MenuIdentifierTableNamesThePopUps) {
  auto id_at = [](HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID;
    return GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) ? static_cast<int>(info.wID) : -1;
  };
  HMENU bar = GetMenu(root().frame);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(id_at(bar, 0), CMD_FILE);
  EXPECT_EQ(id_at(bar, 1), CMD_VIEW);
  EXPECT_EQ(id_at(GetSubMenu(bar, 1), 0), CMD_MORE);
  EXPECT_EQ(id_at(GetSubMenu(GetSubMenu(bar, 1), 0), 0), CMD_DEEP);  // untouched
}

TEST_F(RootWindow, ToolbarButtonsFollowTheirMenuItems) {
  HWND bar = root().toolbars[0];
  EXPECT_EQ(GetDlgCtrlID(bar), DEMO_TOOLBAR);
  EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 5);
  const LRESULT checked = SendMessageA(bar, TB_GETSTATE, CMD_CHECKED, 0);
  const LRESULT greyed = SendMessageA(bar, TB_GETSTATE, CMD_GREYED, 0);
  const LRESULT plain = SendMessageA(bar, TB_GETSTATE, CMD_NEW, 0);
  EXPECT_TRUE(checked & TBSTATE_CHECKED);
  EXPECT_TRUE(checked & TBSTATE_ENABLED);
  EXPECT_FALSE(greyed & TBSTATE_ENABLED);
  EXPECT_TRUE(plain & TBSTATE_ENABLED);
  EXPECT_FALSE(plain & TBSTATE_CHECKED);

  // A click on a toolbar button arrives like the menu command.
  RECT button{};
  ASSERT_TRUE(SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button)));
  POINT p{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ClientToScreen(bar, &p);
  SetCursorPos(p.x, p.y);
  mouse(MOUSEEVENTF_LEFTDOWN);
  mouse(MOUSEEVENTF_LEFTUP);
  const Event e = next_input_event();
  EXPECT_EQ(e.type, EvCommand);
  EXPECT_EQ(e.record.detail1, CMD_NEW);
}

TEST_F(RootWindow, CloseRequestLeavesTheWindowOpen) {
  PostMessageA(root().frame, WM_SYSCOMMAND, SC_CLOSE, 0);
  const Event e = next_input_event();
  EXPECT_EQ(e.type, EvCloseAsked);
  EXPECT_EQ(e.record.window, 0);
  EXPECT_EQ(e.record.detail1, -1);
  EXPECT_TRUE(IsWindow(root().frame));
  EXPECT_TRUE(IsWindowVisible(root().frame));
}

TEST_F(RootWindow, MenuCommandsAndAcceleratorsArriveAsCommands) {
  PostMessageA(root().frame, WM_COMMAND, MAKEWPARAM(CMD_GO, 0), 0);
  Event e = next_input_event();
  EXPECT_EQ(e.type, EvCommand);
  EXPECT_EQ(e.record.detail1, CMD_GO);
  EXPECT_EQ(e.record.detail2, -1);
  EXPECT_EQ(e.record.pixel_x, -1);

  struct Case {
    WORD key;
    std::vector<WORD> modifiers;
    int command;
  };
  const Case cases[] = {{VK_F5, {}, CMD_GO}, {'N', {VK_CONTROL}, CMD_NEW}, {VK_NUMPAD1, {}, CMD_KEYPAD1}};
  for (const Case& c : cases) {
    ASSERT_TRUE(focus_root());
    press(c.key, c.modifiers);
    e = next_input_event();
    EXPECT_EQ(e.type, EvCommand) << "key " << c.key;
    EXPECT_EQ(e.record.detail1, c.command) << "key " << c.key;
  }
}

TEST_F(RootWindow, KeysGiveTheirCodes) {
  struct Case {
    WORD key;
    std::vector<WORD> modifiers;
    int code;
  };
  const Case cases[] = {
      {VK_F1, {}, 301},
      {VK_F1, {VK_SHIFT}, 321},
      {VK_F1, {VK_CONTROL}, 341},
      {VK_UP, {VK_SHIFT}, 262},
      {VK_PRIOR, {}, 262},
      {VK_UP, {}, 258},
      {VK_LEFT, {VK_CONTROL}, 269},
      {VK_TAB, {VK_SHIFT}, 274},
      {'A', {}, 'a'},
      {'A', {VK_SHIFT}, 'A'},
      {VK_RETURN, {}, 13},
      {VK_NUMPAD5, {}, 285},
      {VK_MULTIPLY, {}, 294},
      {VK_DELETE, {}, 273},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(focus_root());
    press(c.key, c.modifiers);
    const Event e = next_input_event();
    EXPECT_EQ(e.type, EvKey) << "key " << c.key;
    EXPECT_EQ(e.record.detail1, c.code) << "key " << c.key;
    EXPECT_EQ(e.record.detail2, -1);
    EXPECT_EQ(e.record.detail3, 0);
  }
}

TEST_F(RootWindow, NothingArrivesForLoneModifiersOrDisabledKeys) {
  // A lone Shift gives nothing: the timer's tick is what arrives.
  press(VK_SHIFT);
  EXPECT_TRUE(is_timeout(next_input_event(400)));

  WEventEnable(EvKey, 0);
  int state = 1;
  WEventEnabled(EvKey, state);
  EXPECT_EQ(state, 0);
  ASSERT_TRUE(focus_root());
  press('B');
  EXPECT_TRUE(is_timeout(next_input_event(400)));
  // Not deferred either: once enabled again, the earlier key does not come back.
  WEventEnable(EvKey, 1);
  EXPECT_TRUE(is_timeout(next_input_event(300)));
}

TEST_F(RootWindow, MouseButtonsAndWheelInClientCoordinates) {
  const POINT p = client_to_screen(50, 60);
  SetCursorPos(p.x, p.y);
  drain();
  mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
  Event e = next_input_event();
  EXPECT_EQ(e.type, EvMouseDown);
  EXPECT_EQ(e.record.detail1, 4);
  EXPECT_EQ(e.record.pixel_x, 50);
  EXPECT_EQ(e.record.pixel_y, 60);
  EXPECT_EQ(e.record.unit_x, quill::pixel_to_units(50, 400));

  mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
  e = next_input_event();
  EXPECT_EQ(e.record.detail1, 5);

  WEventEnable(EvMouseUp, 1);
  mouse(MOUSEEVENTF_RIGHTDOWN);
  e = next_input_event();
  EXPECT_EQ(e.type, EvMouseDown);
  EXPECT_EQ(e.record.detail1, 3);
  EXPECT_EQ(e.record.detail2 & 16, 16);
  EXPECT_EQ(GetCapture(), root().client);
  mouse(MOUSEEVENTF_RIGHTUP);
  e = next_input_event();
  EXPECT_EQ(e.type, EvMouseUp);
  EXPECT_EQ(e.record.detail1, 3);
  EXPECT_EQ(GetCapture(), nullptr);
  // Graphics units: the default range 0..1 over the drawable's usable extent (size less
  // 0.01, as the drawing routines map it), the row counted from the bottom.
  EXPECT_NEAR(e.record.graph_x, 50.5 / 399.99, 1e-6);
  EXPECT_NEAR(e.record.graph_y, (300.0 - 60.0 - 1.0 + 0.5) / 299.99, 1e-6);
}

// Invalidates the listed rectangles of the root client area, each painted at once,
// from inside the loop's own dispatch (a thread timer's callback).
std::vector<RECT> g_invalid;
void CALLBACK invalidate_now(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  for (const RECT& r : g_invalid) {
    InvalidateRect(root().client, &r, FALSE);
    UpdateWindow(root().client);
  }
}

TEST_F(RootWindow, RepaintsOfOneFetchMergeIntoTheWholeClientArea) {
  // One repaint keeps its own rectangle.
  g_invalid = {RECT{10, 20, 30, 50}};
  SetTimer(nullptr, 0, 10, invalidate_now);
  Event e = next_event();
  EXPECT_EQ(e.type, EvRepaint);
  EXPECT_EQ(e.record.pixel_x, 10);
  EXPECT_EQ(e.record.pixel_y, 20);
  EXPECT_EQ(e.record.pixel_w, 20);
  EXPECT_EQ(e.record.pixel_h, 30);
  EXPECT_EQ(e.record.detail1, quill::pixel_to_units(29, 400) - quill::pixel_to_units(10, 400));

  g_invalid = {RECT{10, 20, 30, 50}, RECT{100, 100, 120, 110}};
  SetTimer(nullptr, 0, 10, invalidate_now);
  e = next_event();
  EXPECT_EQ(e.type, EvRepaint);
  EXPECT_EQ(e.record.pixel_x, 0);
  EXPECT_EQ(e.record.pixel_y, 0);
  EXPECT_EQ(e.record.pixel_w, 400);
  EXPECT_EQ(e.record.pixel_h, 300);
  // Only one repaint: the next thing to arrive is the timeout.
  EXPECT_TRUE(is_timeout(next_event(300)));
}

void CALLBACK resize_now(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  RECT frame{};
  GetWindowRect(root().frame, &frame);
  SetWindowPos(root().frame, nullptr, 0, 0, frame.right - frame.left + 40, frame.bottom - frame.top + 20,
               SWP_NOMOVE | SWP_NOZORDER);
}

TEST_F(RootWindow, ResizeReportsTheNewClientSize) {
  SetTimer(nullptr, 0, 10, resize_now);
  const Event e = next_event();
  EXPECT_EQ(e.type, EvResized);
  EXPECT_EQ(e.record.detail1, 440);
  EXPECT_EQ(e.record.detail2, 320);
  EXPECT_EQ(e.record.pixel_w, 440);
  EXPECT_EQ(e.record.pixel_x, -1);
}

TEST_F(RootWindow, TimersRepeatOnTheClientAndFireOnceOnTheFrame) {
  WEventTimer(30, 3, 1);
  for (int i = 0; i < 2; ++i) {
    const Event e = next_event();
    EXPECT_EQ(e.type, EvTimerTick);
    EXPECT_EQ(e.record.detail1, 3);
  }
  WEventTimer(0, 3, 0);
  WEventTimer(30, 4, 0);
  Event e = next_event();
  EXPECT_EQ(e.record.detail1, 4);
  // The one-shot timer does not come back, and timer 3 is stopped.
  e = next_event(300);
  EXPECT_TRUE(is_timeout(e));

  const DWORD start = GetTickCount();
  WEventDelay(25);
  EXPECT_GE(GetTickCount() - start, 240u);
}

TEST_F(RootWindow, StatusBarTextsAndParts) {
  auto part_text = [](int part) {
    char text[128] = {};
    SendMessageA(root().status_bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return std::string(text);
  };
  WindowStatusBar(1, "First part");
  EXPECT_EQ(part_text(0), "First part");
  WindowStatusBar(0, "ignored");
  WindowStatusBar(256, "ignored");
  EXPECT_EQ(part_text(0), "First part");

  const int widths[] = {100, -1};
  WindowStatusBarParts(widths);
  std::array<int, 4> edges{};
  ASSERT_EQ(SendMessageA(root().status_bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges.data())), 2);
  EXPECT_EQ(edges[0], 100);
  RECT bar{};
  GetClientRect(root().status_bar, &bar);
  EXPECT_EQ(edges[1], bar.right);
  EXPECT_EQ(part_text(0), "First part");

  // Report mode 3 writes the report line into part 1.
  IErrorMode(3);
  IErrorReport(1003, "YYWINSEL");
  EXPECT_NE(part_text(0).find("Error=1003"), std::string::npos) << part_text(0);
}

TEST_F(RootWindow, WindowSelectionAndScreenQueries) {
  quill::errors().last_error = 0;
  WindowSelect(7);
  EXPECT_EQ(quill::errors().last_error, 1003);
  quill::errors().last_error = 0;
  WindowSelect(0);
  EXPECT_EQ(quill::errors().last_error, 0);

  EXPECT_EQ(WScreenQuery(1), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(WScreenQuery(2), GetSystemMetrics(SM_CYSCREEN));
  if (GetSystemMetrics(SM_CXSCREEN) == 1280) {
    EXPECT_EQ(WScreenQuery(1) - 360, 920);
  }
  EXPECT_EQ(WScreenQuery(6), static_cast<int>(GetSysColor(COLOR_WINDOWTEXT)));
  EXPECT_EQ(WScreenQuery(23), static_cast<int>(GetSysColor(COLOR_GRAYTEXT)));
  EXPECT_TRUE(WScreenQuery(27) == 0 || WScreenQuery(27) == 1);

  EXPECT_EQ(WindowUnitsToPixelsX(9999), 399);
  EXPECT_EQ(WindowUnitsToPixelsY(0), 0);
  EXPECT_EQ(WindowPixelsToUnitsX(399), quill::pixel_to_units(399, 400));
}

// Stand-ins for the dialog manager behind the combination hooks: a 300 by 200 dialog
// that cannot be resized, or a dialog that is not in the resources.
int g_measure_result = 0;
quill::CombinedMeasure measure_fixed(int, HWND) { return {g_measure_result, 300, 200, false}; }
quill::CombinedLoad load_static(int, HWND client, HWND) {
  return {CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, client, nullptr,
                          GetModuleHandleA(nullptr), nullptr),
          0};
}

TEST(RootWindowLifecycle, CombinedDialogSetsSizeAndFixesTheFrame) {
  // A stand-in for the dialog manager, registered through the same seam in its place.
  quill::register_window_layers();
  quill::WindowLayer stand_in;
  stand_in.name = "dialog";
  stand_in.measure_combined = measure_fixed;
  stand_in.load_combined = load_static;
  quill::register_layer(stand_in);

  struct Case {
    int measure;
    int code;
    int client_w;
    bool combined;
  };
  // Without the dialog the window opens maximised as asked (its size is the screen's).
  const Case cases[] = {{0, 0, 300, true}, {1007, 1007, -1, false}};
  for (const Case& c : cases) {
    g_measure_result = c.measure;
    quill::errors().last_error = 0;
    int w = 500;
    int h = 400;
    WindowOpen(7 | 8 | 32, 920, 8, &w, &h, std::nullopt, {}, 102, "Combined");
    EXPECT_EQ(quill::errors().last_error, c.code);
    if (c.client_w > 0) {
      EXPECT_EQ(w, c.client_w);
    }
    EXPECT_EQ(root().kind == quill::WindowKind::CombinedDialog, c.combined);
    const LONG style = GetWindowLongA(root().frame, GWL_STYLE);
    // Without a resize anchor: no sizing border, no maximise box, not maximised.
    EXPECT_EQ((style & WS_THICKFRAME) == 0, c.combined);
    EXPECT_EQ((style & WS_MAXIMIZEBOX) == 0, c.combined);
    EXPECT_EQ(IsZoomed(root().frame) == 0, c.combined);
    EXPECT_EQ((GetWindowLongA(root().status_bar, GWL_STYLE) & SBARS_SIZEGRIP) == 0, c.combined);
    if (c.combined) {
      RECT frame{};
      GetWindowRect(root().frame, &frame);
      EXPECT_EQ(frame.left, 920);
      EXPECT_EQ(frame.top, 8);
    }
    WindowShutdown();
  }
  quill::register_dialog_layer();
}

TEST(RootWindowLifecycle, PeekReturnsQueuedEventsWithoutWaiting) {
  int w = 200;
  int h = 100;
  WindowOpen(7, std::nullopt, std::nullopt, &w, &h);
  int type = -1;
  EventRecord record;
  PostMessageA(root().frame, WM_COMMAND, MAKEWPARAM(40010, 0), 0);
  for (int i = 0; i < 10 && type != EvCommand; ++i) WEventPeek(type, record);
  EXPECT_EQ(type, EvCommand);
  EXPECT_EQ(record.detail1, 40010);
  for (int i = 0; i < 10 && type != 0; ++i) WEventPeek(type, record);
  EXPECT_EQ(type, 0);
  WindowShutdown();
}

TEST(RootWindowLifecycle, HiddenWindowReportsNoResize) {
  int w = 200;
  int h = 100;
  WindowOpen(7 | 128, std::nullopt, std::nullopt, &w, &h);
  EXPECT_FALSE(IsWindowVisible(root().frame));
  SetTimer(nullptr, 0, 10, resize_now);
  EXPECT_TRUE(is_timeout(next_event(400)));
  RECT client{};
  GetClientRect(root().client, &client);
  EXPECT_EQ(client.right, 240);  // resized all the same
  WindowShutdown();
}

TEST(RootWindowLifecycle, DefaultsOpenTwiceAndShutdown) {
  WindowOpen();
  const quill::WindowEntry& entry = root();
  HWND first = entry.frame;
  ASSERT_NE(first, nullptr);
  const LONG style = GetWindowLongA(first, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_THICKFRAME);
  RECT client{};
  GetClientRect(entry.client, &client);
  EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN) * 80 / 100);
  EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYSCREEN) * 80 / 100);
  EXPECT_EQ(GetMenu(first), nullptr);

  WindowOpen(64);  // still open: nothing happens
  EXPECT_EQ(root().frame, first);

  WEventEnable(EvMouseMotion, 1);
  WindowShutdown();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(root().frame, nullptr);
  int state = 1;
  WEventEnabled(EvMouseMotion, state);
  EXPECT_EQ(state, 0);

  // Fixed size, placed where asked, no grip; a later open works again.
  int w = 200;
  int h = 100;
  WindowOpen(1 | 32 | 64, 30, 40, &w, &h);
  RECT frame{};
  GetWindowRect(root().frame, &frame);
  EXPECT_EQ(frame.left, 30);
  EXPECT_EQ(frame.top, 40);
  EXPECT_FALSE(GetWindowLongA(root().frame, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_FALSE(GetWindowLongA(root().frame, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_FALSE(GetWindowLongA(root().status_bar, GWL_STYLE) & SBARS_SIZEGRIP);
  EXPECT_EQ(w, 200);
  EXPECT_EQ(h, 100);
  WindowShutdown();
}

}  // namespace
