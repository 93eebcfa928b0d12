// Windows bitmap files: the 12-byte core header and the 40- to 124-byte information
// headers; 1, 4, 8, 16, 24 and 32 bits, top-down and bottom-up, RLE4, RLE8, bit fields.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "graphics/image/image_byte_reader.hpp"
#include "graphics/image/image_decoders.hpp"

namespace quill {
namespace {

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

struct Header {
  std::int64_t width = 0, height = 0;  // height < 0: rows stored from the top
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::array<std::uint32_t, 3> masks{};  // red, green, blue
  std::size_t pixel_offset = 0;
};

// A colour mask as shift and width; false when its bits are not contiguous.
struct Field {
  unsigned shift = 0, width = 0;
};

bool field_of(std::uint32_t mask, Field& field) {
  if (mask == 0) return true;
  field.shift = static_cast<unsigned>(std::countr_zero(mask));
  field.width = static_cast<unsigned>(std::popcount(mask));
  return (mask >> field.shift) == (field.width == 32 ? 0xFFFFFFFFU : (1U << field.width) - 1U);
}

// A component of width bits widened (by repeating its bits) or cut to 8 bits.
std::uint8_t to_8_bits(std::uint32_t value, unsigned width) {
  if (width == 0) return 0;
  if (width >= 8) return static_cast<std::uint8_t>(value >> (width - 8));
  std::uint32_t wide = 0;
  for (int filled = 0; filled < 8; filled += static_cast<int>(width)) wide = (wide << width) | value;
  const int total = ((7 + static_cast<int>(width)) / static_cast<int>(width)) * static_cast<int>(width);
  return static_cast<std::uint8_t>(wide >> (total - 8));
}

bool read_header(ByteReader& in, Header& h, std::size_t& palette_start, std::size_t& entry_size,
                 std::uint32_t& colours_used) {
  in.seek(10);
  h.pixel_offset = in.le32();
  const std::uint32_t header_size = in.le32();
  entry_size = 4;
  if (header_size == 12) {
    h.width = in.le16();
    h.height = in.le16();
    in.le16();
    h.bits = in.le16();
    entry_size = 3;
    colours_used = 0;
  } else if (header_size == 40 || header_size == 52 || header_size == 56 || header_size == 108 ||
             header_size == 124) {
    h.width = static_cast<std::int32_t>(in.le32());
    h.height = static_cast<std::int32_t>(in.le32());
    in.le16();
    h.bits = in.le16();
    h.compression = in.le32();
    in.skip(12);
    colours_used = in.le32();
    in.skip(4);
  } else {
    return false;
  }
  const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
  if (fields) {
    if (header_size == 40) in.seek(54);
    for (auto& mask : h.masks) mask = in.le32();
    if (header_size == 40 && h.compression == kAlphaBitFields) in.le32();
  } else if (h.bits == 16) {
    h.masks = {0x7C00, 0x03E0, 0x001F};
  } else if (h.bits == 32) {
    h.masks = {0xFF0000, 0xFF00, 0xFF};
  }
  palette_start = header_size == 40 ? in.position() : 14 + header_size;
  const bool bits_ok =
      h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
  const bool compression_ok =
      h.compression == kRgb || (h.compression == kRle8 && h.bits == 8 && h.height > 0) ||
      (h.compression == kRle4 && h.bits == 4 && h.height > 0) || (fields && (h.bits == 16 || h.bits == 32));
  return in.ok() && bits_ok && compression_ok && h.width > 0 && h.height != 0 &&
         h.height != std::int64_t{INT32_MIN};
}

int target_depth(const Header& h) {
  if (h.bits <= 8) return h.bits == 8 ? 8 : 4;
  if (h.bits == 16 && h.masks == std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F}) return 16;
  if (h.bits == 32 && h.masks == std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF}) return 32;
  return 24;
}

// Uncompressed rows; false when a pixel names a colour the table lacks.
bool read_rows(std::span<const std::uint8_t> data, const Header& h, std::size_t stride, std::size_t colours,
               DecodedImage& out) {
  const int width = out.width;
  std::array<Field, 3> fields;
  for (std::size_t c = 0; c < 3; ++c) field_of(h.masks[c], fields[c]);
  for (int y = 0; y < out.height; ++y) {
    const std::uint8_t* src = data.data() + static_cast<std::size_t>(y) * stride;
    std::uint8_t* dest = out.row(h.height > 0 ? out.height - 1 - y : y);
    switch (out.depth) {
      case 4:
      case 8:
        for (int x = 0; x < width; ++x) {
          const auto bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(h.bits);
          const unsigned index =
              (src[bit / 8] >> (8U - static_cast<unsigned>(h.bits) - bit % 8)) & ((1U << h.bits) - 1U);
          if (index >= colours) return false;
          put_index(dest, out.depth, x, index);
        }
        break;
      case 16:
      case 24:
        if (h.bits == out.depth) {
          std::memcpy(dest, src, static_cast<std::size_t>(width) * static_cast<std::size_t>(h.bits / 8));
          break;
        }
        for (int x = 0; x < width; ++x) {
          const std::uint8_t* p = src + static_cast<std::size_t>(x) * static_cast<std::size_t>(h.bits / 8);
          const std::uint32_t value =
              h.bits == 16 ? p[0] | (p[1] << 8U)
                           : p[0] | (p[1] << 8U) | (p[2] << 16U) | (std::uint32_t{p[3]} << 24U);
          std::array<std::uint8_t, 3> rgb{};
          for (std::size_t c = 0; c < 3; ++c) {
            rgb[c] = to_8_bits((value & h.masks[c]) >> fields[c].shift, fields[c].width);
          }
          put_bgr(dest, x, rgb[0], rgb[1], rgb[2]);
        }
        break;
      default:
        for (int x = 0; x < width; ++x) {
          std::memcpy(dest + 4 * x, src + 4 * x, 3);
          dest[4 * x + 3] = 0;
        }
    }
  }
  return true;
}

