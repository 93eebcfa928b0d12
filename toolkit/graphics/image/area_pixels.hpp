// The pixels of an area of the current drawable, as the image saver reads them, and the
// platform's part: reading a window's area and handing a bitmap to the clipboard.
#pragma once

#include <memory>
#include <vector>

#include "graphics/drawing_state.hpp"
#include "graphics/image/image_encoders.hpp"
#include "graphics/image/memory_bitmap.hpp"

namespace quill {

// Inclusive pixel rectangle, rows counted from the top.
struct PixelRect {
  int left = 0, top = 0, right = -1, bottom = -1;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

// The pixels an area (fractions 0..1, y upwards) covers on a width x height drawable.
PixelRect area_rect(const Area& area, int width, int height);

// Owns the pixels that buffer describes.
struct AreaPixels {
  std::unique_ptr<MemoryBitmap> bitmap;
  std::vector<std::uint8_t> pixels;
  std::vector<PaletteEntry> colours;
  PixelBuffer buffer;
};

// Reads the area of window number window (0 root, 1..50) at the window's own depth.
// Where there is no window system: ImageError::Api.
ImageResult capture_window_area(int window, const Area& area, AreaPixels& out);
// The same for the graphics field field_id of the dialog with handle dialog_handle.
ImageResult capture_field_area(int dialog_handle, int field_id, const Area& area, AreaPixels& out);
// Reads the current area of the current drawable: 0 with failure telling how the reading
// went, or an error code to report (1063 a metafile, 1019 no drawable).
int read_current_area(AreaPixels& out, ImageResult& failure);
// Puts the image on the clipboard as a bitmap (0 or ImageError::Clipboard / api).
ImageResult put_clipboard_bitmap(const PixelBuffer& image);

}  // namespace quill
