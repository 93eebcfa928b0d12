// The grid field class under Wine: a "KVSGRID" control in a plain window, driven with
// posted keyboard and mouse messages and read back through the grid routines; the
// drawing checked at known pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>

#include "grid/grid_field_win32.hpp"
#include "grid/grid_layers.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"
#include "base/error_state.hpp"

namespace {

constexpr int kField = 10;

void pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

class GridFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_grids_for_test();
    quill::errors() = quill::ErrorState{};
    quill::register_grid_layer();
    quill::register_grid_field_class();
    quill::attach_dialog_grid(0, kField);
    quill::select_grid_dialog(0);
    WGridColumns(kField, 4, std::array{4, 5, 9, 11});
    WGridRows(kField, 3);
    WGridRangeInteger(kField, 2, 0, 100);
    const std::array<std::string_view, 3> options{"red", "green", "blue"};
    WGridPutOptions(kField, 4, options, 3);
    WGridTitles(kField, 1, 1);
    frame_ = CreateWindowExW(0, L"STATIC", L"grid test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 640, 300,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(frame_, nullptr);
    grid_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"KVSGRID", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 5, 600,
                            240, frame_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kField)),
                            GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(grid_, nullptr);
    SetFocus(grid_);
    pump(100);
    ASSERT_EQ(quill::errors().last_error, 0);
  }
  void TearDown() override {
    DestroyWindow(frame_);
    pump(20);
    quill::reset_grids_for_test();
  }

  void key(HWND target, WPARAM code) {
    PostMessageW(target, WM_KEYDOWN, code, 1);
    PostMessageW(target, WM_KEYUP, code, 0xC0000001);
    pump(30);
  }
  void type(HWND target, const std::string& text) {
    for (const char c : text) PostMessageW(target, WM_CHAR, static_cast<unsigned char>(c), 1);
    pump(30);
  }
  void click(int column, int row) {
    const RECT box = quill::grid_field_cell_rect(grid_, column, row);
    const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    PostMessageW(grid_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(grid_, WM_LBUTTONUP, 0, at);
    pump(50);
  }
  std::string text(int column, int row) {
    std::string value(40, ' ');
    WGridGetCellString(kField, column, row, value);
    return value.substr(0, value.find_last_not_of(' ') + 1);
  }
  quill::GridFieldProbe probe() { return quill::grid_field_probe(grid_); }

  HWND frame_ = nullptr;
  HWND grid_ = nullptr;
};

TEST_F(GridFieldTest, ArrowsTabAndHomeEndMoveTheCurrentCell) {
  struct Step {
    WPARAM key;
    int column;
    int row;
  };
  const Step steps[] = {{VK_RIGHT, 2, 1}, {VK_DOWN, 2, 2}, {VK_END, 4, 2},  {VK_TAB, 1, 3},  {VK_UP, 1, 2},
                        {VK_LEFT, 1, 2},  {VK_HOME, 1, 2}, {VK_NEXT, 1, 3}, {VK_PRIOR, 1, 1}};
  for (const Step& step : steps) {
    key(grid_, step.key);
    EXPECT_EQ(probe().column, step.column) << "key " << step.key;
    EXPECT_EQ(probe().row, step.row) << "key " << step.key;
  }
}

TEST_F(GridFieldTest, TypingEditsTextAndNumbersWithTheColumnsRange) {
  type(grid_, "h");
  ASSERT_NE(probe().editor, nullptr);
  type(probe().editor, "ello, grid");
  key(probe().editor, VK_RETURN);
  EXPECT_EQ(probe().editor, nullptr);
  EXPECT_EQ(text(1, 1), "hello, grid");

  key(grid_, VK_RIGHT);
  type(grid_, "5");
  type(grid_, "000");  // reaches the open editor
  // Above the range: the editor stays open.
  key(probe().editor, VK_RETURN);
  ASSERT_NE(probe().editor, nullptr);
  key(probe().editor, VK_ESCAPE);
  EXPECT_EQ(probe().editor, nullptr);
  EXPECT_EQ(text(2, 1), "");

  type(grid_, "4");
  type(probe().editor, "2");
  key(probe().editor, VK_DOWN);  // keeps the value and moves on
  EXPECT_EQ(probe().editor, nullptr);
  EXPECT_EQ(probe().row, 2);
  int value = 0;
  WGridGetCellInteger(kField, 2, 1, value);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(quill::errors().last_error, 0);
}

