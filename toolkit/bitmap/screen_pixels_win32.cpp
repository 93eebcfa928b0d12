// The pixel operations on windows and graphics fields: they work on the drawable's back
// buffer through GDI, and the window shows the result.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "bitmap/bitmap_layer_win32.hpp"
#include "bitmap/screen_pixels.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/screen/screen_buffer_win32.hpp"

namespace quill {
namespace {

// box clipped to the current drawable; false when nothing is left.
bool clip_to_drawable(PixelBox& box) {
  const int w = static_cast<int>(drawing().drawable.width), h = static_cast<int>(drawing().drawable.height);
  const int right = std::min(box.x + box.width, w), bottom = std::min(box.y + box.height, h);
  box.x = std::max(box.x, 0);
  box.y = std::max(box.y, 0);
  box.width = right - box.x;
  box.height = bottom - box.y;
  return box.width > 0 && box.height > 0;
}

BITMAPINFO top_down_32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::unique_ptr<MemoryBitmap> read(PixelBox box) {
  HDC source = screen_back_buffer();
  if (source == nullptr || !clip_to_drawable(box)) return nullptr;
  BITMAPINFO info = top_down_32(box.width, box.height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib == nullptr) return nullptr;
  HDC memory = CreateCompatibleDC(source);
  HGDIOBJ old = SelectObject(memory, dib);
  const bool ok = BitBlt(memory, 0, 0, box.width, box.height, source, box.x, box.y, SRCCOPY) != 0;
  GdiFlush();
  std::unique_ptr<MemoryBitmap> out;
  if (ok) {
    out = std::make_unique<MemoryBitmap>(box.width, box.height, 24);
    const auto* pixel = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < box.height; ++y) {
      for (int x = 0; x < box.width; ++x, pixel += 4) {
        out->fill_span(y, x, x, out->native_value(Rgb{pixel[2], pixel[1], pixel[0]}));
      }
    }
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(dib);
  return out;
}

DWORD raster_operation(BitwiseMode mode) {
  switch (mode) {
    case BitwiseMode::And: return SRCAND;
    case BitwiseMode::Or: return SRCPAINT;
    case BitwiseMode::Xor: return SRCINVERT;
    case BitwiseMode::Invert: return NOTSRCCOPY;
    default: return SRCCOPY;
  }
}

bool write(const MemoryBitmap& source, PixelBox box, int to_x, int to_y, BitwiseMode mode) {
  HDC target = screen_back_buffer();
  if (target == nullptr) return false;
  // Clip to the source first, then to the drawable, moving the other side along.
  PixelBox from = box;
  from.x = std::max(box.x, 0);
  from.y = std::max(box.y, 0);
  from.width = std::min(box.x + box.width, source.width()) - from.x;
  from.height = std::min(box.y + box.height, source.height()) - from.y;
  PixelBox to{to_x + from.x - box.x, to_y + from.y - box.y, from.width, from.height};
  const PixelBox wanted = to;
  if (from.width <= 0 || from.height <= 0 || !clip_to_drawable(to)) return false;
  from.x += to.x - wanted.x;
  from.y += to.y - wanted.y;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(to.width) * static_cast<std::size_t>(to.height));
  std::size_t i = 0;
  for (int y = 0; y < to.height; ++y) {
    for (int x = 0; x < to.width; ++x, ++i) {
      const Rgb c = source.pixel(from.x + x, from.y + y);
      pixels[i] =
          (static_cast<std::uint32_t>(c.red) << 16) | (static_cast<std::uint32_t>(c.green) << 8) | c.blue;
    }
  }
  const BITMAPINFO info = top_down_32(to.width, to.height);
  const bool ok = StretchDIBits(target, to.x, to.y, to.width, to.height, 0, 0, to.width, to.height,
                                pixels.data(), &info, DIB_RGB_COLORS, raster_operation(mode)) != 0;
  show_screen_back_buffer();
  return ok;
}

}  // namespace

void register_screen_pixels() {
  register_layer(ScreenPixels{.name = "screen", .read = read, .write = write});
}

}  // namespace quill
