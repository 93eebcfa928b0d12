// Test support for the image files: pattern pixel buffers at every depth, temporary
// files, and the independent readers (Pillow, pngcheck, ImageMagick, netpbm).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/memory_bitmap.hpp"
#include "graphics/image/pixel_buffer.hpp"
#include "graphics_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"

namespace quill::test {

// The system's error number for a path whose directory does not exist.
#ifdef _WIN32
inline constexpr int kPathNotFound = 3;  // ERROR_PATH_NOT_FOUND
#else
inline constexpr int kPathNotFound = 2;  // ENOENT
#endif

// A new bitmap of width x height pixels at depth, selected, with user units equal to
// pixels.
inline MemoryBitmap& selected_bitmap(int width, int height, int depth) {
  int handle = 0;
  WBitmapCreate(handle, width, height, depth);
  EXPECT_EQ(IErrorCode(), 0);
  IGrSelect(2, handle);
  IGrUnits(0.0F, 0.0F, static_cast<float>(width), static_cast<float>(height));
  return *bitmap_slot(handle);
}

// A pixel buffer that owns its storage.
struct OwnedImage {
  std::vector<std::uint8_t> pixels;
  std::vector<PaletteEntry> colours;
  PixelBuffer buffer;
};

// A width x height pattern at depth (16 with or without 5-6-5 masks) in which
// neighbouring pixels differ; stored bottom-up with rows padded to 4 bytes, or top-down
// with extra_pitch spare bytes per row.
OwnedImage pattern_image(int width, int height, int depth, bool bitfields_565 = false, bool bottom_up = true,
                         std::size_t extra_pitch = 0);
// The colours of the image's pixels as 8-bit red, green, blue bytes, rows from the top.
std::vector<std::uint8_t> expected_rgb(const PixelBuffer& image);
// Every pixel of the bitmap as red, green, blue bytes, rows from the top.
std::vector<std::uint8_t> pixels_of(const MemoryBitmap& bitmap);

// A fresh directory for one test's files, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path file(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

struct CommandResult {
  int status = -1;
  std::string output;  // standard output and standard error
};
CommandResult run_command(const std::string& command);

struct PillowImage {
  std::string format, mode;
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};
// The file as Pillow reads it; nullopt (and the reason in why) when it rejects it.
std::optional<PillowImage> read_with_pillow(const std::filesystem::path& file, std::string& why);
bool have_pillow();

std::vector<std::uint8_t> read_file(const std::filesystem::path& file);

}  // namespace quill::test
