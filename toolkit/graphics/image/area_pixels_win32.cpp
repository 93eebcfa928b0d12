// Reading the area of a window or of a dialog's graphics field through GDI at the display's own depth, and handing an image to
// the clipboard as a device-dependent bitmap.
#include <windows.h>

#include <cstring>
#include <new>

#include "core/window_layers.hpp"
#include "core/window_table.hpp"
#include "graphics/image/area_pixels.hpp"
#include "graphics/screen/screen_buffer_win32.hpp"

namespace quill {
namespace {

// BITMAPINFO with room for 256 colours or the three 16-bit masks.
struct DibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colours[256]{};
};

ImageResult api_failure() { return {ImageError::Api, static_cast<int>(GetLastError())}; }

int supported_display_depth(int bits) {
  if (bits <= 4) return 4;
  if (bits <= 8) return 8;
  if (bits <= 16) return 16;
  return bits <= 24 ? 24 : 32;
}

void describe(DibInfo& info, int width, int height, int depth) {
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(depth);
  info.header.biCompression = depth == 16 ? BI_BITFIELDS : BI_RGB;
  if (depth == 16) {
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.colours, masks, sizeof masks);
  }
}

// Owns the GDI objects of one capture and releases them on every path.
struct CaptureObjects {
  HWND window = nullptr;
  HDC screen = nullptr;
  HDC memory = nullptr;
  HBITMAP bitmap = nullptr;
  ~CaptureObjects() {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    if (screen != nullptr) ReleaseDC(window, screen);
  }
};

HWND window_handle(int window) {
  if (window < 0 || window >= kMaxWindows) return nullptr;
  const WindowEntry& entry = windows().windows[static_cast<std::size_t>(window)];
  return entry.client != nullptr ? entry.client : entry.frame;
}

// Reads the area of the client area of window, the current drawable: from the screen
// driver's back buffer (a drawing not yet painted is there already), else from the screen.
ImageResult capture_area(HWND window, const Area& area, AreaPixels& out) {
  CaptureObjects gdi;
  gdi.window = window;
  RECT client{};
  if (gdi.window == nullptr || !GetClientRect(gdi.window, &client)) {
    return {ImageError::Api, ERROR_INVALID_WINDOW_HANDLE};
  }
  const PixelRect r = area_rect(area, client.right, client.bottom);
  if (r.width() < 1 || r.height() < 1) {
    return {ImageError::Api, ERROR_INVALID_PARAMETER};
  }
  gdi.screen = GetDC(gdi.window);
  if (gdi.screen == nullptr) return api_failure();
  gdi.memory = CreateCompatibleDC(gdi.screen);
  gdi.bitmap = CreateCompatibleBitmap(gdi.screen, r.width(), r.height());
  if (gdi.memory == nullptr || gdi.bitmap == nullptr) return api_failure();
  HGDIOBJ previous = SelectObject(gdi.memory, gdi.bitmap);
  HDC buffer = screen_back_buffer();
  const BOOL copied = BitBlt(gdi.memory, 0, 0, r.width(), r.height(), buffer != nullptr ? buffer : gdi.screen,
                             r.left, r.top, SRCCOPY);
  SelectObject(gdi.memory, previous);
  if (!copied) return api_failure();

  const int depth =
      supported_display_depth(GetDeviceCaps(gdi.screen, BITSPIXEL) * GetDeviceCaps(gdi.screen, PLANES));
  DibInfo info;
  describe(info, r.width(), r.height(), depth);
  out.pixels.resize(padded_row_bytes(r.width(), depth) * static_cast<std::size_t>(r.height()));
  if (GetDIBits(gdi.memory, gdi.bitmap, 0, static_cast<UINT>(r.height()), out.pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == 0) {
    return api_failure();
  }
  for (int i = 0; i < palette_size(depth); ++i) {
    const RGBQUAD& c = info.colours[i];
    out.colours.push_back({c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
  }
  PixelBuffer& b = out.buffer;
  b.width = r.width();
  b.height = r.height();
  b.bits_per_pixel = depth;
  b.bitfields_565 = true;
  b.colours = out.colours;
  b.pixels = out.pixels;
  b.row_pitch = padded_row_bytes(r.width(), depth);
  b.bottom_up = true;
  return {};
}

}  // namespace

ImageResult capture_window_area(int window, const Area& area, AreaPixels& out) {
  return capture_area(window_handle(window), area, out);
}

ImageResult capture_field_area(int dialog_handle, int field_id, const Area& area, AreaPixels& out) {
  return capture_area(first_answer(&WindowLayer::field_window, dialog_handle, field_id), area, out);
}

ImageResult put_clipboard_bitmap(const PixelBuffer& image) {
  if (!valid_pixel_buffer(image) || image.row_pitch % 4 != 0) {
    return {ImageError::Api, ERROR_INVALID_PARAMETER};
  }
  DibInfo info;
  describe(info, image.width, image.bottom_up ? image.height : -image.height, image.bits_per_pixel);
  for (std::size_t i = 0; i < image.colours.size(); ++i) {
    const PaletteEntry& c = image.colours[i];
    info.colours[i] = RGBQUAD{c.blue, c.green, c.red, 0};
  }
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info.header, CBM_INIT, image.pixels.data(),
                                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (bitmap == nullptr) return api_failure();
  if (!OpenClipboard(nullptr)) {
    DeleteObject(bitmap);
    return {ImageError::Clipboard, static_cast<int>(GetLastError())};
  }
  EmptyClipboard();
  const bool handed = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
  const ImageResult result = handed ? ImageResult{} : api_failure();
  CloseClipboard();
  if (!handed) DeleteObject(bitmap);
  return result;
}

}  // namespace quill
