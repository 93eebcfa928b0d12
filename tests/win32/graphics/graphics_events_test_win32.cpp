// Events in the user units of the drawing state under Wine: real mouse input and repaints
// of the root window and of a dialog's graphics field, resizes of the drawn window (the
// back buffer keeps the drawing), and drawing into a graphics field.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "base/error_state.hpp"
#include "core/event_queue.hpp"
#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics_events_ids.h"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"
#include "quill/events.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"
#include "quill/window.hpp"
#include "test_support_win32.hpp"

namespace {

using win32_test::Event;
using win32_test::is_timeout;
using win32_test::mouse;
using win32_test::next_event;
using win32_test::next_input_event;

const quill::WindowEntry& root() { return quill::windows().windows[0]; }

// The user unit of a pixel's middle across extent pixels of which the area covers the
// fractions low..high, mapped onto user range lower..upper (as the drawing routines do).
double user_of(double pixel_middle, int extent, double low, double high, double lower, double upper) {
  const double usable = extent - 0.01;
  return lower + (pixel_middle - low * usable) / ((high - low) * usable) * (upper - lower);
}

double user_size(double pixels, int extent, double low, double high, double lower, double upper) {
  return pixels / ((high - low) * (extent - 0.01)) * (upper - lower);
}

COLORREF pixel_of(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

SIZE client_size(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right, r.bottom};
}

void click_at(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
  win32_test::drain(150);
  mouse(MOUSEEVENTF_LEFTDOWN);
  mouse(MOUSEEVENTF_LEFTUP);
}

// Resizes the frame so that the client area grows by dx, dy.
void grow_frame(int dx, int dy) {
  RECT r{};
  GetWindowRect(root().frame, &r);
  SetWindowPos(root().frame, nullptr, 0, 0, r.right - r.left + dx, r.bottom - r.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The same from inside the event loop's dispatch (a thread timer's callback), as a user's
// resize arrives.
SIZE g_growth{};
void CALLBACK grow_now(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  grow_frame(g_growth.cx, g_growth.cy);
}
void grow_frame_in_loop(int dx, int dy) {
  g_growth = SIZE{dx, dy};
  SetTimer(nullptr, 0, 10, grow_now);
}

// The next event of type, skipping others (repaints, resizes the window system adds).
Event next_of_type(int type) {
  for (int i = 0; i < 30; ++i) {
    Event e = next_event(1500);
    if (e.type == type || is_timeout(e)) return e;
  }
  return {};
}

class GraphicsEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_drawing_for_tests();
    int width = 400, height = 300;
    WindowOpen(7, std::nullopt, std::nullopt, &width, &height, std::nullopt, {}, std::nullopt, "Units");
    ASSERT_TRUE(quill::windows().open);
    SetForegroundWindow(root().frame);
    win32_test::drain(200);
    IGrUnits(0, 0, 100, 50);
    IGrArea(0.25F, 0.5F, 0.75F, 1.0F);
  }
  void TearDown() override {
    IErrorMode(0);
    WindowShutdown();
    quill::reset_drawing_for_tests();
  }

  // Loads the plot dialog into the root window with its static made a graphics field.
  HWND show_plot_field() {
    WDialogLoad(GE_PLOT_DIALOG);
    WDialogShow(0, 0);
    HWND field = GetDlgItem(quill::find_dialog(GE_PLOT_DIALOG), GE_PLOT);
    WDialogGraphicsField(GE_PLOT, 1);
    win32_test::drain(200);
    return field;
  }
};

