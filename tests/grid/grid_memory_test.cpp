// The grid without any window: made, reached as field 0, loaded and saved, freed.
#include <array>
#include <string>

#include "grid/grid_registry.hpp"
#include "grid_test_support.hpp"
#include "quill/grid.hpp"

namespace {

using grid_test::GridTest;

TEST_F(GridTest, MemoryGridIsFieldZeroWhileNoGridWindowIsCurrent) {
  WGridMemory(1);
  WGridColumns(0, 2, std::array{4, 5});
  WGridRows(0, 1);
  WGridPutCellString(0, 1, 1, "a,b");
  WGridPutCellInteger(0, 2, 1, 42);
  EXPECT_EQ(take_error(), 0);
  WGridSave(0, "memory.csv");
  EXPECT_EQ(grid_test::read_file(scratch_ / "memory.csv"), "\"a,b\",42\r\n");

  WGridMemory(1);  // keeps the grid there is
  int rows = 0;
  WGridGetRows(0, rows);
  EXPECT_EQ(rows, 1);

  quill::attach_window_grid(3);  // a current grid window comes first
  quill::select_grid_window(3);
  WGridGetColumns(0, rows);
  EXPECT_EQ(rows, 0);
  quill::select_grid_window(std::nullopt);

  grid_test::write_file(scratch_ / "back.csv", "x,7\ny,8\n");
  WGridLoad(0, "back.csv", 1);
  std::string text(3, ' ');
  WGridGetCellString(0, 1, 2, text);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(text, "y  ");

  WGridMemory(0);
  WGridGetRows(0, rows);
  EXPECT_EQ(take_error(), 1006);
  WGridMemory(2);
  EXPECT_EQ(take_error(), 1052);
}

}  // namespace
