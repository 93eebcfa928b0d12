// Arbitrary bytes as the head of a plot file: the detector stays in bounds and gives
// one of its codes.
#include <cstdint>

#include "graphics/plot_file_type.hpp"
#include "quill/image.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int type = quill::detect_plot_file_type({data, size});
  if (type < PlotFileUnknown || type > PlotFileEmf) __builtin_trap();
  return 0;
}
