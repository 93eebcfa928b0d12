#include "graphics/image/pixel_buffer.hpp"

namespace quill {
namespace {

std::uint8_t widen5(unsigned value) { return static_cast<std::uint8_t>((value << 3) | (value >> 2)); }
std::uint8_t widen6(unsigned value) { return static_cast<std::uint8_t>((value << 2) | (value >> 4)); }

}  // namespace

std::size_t packed_row_bytes(int width, int bits_per_pixel) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits_per_pixel) + 7) / 8;
}

std::size_t padded_row_bytes(int width, int bits_per_pixel) {
  return (packed_row_bytes(width, bits_per_pixel) + 3) & ~static_cast<std::size_t>(3);
}

int palette_size(int bits_per_pixel) { return bits_per_pixel == 4 ? 16 : bits_per_pixel == 8 ? 256 : 0; }

bool supported_depth(int bits_per_pixel) {
  switch (bits_per_pixel) {
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: return true;
    default: return false;
  }
}

bool valid_pixel_buffer(const PixelBuffer& buffer) {
  if (!supported_depth(buffer.bits_per_pixel) || buffer.width <= 0 || buffer.height <= 0) {
    return false;
  }
  if (buffer.row_pitch < packed_row_bytes(buffer.width, buffer.bits_per_pixel)) {
    return false;
  }
  const std::size_t rows = static_cast<std::size_t>(buffer.height);
  if (buffer.row_pitch > buffer.pixels.size() / rows) {
    return false;  // also guards the multiplication below against overflow
  }
  const std::size_t last_row_end =
      (rows - 1) * buffer.row_pitch + packed_row_bytes(buffer.width, buffer.bits_per_pixel);
  return last_row_end <= buffer.pixels.size() &&
         buffer.colours.size() <= static_cast<std::size_t>(palette_size(buffer.bits_per_pixel));
}

RgbTriple true_colour_pixel(const PixelBuffer& buffer, const std::uint8_t* row, int x) {
  const std::size_t i = static_cast<std::size_t>(x);
  switch (buffer.bits_per_pixel) {
    case 16: {
      const unsigned v = static_cast<unsigned>(row[2 * i]) | (static_cast<unsigned>(row[2 * i + 1]) << 8);
      if (buffer.bitfields_565) {
        return {widen5((v >> 11) & 31U), widen6((v >> 5) & 63U), widen5(v & 31U)};
      }
      return {widen5((v >> 10) & 31U), widen5((v >> 5) & 31U), widen5(v & 31U)};
    }
    case 24: return {row[3 * i + 2], row[3 * i + 1], row[3 * i]};
    case 32: return {row[4 * i + 2], row[4 * i + 1], row[4 * i]};
    default: return {};
  }
}

int palette_index(const PixelBuffer& buffer, const std::uint8_t* row, int x) {
  const std::size_t i = static_cast<std::size_t>(x);
  if (buffer.bits_per_pixel == 4) {
    const std::uint8_t pair = row[i / 2];
    return (i % 2 == 0) ? pair >> 4 : pair & 15;
  }
  return row[i];
}

PaletteEntry palette_entry(const PixelBuffer& buffer, int i) {
  if (i < 0 || static_cast<std::size_t>(i) >= buffer.colours.size()) {
    return {};
  }
  return buffer.colours[static_cast<std::size_t>(i)];
}

}  // namespace quill
