// Memory bitmaps: portable pixel storage at 4, 8, 16 (5-6-5), 24 or 32 bits per pixel,
// rows from the top padded to 4 bytes, and the table of bitmaps IGrSelect kind 2 takes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/drawing_state.hpp"
#include "graphics/image/pixel_buffer.hpp"

namespace quill {

inline constexpr int kMaxBitmaps = 50;
// Largest pixel store a bitmap may take (bytes); beyond it creation is refused.
inline constexpr std::size_t kMaxBitmapBytes = std::size_t{1} << 30;

class MemoryBitmap {
 public:
  // A white bitmap. colours: the colour table of a 4- or 8-bit bitmap (empty: the
  // standard 16 colours at 4 bits, the toolkit palette at 8 bits).
  MemoryBitmap(int width, int height, int depth, std::vector<PaletteEntry> colours = {});
  // A bitmap that takes over pixels already in its layout (rows from the top, each
  // padded_row_bytes(width, depth) long).
  MemoryBitmap(int width, int height, int depth, std::vector<PaletteEntry> colours,
               std::vector<std::uint8_t> pixels);

  int width() const { return width_; }
  int height() const { return height_; }
  int depth() const { return depth_; }
  bool true_colour() const { return depth_ > 8; }
  std::span<const PaletteEntry> colours() const { return colours_; }
  // The whole bitmap as the encoders read it.
  PixelBuffer buffer() const;
  // A copy of the pixels left..right, top..bottom (inclusive, clipped to the bitmap).
  MemoryBitmap crop(int left, int top, int right, int bottom) const;

  // The stored value of a colour: a colour table index (the nearest entry) or the packed
  // true-colour pixel.
  std::uint32_t native_value(Rgb colour) const;
  // Sets pixels x0..x1 (inclusive, already clipped) of row y to a native value.
  void fill_span(int y, int x0, int x1, std::uint32_t value);
  void fill(Rgb colour);
  // The colour of pixel (x, y), for tests and readers.
  Rgb pixel(int x, int y) const;
  // The stored value of pixel (x, y) (0 <= x < width, 0 <= y < height).
  std::uint32_t value(int x, int y) const;
  // The rows from the top, each padded to 4 bytes, as a device-independent bitmap lays them.
  std::span<const std::uint8_t> rows() const { return pixels_; }
  std::size_t pitch() const { return pitch_; }

 private:
  std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }
  const std::uint8_t* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }

  int width_, height_, depth_;
  std::size_t pitch_;
  std::vector<std::uint8_t> pixels_;
  std::vector<PaletteEntry> colours_;
};

// The standard 16 colours of 4-bit bitmaps.
std::vector<PaletteEntry> standard_16_colours();
// The toolkit palette (palette_colour) as a 256-entry colour table.
std::vector<PaletteEntry> toolkit_palette();
// Whether a bitmap of this size and depth may be made (positive size, supported depth,
// pixel store within kMaxBitmapBytes).
bool bitmap_size_allowed(int width, int height, int depth);

struct BitmapTable {
  std::array<std::unique_ptr<MemoryBitmap>, kMaxBitmaps + 1> slots;  // index 1..kMaxBitmaps
};
// The store's entry in the drawable seam: IGrSelect takes only bitmaps that exist.
void register_bitmap_store();
// Tells the bitmap's views that it changed.
void bitmap_changed(int id);

BitmapTable& bitmaps();
// The bitmap in slot id, or nullptr.
MemoryBitmap* bitmap_slot(int id);
// The memory bitmap that is the current drawable, or nullptr.
MemoryBitmap* current_bitmap();
// Test support: frees every bitmap.
void reset_bitmaps_for_tests();

}  // namespace quill
