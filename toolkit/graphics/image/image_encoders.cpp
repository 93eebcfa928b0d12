// The Windows bitmap and PCX encoders, and what all encoders share.
#include <cerrno>
#include <cstring>
#include <limits>

#include "base/allocation.hpp"
#include "graphics/image/byte_order.hpp"
#include "graphics/image/image_encoders.hpp"
#include "graphics/image/png_encoder.hpp"

namespace quill {
namespace {

constexpr std::uint32_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;
constexpr std::uint32_t kBmpMaskBytes = 12;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 pixels per inch
constexpr std::size_t kPcxHeaderSize = 128;
constexpr std::uint8_t kPcxRunFlag = 192;
constexpr std::size_t kPcxMaxRun = 63;
constexpr std::uint8_t kPcxPaletteMarker = 12;

ImageResult refused() { return {ImageError::Api, invalid_parameter_error()}; }

bool put(ByteSink& sink, const std::vector<std::uint8_t>& bytes) { return sink.write(bytes); }

std::vector<std::uint8_t> bmp_headers(const PixelBuffer& image, std::uint32_t table_bytes,
                                      std::uint32_t image_bytes, bool bitfields) {
  const std::uint32_t masks = bitfields ? kBmpMaskBytes : 0;
  const std::uint32_t offset = kBmpFileHeaderSize + kBmpInfoHeaderSize + masks + table_bytes;
  std::vector<std::uint8_t> out;
  out.reserve(offset);
  out.push_back('B');
  out.push_back('M');
  put_le32(out, offset + image_bytes);
  put_le32(out, 0);
  put_le32(out, offset);
  put_le32(out, kBmpInfoHeaderSize);
  put_le32(out, static_cast<std::uint32_t>(image.width));
  put_le32(out, static_cast<std::uint32_t>(image.height));
  put_le16(out, 1);
  put_le16(out, static_cast<std::uint32_t>(image.bits_per_pixel));
  put_le32(out, bitfields ? kBiBitfields : kBiRgb);
  put_le32(out, image_bytes);
  put_le32(out, kPixelsPerMetre);
  put_le32(out, kPixelsPerMetre);
  put_le32(out, 0);  // colours used: all the depth indexes
  put_le32(out, 0);
  if (bitfields) {
    put_le32(out, 0xF800U);
    put_le32(out, 0x07E0U);
    put_le32(out, 0x001FU);
  }
  const int entries = palette_size(image.bits_per_pixel);
  for (int i = 0; i < entries; ++i) {
    const PaletteEntry entry = palette_entry(image, i);
    out.insert(out.end(), {entry.blue, entry.green, entry.red, 0});
  }
  return out;
}

// Writes the rows bottom-up, each padded to 4 bytes with zeros; one write when the buffer
// is already stored that way and its rows need no padding.
bool write_bmp_rows(const PixelBuffer& image, ByteSink& sink, std::size_t padded) {
  const std::size_t packed = packed_row_bytes(image.width, image.bits_per_pixel);
  const bool odd_nibble = image.bits_per_pixel == 4 && image.width % 2 != 0;
  if (image.bottom_up && image.row_pitch == padded && packed == padded && !odd_nibble &&
      image.pixels.size() >= padded * static_cast<std::size_t>(image.height)) {
    return sink.write(image.pixels.first(padded * static_cast<std::size_t>(image.height)));
  }
  std::vector<std::uint8_t> row(padded, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    std::memcpy(row.data(), image.row(y), packed);
    if (odd_nibble) {
      row[packed - 1] &= 0xF0U;
    }
    if (!sink.write(row)) {
      return false;
    }
  }
  return true;
}

ImageResult bmp(const PixelBuffer& image, ByteSink& sink) {
  const std::size_t padded = padded_row_bytes(image.width, image.bits_per_pixel);
  const bool bitfields = image.bits_per_pixel == 16 && image.bitfields_565;
  const std::uint32_t table_bytes = static_cast<std::uint32_t>(palette_size(image.bits_per_pixel)) * 4U;
  const std::size_t limit = std::numeric_limits<std::uint32_t>::max() - 1024U;
  if (padded > limit / static_cast<std::size_t>(image.height)) {
    return refused();
  }
  const auto image_bytes = static_cast<std::uint32_t>(padded * static_cast<std::size_t>(image.height));
  if (!put(sink, bmp_headers(image, table_bytes, image_bytes, bitfields)) ||
      !write_bmp_rows(image, sink, padded)) {
    return sink.failure();
  }
  return {};
}

std::vector<std::uint8_t> pcx_header(const PixelBuffer& image, int planes, int bytes_per_line) {
  std::vector<std::uint8_t> out;
  out.reserve(kPcxHeaderSize);
  out.insert(out.end(), {10, 5, 1, 8});
  put_le16(out, 0);
  put_le16(out, 0);
  put_le16(out, static_cast<std::uint32_t>(image.width - 1));
  put_le16(out, static_cast<std::uint32_t>(image.height - 1));
  put_le16(out, 75);
  put_le16(out, 75);
  out.resize(out.size() + 48, 0);  // 16-colour map, unused at 8 bits per plane
  out.push_back(0);
  out.push_back(static_cast<std::uint8_t>(planes));
  put_le16(out, static_cast<std::uint32_t>(bytes_per_line));
  put_le16(out, 1);
  put_le16(out, static_cast<std::uint32_t>(bytes_per_line));
  put_le16(out, static_cast<std::uint32_t>(image.height));
  out.resize(kPcxHeaderSize, 0);
  return out;
}

// Fills planes (planes x bytes_per_line, padding 0) with row y: indices, or red, green
// and blue planes one after the other.
void pcx_planes(const PixelBuffer& image, int y, std::size_t bytes_per_line,
                std::vector<std::uint8_t>& planes) {
  const std::uint8_t* row = image.row(y);
  std::fill(planes.begin(), planes.end(), 0);
  const auto width = static_cast<std::size_t>(image.width);
  if (image.bits_per_pixel <= 8) {
    for (std::size_t x = 0; x < width; ++x) {
      planes[x] = static_cast<std::uint8_t>(palette_index(image, row, static_cast<int>(x)));
    }
    return;
  }
  for (std::size_t x = 0; x < width; ++x) {
    const RgbTriple rgb = true_colour_pixel(image, row, static_cast<int>(x));
    planes[x] = rgb.red;
    planes[bytes_per_line + x] = rgb.green;
    planes[2 * bytes_per_line + x] = rgb.blue;
  }
}

ImageResult pcx(const PixelBuffer& image, ByteSink& sink) {
  if (image.width > kPcxMaxWidth || image.height > kPcxMaxHeight) {
    return refused();
  }
  // The bitmap's own depth decides planes and palette, whatever the display shows.
  const bool indexed = image.bits_per_pixel <= 8;
  const int planes = indexed ? 1 : 3;
  const int bytes_per_line = image.width + (image.width % 2);
  if (!put(sink, pcx_header(image, planes, bytes_per_line))) {
    return sink.failure();
  }
  const auto line = static_cast<std::size_t>(bytes_per_line);
  std::vector<std::uint8_t> plane_data(line * static_cast<std::size_t>(planes));
  std::vector<std::uint8_t> coded;
  coded.reserve(plane_data.size() * 2);
  for (int y = 0; y < image.height; ++y) {
    pcx_planes(image, y, line, plane_data);
    coded.clear();
    for (int p = 0; p < planes; ++p) {
      pcx_run_length(std::span(plane_data).subspan(static_cast<std::size_t>(p) * line, line), coded);
    }
    if (!put(sink, coded)) {
      return sink.failure();
    }
  }
  if (indexed) {
    std::vector<std::uint8_t> palette{kPcxPaletteMarker};
    for (int i = 0; i < 256; ++i) {
      const PaletteEntry entry = palette_entry(image, i);
      palette.insert(palette.end(), {entry.red, entry.green, entry.blue});
    }
    if (!put(sink, palette)) {
      return sink.failure();
    }
  }
  return {};
}

template <typename Encode>
ImageResult guarded(const PixelBuffer& image, ByteSink& sink, Encode encode) {
  if (!valid_pixel_buffer(image)) {
    return refused();
  }
  return allocating(ImageResult{ImageError::Api, out_of_memory_error()}, [&] { return encode(image, sink); });
}

}  // namespace

int invalid_parameter_error() {
#ifdef _WIN32
  return 87;  // ERROR_INVALID_PARAMETER
#else
  return EINVAL;
#endif
}

int out_of_memory_error() {
#ifdef _WIN32
  return 8;  // ERROR_NOT_ENOUGH_MEMORY
#else
  return ENOMEM;
#endif
}

bool MemorySink::write(std::span<const std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return true;
}

void pcx_run_length(std::span<const std::uint8_t> plane, std::vector<std::uint8_t>& out) {
  std::size_t i = 0;
  while (i < plane.size()) {
    const std::uint8_t value = plane[i];
    std::size_t run = 1;
    while (i + run < plane.size() && run < kPcxMaxRun && plane[i + run] == value) {
      ++run;
    }
    if (run > 1 || value >= kPcxRunFlag) {
      out.push_back(static_cast<std::uint8_t>(kPcxRunFlag + run));
    }
    out.push_back(value);
    i += run;
  }
}

ImageResult encode_bmp(const PixelBuffer& image, ByteSink& sink) { return guarded(image, sink, bmp); }

ImageResult encode_pcx(const PixelBuffer& image, ByteSink& sink) { return guarded(image, sink, pcx); }

ImageResult encode_png(const PixelBuffer& image, ByteSink& sink) { return guarded(image, sink, write_png); }

ImageResult encode_image(ImageFormat format, const PixelBuffer& image, ByteSink& sink) {
  switch (format) {
    case ImageFormat::Bmp: return encode_bmp(image, sink);
    case ImageFormat::Pcx: return encode_pcx(image, sink);
    case ImageFormat::Png: return encode_png(image, sink);
    default: return {};
  }
}

}  // namespace quill
