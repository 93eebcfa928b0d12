// What tests may see of a grid field control: its current cell and whether an editor or
// an option list is open.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

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

// A grid control covering client, the client area of toolkit window number window.
HWND create_window_grid(HWND client, int window);
// The current toolkit window when it is a grid window.
std::optional<int> current_grid_window();
// The grid window of window changed by the user: a field-edited event of that window.
void post_window_grid_event(int window);
// The grid window control of window is being destroyed: its grid, field record and
// place in the window table go.
void forget_window_grid(int window, HWND control);

// The small modal prompts of the grid: "Find" asks for a text, "Go to cell" for a column
// and a row. The text entered, or nothing when the prompt was cancelled.
enum class GridPrompt { Find, GoTo };
std::optional<std::string> grid_prompt(HWND owner, GridPrompt kind, const std::string& initial);

}  // namespace quill