TEST_F(GridFieldTest, SpaceAndClicksToggleCheckBoxes) {
  key(grid_, VK_END);
  key(grid_, VK_LEFT);
  type(grid_, " ");
  int state = 0;
  WGridGetCellCheckBox(kField, 3, 1, state);
  EXPECT_EQ(state, 1);
  click(3, 2);
  WGridGetCellCheckBox(kField, 3, 2, state);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(probe().row, 2);
  click(3, 2);
  WGridGetCellCheckBox(kField, 3, 2, state);
  EXPECT_EQ(state, 0);
}

TEST_F(GridFieldTest, OptionCellsOpenAListToChooseFrom) {
  key(grid_, VK_END);
  key(grid_, VK_RETURN);
  HWND chooser = probe().chooser;
  ASSERT_NE(chooser, nullptr);
  key(chooser, VK_DOWN);
  key(chooser, VK_DOWN);
  pump(100);
  if (probe().chooser != nullptr) key(probe().chooser, VK_RETURN);
  pump(100);
  EXPECT_EQ(probe().chooser, nullptr);
  EXPECT_EQ(text(4, 1), "green");
}

TEST_F(GridFieldTest, DrawsBackgroundColoursAndFollowsChanges) {
  WGridPutCellString(kField, 1, 2, "coloured");
  WGridColourCell(kField, 1, 2, 0x000000, 0x0000FF);
  pump(100);
  UpdateWindow(grid_);
  const RECT box = quill::grid_field_cell_rect(grid_, 1, 2);
  ASSERT_GT(box.right, box.left);
  HDC dc = GetDC(grid_);
  const COLORREF inside = GetPixel(dc, box.right - 3, box.bottom - 3);
  const RECT plain = quill::grid_field_cell_rect(grid_, 2, 2);
  const COLORREF other = GetPixel(dc, plain.right - 3, plain.bottom - 3);
  ReleaseDC(grid_, dc);
  EXPECT_EQ(inside, RGB(255, 0, 0));
  EXPECT_EQ(other, GetSysColor(COLOR_WINDOW));
}

TEST_F(GridFieldTest, TitleClicksSortAndGoToScrollsToTheCell) {
  const int values[] = {30, 10, 20};
  for (int r = 1; r <= 3; ++r) WGridPutCellInteger(kField, 2, r, values[r - 1]);
  const RECT first = quill::grid_field_cell_rect(grid_, 2, 1);
  const LPARAM title = MAKELPARAM((first.left + first.right) / 2, first.top / 2);
  const auto column = [&] {
    std::string order;
    for (int r = 1; r <= 3; ++r) order += text(2, r) + " ";
    return order;
  };
  PostMessageW(grid_, WM_LBUTTONDOWN, MK_LBUTTON, title);
  pump(50);
  EXPECT_EQ(column(), "10 20 30 ");
  PostMessageW(grid_, WM_LBUTTONDOWN, MK_LBUTTON, title);
  pump(50);
  EXPECT_EQ(column(), "30 20 10 ");

  WGridRows(kField, 200);
  WGridGoTo(kField, 2, 150);
  pump(100);
  UpdateWindow(grid_);
  EXPECT_EQ(probe().row, 150);
  RECT client;
  GetClientRect(grid_, &client);
  const RECT target = quill::grid_field_cell_rect(grid_, 2, 150);
  EXPECT_GT(target.bottom, target.top);
  EXPECT_LE(target.bottom, client.bottom);
  EXPECT_EQ(quill::grid_field_cell_rect(grid_, 2, 1).bottom, 0);  // scrolled away
  key(grid_, VK_DOWN);
  EXPECT_EQ(probe().row, 151);
}

}  // namespace
