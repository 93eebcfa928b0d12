// The public routines that read image files: into a memory bitmap, onto the current
// drawable, and the type detector for plot files.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "graphics/image/image_decoders.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "graphics/plot_file_type.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"

namespace quill {
namespace {

// Files beyond this are refused before reading: no bitmap needs more.
constexpr std::size_t kMaxImageFile = std::size_t{1} << 31;
constexpr std::size_t kReadChunk = std::size_t{1} << 20;

std::string trimmed_name(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return std::string(text);
}

void report_file_error(int code, std::string_view routine) {
  errors().file_error = errno != 0 ? errno : -1;
  errors().file_error_source = 2;
  IErrorReport(code, routine);
}

// Reads up to limit bytes of the file; false after reporting why it could not.
bool read_file(std::string_view file_name, std::size_t limit, std::vector<std::uint8_t>& bytes,
               std::string_view routine) {
  const std::string path = trimmed_name(file_name);
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      path.empty() ? nullptr : std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    report_file_error(error::kFileOpen, routine);
    return false;
  }
  std::error_code size_error;
  const auto size = std::filesystem::file_size(path, size_error);
  if (!size_error && size > kMaxImageFile && limit > kMaxImageFile) {
    IErrorReport(error::kImageTooLarge, routine);
    return false;
  }
  try {
    if (!size_error) bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(size, limit)));
    while (bytes.size() < limit) {
      const std::size_t at = bytes.size();
      bytes.resize(at + std::min(kReadChunk, limit - at));
      const std::size_t got = std::fread(bytes.data() + at, 1, bytes.size() - at, file.get());
      bytes.resize(at + got);
      if (got == 0) break;
    }
  } catch (const std::bad_alloc&) {
    IErrorReport(error::kBitmapCreation, routine);
    return false;
  }
  if (std::ferror(file.get()) != 0) {
    report_file_error(error::kFileReadWrite, routine);
    return false;
  }
  return true;
}

// Reads and decodes the file, reporting any failure for routine.
bool load_image(std::string_view file_name, DecodedImage& image, std::string_view routine) {
  std::vector<std::uint8_t> bytes;
  if (!read_file(file_name, kMaxImageFile + 1, bytes, routine)) return false;
  if (bytes.size() > kMaxImageFile) {
    IErrorReport(error::kImageTooLarge, routine);
    return false;
  }
  const DecodeStatus status = decode_image(bytes, image);
  if (!status.ok()) {
    errors().os_error = status.detail;
    IErrorReport(status.code, routine);
  }
  return status.ok();
}

}  // namespace
}  // namespace quill

using namespace quill;

void WBitmapLoad(int& handle, std::string_view file_name) {
  constexpr std::string_view kRoutine = "WBitmapLoad";
  int free_id = 0;
  for (int id = kMaxBitmaps; id >= 1; --id) {
    if (bitmap_slot(id) == nullptr) free_id = id;
  }
  if (free_id == 0) {
    IErrorReport(error::kBitmapCreation, kRoutine);
    return;
  }
  DecodedImage image;
  if (!load_image(file_name, image, kRoutine)) return;
  try {
    bitmaps().slots[static_cast<std::size_t>(free_id)] = std::make_unique<MemoryBitmap>(
        image.width, image.height, image.depth, std::move(image.colours), std::move(image.pixels));
  } catch (const std::bad_alloc&) {
    IErrorReport(error::kBitmapCreation, kRoutine);
    return;
  }
  register_bitmap_store();
  drawing().bitmap_count = std::max(drawing().bitmap_count, free_id);
  handle = free_id;
}

void IGrLoadImage(std::string_view file_name) {
  constexpr std::string_view kRoutine = "IGrLoadImage";
  DecodedImage image;
  if (!load_image(file_name, image, kRoutine)) return;
  std::vector<std::uint32_t> colours;
  try {
    colours.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    const MemoryBitmap bitmap(image.width, image.height, image.depth, std::move(image.colours),
                              std::move(image.pixels));
    std::size_t at = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
      for (int x = 0; x < bitmap.width(); ++x) {
        const Rgb c = bitmap.pixel(x, y);
        colours[at++] =
            c.red | (static_cast<std::uint32_t>(c.green) << 8) | (static_cast<std::uint32_t>(c.blue) << 16);
      }
    }
  } catch (const std::bad_alloc&) {
    IErrorReport(error::kBitmapCreation, kRoutine);
    return;
  }
  const UserRange& units = drawing().units;
  IGrImage(units.left, units.bottom, units.right, units.top, colours, image.width, image.height);
}

int IGrPlotFileType(std::string_view file_name) {
  std::vector<std::uint8_t> head;
  if (!read_file(file_name, kPlotFileHead, head, "IGrPlotFileType")) return PlotFileUnknown;
  return detect_plot_file_type(head);
}
