// Stores the fields of a comma-separated file into a grid: the sink of CsvReader that
// WGridLoad uses, kept apart so that tests and the fuzzer can drive it from memory.
#pragma once

#include <cstddef>
#include <string_view>

#include "grid/csv_reader.hpp"
#include "grid/grid_model.hpp"

namespace quill {

class CsvGridLoader {
 public:
  // options 2: the first line holds the titles (when the grid has them) and each line
  // begins with its row title (when the grid has row titles). grow: rows may grow up to
  // the grid's maximum.
  CsvGridLoader(Grid& grid, bool grow, int options);

  void operator()(const CsvField& field);
  // Clears the rows after the last one read; returns the pending code (0, 1009, 1054,
  // or 1018 when rows could not grow for lack of memory: the load is then worthless).
  int finish();

 private:
  void store(std::string_view text, bool cut);
  void store_cell(int column, std::string_view text);
  void store_number(const GridColumn& column, int c, std::string_view text);
  void end_line();

  Grid& grid_;
  bool grow_;
  int row_ = 1;           // 0: the title line
  int first_column_ = 1;  // 0: each line begins with its row title (or the corner)
  int column_ = 1;
  int last_row_ = 0;
  int pending_ = 0;
};

}  // namespace quill
