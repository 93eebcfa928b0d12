// A description of pixels in memory as the image encoders read them: the layouts of a
// device-independent bitmap (4, 8, 16, 24, 32 bits per pixel) with an explicit row pitch
// and row order, and the colour table of the palette depths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quill {

// One colour table entry in the byte order of a bitmap file's colour table.
struct PaletteEntry {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
};

struct PixelBuffer {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 24;     // 4, 8, 16, 24 or 32
  bool bitfields_565 = false;  // 16 bits: 5-6-5 (true) or 5-5-5 (false)
  // Up to 16 (4 bits) or 256 (8 bits) entries; missing entries read as black.
  std::span<const PaletteEntry> colours;
  std::span<const std::uint8_t> pixels;
  std::size_t row_pitch = 0;  // bytes from one stored row to the next
  bool bottom_up = true;      // the first stored row is the bottom row

  // The row y counted from the top (0 <= y < height).
  const std::uint8_t* row(int y) const {
    const int stored = bottom_up ? height - 1 - y : y;
    return pixels.data() + static_cast<std::size_t>(stored) * row_pitch;
  }
};

// Bytes one row of width pixels needs at bits_per_pixel, unpadded.
std::size_t packed_row_bytes(int width, int bits_per_pixel);
// The same, padded to a multiple of 4 bytes as bitmap files store rows.
std::size_t padded_row_bytes(int width, int bits_per_pixel);
// True when the description is usable: a supported depth, a positive size, a pitch that
// holds a row, pixels that hold every row, and no more colours than the depth indexes.
bool valid_pixel_buffer(const PixelBuffer& buffer);
// 4, 8, 16, 24 or 32.
bool supported_depth(int bits_per_pixel);
// Number of colour table entries the depth indexes: 16, 256, or 0 for true colour.
int palette_size(int bits_per_pixel);

struct RgbTriple {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// Colour of pixel x of a row of a true-colour buffer (16, 24, 32 bits). 16-bit
// components are widened by repeating their high bits, so full intensity stays 255.
RgbTriple true_colour_pixel(const PixelBuffer& buffer, const std::uint8_t* row, int x);
// Colour table index of pixel x of a row of a 4- or 8-bit buffer.
int palette_index(const PixelBuffer& buffer, const std::uint8_t* row, int x);
// Colour table entry i, black beyond the table.
PaletteEntry palette_entry(const PixelBuffer& buffer, int i);

}  // namespace quill
