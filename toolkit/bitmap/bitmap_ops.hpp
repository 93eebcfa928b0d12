// Pixel work on memory bitmaps that needs no window system: copying a rectangle with a
// bitwise mode, rotating by quarter turns, reading and writing one pixel.
#pragma once

#include <cstdint>
#include <memory>

#include "graphics/image/memory_bitmap.hpp"

namespace quill {

// Bitwise modes: the target pixel becomes the source (copy), target AND source, target
// OR source, target XOR source, or NOT source (invert).
enum class BitwiseMode : int { Copy = 0, And = 1, Or = 2, Xor = 3, Invert = 4 };
bool valid_bitwise_mode(int mode);

// A rectangle of pixels, rows counted from the top.
struct PixelBox {
  int x = 0, y = 0, width = 0, height = 0;
};

// The stored bits a pixel of depth bits per pixel uses (32-bit pixels keep their fourth
// byte 0).
std::uint32_t depth_mask(int depth);
// target combined with source under mode, within mask.
std::uint32_t combine(std::uint32_t target, std::uint32_t source, BitwiseMode mode, std::uint32_t mask);

// Copies box of source to (to_x, to_y) of target under mode, clipped to both bitmaps
// (a part outside either is left out). Between bitmaps of one depth and colour table the
// stored values are combined; otherwise each source pixel first becomes the target's
// value of its colour. source and target may be the same bitmap (overlap is handled).
void copy_pixels(const MemoryBitmap& source, PixelBox box, MemoryBitmap& target, int to_x, int to_y,
                 BitwiseMode mode);

// The bitmap turned counter-clockwise by angle (90, 180 or 270), same depth and colours.
std::unique_ptr<MemoryBitmap> rotated(const MemoryBitmap& bitmap, int angle);

// The colour of a pixel as IGrColourN takes it: the colour number on 4- and 8-bit
// bitmaps, 0xBBGGRR on the others.
int pixel_colour(const MemoryBitmap& bitmap, int x, int y);
// Sets a pixel to such a colour; false when the colour number is beyond the table.
bool put_pixel_colour(MemoryBitmap& bitmap, int x, int y, int colour);

}  // namespace quill
