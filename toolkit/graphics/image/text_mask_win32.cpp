// Text masks through GDI: the text is drawn white on black into a 32-bit DIB section
// around its reference point and the lit pixels are kept.
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "graphics/gdi/text_face_win32.hpp"
#include "graphics/image/text_mask.hpp"

namespace quill {
namespace {

// The GDI objects of one rendering, released on every path.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HFONT font = nullptr;
  HGDIOBJ old_bitmap = nullptr, old_font = nullptr;
  ~Canvas() {
    if (dc != nullptr) {
      if (old_font != nullptr) SelectObject(dc, old_font);
      if (old_bitmap != nullptr) SelectObject(dc, old_bitmap);
      DeleteDC(dc);
    }
    if (font != nullptr) DeleteObject(font);
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
};

}  // namespace

bool render_text_mask(std::string_view text, const TextAttributes& attributes, double pixel_height,
                      TextMask& out) {
  if (text.empty() || !(pixel_height >= 1.0) || pixel_height > 4000.0) return false;
  Canvas c;
  c.dc = CreateCompatibleDC(nullptr);
  LOGFONTA font{};
  font.lfHeight = -static_cast<LONG>(std::lround(pixel_height));
  font.lfEscapement = font.lfOrientation = static_cast<LONG>(std::lround(attributes.rotation * 10.0));
  font.lfWeight = (attributes.style & 1) != 0 ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (attributes.style & 2) != 0 ? TRUE : FALSE;
  font.lfQuality = NONANTIALIASED_QUALITY;
  set_text_face(font, attributes.family);
  c.font = CreateFontIndirectA(&font);
  if (c.dc == nullptr || c.font == nullptr) return false;
  c.old_font = SelectObject(c.dc, c.font);
  SIZE extent{};
  GetTextExtentPoint32A(c.dc, text.data(), static_cast<int>(text.size()), &extent);
  // A square around the reference point that holds the text at any rotation.
  const int half = static_cast<int>(extent.cx + extent.cy) + 2;
  const int side = 2 * half;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  c.bitmap = CreateDIBSection(c.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (c.bitmap == nullptr || bits == nullptr) return false;
  c.old_bitmap = SelectObject(c.dc, c.bitmap);
  std::fill_n(static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(side) * side, 0U);
  const UINT align = attributes.mode == 1 || attributes.justification == 0 ? TA_LEFT
                     : attributes.justification == 1                       ? TA_CENTER
                                                                           : TA_RIGHT;
  SetTextAlign(c.dc, align | TA_BASELINE);
  SetBkMode(c.dc, TRANSPARENT);
  SetTextColor(c.dc, RGB(255, 255, 255));
  TextOutA(c.dc, half, half, text.data(), static_cast<int>(text.size()));
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  int left = side, top = side, right = -1, bottom = -1;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      if ((pixels[static_cast<std::size_t>(y) * side + x] & 0xFFFFFFU) != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  if (right < left) return false;
  out.width = right - left + 1;
  out.height = bottom - top + 1;
  out.left = left - half;
  out.top = top - half;
  out.covered.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y + top) * side + (x + left)];
      out.covered[static_cast<std::size_t>(y) * out.width + x] = (p & 0xFFFFFFU) != 0 ? 1 : 0;
    }
  }
  return true;
}

}  // namespace quill
