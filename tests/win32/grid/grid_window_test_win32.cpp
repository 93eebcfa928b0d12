// Grid windows and the grid options under Wine: a root window turned into a grid window,
// driven with posted messages and read back through the grid routines and the events
// that the non-waiting fetch returns; the options and clearing of grid fields of a
// dialog; the grids of unloaded dialogs.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "grid/grid_field_win32.hpp"
#include "grid/grid_registry.hpp"
#include "grid_demo_ids.h"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"
#include "quill/events.hpp"
#include "quill/grid.hpp"
#include "quill/window.hpp"
#include "base/error_state.hpp"

namespace {

struct Event {
  int type;
  EventRecord record;
};

int take_error() {
  const int code = quill::errors().last_error;
  quill::errors().last_error = 0;
  return code;
}

// Every event the posted messages give, fetched without waiting.
std::vector<Event> drain() {
  std::vector<Event> found;
  for (int quiet = 0; quiet < 5;) {
    Event event{};
    WEventPeek(event.type, event.record);
    if (event.type == 0) {
      ++quiet;
      Sleep(10);
    } else if (event.type != EvRepaint && event.type != EvResized) {
      found.push_back(event);
    }
  }
  return found;
}

std::string cell(int field, int column, int row) {
  std::string value(20, ' ');
  WGridGetCellString(field, column, row, value);
  return value.substr(0, value.find_last_not_of(' ') + 1);
}

class GridWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::errors() = quill::ErrorState{};
    int width = 400;
    int height = 200;
    WindowOpen(7, 30, 30, &width, &height, std::nullopt, {}, std::nullopt, "Grid window test");
    WEventEnable(EvFieldEdited, 1);
    drain();
  }
  void TearDown() override {
    WindowShutdown();
    quill::errors() = quill::ErrorState{};
  }
  HWND grid() const { return quill::windows().windows[0].converted; }
  HWND frame() const { return quill::windows().windows[0].frame; }
  void make_grid(int mode) {
    WGridWindow(mode);
    WGridColumns(0, 3, std::array{4, 5, 9});
    WGridRows(0, 3);
    const std::array<std::string_view, 3> names{"pear", "apple", "fig"};
    for (int r = 1; r <= 3; ++r) {
      WGridPutCellString(0, 1, r, names[static_cast<std::size_t>(r - 1)]);
      WGridPutCellInteger(0, 2, r, 10 * r);
    }
    ASSERT_EQ(take_error(), 0);
    ASSERT_NE(grid(), nullptr);
    SetFocus(grid());
    drain();
  }
  // Keys go where the user's keys would: to the cell's editor while one is open.
  void key(WPARAM code) {
    HWND editor = quill::grid_field_probe(grid()).editor;
    PostMessageW(editor != nullptr ? editor : grid(), WM_KEYDOWN, code, 1);
    PostMessageW(editor != nullptr ? editor : grid(), WM_KEYUP, code, 0xC0000001);
  }
  // Menu commands (notification 0) and accelerators (1) as the frame receives them.
  void command(int id, int notification = 0) {
    PostMessageW(frame(), WM_COMMAND, MAKEWPARAM(id, notification), 0);
  }
  void type(HWND target, const std::string& text) {
    for (const char c : text) PostMessageW(target, WM_CHAR, static_cast<unsigned char>(c), 1);
  }
};