// RLE8 and RLE4, rows from the bottom; pixels that fall outside the image are dropped,
// pixels the data skips keep index 0. False when the data ends before its end mark or a
// pixel names a colour the table lacks.
bool read_rle(std::span<const std::uint8_t> data, int bits, std::size_t colours, DecodedImage& out) {
  ByteReader in(data);
  int x = 0, y = 0;
  const auto put = [&](unsigned index) {
    if (index >= colours) return false;
    if (x < out.width && y < out.height) put_index(out.row(out.height - 1 - y), out.depth, x, index);
    ++x;
    return true;
  };
  while (true) {
    const std::uint8_t count = in.u8(), value = in.u8();
    if (!in.ok()) return false;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        const unsigned index = bits == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 15U);
        if (!put(index)) return false;
      }
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      x += in.u8();
      y += in.u8();
    } else {
      const std::size_t bytes = bits == 8 ? value : (value + 1U) / 2;
      const auto run = in.take(bytes + bytes % 2);
      if (!in.ok()) return false;
      for (int i = 0; i < value; ++i) {
        const std::uint8_t b = run[static_cast<std::size_t>(bits == 8 ? i : i / 2)];
        if (!put(bits == 8 ? b : (i % 2 == 0 ? b >> 4 : b & 15U))) return false;
      }
    }
    if (!in.ok()) return false;
    x = std::min(x, out.width);
    if (y >= out.height) return true;
  }
}

}  // namespace

DecodeStatus decode_bmp(std::span<const std::uint8_t> file, DecodedImage& out) {
  ByteReader in(file);
  Header h;
  std::size_t palette_start = 0, entry_size = 4;
  std::uint32_t colours_used = 0;
  if (!read_header(in, h, palette_start, entry_size, colours_used) || h.pixel_offset > file.size()) {
    return unsupported_image();
  }
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  std::size_t colours = 0;
  if (h.bits <= 8) {
    colours =
        colours_used == 0 ? std::size_t{1} << h.bits : std::min<std::size_t>(colours_used, 1U << h.bits);
    // A table that runs into the pixels ends where they begin.
    if (h.pixel_offset >= palette_start)
      colours = std::min(colours, (h.pixel_offset - palette_start) / entry_size);
    if (!in.seek(palette_start) || colours * entry_size > in.remaining()) return unsupported_image();
    for (std::size_t i = 0; i < colours; ++i) {
      PaletteEntry e{in.u8(), in.u8(), in.u8(), 0};
      if (entry_size == 4) in.u8();
      out.colours.push_back(e);
    }
  }
  Field probe;
  for (const std::uint32_t mask : h.masks) {
    if (!field_of(mask, probe) || (h.bits == 16 && mask > 0xFFFFU)) return unsupported_image();
  }
  if (const DecodeStatus s = check_image_size(h.width, rows, target_depth(h)); !s.ok()) return s;
  const auto data = file.subspan(h.pixel_offset);
  const auto pixels = static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(rows);
  if (h.compression == kRle8 || h.compression == kRle4) {
    // Runs and skips let a small file describe a large picture, but not without limit.
    if (pixels > std::max<std::uint64_t>(std::uint64_t{1} << 22, data.size() * std::uint64_t{1024})) {
      return unsupported_image();
    }
  } else {
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.bits) + 31) / 32 * 4;
    const std::uint64_t last_row =
        (static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.bits) + 7) / 8;
    if ((static_cast<std::uint64_t>(rows) - 1) * stride + last_row > data.size()) return unsupported_image();
  }
  if (const DecodeStatus s =
          allocate_image(out, static_cast<int>(h.width), static_cast<int>(rows), target_depth(h));
      !s.ok()) {
    return s;
  }
  const bool read =
      h.compression == kRle8 || h.compression == kRle4
          ? read_rle(data, h.bits, colours, out)
          : read_rows(data, h,
                      (static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bits) + 31) / 32 * 4,
                      colours, out);
  return read ? DecodeStatus{} : unsupported_image();
}

}  // namespace quill
