#include "graphics/image/memory_bitmap.hpp"

#include <algorithm>

namespace quill {
namespace {

PaletteEntry entry(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { return {blue, green, red, 0}; }

std::uint8_t top5(std::uint8_t value) { return static_cast<std::uint8_t>(value >> 3); }

}  // namespace

std::vector<PaletteEntry> standard_16_colours() {
  return {entry(0, 0, 0),       entry(128, 0, 0),   entry(0, 128, 0),   entry(128, 128, 0),
          entry(0, 0, 128),     entry(128, 0, 128), entry(0, 128, 128), entry(192, 192, 192),
          entry(128, 128, 128), entry(255, 0, 0),   entry(0, 255, 0),   entry(255, 255, 0),
          entry(0, 0, 255),     entry(255, 0, 255), entry(0, 255, 255), entry(255, 255, 255)};
}

std::vector<PaletteEntry> toolkit_palette() {
  std::vector<PaletteEntry> table;
  table.reserve(256);
  for (int i = 0; i < 256; ++i) {
    const Rgb c = palette_colour(i);
    table.push_back(entry(c.red, c.green, c.blue));
  }
  return table;
}

bool bitmap_size_allowed(int width, int height, int depth) {
  if (width < 1 || height < 1 || !supported_depth(depth)) {
    return false;
  }
  return padded_row_bytes(width, depth) <= kMaxBitmapBytes / static_cast<std::size_t>(height);
}

MemoryBitmap::MemoryBitmap(int width, int height, int depth, std::vector<PaletteEntry> colours)
    : width_(width),
      height_(height),
      depth_(depth),
      pitch_(padded_row_bytes(width, depth)),
      pixels_(pitch_ * static_cast<std::size_t>(height)),
      colours_(std::move(colours)) {
  if (colours_.empty() && depth == 4) {
    colours_ = standard_16_colours();
  } else if (colours_.empty() && depth == 8) {
    colours_ = toolkit_palette();
  }
  fill(Rgb{255, 255, 255});
}

MemoryBitmap::MemoryBitmap(int width, int height, int depth, std::vector<PaletteEntry> colours,
                           std::vector<std::uint8_t> pixels)
    : width_(width),
      height_(height),
      depth_(depth),
      pitch_(padded_row_bytes(width, depth)),
      pixels_(std::move(pixels)),
      colours_(std::move(colours)) {}

PixelBuffer MemoryBitmap::buffer() const {
  PixelBuffer b;
  b.width = width_;
  b.height = height_;
  b.bits_per_pixel = depth_;
  b.bitfields_565 = true;
  b.colours = colours_;
  b.pixels = pixels_;
  b.row_pitch = pitch_;
  b.bottom_up = false;
  return b;
}

MemoryBitmap MemoryBitmap::crop(int left, int top, int right, int bottom) const {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_ - 1);
  bottom = std::min(bottom, height_ - 1);
  MemoryBitmap out(std::max(right - left + 1, 1), std::max(bottom - top + 1, 1), depth_, colours_);
  if (right < left || bottom < top) {
    return out;
  }
  for (int y = top; y <= bottom; ++y) {
    if (depth_ == 4) {
      for (int x = left; x <= right; ++x) {
        const std::uint8_t pair = row(y)[x / 2];
        out.fill_span(y - top, x - left, x - left, x % 2 == 0 ? pair >> 4 : pair & 15U);
      }
    } else {
      const std::size_t bytes = static_cast<std::size_t>(depth_ / 8);
      std::copy_n(row(y) + static_cast<std::size_t>(left) * bytes,
                  static_cast<std::size_t>(right - left + 1) * bytes, out.row(y - top));
    }
  }
  return out;
}

std::uint32_t MemoryBitmap::native_value(Rgb c) const {
  switch (depth_) {
    case 16:
      return (static_cast<std::uint32_t>(top5(c.red)) << 11) |
             (static_cast<std::uint32_t>(c.green >> 2) << 5) | top5(c.blue);
    case 24:
    case 32:
      return (static_cast<std::uint32_t>(c.red) << 16) | (static_cast<std::uint32_t>(c.green) << 8) | c.blue;
    default: break;
  }
  std::uint32_t best = 0;
  int best_distance = 1 << 30;
  for (std::size_t i = 0; i < colours_.size(); ++i) {
    const int dr = colours_[i].red - c.red, dg = colours_[i].green - c.green, db = colours_[i].blue - c.blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<std::uint32_t>(i);
    }
  }
  return best;
}

