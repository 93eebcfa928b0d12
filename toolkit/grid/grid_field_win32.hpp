// What tests may see of a grid field control: its current cell and whether an editor or
// an option list is open.
#pragma once

#include <windows.h>

#include "quill/grid.hpp"

namespace quill {

struct GridFieldProbe {
  int column = 0;
  int row = 0;
  HWND editor = nullptr;
  HWND chooser = nullptr;
};
GridFieldProbe grid_field_probe(HWND control);
// Where a cell is drawn in the control's client area (empty when it is scrolled away).
RECT grid_field_cell_rect(HWND control, int column, int row);

}  // namespace quill
