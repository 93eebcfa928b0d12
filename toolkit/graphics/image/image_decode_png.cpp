// PNG: every colour type and bit depth, Adam7, the five filters, CRC-checked chunks and
// the image data of any number of IDAT chunks inflated in one zlib call.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include "base/error_codes.hpp"
#include "graphics/image/image_byte_reader.hpp"
#include "graphics/image/image_decoders.hpp"

namespace quill {
namespace {

constexpr std::uint32_t kMaxChunk = 0x7FFFFFFFU;
// Deflate never expands more than 1032 to 1; more image data than that is a lie.
constexpr std::uint64_t kMaxInflateRatio = 1032;

enum ColourType : std::uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

struct Header {
  int width = 0, height = 0, bit_depth = 0, colour_type = 0;
  bool interlaced = false;
  int channels() const {
    switch (colour_type) {
      case kRgb: return 3;
      case kGreyAlpha: return 2;
      case kRgba: return 4;
      default: return 1;
    }
  }
  std::uint64_t row_bytes(int pixels) const {
    return (static_cast<std::uint64_t>(pixels) * static_cast<std::uint64_t>(channels() * bit_depth) + 7) / 8;
  }
  // Bytes from a pixel to the one on its left that the filters use.
  std::size_t filter_step() const {
    return static_cast<std::size_t>(std::max(1, channels() * bit_depth / 8));
  }
};

bool valid_depth(int colour_type, int bits) {
  switch (colour_type) {
    case kGrey: return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
    case kPalette: return bits == 1 || bits == 2 || bits == 4 || bits == 8;
    case kRgb:
    case kGreyAlpha:
    case kRgba: return bits == 8 || bits == 16;
    default: return false;
  }
}

bool read_header(std::span<const std::uint8_t> data, Header& h) {
  ByteReader in(data);
  const std::uint32_t width = in.be32(), height = in.be32();
  h.bit_depth = in.u8();
  h.colour_type = in.u8();
  const std::uint8_t compression = in.u8(), filter = in.u8(), interlace = in.u8();
  if (data.size() != 13 || width == 0 || height == 0 || width > kMaxChunk || height > kMaxChunk ||
      !valid_depth(h.colour_type, h.bit_depth) || compression != 0 || filter != 0 || interlace > 1) {
    return false;
  }
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);
  h.interlaced = interlace == 1;
  return true;
}

struct Pass {
  int x0, y0, dx, dy;
};
constexpr std::array<Pass, 7> kAdam7 = {
    {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
constexpr Pass kWhole = {0, 0, 1, 1};

int pass_extent(int size, int start, int step) { return size > start ? (size - start + step - 1) / step : 0; }

std::uint64_t raw_size(const Header& h) {
  if (!h.interlaced) {
    return static_cast<std::uint64_t>(h.height) * (1 + h.row_bytes(h.width));
  }
  std::uint64_t total = 0;
  for (const Pass& p : kAdam7) {
    const int w = pass_extent(h.width, p.x0, p.dx), rows = pass_extent(h.height, p.y0, p.dy);
    if (w > 0) total += static_cast<std::uint64_t>(rows) * (1 + h.row_bytes(w));
  }
  return total;
}

// The Paeth predictor, written so that compilers choose without branches (noisy pictures
// would mispredict nearly every other one).
inline std::uint8_t paeth(int a, int b, int c) {
  const int p = b - c, q = a - c;
  int pa = p < 0 ? -p : p;
  const int pb = q < 0 ? -q : q, pc = (p + q) < 0 ? -(p + q) : p + q;
  int chosen = a;
  if (pb < pa) {
    pa = pb;
    chosen = b;
  }
  return static_cast<std::uint8_t>(pc < pa ? c : chosen);
}

// Undoes the filter of one row in place; prior is the row above (unfiltered) or null.
bool unfilter(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t size,
              std::size_t step) {
  switch (filter) {
    case 0: return true;
    case 1:
      for (std::size_t i = step; i < size; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - step]);
      return true;
    case 2:
      if (prior != nullptr) {
        for (std::size_t i = 0; i < size; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      }
      return true;
    case 3:
      for (std::size_t i = 0; i < size; ++i) {
        const int left = i >= step ? row[i - step] : 0, up = prior != nullptr ? prior[i] : 0;
        row[i] = static_cast<std::uint8_t>(row[i] + ((left + up) >> 1));
      }
      return true;
    case 4:
      if (prior == nullptr) {
        for (std::size_t i = step; i < size; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - step]);
        return true;
      }
      for (std::size_t i = 0; i < step && i < size; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      for (std::size_t i = step; i < size; ++i) {
        row[i] = static_cast<std::uint8_t>(row[i] + paeth(row[i - step], prior[i], prior[i - step]));
      }
      return true;
    default: return false;
  }
}

// The colour table of the bitmap and the depth its pixels get.
struct Target {
  int depth = 24;
  std::size_t palette_size = 0;  // palette images: indices must stay below it
};

Target target_of(const Header& h, std::size_t palette_entries) {
  switch (h.colour_type) {
    case kPalette: return {h.bit_depth < 8 ? 4 : 8, palette_entries};
    case kGrey:
    case kGreyAlpha: return {h.bit_depth < 8 ? 4 : 8, 0};
    default: return {24, 0};
  }
}

// Sample c of pixel x of an unfiltered row, cut to 8 bits (16-bit samples keep their high
// byte; samples below 8 bits stay as they are, an index into a ramp or palette).
inline unsigned sample(const Header& h, const std::uint8_t* row, int x, int c) {
  const int channels = h.channels();
  switch (h.bit_depth) {
    case 8: return row[static_cast<std::size_t>(x * channels + c)];
    case 16: return row[static_cast<std::size_t>(2 * (x * channels + c))];
    default: {
      const auto bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(h.bit_depth);
      const unsigned shift = 8U - static_cast<unsigned>(h.bit_depth) - static_cast<unsigned>(bit % 8);
      return (row[bit / 8] >> shift) & ((1U << h.bit_depth) - 1U);
    }
  }
}

// Stores the pixels of one unfiltered row (of a pass) into the image.
bool store_row(const Header& h, const Target& t, const std::uint8_t* row, const Pass& p, int pass_width,
               int y, DecodedImage& out) {
  std::uint8_t* dest = out.row(y);
  if (!h.interlaced && h.colour_type == kRgb && h.bit_depth == 8) {
    for (int x = 0; x < pass_width; ++x, row += 3) put_bgr(dest, x, row[0], row[1], row[2]);
    return true;
  }
  for (int i = 0, x = p.x0; i < pass_width; ++i, x += p.dx) {
    if (t.depth == 24) {
      put_bgr(dest, x, static_cast<std::uint8_t>(sample(h, row, i, 0)),
              static_cast<std::uint8_t>(sample(h, row, i, 1)),
              static_cast<std::uint8_t>(sample(h, row, i, 2)));
      continue;
    }
    const unsigned index = sample(h, row, i, 0);
    if (h.colour_type == kPalette && index >= t.palette_size) {
      return false;
    }
    put_index(dest, t.depth, x, index);
  }
  return true;
}

struct Chunks {
  Header header;
  std::vector<PaletteEntry> palette;
  std::vector<std::span<const std::uint8_t>> data;  // the IDAT chunks in order
  std::uint64_t data_size = 0;
};

bool is_letter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Walks the chunks up to IEND, checking every CRC and the order the format requires.
bool read_chunks(std::span<const std::uint8_t> file, Chunks& chunks) {
  ByteReader in(file);
  in.skip(8);
  bool have_header = false, data_ended = false;
  while (true) {
    const std::uint32_t length = in.be32();
    const auto type_and_data = in.take(4 + static_cast<std::size_t>(length));
    const std::uint32_t crc = in.be32();
    if (!in.ok() || length > kMaxChunk) return false;
    const auto crc_length = static_cast<uInt>(type_and_data.size());
    if (crc != static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), type_and_data.data(), crc_length)))
      return false;
    const std::string_view type(reinterpret_cast<const char*>(type_and_data.data()), 4);
    const auto data = type_and_data.subspan(4);
    if (!std::all_of(type_and_data.begin(), type_and_data.begin() + 4, is_letter)) return false;
    if (!have_header) {
      if (type != "IHDR" || !read_header(data, chunks.header)) return false;
      have_header = true;
      continue;
    }
    if (type == "IEND") {
      return !chunks.data.empty() && (chunks.header.colour_type != kPalette || !chunks.palette.empty());
    }
    if (!chunks.data.empty() && type != "IDAT") data_ended = true;
    if (type == "IDAT") {
      if (data_ended) return false;
      chunks.data.push_back(data);
      chunks.data_size += data.size();
    } else if (type == "PLTE") {
      const int colour_type = chunks.header.colour_type;
      const std::size_t entries = data.size() / 3;
      if (!chunks.palette.empty() || !chunks.data.empty() || data.size() % 3 != 0 || entries == 0 ||
          entries > 256 || colour_type == kGrey || colour_type == kGreyAlpha ||
          (colour_type == kPalette && entries > (std::size_t{1} << chunks.header.bit_depth))) {
        return false;
      }
      for (std::size_t i = 0; i < entries; ++i) {
        chunks.palette.push_back({data[3 * i + 2], data[3 * i + 1], data[3 * i], 0});
      }
    } else if ((type[0] & 0x20) == 0 || type == "IHDR") {
      return false;  // an unknown critical chunk, or a second header
    }
  }
}

}  // namespace

