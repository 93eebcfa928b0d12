// Bitmap view demo: shows a picture in a child window a person can scroll (scroll bars,
// arrow and page keys, Home, End, the wheel, dragging) and zoom (+ and -, F fits the
// window, 1 actual size); the status bar shows the bitmap pixel under the pointer and
// its colour, and the scroll position.
// Usage: bitmap_view_demo [image file] [--seconds N]  (N > 0: closes itself after N s)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "quill/quillanthor.hpp"

namespace {

// Reads the image file at path (BMP, PCX or PNG) into a new memory bitmap; false when
// the file cannot be read, so the generated picture is shown instead.
bool load_image_file(const char* path, int& handle) {
  IErrorReset();
  WBitmapLoad(handle, path);
  return IErrorCode() == 0;
}

// A 3000 x 2000 picture: colour ramps, a grid every 100 pixels, and rings.
int generated_picture() {
  constexpr int kWidth = 3000, kHeight = 2000;
  int handle = 0;
  WBitmapCreate(handle, kWidth, kHeight, 24);
  if (handle == 0) return 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int dx = x - kWidth / 2, dy = y - kHeight / 2;
      const int ring = static_cast<int>(std::sqrt(static_cast<double>(dx * dx + dy * dy))) / 40 % 2;
      int red = x * 255 / kWidth, green = y * 255 / kHeight, blue = ring != 0 ? 200 : 60;
      if (x % 100 == 0 || y % 100 == 0) red = green = blue = 0;
      WBitmapPutPixel(handle, x, y, red | (green << 8) | (blue << 16));
    }
  }
  IGrSelect(2, handle);
  IGrUnits(0.0f, 0.0f, static_cast<float>(kWidth), static_cast<float>(kHeight));
  IGrColour("white");
  IGrCharSize(60.0f, 90.0f);
  IGrCharOut(150.0f, static_cast<float>(kHeight) - 200.0f, "Quillanthor bitmap view");
  return handle;
}

void show_pointer(const EventRecord& e, int bitmap) {
  char text[80];
  int colour = -1;
  if (e.pixel_x >= 0) WBitmapGetPixel(bitmap, e.pixel_x, e.pixel_y, colour);
  if (colour >= 0) {
    std::snprintf(text, sizeof text, "pixel %d, %d  #%02X%02X%02X", e.pixel_x, e.pixel_y, colour & 0xFF,
                  (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  } else {
    std::snprintf(text, sizeof text, "off the picture");
  }
  WindowStatusBar(1, text);
}

void show_position() {
  char text[80];
  int x = 0, y = 0;
  float zoom = 0.0f;
  WBitmapViewQuery(x, y, zoom);
  std::snprintf(text, sizeof text, "at %d, %d  zoom %.3g", x, y, static_cast<double>(zoom));
  WindowStatusBar(2, text);
}

}  // namespace

int main(int argc, char** argv) {
  const char* file = nullptr;
  int seconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atoi(argv[++i]);
    } else {
      file = argv[i];
    }
  }
  WStartup();
  int width = 900, height = 650;
  WindowOpen(WinSystemMenu | WinMinimiseBox | WinMaximiseBox, 20, 20, &width, &height, std::nullopt, {},
             std::nullopt, "Bitmap view demo");
  int bitmap = 0;
  if (file == nullptr || !load_image_file(file, bitmap)) bitmap = generated_picture();
  int view = 0;
  WindowOpenChild(view, WinSystemMenu | WinMaximiseBox | WinStatusBar | WinInsideParent, 200, 200, 9000, 8500,
                  "Picture");
  WindowSelect(view);
  const int parts[] = {260, -1};
  WindowStatusBarParts(parts);
  WBitmapView(bitmap);
  WEventEnable(EvViewScroll, 1);
  WEventEnable(EvMouseMotion, 1);
  if (seconds > 0) WEventTimer(seconds * 1000, 1, 0);
  show_position();
  float zoom = 1.0f;
  for (;;) {
    int type = 0;
    EventRecord e;
    WEventGet(type, e);
    if (type == EvCloseAsked || type == EvTimerTick) break;
    if (type == EvMouseMotion && e.detail3 == 2) show_pointer(e, bitmap);
    if (type == EvViewScroll) show_position();
    if (type != EvKey || e.detail3 != 2) continue;
    switch (e.detail1) {
      case '+':
        zoom = std::min(zoom * 2.0f, 64.0f);
        WBitmapView(bitmap, ViewZoom, zoom);
        break;
      case '-':
        zoom = std::max(zoom / 2.0f, 1.0f / 64.0f);
        WBitmapView(bitmap, ViewZoom, zoom);
        break;
      case 'f':
      case 'F': WBitmapView(bitmap, ViewFit); break;
      case '1':
        zoom = 1.0f;
        WBitmapView(bitmap, ViewActualSize);
        break;
      default: continue;
    }
    show_position();
  }
  WindowShutdown();
  return 0;
}
