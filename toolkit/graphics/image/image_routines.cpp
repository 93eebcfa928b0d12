// The public memory bitmap and image saving routines.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "graphics/image/area_pixels.hpp"
#include "graphics/image/image_file.hpp"
#include "quill/errors.hpp"
#include "quill/image.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

bool known_format(int code) {
  return code == static_cast<int>(ImageFormat::Clipboard) || code == static_cast<int>(ImageFormat::Bmp) ||
         code == static_cast<int>(ImageFormat::Pcx) || code == static_cast<int>(ImageFormat::Png);
}

// The format named by the file's extension, or -1.
int format_of_extension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.find_first_of("/\\", dot) != std::string_view::npos) {
    return -1;
  }
  std::string extension(name.substr(dot));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".bmp") return static_cast<int>(ImageFormat::Bmp);
  if (extension == ".pcx") return static_cast<int>(ImageFormat::Pcx);
  if (extension == ".png") return static_cast<int>(ImageFormat::Png);
  return -1;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

// Reports a saver result for routine, with its detail where the report shows one.
void report(const ImageResult& result, std::string_view routine) {
  if (result.ok()) {
    return;
  }
  ErrorState& state = errors();
  if (result.code == ImageError::Open || result.code == ImageError::Write) {
    state.file_error = result.detail;
    state.file_error_source = 2;
  } else {
    state.os_error = result.detail;
  }
  IErrorReport(static_cast<int>(result.code), routine);
}

void save_current_area(int format, std::string_view file_name, std::string_view routine) {
  AreaPixels area;
  ImageResult result;
  const ImageResult out_of_memory{ImageError::Api, out_of_memory_error()};
  int code = 0;
  result = allocating(out_of_memory, [&] {
    ImageResult read;
    code = read_current_area(area, read);
    return read;
  });
  if (code != 0) {
    IErrorReport(code, routine);
    return;
  }
  if (result.ok()) {
    result = allocating(out_of_memory, [&] {
      return format == static_cast<int>(ImageFormat::Clipboard)
                 ? put_clipboard_bitmap(area.buffer)
                 : save_image_file(static_cast<ImageFormat>(format), area.buffer, file_name);
    });
  }
  report(result, routine);
}

}  // namespace

int read_current_area(AreaPixels& out, ImageResult& failure) {
  const DrawingState& state = drawing();
  switch (state.drawable.kind) {
    case DrawableKind::Bitmap: {
      const MemoryBitmap* bitmap = current_bitmap();
      if (bitmap == nullptr) {
        return error::kDrawingSurface;
      }
      const PixelRect r = area_rect(state.area, bitmap->width(), bitmap->height());
      if (r.width() < 1 || r.height() < 1) {
        failure = {ImageError::Api, invalid_parameter_error()};
        return 0;
      }
      out.bitmap = std::make_unique<MemoryBitmap>(bitmap->crop(r.left, r.top, r.right, r.bottom));
      out.buffer = out.bitmap->buffer();
      return 0;
    }
    case DrawableKind::Window: failure = capture_window_area(state.drawable.id, state.area, out); return 0;
    case DrawableKind::Field:
      failure = capture_field_area(state.drawable.dialog, state.drawable.id, state.area, out);
      return 0;
    case DrawableKind::Metafile: return error::kMetafileDrawable;
    default: return error::kDrawingSurface;
  }
}

PixelRect area_rect(const Area& area, int width, int height) {
  const auto edge = [](double fraction, int size) { return static_cast<int>(std::lround(fraction * size)); };
  return {edge(area.left, width), edge(1.0 - area.top, height), edge(area.right, width) - 1,
          edge(1.0 - area.bottom, height) - 1};
}

}  // namespace quill

using namespace quill;

void WBitmapCreate(int& handle, int width, int height, std::optional<int> depth) {
  const int bits = depth.value_or(24);
  if (width < 1 || height < 1 || !supported_depth(bits)) {
    IErrorReport(error::kBitmapCreation, "WBitmapCreate");
    return;
  }
  if (!bitmap_size_allowed(width, height, bits)) {
    IErrorReport(error::kImageTooLarge, "WBitmapCreate");
    return;
  }
  BitmapTable& table = bitmaps();
  register_bitmap_store();
  for (int id = 1; id <= kMaxBitmaps; ++id) {
    auto& slot = table.slots[static_cast<std::size_t>(id)];
    if (slot) {
      continue;
    }
    if (const int code = allocating(error::kBitmapCreation,
                                    [&] { slot = std::make_unique<MemoryBitmap>(width, height, bits); })) {
      IErrorReport(code, "WBitmapCreate");
      return;
    }
    drawing().bitmap_count = std::max(drawing().bitmap_count, id);
    handle = id;
    return;
  }
  IErrorReport(error::kBitmapCreation, "WBitmapCreate");
}

void WBitmapDestroy(int handle) {
  if (bitmap_slot(handle) == nullptr) {
    IErrorReport(error::kInvalidBitmap, "WBitmapDestroy");
    return;
  }
  if (first_answer(&DrawableLayer::bitmap_in_view, handle)) {
    IErrorReport(error::kBitmapViewed, "WBitmapDestroy");
    return;
  }
  bitmaps().slots[static_cast<std::size_t>(handle)].reset();
  int& count = drawing().bitmap_count;
  while (count > 0 && bitmap_slot(count) == nullptr) {
    --count;
  }
}

void IGrSaveImage(std::string_view file_name, std::optional<int> format) {
  const std::string_view name = trimmed(file_name);
  const int code = format.has_value() ? *format : format_of_extension(name);
  if (!known_format(code)) {
    IErrorReport(error::kUnsupportedImageFormat, "IGrSaveImage");
    return;
  }
  save_current_area(code, name, "IGrSaveImage");
}

void IGrCopyImageToClipboard() {
  save_current_area(static_cast<int>(ImageFormat::Clipboard), {}, "IGrCopyImageToClipboard");
}
