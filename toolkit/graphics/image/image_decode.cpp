#include <algorithm>
#include <cstdint>
#include <new>

#include "base/error_codes.hpp"
#include "graphics/image/image_decoders.hpp"
#include "graphics/image/memory_bitmap.hpp"

namespace quill {

DecodeStatus unsupported_image() { return {error::kUnsupportedImageFormat, 0}; }

DecodeStatus check_image_size(std::int64_t width, std::int64_t height, int depth) {
  if (width < 1 || height < 1) {
    return unsupported_image();
  }
  if (width > INT32_MAX || height > INT32_MAX ||
      !bitmap_size_allowed(static_cast<int>(width), static_cast<int>(height), depth)) {
    return {error::kImageTooLarge, 0};
  }
  return {};
}

DecodeStatus allocate_image(DecodedImage& image, int width, int height, int depth) {
  if (const DecodeStatus s = check_image_size(width, height, depth); !s.ok()) {
    return s;
  }
  image.width = width;
  image.height = height;
  image.depth = depth;
  image.pixels.assign(image.pitch() * static_cast<std::size_t>(height), 0);
  return {};
}

std::vector<PaletteEntry> grey_ramp(int count) {
  std::vector<PaletteEntry> ramp(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const auto level = static_cast<std::uint8_t>(count > 1 ? i * 255 / (count - 1) : 0);
    ramp[static_cast<std::size_t>(i)] = {level, level, level, 0};
  }
  return ramp;
}

DecodeStatus decode_image(std::span<const std::uint8_t> file, DecodedImage& out) {
  static constexpr std::uint8_t kPng[] = {137, 80, 78, 71, 13, 10, 26, 10};
  DecodeStatus status = unsupported_image();
  try {
    if (file.size() >= 8 && std::equal(kPng, kPng + 8, file.begin())) {
      status = decode_png(file, out);
    } else if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') {
      status = decode_bmp(file, out);
    } else if (!file.empty() && file[0] == 10) {
      status = decode_pcx(file, out);
    }
  } catch (const std::bad_alloc&) {
    status = {error::kBitmapCreation, 0};
  }
  if (!status.ok()) {
    out = DecodedImage{};
  }
  return status;
}

}  // namespace quill