TEST_F(GraphicsEvents, MouseClickCarriesUserUnitsOfTheWindow) {
  click_at(root().client, 150, 60);
  const Event e = next_input_event();
  ASSERT_EQ(e.type, EvMouseDown);
  EXPECT_EQ(e.record.detail3, 0);
  EXPECT_EQ(e.record.pixel_x, 150);
  EXPECT_EQ(e.record.pixel_y, 60);
  EXPECT_NEAR(e.record.graph_x, user_of(150.5, 400, 0.25, 0.75, 0, 100), 1e-3);
  EXPECT_NEAR(e.record.graph_y, user_of(300 - 60 - 0.5, 300, 0.5, 1.0, 0, 50), 1e-3);
  // Screen units stay the window's 0..9999.
  EXPECT_EQ(e.record.unit_x, quill::pixel_to_units(150, 400));
  // The drawing target is the same as before the event.
  EXPECT_EQ(quill::drawing().drawable.kind, quill::DrawableKind::Window);
  EXPECT_EQ(quill::drawing().drawable.width, 400.0);
  EXPECT_NEAR(quill::drawing().area.x, 0.25 * 399.99, 1e-6);
}

TEST_F(GraphicsEvents, RepaintCarriesItsAreaInUserUnits) {
  const RECT area{40, 30, 140, 130};
  InvalidateRect(root().client, &area, FALSE);
  const Event e = next_of_type(EvRepaint);
  ASSERT_EQ(e.type, EvRepaint);
  EXPECT_EQ(e.record.pixel_x, 40);
  EXPECT_EQ(e.record.pixel_y, 30);
  EXPECT_EQ(e.record.pixel_w, 100);
  EXPECT_EQ(e.record.pixel_h, 100);
  EXPECT_NEAR(e.record.graph_w, user_size(100, 400, 0.25, 0.75, 0, 100), 1e-3);
  EXPECT_NEAR(e.record.graph_h, user_size(100, 300, 0.5, 1.0, 0, 50), 1e-3);
  EXPECT_NEAR(e.record.graph_x, user_of(40.5, 400, 0.25, 0.75, 0, 100), 1e-3);
  EXPECT_NEAR(e.record.graph_y, user_of(300 - 30 - 0.5, 300, 0.5, 1.0, 0, 50), 1e-3);
}

TEST_F(GraphicsEvents, ResizeOfTheDrawnWindowKeepsTheDrawingAndTheNewSize) {
  IGrArea(0, 0, 1, 1);
  IGrUnits(0, 0, 400, 300);
  IGrFillPattern(4);
  IGrColour("red");
  IGrRectangle(10, 250, 60, 290);  // near the top-left corner
  win32_test::drain(200);
  ASSERT_EQ(pixel_of(root().client, 30, 30), RGB(255, 0, 0));
  grow_frame_in_loop(120, 90);
  const Event e = next_of_type(EvResized);
  ASSERT_EQ(e.type, EvResized);
  EXPECT_EQ(e.record.pixel_w, 520);
  EXPECT_EQ(e.record.pixel_h, 390);
  EXPECT_EQ(quill::drawing().drawable.width, 520.0);
  EXPECT_EQ(quill::drawing().drawable.height, 390.0);
  win32_test::drain(200);
  EXPECT_EQ(pixel_of(root().client, 30, 30), RGB(255, 0, 0));
  // The user range now spans the larger window: its far corner is drawable and shows.
  IGrColour("blue");
  IGrRectangle(380, 0, 400, 20);
  win32_test::drain(200);
  EXPECT_EQ(pixel_of(root().client, 510, 385), RGB(0, 0, 255));
}

TEST_F(GraphicsEvents, HiddenWindowResizeIsNotReportedButTheDrawingSizeFollows) {
  ShowWindow(root().frame, SW_HIDE);
  win32_test::drain(150);
  grow_frame_in_loop(-100, -50);
  const Event e = next_of_type(EvResized);
  EXPECT_TRUE(is_timeout(e));
  EXPECT_EQ(quill::drawing().drawable.width, 300.0);
  EXPECT_EQ(quill::drawing().drawable.height, 250.0);
}

