// The grid without any window.
#include "base/error_codes.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"

void WGridMemory(int mode) {
  auto& grids = quill::grid_registry().grids;
  if (mode == 1) {
    grids.try_emplace(quill::kMemoryGridKey);
  } else if (mode == 0) {
    grids.erase(quill::kMemoryGridKey);
  } else {
    IErrorReport(quill::error::kGridWindowMode, "WGridMemory");
  }
}
