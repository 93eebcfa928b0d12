#include "graphics/image/png_encoder.hpp"

#include <zlib.h>

#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include "graphics/image/byte_order.hpp"

namespace quill {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::uint8_t kColourTypePalette = 3;
constexpr std::uint8_t kColourTypeRgb = 2;
// Chunk lengths are 31-bit; zlib's sizes are 32-bit on some platforms.
constexpr std::size_t kMaxChunk = std::numeric_limits<std::int32_t>::max();

std::size_t png_row_bytes(const PixelBuffer& image) {
  const auto width = static_cast<std::size_t>(image.width);
  switch (image.bits_per_pixel) {
    case 4: return (width + 1) / 2;
    case 8: return width;
    default: return 3 * width;
  }
}

void convert_row(const PixelBuffer& image, const std::uint8_t* row, std::uint8_t* out) {
  const auto width = static_cast<std::size_t>(image.width);
  switch (image.bits_per_pixel) {
    case 4:
      std::memcpy(out, row, (width + 1) / 2);
      if (width % 2 != 0) {
        out[width / 2] &= 0xF0U;  // the unused low nibble of an odd row
      }
      return;
    case 8: std::memcpy(out, row, width); return;
    case 24:
      for (std::size_t x = 0; x < width; ++x, row += 3, out += 3) {
        out[0] = row[2];
        out[1] = row[1];
        out[2] = row[0];
      }
      return;
    case 32:
      for (std::size_t x = 0; x < width; ++x, row += 4, out += 3) {
        out[0] = row[2];
        out[1] = row[1];
        out[2] = row[0];
      }
      return;
    default:
      for (std::size_t x = 0; x < width; ++x, out += 3) {
        const RgbTriple rgb = true_colour_pixel(image, row, static_cast<int>(x));
        out[0] = rgb.red;
        out[1] = rgb.green;
        out[2] = rgb.blue;
      }
      return;
  }
}

// A byte block left uninitialised: every byte is written before it is read.
struct Block {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
  explicit Block(std::size_t n) : data(std::make_unique_for_overwrite<std::uint8_t[]>(n)), size(n) {}
};

// The rows from the top, each after filter byte 0, compressed as they are converted: zlib
// gives the same stream for rows fed one by one as for the whole image at once, and no
// copy of the image is made. Returns zlib's code, Z_STREAM_END when all went well.
int compress_rows(const PixelBuffer& image, std::size_t row_bytes, Block& compressed, std::size_t& size) {
  z_stream stream{};
  int rc = deflateInit(&stream, Z_DEFAULT_COMPRESSION);
  if (rc != Z_OK) return rc;
  Block row(row_bytes + 1);
  row.data[0] = 0;
  stream.next_out = compressed.data.get();
  stream.avail_out = static_cast<uInt>(compressed.size);
  for (int y = 0; y < image.height && rc == Z_OK; ++y) {
    convert_row(image, image.row(y), row.data.get() + 1);
    stream.next_in = row.data.get();
    stream.avail_in = static_cast<uInt>(row.size);
    rc = deflate(&stream, y + 1 == image.height ? Z_FINISH : Z_NO_FLUSH);
  }
  size = stream.total_out;
  deflateEnd(&stream);
  return rc;
}

bool write_chunk(ByteSink& sink, std::string_view type, std::span<const std::uint8_t> data,
                 std::vector<std::uint8_t>& scratch) {
  scratch.clear();
  put_be32(scratch, static_cast<std::uint32_t>(data.size()));
  scratch.insert(scratch.end(), type.begin(), type.end());
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type.data()), 4);
  if (!data.empty()) {  // a null buffer makes crc32 return its start value, not the CRC
    crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
  }
  std::vector<std::uint8_t> trailer;
  put_be32(trailer, static_cast<std::uint32_t>(crc));
  return sink.write(scratch) && sink.write(data) && sink.write(trailer);
}

std::vector<std::uint8_t> header_data(const PixelBuffer& image, bool palette) {
  std::vector<std::uint8_t> ihdr;
  put_be32(ihdr, static_cast<std::uint32_t>(image.width));
  put_be32(ihdr, static_cast<std::uint32_t>(image.height));
  ihdr.push_back(static_cast<std::uint8_t>(image.bits_per_pixel == 4 ? 4 : 8));
  ihdr.push_back(palette ? kColourTypePalette : kColourTypeRgb);
  ihdr.insert(ihdr.end(), {0, 0, 0});
  return ihdr;
}

std::vector<std::uint8_t> palette_data(const PixelBuffer& image) {
  std::vector<std::uint8_t> plte;
  const int entries = palette_size(image.bits_per_pixel);
  for (int i = 0; i < entries; ++i) {
    const PaletteEntry entry = palette_entry(image, i);
    plte.insert(plte.end(), {entry.red, entry.green, entry.blue});
  }
  return plte;
}

}  // namespace

ImageResult write_png(const PixelBuffer& image, ByteSink& sink) {
  const std::size_t row_bytes = png_row_bytes(image);
  if (row_bytes + 1 > kMaxChunk / static_cast<std::size_t>(image.height)) {
    return {ImageError::Api, invalid_parameter_error()};
  }
  Block compressed(
      compressBound(static_cast<uLong>((row_bytes + 1) * static_cast<std::size_t>(image.height))));
  std::size_t compressed_size = 0;
  if (const int rc = compress_rows(image, row_bytes, compressed, compressed_size); rc != Z_STREAM_END) {
    return {ImageError::Zlib, rc};
  }
  if (compressed_size > kMaxChunk) {
    return {ImageError::Api, invalid_parameter_error()};
  }
  const bool palette = image.bits_per_pixel <= 8;
  std::vector<std::uint8_t> scratch;
  bool ok = sink.write(kSignature) && write_chunk(sink, "IHDR", header_data(image, palette), scratch);
  if (ok && palette) {
    ok = write_chunk(sink, "PLTE", palette_data(image), scratch);
  }
  ok = ok && write_chunk(sink, "IDAT", std::span(compressed.data.get(), compressed_size), scratch) &&
       write_chunk(sink, "IEND", {}, scratch);
  return ok ? ImageResult{} : sink.failure();
}

}  // namespace quill
