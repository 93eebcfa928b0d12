// Reading BMP, PCX and PNG files into the pixel layout of a memory bitmap. The decoders
// treat the file as untrusted: every size is checked against the file's length and the
// bitmap limit before anything is allocated, and a damaged file gives an error code.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/image/pixel_buffer.hpp"

namespace quill {

// A decoded image laid out as a memory bitmap stores it: depth 4 or 8 (colour table
// indices, every index inside colours), 16 (5-6-5), 24 (blue, green, red) or 32 (blue,
// green, red, 0); rows from the top, padded_row_bytes(width, depth) apart. Transparency
// is not kept: every pixel keeps the colour the file gives it.
struct DecodedImage {
  int width = 0, height = 0, depth = 24;
  std::vector<PaletteEntry> colours;
  std::vector<std::uint8_t> pixels;

  std::size_t pitch() const { return padded_row_bytes(width, depth); }
  std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * pitch(); }
};

// 0 on success, else the error code (27 not an image, unsupported or damaged; 1109 too
// large for a bitmap; 1044 zlib failed, with zlib's code as the detail; 1020 out of memory).
struct DecodeStatus {
  int code = 0;
  int detail = 0;
  bool ok() const { return code == 0; }
};

// 1109 when a bitmap of this size may not be made (27 for no pixels at all), else 0.
// Decoders check it first, then whether the file holds enough data for the size.
DecodeStatus check_image_size(std::int64_t width, std::int64_t height, int depth);
// Sizes the image and allocates its zeroed pixel store, or says why it may not.
DecodeStatus allocate_image(DecodedImage& image, int width, int height, int depth);
DecodeStatus unsupported_image();

DecodeStatus decode_bmp(std::span<const std::uint8_t> file, DecodedImage& out);
DecodeStatus decode_pcx(std::span<const std::uint8_t> file, DecodedImage& out);
DecodeStatus decode_png(std::span<const std::uint8_t> file, DecodedImage& out);
// Chooses the decoder by the file's first bytes; out is left empty on failure.
DecodeStatus decode_image(std::span<const std::uint8_t> file, DecodedImage& out);

// Writing pixels of the palette depths: index into a 4- or 8-bit row.
inline void put_index(std::uint8_t* row, int depth, int x, unsigned index) {
  const auto at = static_cast<std::size_t>(x);
  if (depth == 8) {
    row[at] = static_cast<std::uint8_t>(index);
  } else if (x % 2 == 0) {
    row[at / 2] = static_cast<std::uint8_t>((row[at / 2] & 0x0FU) | (index << 4));
  } else {
    row[at / 2] = static_cast<std::uint8_t>((row[at / 2] & 0xF0U) | (index & 0x0FU));
  }
}

inline void put_bgr(std::uint8_t* row, int x, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
  p[0] = blue;
  p[1] = green;
  p[2] = red;
}

// A colour table of count greys from black to white.
std::vector<PaletteEntry> grey_ramp(int count);

}  // namespace quill