void MemoryBitmap::fill_span(int y, int x0, int x1, std::uint32_t value) {
  std::uint8_t* r = row(y);
  const auto b0 = static_cast<std::uint8_t>(value), b1 = static_cast<std::uint8_t>(value >> 8),
             b2 = static_cast<std::uint8_t>(value >> 16);
  for (auto x = static_cast<std::size_t>(x0); x <= static_cast<std::size_t>(x1); ++x) {
    switch (depth_) {
      case 4:
        r[x / 2] = static_cast<std::uint8_t>(x % 2 == 0 ? (r[x / 2] & 0x0FU) | (b0 << 4)
                                                        : (r[x / 2] & 0xF0U) | (b0 & 15U));
        break;
      case 8: r[x] = b0; break;
      case 16:
        r[2 * x] = b0;
        r[2 * x + 1] = b1;
        break;
      case 24:
        r[3 * x] = b0;
        r[3 * x + 1] = b1;
        r[3 * x + 2] = b2;
        break;
      default:
        r[4 * x] = b0;
        r[4 * x + 1] = b1;
        r[4 * x + 2] = b2;
        r[4 * x + 3] = 0;
        break;
    }
  }
}

void MemoryBitmap::fill(Rgb colour) {
  const std::uint32_t value = native_value(colour);
  for (int y = 0; y < height_; ++y) {
    fill_span(y, 0, width_ - 1, value);
  }
}

Rgb MemoryBitmap::pixel(int x, int y) const {
  const PixelBuffer b = buffer();
  if (depth_ <= 8) {
    const PaletteEntry e = palette_entry(b, palette_index(b, row(y), x));
    return {e.red, e.green, e.blue};
  }
  const RgbTriple t = true_colour_pixel(b, row(y), x);
  return {t.red, t.green, t.blue};
}

std::uint32_t MemoryBitmap::value(int x, int y) const {
  const std::uint8_t* r = row(y);
  const auto at = static_cast<std::size_t>(x);
  switch (depth_) {
    case 4: return at % 2 == 0 ? r[at / 2] >> 4U : r[at / 2] & 15U;
    case 8: return r[at];
    case 16: return r[2 * at] | (static_cast<std::uint32_t>(r[2 * at + 1]) << 8);
    case 24:
      return r[3 * at] | (static_cast<std::uint32_t>(r[3 * at + 1]) << 8) |
             (static_cast<std::uint32_t>(r[3 * at + 2]) << 16);
    default:
      return r[4 * at] | (static_cast<std::uint32_t>(r[4 * at + 1]) << 8) |
             (static_cast<std::uint32_t>(r[4 * at + 2]) << 16);
  }
}

void bitmap_changed(int id) { tell_layers(&DrawableLayer::bitmap_changed, id); }

void register_bitmap_store() {
  register_layer(DrawableLayer{.name = "memory bitmaps",
                               .bitmap_exists = [](int id) { return bitmap_slot(id) != nullptr; }});
}

BitmapTable& bitmaps() {
  static BitmapTable table;
  return table;
}

MemoryBitmap* bitmap_slot(int id) {
  if (id < 1 || id > kMaxBitmaps) {
    return nullptr;
  }
  return bitmaps().slots[static_cast<std::size_t>(id)].get();
}

MemoryBitmap* current_bitmap() {
  const Drawable& drawable = drawing().drawable;
  return drawable.kind == DrawableKind::Bitmap ? bitmap_slot(drawable.id) : nullptr;
}

void reset_bitmaps_for_tests() {
  for (auto& slot : bitmaps().slots) {
    slot.reset();
  }
  drawing().bitmap_count = 0;
}

}  // namespace quill
