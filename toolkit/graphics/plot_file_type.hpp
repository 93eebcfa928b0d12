// Telling the kinds of plot and image files apart by their first bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quill {

// How many bytes of a file the detector looks at.
inline constexpr std::size_t kPlotFileHead = 4096;

// The PlotFile... type code (quill/image.hpp) of a file that begins with head.
int detect_plot_file_type(std::span<const std::uint8_t> head);

}  // namespace quill