TEST_F(GraphicsEvents, GraphicsFieldDrawsFromItsOwnBufferAndKeepsItsSizeApart) {
  HWND field = show_plot_field();
  const SIZE size = client_size(field);
  ASSERT_GT(size.cx, 20);
  IGrColour("red");
  IGrFillPattern(4);
  IGrRectangle(0, 0, 100, 50);  // the root window's area, outside the field
  IGrSelectField(GE_PLOT_DIALOG, GE_PLOT);
  EXPECT_EQ(quill::errors().last_error, 0);
  EXPECT_EQ(quill::drawing().drawable.kind, quill::DrawableKind::Field);
  EXPECT_EQ(quill::drawing().drawable.width, size.cx);
  // The field starts blank: the root window's drawing stays in the root's own buffer.
  InvalidateRect(field, nullptr, TRUE);
  UpdateWindow(field);
  win32_test::drain(200);
  ASSERT_EQ(pixel_of(root().client, 290, 140), RGB(255, 0, 0));
  EXPECT_EQ(pixel_of(field, size.cx - 5, 5), RGB(255, 255, 255));
  IGrArea(0, 0, 1, 1);
  IGrColour("blue");
  IGrRectangle(0, 0, 100, 50);
  win32_test::drain(200);
  EXPECT_EQ(pixel_of(field, size.cx / 2, size.cy / 2), RGB(0, 0, 255));
  InvalidateRect(field, nullptr, TRUE);
  UpdateWindow(field);
  win32_test::drain(200);
  EXPECT_EQ(pixel_of(field, size.cx / 2, size.cy / 2), RGB(0, 0, 255));
  // A resize of the root window leaves the field's drawing size alone.
  grow_frame(40, 30);
  win32_test::drain(300);
  EXPECT_EQ(quill::drawing().drawable.width, size.cx);
  // The field grows: its buffer follows, keeping what was drawn.
  SetWindowPos(field, nullptr, 0, 0, size.cx + 60, size.cy + 40, SWP_NOMOVE | SWP_NOZORDER);
  win32_test::drain(300);
  EXPECT_EQ(quill::drawing().drawable.width, size.cx + 60);
  EXPECT_EQ(pixel_of(field, size.cx / 2, size.cy / 2), RGB(0, 0, 255));
  IGrColour("green");
  IGrRectangle(90, 0, 100, 5);
  win32_test::drain(200);
  EXPECT_EQ(pixel_of(field, size.cx + 55, size.cy + 37), RGB(0, 255, 0));
  // The field's picture is saved as an image of the field alone.
  const std::string image = "quill_field_capture.bmp";
  std::remove(image.c_str());
  IGrSaveImage(image);
  EXPECT_EQ(quill::errors().last_error, 0);
  std::ifstream file(image, std::ios::binary);
  const std::vector<unsigned char> bmp((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
  file.close();
  ASSERT_GE(bmp.size(), 54U);
  EXPECT_EQ(bmp[18] | (bmp[19] << 8), size.cx + 60);
  EXPECT_EQ(bmp[22] | (bmp[23] << 8), size.cy + 40);
  std::remove(image.c_str());
}

TEST_F(GraphicsEvents, GraphicsFieldEventsCarryTheFieldsUserUnits) {
  HWND field = show_plot_field();
  const SIZE size = client_size(field);
  click_at(field, 20, 10);
  const Event e = next_input_event();
  ASSERT_EQ(e.type, EvMouseDown);
  EXPECT_EQ(e.record.window, GE_PLOT_DIALOG);
  EXPECT_EQ(e.record.detail1, 1);
  EXPECT_EQ(e.record.detail2 & 4, 4);
  EXPECT_EQ(e.record.detail3, 1);
  EXPECT_EQ(e.record.detail4, GE_PLOT);
  EXPECT_EQ(e.record.pixel_x, 20);
  EXPECT_EQ(e.record.pixel_y, 10);
  EXPECT_NEAR(e.record.graph_x, user_of(20.5, size.cx, 0.25, 0.75, 0, 100), 1e-3);
  EXPECT_NEAR(e.record.graph_y, user_of(size.cy - 10 - 0.5, size.cy, 0.5, 1.0, 0, 50), 1e-3);

  InvalidateRect(field, nullptr, FALSE);
  Event repaint = next_of_type(EvRepaint);
  for (int i = 0; i < 5 && repaint.type == EvRepaint && repaint.record.detail3 != 1; ++i) {
    repaint = next_of_type(EvRepaint);
  }
  ASSERT_EQ(repaint.type, EvRepaint);
  ASSERT_EQ(repaint.record.detail3, 1);
  EXPECT_EQ(repaint.record.detail4, GE_PLOT);
  EXPECT_EQ(repaint.record.pixel_w, size.cx);  // the whole field
  EXPECT_NEAR(repaint.record.graph_w, user_size(size.cx, size.cx, 0.25, 0.75, 0, 100), 1e-3);
  EXPECT_NEAR(repaint.record.graph_h, user_size(size.cy, size.cy, 0.5, 1.0, 0, 50), 1e-3);
}

// Resizes the plot field from inside the event loop's dispatch.
HWND g_field = nullptr;
void CALLBACK grow_field_now(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  RECT r{};
  GetClientRect(g_field, &r);
  SetWindowPos(g_field, nullptr, 0, 0, r.right + 30, r.bottom + 20, SWP_NOMOVE | SWP_NOZORDER);
}

TEST_F(GraphicsEvents, FieldResizeIsReportedOnlyWhileItsDialogShows) {
  g_field = show_plot_field();
  WEventEnable(EvResized, 1);
  SetTimer(nullptr, 0, 10, grow_field_now);
  Event e = next_of_type(EvResized);
  ASSERT_EQ(e.type, EvResized);
  EXPECT_EQ(e.record.detail3, 1);
  EXPECT_EQ(e.record.detail4, GE_PLOT);
  EXPECT_EQ(e.record.detail1, client_size(g_field).cx);

  IGrSelectField(GE_PLOT_DIALOG, GE_PLOT);
  WDialogHide();
  win32_test::drain(150);
  SetTimer(nullptr, 0, 10, grow_field_now);
  e = next_of_type(EvResized);
  EXPECT_TRUE(is_timeout(e));
  EXPECT_EQ(quill::drawing().drawable.width, client_size(g_field).cx);
}

TEST_F(GraphicsEvents, SelectingAFieldWithoutTheGraphicsFlagFailsAndKeepsTheDrawable) {
  WDialogLoad(GE_PLOT_DIALOG);
  WDialogShow(0, 0);
  IGrSelectField(GE_PLOT_DIALOG, GE_PLOT);
  EXPECT_EQ(quill::errors().last_error, 1019);
  EXPECT_EQ(quill::drawing().drawable.kind, quill::DrawableKind::Window);
  // The flag, set and cleared by routine (field 0: the dialog itself).
  for (const int field : {GE_PLOT, 0}) {
    quill::errors().last_error = 0;
    WDialogGraphicsField(field, 1);
    IGrSelectField(GE_PLOT_DIALOG, field);
    EXPECT_EQ(quill::errors().last_error, 0) << field;
    EXPECT_EQ(quill::drawing().drawable.kind, quill::DrawableKind::Field) << field;
    IGrSelect(1, 0);
    WDialogGraphicsField(field, 0);
    IGrSelectField(GE_PLOT_DIALOG, field);
    EXPECT_EQ(quill::errors().last_error, 1019) << field;
  }
  quill::errors().last_error = 0;
  WDialogGraphicsField(GE_PLOT + 1, 1);
  EXPECT_EQ(quill::errors().last_error, 1006);
  quill::errors().last_error = 0;
  IGrSelectField(999, 0);
  EXPECT_EQ(quill::errors().last_error, 1019);
  EXPECT_EQ(quill::drawing().drawable.id, 0);
}

}  // namespace
