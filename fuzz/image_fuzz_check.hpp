// The checks every image decoder's fuzz target makes on a decoded image: a store of
// exactly the bitmap's size and no colour index outside the table.
#pragma once

#include <cstdint>
#include <span>

#include "graphics/image/image_decoders.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "quill/errors.hpp"
#include "base/error_state.hpp"

namespace image_fuzz {

inline void check(bool condition) {
  if (!condition) __builtin_trap();
}

inline int decode_and_check(quill::DecodeStatus (*decode)(std::span<const std::uint8_t>,
                                                          quill::DecodedImage&),
                            std::span<const std::uint8_t> file) {
  quill::errors().report_mode = 0;
  quill::DecodedImage image;
  const quill::DecodeStatus status = decode(file, image);
  if (!status.ok()) {
    check(status.code == 27 || status.code == 1044 || status.code == 1109);
    return 0;
  }
  check(quill::bitmap_size_allowed(image.width, image.height, image.depth));
  check(image.pixels.size() == image.pitch() * static_cast<std::size_t>(image.height));
  if (image.depth <= 8) {
    check(!image.colours.empty() && image.colours.size() <= (std::size_t{1} << image.depth));
    const quill::MemoryBitmap bitmap(image.width, image.height, image.depth, image.colours, image.pixels);
    const quill::PixelBuffer buffer = bitmap.buffer();
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        check(static_cast<std::size_t>(quill::palette_index(buffer, buffer.row(y), x)) <
              image.colours.size());
      }
    }
  }
  return 0;
}

}  // namespace image_fuzz
