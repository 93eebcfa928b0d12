// Builds without a window system have no windows to read and no clipboard.
#include "graphics/image/area_pixels.hpp"

namespace quill {

ImageResult capture_window_area(int, const Area&, AreaPixels&) {
  return {ImageError::Api, invalid_parameter_error()};
}

ImageResult capture_field_area(int, int, const Area&, AreaPixels&) {
  return {ImageError::Api, invalid_parameter_error()};
}

ImageResult put_clipboard_bitmap(const PixelBuffer&) { return {ImageError::Clipboard, 0}; }

}  // namespace quill
