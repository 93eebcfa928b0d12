// Text for the software rasteriser: the platform's font engine renders a text into a
// coverage mask, which the rasteriser paints in the current colour.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "graphics/drawing_state.hpp"

namespace quill {

// width x height bytes from the top, non-zero where the text covers the pixel; left and
// top place the mask's first pixel relative to the text's reference point (pixels, y down).
struct TextMask {
  int width = 0, height = 0, left = 0, top = 0;
  std::vector<std::uint8_t> covered;
};

// Renders text with the attributes' family, style, rotation and justification at a
// character height of pixel_height. False where the platform has no font engine.
bool render_text_mask(std::string_view text, const TextAttributes& attributes, double pixel_height,
                      TextMask& out);

}  // namespace quill