DecodeStatus decode_png(std::span<const std::uint8_t> file, DecodedImage& out) {
  Chunks chunks;
  if (!read_chunks(file, chunks)) return unsupported_image();
  const Header& h = chunks.header;
  const Target target = target_of(h, chunks.palette.size());
  if (const DecodeStatus s = check_image_size(h.width, h.height, target.depth); !s.ok()) return s;
  const std::uint64_t size = raw_size(h);
  if (size > chunks.data_size * kMaxInflateRatio + 64 || size > std::numeric_limits<uLong>::max()) {
    return unsupported_image();
  }
  // A plain image inflates into the end of the bitmap's own store, far enough back that
  // each finished row lands behind the rows still to come: no second image-sized buffer
  // (whose fresh pages cost as much as inflating). Adam7 passes scatter, so an
  // interlaced image gets a buffer of its own.
  const std::size_t pitch = padded_row_bytes(h.width, target.depth),
                    rows = static_cast<std::size_t>(h.height);
  const std::size_t stride = 1 + static_cast<std::size_t>(h.row_bytes(h.width));
  const std::size_t lead = h.interlaced ? 0 : rows * (pitch > stride ? pitch - stride : 0);
  if (!h.interlaced) out.pixels.reserve(std::max(pitch * rows, lead + static_cast<std::size_t>(size)));
  if (const DecodeStatus s = allocate_image(out, h.width, h.height, target.depth); !s.ok()) return s;
  if (h.colour_type == kPalette) {
    out.colours = chunks.palette;
  } else if (target.depth <= 8) {
    out.colours = grey_ramp(h.bit_depth < 8 ? 1 << h.bit_depth : 256);
  }

  std::vector<std::uint8_t> joined;
  std::span<const std::uint8_t> compressed = chunks.data.front();
  if (chunks.data.size() > 1) {
    joined.reserve(static_cast<std::size_t>(chunks.data_size));
    for (const auto part : chunks.data) joined.insert(joined.end(), part.begin(), part.end());
    compressed = joined;
  }
  std::unique_ptr<std::uint8_t[]> separate;
  std::uint8_t* raw = nullptr;
  if (h.interlaced) {
    separate.reset(new std::uint8_t[static_cast<std::size_t>(size)]);  // every byte is inflated into
    raw = separate.get();
  } else {
    out.pixels.resize(std::max(out.pixels.size(), lead + static_cast<std::size_t>(size)));
    raw = out.pixels.data() + lead;
  }
  auto raw_length = static_cast<uLongf>(size);
  const int z = uncompress(raw, &raw_length, compressed.data(), static_cast<uLong>(compressed.size()));
  if (z != Z_OK) return {error::kZlib, z};
  if (raw_length != size) return unsupported_image();

  // Each row is copied out before it is unfiltered, so writing the row into the store
  // may overwrite its filtered bytes; the row above stays in the other half.
  std::vector<std::uint8_t> work(2 * stride);
  const std::size_t step = h.filter_step();
  const auto passes = h.interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(&kWhole, 1);
  for (const Pass& p : passes) {
    const int w = pass_extent(h.width, p.x0, p.dx), pass_rows = pass_extent(h.height, p.y0, p.dy);
    if (w == 0) continue;
    const auto bytes = static_cast<std::size_t>(h.row_bytes(w));
    std::uint8_t* current = work.data();
    std::uint8_t* prior = nullptr;
    for (int r = 0; r < pass_rows; ++r) {
      std::memcpy(current, raw, bytes + 1);
      raw += bytes + 1;
      if (!unfilter(current[0], current + 1, prior == nullptr ? nullptr : prior + 1, bytes, step) ||
          !store_row(h, target, current + 1, p, w, p.y0 + r * p.dy, out)) {
        return unsupported_image();
      }
      prior = current;
      current = current == work.data() ? work.data() + stride : work.data();
    }
  }
  out.pixels.resize(pitch * rows);
  if (out.pixels.capacity() > out.pixels.size() + out.pixels.size() / 4) out.pixels.shrink_to_fit();
  return {};
}

}  // namespace quill
