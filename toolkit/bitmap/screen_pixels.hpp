// How the bitmap routines reach the pixels of the current drawable when it is a window or
// a graphics field: the window system's side fills these in (null where there is none).
#pragma once

#include <memory>

#include "bitmap/bitmap_ops.hpp"

namespace quill {

struct ScreenPixels {
  // A 24-bit copy of box of the current screen drawable (clipped to it); null on failure.
  std::unique_ptr<MemoryBitmap> (*read)(PixelBox box) = nullptr;
  // Combines box of source into the current screen drawable at (to_x, to_y); false on failure.
  bool (*write)(const MemoryBitmap& source, PixelBox box, int to_x, int to_y, BitwiseMode mode) = nullptr;
};

ScreenPixels& screen_pixels();

}  // namespace quill
