// Memory bitmaps as device-independent bitmaps for GDI. Windows build only.
#pragma once

#include <windows.h>

#include "graphics/image/memory_bitmap.hpp"

namespace quill {

// BITMAPINFO with room for 256 colours or the three 16-bit masks.
struct DibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colours[256]{};
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

// Describes rows rows of bitmap (its depth, colours or masks; width pixels a row, by
// default the bitmap's), stored from the top.
DibInfo describe_dib(const MemoryBitmap& bitmap, int rows, int width = -1);
// A GDI bitmap holding a copy of bitmap at its own depth; null when none can be made.
HBITMAP make_gdi_bitmap(const MemoryBitmap& bitmap);

}  // namespace quill