TEST_F(GridWindowTest, ModesAndTheirErrors) {
  WGridWindow(3);
  EXPECT_EQ(take_error(), 1052);
  WGridWindow(-1);
  EXPECT_EQ(take_error(), 1052);
  EXPECT_EQ(grid(), nullptr);
  WGridPutCellString(0, 1, 1, "x");
  EXPECT_EQ(take_error(), 1006);  // not yet a grid window
  WDialogFieldOptions(0, 1, 1);
  EXPECT_EQ(take_error(), 1006);

  make_grid(1);
  RECT client{};
  RECT covered{};
  GetClientRect(quill::windows().windows[0].client, &client);
  GetClientRect(grid(), &covered);
  EXPECT_EQ(covered.right, client.right);
  EXPECT_EQ(covered.bottom, client.bottom);
  SetWindowPos(frame(), nullptr, 0, 0, 700, 450, SWP_NOMOVE | SWP_NOZORDER);
  drain();
  GetClientRect(quill::windows().windows[0].client, &client);
  GetClientRect(grid(), &covered);
  EXPECT_GT(client.right, 500);
  EXPECT_EQ(covered.right, client.right) << "the grid follows the window's size";
  EXPECT_EQ(covered.bottom, client.bottom);

  WGridWindow(1);  // again: the same grid stays
  EXPECT_EQ(cell(0, 1, 1), "pear");
  WGridWindow(0);
  EXPECT_EQ(grid(), nullptr);
  WGridGetCellString(0, 1, 1, std::span<char>());
  EXPECT_EQ(take_error(), 1006) << "the grid went with the grid window";
  WGridWindow(1);
  WGridGetCellString(0, 1, 1, std::span<char>());
  EXPECT_EQ(take_error(), 1017) << "a new grid window starts with a new, empty grid";
}

TEST_F(GridWindowTest, ChangesByTheUserPostFieldEditedEventsOfTheWindow) {
  make_grid(1);
  WGridGoTo(0, 1, 2);
  type(grid(), "kiwi");
  EXPECT_TRUE(drain().empty()) << "typing alone reports nothing without option 3";
  key(VK_RETURN);
  std::vector<Event> got = drain();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].type, EvFieldEdited);
  EXPECT_EQ(got[0].record.window, 0);
  EXPECT_EQ(got[0].record.detail1, 0);
  EXPECT_EQ(got[0].record.detail2, 0);
  EXPECT_EQ(cell(0, 1, 2), "kiwi");

  WGridGoTo(0, 3, 3);
  key(VK_SPACE);  // the loop's translation makes the space character
  got = drain();
  ASSERT_EQ(got.size(), 1u);
  int checked = 0;
  WGridGetCellCheckBox(0, 3, 3, checked);
  EXPECT_EQ(checked, 1);
}

TEST_F(GridWindowTest, MenuCommandsGoToTheGridFirstAndTheRestToTheApplication) {
  make_grid(1);
  WGridGoTo(0, 1, 1);
  command(GridCmdSortAscending);
  std::vector<Event> got = drain();
  ASSERT_EQ(got.size(), 1u) << "sorting is a change";
  EXPECT_EQ(got[0].type, EvFieldEdited);
  EXPECT_EQ(cell(0, 1, 1), "apple");
  EXPECT_EQ(cell(0, 1, 3), "pear");

  WGridGoTo(0, 2, 1);
  command(GridCmdSortDescending, 1);
  drain();
  EXPECT_EQ(cell(0, 2, 1), "30");

  command(9001);
  got = drain();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].type, EvCommand);
  EXPECT_EQ(got[0].record.window, 0);
  EXPECT_EQ(got[0].record.detail1, 9001);

  WDialogFieldOptions(0, 2, 1);  // the row order is locked
  EXPECT_EQ(take_error(), 0);
  WGridGoTo(0, 1, 1);
  command(GridCmdSortAscending);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(cell(0, 1, 1), "fig");
}

TEST_F(GridWindowTest, ReadOnlyModeRefusesEveryChange) {
  make_grid(2);
  WGridGoTo(0, 1, 1);
  type(grid(), "x");
  key(VK_F2);
  WGridGoTo(0, 3, 1);
  PostMessageW(grid(), WM_CHAR, ' ', 1);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(quill::grid_field_probe(grid()).editor, nullptr);
  int checked = 0;
  WGridGetCellCheckBox(0, 3, 1, checked);
  EXPECT_EQ(checked, 0);
  EXPECT_EQ(cell(0, 1, 1), "pear");
  WGridWindow(1);  // editable again
  WGridGoTo(0, 3, 1);
  PostMessageW(grid(), WM_CHAR, ' ', 1);
  EXPECT_EQ(drain().size(), 1u);
}

