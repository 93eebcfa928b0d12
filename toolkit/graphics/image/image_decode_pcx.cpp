// PCX files: 1 bit in 1 to 4 planes, 2, 4 and 8 bits in one plane (with the 256-colour
// palette after the image, or grey without it), 8 bits in 3 or 4 planes; run-length
// encoded or plain.
#include <algorithm>

#include "graphics/image/image_byte_reader.hpp"
#include "graphics/image/image_decoders.hpp"

namespace quill {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteSize = 769;  // the mark 12 and 256 red-green-blue triples
// A run of up to 63 bytes takes two bytes of the file.
constexpr std::uint64_t kMaxRunRatio = 32;

bool layout_supported(int bits, int planes) {
  return (bits == 1 && planes >= 1 && planes <= 4) || ((bits == 2 || bits == 4) && planes == 1) ||
         (bits == 8 && (planes == 1 || planes == 3 || planes == 4));
}

// Decodes the scan lines one at a time; a run may go on into the next line.
class LineDecoder {
 public:
  LineDecoder(std::span<const std::uint8_t> data, bool encoded) : in_(data), encoded_(encoded) {}
  bool next(std::span<std::uint8_t> line) {
    for (std::uint8_t& out : line) {
      if (run_ == 0) {
        const std::uint8_t b = in_.u8();
        if (encoded_ && b >= 192) {
          run_ = b - 192U;
          value_ = in_.u8();
        } else {
          run_ = 1;
          value_ = b;
        }
        if (!in_.ok() || run_ == 0) return false;
      }
      out = value_;
      --run_;
    }
    return true;
  }

 private:
  ByteReader in_;
  bool encoded_;
  unsigned run_ = 0;
  std::uint8_t value_ = 0;
};

}  // namespace

DecodeStatus decode_pcx(std::span<const std::uint8_t> file, DecodedImage& out) {
  ByteReader in(file);
  const std::uint8_t manufacturer = in.u8(), version = in.u8(), encoding = in.u8(), bits = in.u8();
  const int left = in.le16(), top = in.le16(), right = in.le16(), bottom = in.le16();
  in.seek(16);
  const auto header_colours = in.take(48);
  in.seek(65);
  const int planes = in.u8();
  const std::size_t line_bytes = in.le16();
  if (!in.ok() || file.size() < kHeaderSize || manufacturer != 10 || version > 5 || encoding > 1 ||
      !layout_supported(bits, planes) || right < left || bottom < top) {
    return unsupported_image();
  }
  const int width = right - left + 1, height = bottom - top + 1;
  if (line_bytes < (static_cast<std::size_t>(width) * bits + 7) / 8) return unsupported_image();

  std::size_t data_end = file.size();
  const int depth = bits == 8 && planes > 1 ? 24 : bits == 8 ? 8 : 4;
  if (depth == 8) {
    if (file.size() >= kHeaderSize + kPaletteSize && file[file.size() - kPaletteSize] == 12) {
      data_end -= kPaletteSize;
      const auto table = file.subspan(data_end + 1);
      for (std::size_t i = 0; i < 256; ++i)
        out.colours.push_back({table[3 * i + 2], table[3 * i + 1], table[3 * i], 0});
    } else {
      out.colours = grey_ramp(256);
    }
  } else if (depth == 4 && bits == 1 && planes == 1) {
    out.colours = grey_ramp(2);
  } else if (depth == 4) {
    for (std::size_t i = 0; i < 16; ++i) {
      out.colours.push_back({header_colours[3 * i + 2], header_colours[3 * i + 1], header_colours[3 * i], 0});
    }
  }
  if (const DecodeStatus s = check_image_size(width, height, depth); !s.ok()) return s;
  const auto data = file.subspan(kHeaderSize, data_end - kHeaderSize);
  const std::uint64_t scan_bytes = static_cast<std::uint64_t>(line_bytes) *
                                   static_cast<std::uint64_t>(planes) * static_cast<std::uint64_t>(height);
  if (scan_bytes > data.size() * (encoding == 1 ? kMaxRunRatio : 1)) return unsupported_image();
  if (const DecodeStatus s = allocate_image(out, width, height, depth); !s.ok()) return s;

  LineDecoder decoder(data, encoding == 1);
  std::vector<std::uint8_t> line(line_bytes * static_cast<std::size_t>(planes));
  for (int y = 0; y < height; ++y) {
    if (!decoder.next(line)) return unsupported_image();
    std::uint8_t* dest = out.row(y);
    for (int x = 0; x < width; ++x) {
      const auto at = static_cast<std::size_t>(x);
      if (depth == 24) {
        put_bgr(dest, x, line[at], line[line_bytes + at], line[2 * line_bytes + at]);
      } else if (bits == 8) {
        dest[at] = line[at];
      } else if (bits == 1) {
        unsigned index = 0;
        for (int p = 0; p < planes; ++p) {
          index |= ((line[static_cast<std::size_t>(p) * line_bytes + at / 8] >> (7 - at % 8)) & 1U) << p;
        }
        put_index(dest, 4, x, index);
      } else {
        const std::size_t bit = at * bits;
        put_index(dest, 4, x, (line[bit / 8] >> (8 - bits - bit % 8)) & ((1U << bits) - 1U));
      }
    }
  }
  return {};
}

}  // namespace quill
