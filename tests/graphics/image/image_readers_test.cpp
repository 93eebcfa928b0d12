// Files of every depth and format read back by independent readers that fail loudly on a
// broken file, and the file results: a file that cannot be created, a full disk.
#include <gtest/gtest.h>

#include <fstream>

#include "graphics/image/image_file.hpp"
#include "image_test_support.hpp"

namespace quill {
namespace {

using test::CommandResult;
using test::have_program;
using test::run_command;

struct Depth {
  int bits;
  bool bitfields;
  const char* name;
};

constexpr Depth kDepths[] = {{4, false, "4"},         {8, false, "8"},   {16, true, "16 5-6-5"},
                             {16, false, "16 5-5-5"}, {24, false, "24"}, {32, false, "32"}};

struct Format {
  ImageFormat code;
  const char* extension;
  const char* pillow_name;
};

constexpr Format kFormats[] = {
    {ImageFormat::Bmp, ".bmp", "BMP"}, {ImageFormat::Pcx, ".pcx", "PCX"}, {ImageFormat::Png, ".png", "PNG"}};

// The reader that must accept the file: pngcheck, identify -regard-warnings, pcxtoppm.
std::string strict_reader(ImageFormat format, const std::string& path) {
  switch (format) {
    case ImageFormat::Png: return "pngcheck -q '" + path + "'";
    case ImageFormat::Bmp: return "identify -regard-warnings '" + path + "'";
    default: return "pcxtoppm '" + path + "' > /dev/null";
  }
}

const char* strict_program(ImageFormat format) {
  return format == ImageFormat::Png ? "pngcheck" : format == ImageFormat::Bmp ? "identify" : "pcxtoppm";
}

TEST(ImageReaders, ReadersRejectABrokenFile) {
  test::TempDir dir;
  const auto image = test::pattern_image(6, 4, 24);
  for (const Format& f : kFormats) {
    if (!have_program(strict_program(f.code))) {
      GTEST_SKIP() << strict_program(f.code) << " is not installed (scripts/setup.sh installs it)";
    }
    const auto path = dir.file(std::string("broken") + f.extension);
    ASSERT_TRUE(save_image_file(f.code, image.buffer, path.string()).ok());
    auto bytes = test::read_file(path);
    bytes.resize(bytes.size() * 2 / 3);
    bytes[bytes.size() / 2] ^= 0x55;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    EXPECT_NE(run_command(strict_reader(f.code, path.string())).status, 0) << f.extension;
  }
}

TEST(ImageReaders, EveryDepthAndFormatIsReadWithItsPixels) {
  if (!test::have_pillow()) {
    GTEST_SKIP() << "Pillow for /usr/bin/python3 is not installed (scripts/setup.sh installs it)";
  }
  test::TempDir dir;
  for (const Depth& d : kDepths) {
    const auto image = test::pattern_image(13, 7, d.bits, d.bitfields);
    const auto want = test::expected_rgb(image.buffer);
    for (const Format& f : kFormats) {
      SCOPED_TRACE(std::string(d.name) + " bits" + f.extension);
      const auto path = dir.file("image" + std::to_string(d.bits) + (d.bitfields ? "m" : "") + f.extension);
      ASSERT_TRUE(save_image_file(f.code, image.buffer, path.string()).ok());
      if (have_program(strict_program(f.code))) {
        const CommandResult strict = run_command(strict_reader(f.code, path.string()));
        EXPECT_EQ(strict.status, 0) << strict.output;
      }
      std::string why;
      const auto read = test::read_with_pillow(path, why);
      ASSERT_TRUE(read.has_value()) << why;
      EXPECT_EQ(read->format, f.pillow_name);
      EXPECT_EQ(read->width, 13);
      EXPECT_EQ(read->height, 7);
      // Pillow widens 16-bit BMP pixels in its own way; the other files hold 8 bits.
      if (d.bits != 16 || f.code != ImageFormat::Bmp) {
        EXPECT_EQ(read->rgb, want);
      }
    }
  }
}

TEST(ImageFiles, FailuresGiveTheirCodes) {
  const auto image = test::pattern_image(300, 200, 24);
  const ImageResult missing = save_image_file(ImageFormat::Png, image.buffer, "/nonexistent-dir/x.png");
  EXPECT_EQ(missing, (ImageResult{ImageError::Open, test::kPathNotFound}));
  if (std::ifstream("/dev/full").good()) {
    for (const Format& f : kFormats) {
      EXPECT_EQ(save_image_file(f.code, image.buffer, "/dev/full").code, ImageError::Write) << f.extension;
    }
  }
}

TEST(ImageFiles, RefusedImageCreatesNoFile) {
  test::TempDir dir;
  auto image = test::pattern_image(3, 3, 8);
  image.buffer.width = 0;
  const auto path = dir.file("empty.png");
  EXPECT_EQ(save_image_file(ImageFormat::Png, image.buffer, path.string()).code, ImageError::Api);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ImageFiles, ExistingFileIsReplaced) {
  test::TempDir dir;
  const auto path = dir.file("replace.bmp");
  std::ofstream(path) << std::string(100000, 'x');
  const auto image = test::pattern_image(4, 4, 24);
  ASSERT_TRUE(save_image_file(ImageFormat::Bmp, image.buffer, path.string()).ok());
  EXPECT_EQ(std::filesystem::file_size(path), 54U + 4 * 12);
}

}  // namespace
}  // namespace quill
