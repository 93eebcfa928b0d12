#include "bitmap/bitmap_ops.hpp"

#include <algorithm>
#include <vector>

namespace quill {
namespace {

bool same_layout(const MemoryBitmap& a, const MemoryBitmap& b) {
  if (a.depth() != b.depth()) return false;
  const auto ca = a.colours(), cb = b.colours();
  return std::equal(ca.begin(), ca.end(), cb.begin(), cb.end(),
                    [](const PaletteEntry& p, const PaletteEntry& q) {
                      return p.red == q.red && p.green == q.green && p.blue == q.blue;
                    });
}

Rgb rgb_of_value(int value) {
  return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
          static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

}  // namespace

bool valid_bitwise_mode(int mode) { return mode >= 0 && mode <= 4; }

std::uint32_t depth_mask(int depth) { return depth >= 24 ? 0xFFFFFFU : (std::uint32_t{1} << depth) - 1U; }

std::uint32_t combine(std::uint32_t target, std::uint32_t source, BitwiseMode mode, std::uint32_t mask) {
  switch (mode) {
    case BitwiseMode::And: return target & source & mask;
    case BitwiseMode::Or: return (target | source) & mask;
    case BitwiseMode::Xor: return (target ^ source) & mask;
    case BitwiseMode::Invert: return ~source & mask;
    default: return source & mask;
  }
}

void copy_pixels(const MemoryBitmap& source, PixelBox box, MemoryBitmap& target, int to_x, int to_y,
                 BitwiseMode mode) {
  // Clip the box to the source, then to the target, moving the destination with it.
  const auto clip = [](int& start, int& length, int& dest, int limit) {
    if (start < 0) {
      length += start;
      dest -= start;
      start = 0;
    }
    if (start + length > limit) length = limit - start;
  };
  clip(box.x, box.width, to_x, source.width());
  clip(box.y, box.height, to_y, source.height());
  clip(to_x, box.width, box.x, target.width());
  clip(to_y, box.height, box.y, target.height());
  if (box.width <= 0 || box.height <= 0) return;
  const bool direct = same_layout(source, target);
  const std::uint32_t mask = depth_mask(target.depth());
  // Read the source rectangle first so that an overlapping copy sees the old pixels.
  std::vector<std::uint32_t> values(static_cast<std::size_t>(box.width) *
                                    static_cast<std::size_t>(box.height));
  std::size_t i = 0;
  for (int y = 0; y < box.height; ++y) {
    for (int x = 0; x < box.width; ++x, ++i) {
      values[i] = direct ? source.value(box.x + x, box.y + y)
                         : target.native_value(source.pixel(box.x + x, box.y + y));
    }
  }
  i = 0;
  for (int y = 0; y < box.height; ++y) {
    for (int x = 0; x < box.width; ++x, ++i) {
      const int tx = to_x + x, ty = to_y + y;
      target.fill_span(ty, tx, tx, combine(target.value(tx, ty), values[i], mode, mask));
    }
  }
}

std::unique_ptr<MemoryBitmap> rotated(const MemoryBitmap& bitmap, int angle) {
  const int w = bitmap.width(), h = bitmap.height();
  const bool quarter = angle == 90 || angle == 270;
  const auto colours = bitmap.colours();
  auto out = std::make_unique<MemoryBitmap>(quarter ? h : w, quarter ? w : h, bitmap.depth(),
                                            std::vector<PaletteEntry>(colours.begin(), colours.end()));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Counter-clockwise: the top-right corner goes to the top-left for 90 degrees.
      int nx = x, ny = y;
      if (angle == 90) {
        nx = y;
        ny = w - 1 - x;
      }
      if (angle == 180) {
        nx = w - 1 - x;
        ny = h - 1 - y;
      }
      if (angle == 270) {
        nx = h - 1 - y;
        ny = x;
      }
      out->fill_span(ny, nx, nx, bitmap.value(x, y));
    }
  }
  return out;
}

int pixel_colour(const MemoryBitmap& bitmap, int x, int y) {
  if (!bitmap.true_colour()) return static_cast<int>(bitmap.value(x, y));
  const Rgb c = bitmap.pixel(x, y);
  return c.red | (c.green << 8) | (c.blue << 16);
}

bool put_pixel_colour(MemoryBitmap& bitmap, int x, int y, int colour) {
  if (!bitmap.true_colour()) {
    if (colour < 0 || static_cast<std::size_t>(colour) >= bitmap.colours().size()) return false;
    bitmap.fill_span(y, x, x, static_cast<std::uint32_t>(colour));
    return true;
  }
  bitmap.fill_span(y, x, x, bitmap.native_value(rgb_of_value(colour)));
  return true;
}

}  // namespace quill
