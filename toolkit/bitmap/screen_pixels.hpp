// How the bitmap routines reach the pixels of the current drawable when it is a window or
// a graphics field: the window system's side registers its entries with register_layer
// (base/layer_registry.hpp) at start-up; without it there are no screen pixels.
#pragma once

#include <memory>

#include "base/layer_registry.hpp"
#include "bitmap/bitmap_ops.hpp"

namespace quill {

struct ScreenPixels {
  const char* name = "";
  // A 24-bit copy of box of the current screen drawable (clipped to it); null on failure.
  std::unique_ptr<MemoryBitmap> (*read)(PixelBox box) = nullptr;
  // Combines box of source into the current screen drawable at (to_x, to_y); false on failure.
  bool (*write)(const MemoryBitmap& source, PixelBox box, int to_x, int to_y, BitwiseMode mode) = nullptr;
};

// The registered screen pixels, or null.
const ScreenPixels* screen_pixels();

}  // namespace quill