TEST_F(GridWindowTest, OptionsLetUsersAddRowsReportKeystrokesAndEmptyRangedCells) {
  make_grid(1);
  WGridGoTo(0, 1, 3);
  key(VK_DOWN);
  EXPECT_TRUE(drain().empty()) << "without option 1 the rows stay";
  WDialogFieldOptions(0, 1, 1);
  WGridRowsMax(0, 4);
  key(VK_DOWN);
  EXPECT_EQ(drain().size(), 1u);
  key(VK_DOWN);  // the maximum is reached
  EXPECT_TRUE(drain().empty());
  int column = 0;
  int row = 0;
  WGridGetCurrentCell(0, column, row);
  EXPECT_EQ(row, 4);
  WGridPutCellString(0, 1, 4, "new");
  EXPECT_EQ(take_error(), 0);

  WDialogFieldOptions(0, 3, 1);  // every keystroke in a cell reports
  WGridGoTo(0, 1, 1);
  type(grid(), "ab");
  EXPECT_EQ(drain().size(), 2u);
  key(VK_RETURN);
  EXPECT_EQ(drain().size(), 1u);

  WGridRangeInteger(0, 2, 0, 100);
  WGridGoTo(0, 2, 1);
  key(VK_F2);
  drain();
  const HWND editor = quill::grid_field_probe(grid()).editor;
  ASSERT_NE(editor, nullptr);
  SetWindowTextW(editor, L"");
  key(VK_RETURN);
  drain();
  EXPECT_NE(quill::grid_field_probe(grid()).editor, nullptr)
      << "a ranged cell is not emptied without option 4";
  EXPECT_EQ(cell(0, 2, 1), "10");
  WDialogFieldOptions(0, 4, 1);
  key(VK_RETURN);
  drain();
  EXPECT_EQ(cell(0, 2, 1), "");
}

TEST_F(GridWindowTest, ClearFieldEmptiesTheGridWindowAndShutdownReleasesIt) {
  make_grid(1);
  WDialogClearField(0);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(cell(0, 1, 1), "");
  WGridPutCellString(0, 1, 3, "still three rows");
  EXPECT_EQ(take_error(), 0);
  WindowShutdown();
  EXPECT_EQ(quill::grid_registry().grids.count(quill::GridKey{0, 0, 0}), 0u);
  WGridPutCellString(0, 1, 1, "x");
  EXPECT_EQ(take_error(), 1006);
}

TEST_F(GridWindowTest, GridFieldOptionsAndTheGridsOfUnloadedDialogs) {
  WDialogLoad(GD_DIALOG);
  ASSERT_EQ(take_error(), 0);
  WDialogFieldOptions(GD_LOAD, 1, 1);
  EXPECT_EQ(take_error(), 1006) << "options 1 and 2 are for grids only";
  WDialogFieldOptions(GD_LOAD, 4, 1);
  EXPECT_EQ(take_error(), 1006);
  WDialogFieldOptions(GD_FIELD, 1, 1);
  WDialogFieldOptions(GD_FIELD, 3, 1);
  WDialogFieldOptions(GD_FIELD, 4, 1);
  EXPECT_EQ(take_error(), 0);
  WGridPutCellString(GD_FIELD, 1, 1, "left behind");
  WDialogUnload();
  WGridPutCellString(GD_FIELD, 1, 1, "x");
  EXPECT_EQ(take_error(), 1005);
  EXPECT_TRUE(quill::grid_registry().grids.empty()) << "the unloaded dialog's grid is gone";

  WDialogLoad(GD_DIALOG);
  EXPECT_EQ(cell(GD_FIELD, 1, 1), "") << "a dialog loaded again starts with a fresh grid";
  std::string title(8, ' ');
  WGridGetColumnTitle(GD_FIELD, 1, title);
  EXPECT_EQ(title, "Name    ") << "and its set-up is applied again";
  EXPECT_EQ(take_error(), 0);
  WDialogUnload();
}

}  // namespace
