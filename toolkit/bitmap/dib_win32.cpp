#include "bitmap/dib_win32.hpp"

#include <algorithm>
#include <cstring>

namespace quill {

DibInfo describe_dib(const MemoryBitmap& bitmap, int rows, int width) {
  DibInfo dib;
  dib.header.biSize = sizeof(BITMAPINFOHEADER);
  dib.header.biWidth = width >= 0 ? width : bitmap.width();
  dib.header.biHeight = -rows;
  dib.header.biPlanes = 1;
  dib.header.biBitCount = static_cast<WORD>(bitmap.depth());
  dib.header.biCompression = bitmap.depth() == 16 ? BI_BITFIELDS : BI_RGB;
  if (bitmap.depth() == 16) {
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(dib.colours, masks, sizeof masks);
    return dib;
  }
  const auto colours = bitmap.colours();
  const std::size_t count = std::min<std::size_t>(colours.size(), 256);
  for (std::size_t i = 0; i < count; ++i) {
    dib.colours[i] = RGBQUAD{colours[i].blue, colours[i].green, colours[i].red, 0};
  }
  dib.header.biClrUsed = static_cast<DWORD>(count);
  return dib;
}

HBITMAP make_gdi_bitmap(const MemoryBitmap& bitmap) {
  const DibInfo dib = describe_dib(bitmap, bitmap.height());
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP made = CreateDIBSection(screen, dib.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (made == nullptr || bits == nullptr) {
    if (made != nullptr) DeleteObject(made);
    return nullptr;
  }
  // A DIB section's rows are padded to 4 bytes, as the bitmap's are.
  std::memcpy(bits, bitmap.rows().data(), bitmap.rows().size());
  GdiFlush();
  return made;
}

}  // namespace quill
