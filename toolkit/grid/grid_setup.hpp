// Grid set-up lines, as the "[Grids]" section of a dialog's extended data carries them
// after each line's field identifier:
//   columns 4 5 9 11        column types, one per column
//   widths 14 8 6 10        column widths in characters
//   rows 3 500              rows in use and (optionally) the maximum
//   titles 1 0              column titles and row titles shown (1) or not (0)
//   title 2 Unit price      a column's title (column 0: the corner), the rest of the line
//   format 3 (F10.2)        display format of a real or double column
//   case 1 1                case of a text column: 1 upper, 2 lower
//   justify 2 2             0 left, 1 centre, 2 right
//   range 2 0 100           range of a numeric column; "*" leaves a bound open
//   options 4 red|green|blue  the options of an option menu column
// The parser fills a plain GridSetupLine; applying it changes the grid.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/grid_model.hpp"

namespace quill {

enum class GridSetupKind {
  Invalid,
  Columns,
  Widths,
  Rows,
  Titles,
  Title,
  Format,
  TextCase,
  Justify,
  Range,
  Options
};

struct GridSetupLine {
  GridSetupKind kind = GridSetupKind::Invalid;
  int column = 0;
  std::vector<int> numbers;
  std::optional<double> low;
  std::optional<double> high;
  std::string text;
  std::vector<std::string> options;
};

GridSetupLine parse_grid_setup_line(std::string_view text);
// Returns 0 or the error code of the grid operation the line asks for (an invalid line
// is 1011).
int apply_grid_setup(Grid& grid, const GridSetupLine& line);

}  // namespace quill
