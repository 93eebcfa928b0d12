// Reading image files: files of every kind written by Pillow, ImageMagick and netpbm
// against Pillow's decoding, the toolkit's own files read back unchanged, and damaged or
// hostile files refused with a code and nothing left behind.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "base/error_state.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "image_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"

namespace quill {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::string_view kHello = "hello";

class ImageDecodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
    IErrorReset();
  }
  void TearDown() override { SetUp(); }

  // Loads a file; the bitmap, or nullptr with the error code in code.
  static const MemoryBitmap* load(const std::filesystem::path& file, int& code) {
    int handle = -1;
    IErrorReset();
    WBitmapLoad(handle, file.string());
    code = IErrorCode();
    return code == 0 ? bitmap_slot(handle) : nullptr;
  }

  test::TempDir dir_;
};

void write(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(ImageDecodeTest, ForeignFilesMatchPillowsDecoding) {
  if (!test::have_pillow() || !test::have_program("convert") || !test::have_program("pnmtopng")) {
    GTEST_SKIP() << "Pillow, ImageMagick or netpbm is missing (scripts/setup.sh installs them)";
  }
  const auto script = std::filesystem::path(__FILE__).parent_path() / "write_foreign_images.py";
  const test::CommandResult made =
      test::run_command("/usr/bin/python3 '" + script.string() + "' '" + dir_.file("").string() + "'");
  ASSERT_EQ(made.status, 0) << made.output;
  // The depth a file of each kind becomes.
  const std::map<std::string, int> depths = {
      {"pil_1.png", 4},          {"pil_P8.png", 8},          {"pil_P4.png", 4},
      {"filters_grey16.png", 8}, {"pil_RGBA.png", 24},       {"im_RGB565.bmp", 16},
      {"im_RGB555.bmp", 24},     {"pil_RGBA.bmp", 32},       {"pbm_1.bmp", 4},
      {"rle4.bmp", 4},           {"im_rle8.bmp", 8},         {"pbm_planes4.pcx", 4},
      {"pbm_24.pcx", 24},        {"filters_rgba16.png", 24}, {"im_bitfields_32.bmp", 32}};
  std::istringstream list(made.output);
  std::string name, hex;
  int trusted_bits = 8, width = 0, height = 0, files = 0;
  while (list >> name >> trusted_bits >> width >> height >> hex) {
    SCOPED_TRACE(name);
    ++files;
    test::PillowImage expected{"", "", width, height, {}};
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
      expected.rgb.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    ASSERT_EQ(expected.rgb.size(), 3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    int code = 0;
    const MemoryBitmap* bitmap = load(dir_.file(name), code);
    ASSERT_NE(bitmap, nullptr) << "error " << code;
    ASSERT_EQ(bitmap->width(), expected.width);
    ASSERT_EQ(bitmap->height(), expected.height);
    if (const auto depth = depths.find(name); depth != depths.end()) {
      EXPECT_EQ(bitmap->depth(), depth->second);
    }
    const auto mask = static_cast<std::uint8_t>(0xFF << (8 - trusted_bits));
    int wrong = 0;
    for (int y = 0; y < bitmap->height(); ++y) {
      for (int x = 0; x < bitmap->width(); ++x) {
        const Rgb got = bitmap->pixel(x, y);
        const std::uint8_t* want =
            expected.rgb.data() + 3 * (static_cast<std::size_t>(y) * expected.width + x);
        if ((got.red & mask) != (want[0] & mask) || (got.green & mask) != (want[1] & mask) ||
            (got.blue & mask) != (want[2] & mask)) {
          if (++wrong <= 3) ADD_FAILURE() << "pixel " << x << "," << y;
        }
      }
    }
    WBitmapDestroy(1);
  }
  EXPECT_GE(files, 50);
}

TEST_F(ImageDecodeTest, OwnFilesLoadBackUnchanged) {
  for (const int depth : {4, 8, 16, 24, 32}) {
    for (const char* extension : {".bmp", ".pcx", ".png"}) {
      SCOPED_TRACE(std::to_string(depth) + extension);
      SetUp();
      const MemoryBitmap& original = test::selected_bitmap(37, 11, depth);
      IGrFillPattern(4);
      const std::array colours{"red", "green", "blue", "yellow", "cyan", "magenta", "black"};
      for (std::size_t i = 0; i < colours.size(); ++i) {
        IGrColour(colours[i]);
        IGrCircle(static_cast<float>(3 + 5 * i), 5.0F, 2.5F + static_cast<float>(i % 3));
      }
      const auto first = dir_.file(std::string("first") + extension),
                 second = dir_.file(std::string("second") + extension);
      IGrSaveImage(first.string());
      int code = 0;
      const MemoryBitmap* loaded = load(first, code);
      ASSERT_NE(loaded, nullptr) << "error " << code;
      ASSERT_EQ(loaded->width(), 37);
      ASSERT_EQ(loaded->height(), 11);
      ASSERT_EQ(test::pixels_of(*loaded), test::pixels_of(original));
      IGrSelect(2, drawing().bitmap_count);  // the loaded bitmap
      IGrSaveImage(second.string());
      ASSERT_EQ(IErrorCode(), 0);
      EXPECT_EQ(test::read_file(first), test::read_file(second));
    }
  }
}

TEST_F(ImageDecodeTest, LoadsScaledIntoTheCurrentArea) {
  test::selected_bitmap(2, 1, 24);
  IGrFillPattern(4);
  IGrColour("red");
  IGrRectangle(0.0F, 0.0F, 1.0F, 1.0F);
  IGrColour("blue");
  IGrRectangle(1.0F, 0.0F, 2.0F, 1.0F);
  const auto file = dir_.file("two.png");
  IGrSaveImage(file.string());
  const MemoryBitmap& drawn = test::selected_bitmap(40, 20, 24);
  IGrArea(0.0F, 0.0F, 0.5F, 1.0F);
  IGrLoadImage(file.string());
  ASSERT_EQ(IErrorCode(), 0);
  for (const auto& [x, c] : {std::pair{4, Rgb{255, 0, 0}}, {15, Rgb{0, 0, 255}}, {30, Rgb{255, 255, 255}}}) {
    const Rgb p = drawn.pixel(x, 10);
    EXPECT_TRUE(p.red == c.red && p.green == c.green && p.blue == c.blue) << x;
  }
}

// Big-endian 32-bit value at, and the CRC of the PNG chunk whose length field is at.
void put_be32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}
void fix_crc(Bytes& png, std::size_t chunk) {
  const std::uint32_t length = (std::uint32_t{png[chunk]} << 24) | (std::uint32_t{png[chunk + 1]} << 16) |
                               (std::uint32_t{png[chunk + 2]} << 8) | png[chunk + 3];
  put_be32(png, chunk + 8 + length, static_cast<std::uint32_t>(crc32(0, png.data() + chunk + 4, length + 4)));
}
void put_le32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}
void put_le16(Bytes& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
std::size_t find_chunk(const Bytes& png, std::string_view type) {
  for (std::size_t at = 8; at + 8 <= png.size();) {
    if (std::string_view(reinterpret_cast<const char*>(png.data()) + at + 4, 4) == type) return at;
    at += 12 + ((std::size_t{png[at]} << 24) | (std::size_t{png[at + 1]} << 16) |
                (std::size_t{png[at + 2]} << 8) | png[at + 3]);
  }
  return png.size();
}

TEST_F(ImageDecodeTest, DamagedAndHostileFilesAreRefusedLeavingNothing) {
  // Toolkit files to damage: a 4-bit PNG (16-entry palette), an 8-bit BMP, a 24-bit PCX.
  std::map<std::string, Bytes> originals;
  for (const auto& [name, depth] : std::map<std::string, int>{{"png", 4}, {"bmp", 8}, {"pcx", 24}}) {
    int handle = 0;
    WBitmapCreate(handle, 30, 12, depth);
    IGrSelect(2, handle);
    IGrFillPattern(4);
    IGrColour("red");
    IGrRectangle(0.1F, 0.1F, 0.6F, 0.9F);
    IGrColour("blue");
    IGrCircle(0.7F, 0.5F, 0.2F);
    IGrSaveImage(dir_.file("base." + name).string());
    originals[name] = test::read_file(dir_.file("base." + name));
  }
  struct Case {
    const char* what;
    const char* base;
    std::function<void(Bytes&)> damage;
    int code;
  };
  // Damages that give the image another size: a PNG's or BMP's width and height; a PCX's
  // last column and row and its bytes per line.
  const auto png_size = [](std::uint32_t side) {
    return [side](Bytes& b) {
      put_be32(b, 16, side);
      put_be32(b, 20, side);
      fix_crc(b, 8);
    };
  };
  const auto bmp_size = [](std::uint32_t side) {
    return [side](Bytes& b) {
      put_le32(b, 18, side);
      put_le32(b, 22, side);
    };
  };
  const auto pcx_size = [](std::uint16_t last, std::uint16_t line) {
    return [last, line](Bytes& b) {
      put_le16(b, 8, last);
      put_le16(b, 10, last);
      put_le16(b, 66, line);
    };
  };
  const std::vector<Case> cases = {
      {"empty file", "png", [](Bytes& b) { b.clear(); }, 27},
      {"text", "png", [](Bytes& b) { b.assign(kHello.begin(), kHello.end()); }, 27},
      {"PNG cut short", "png", [](Bytes& b) { b.resize(b.size() / 2); }, 27},
      {"PNG without its end", "png", [](Bytes& b) { b.resize(b.size() - 12); }, 27},
      {"PNG with a wrong CRC", "png", [](Bytes& b) { b[find_chunk(b, "IDAT") + 9] ^= 1; }, 27},
      {"PNG of 2^31-1 squared pixels", "png", png_size(0x7FFFFFFF), 1109},
      {"PNG of 30000 squared pixels in a tiny file", "png", png_size(30000), 27},
      {"PNG with a two-colour palette", "png",
       [](Bytes& b) {
         const std::size_t plte = find_chunk(b, "PLTE");
         b.erase(b.begin() + static_cast<std::ptrdiff_t>(plte + 8 + 6),
                 b.begin() + static_cast<std::ptrdiff_t>(plte + 8 + 48));
         put_be32(b, plte, 6);
         fix_crc(b, plte);
       },
       27},
      {"PNG data that does not inflate", "png",
       [](Bytes& b) {
         const std::size_t idat = find_chunk(b, "IDAT");
         for (std::size_t i = idat + 8; i < idat + 14; ++i) b[i] = 0xFF;
         fix_crc(b, idat);
       },
       1044},
      {"BMP cut short", "bmp", [](Bytes& b) { b.resize(b.size() - 100); }, 27},
      {"BMP of 2^31-1 squared pixels", "bmp", bmp_size(0x7FFFFFFF), 1109},
      {"BMP of 30000 squared pixels in a tiny file", "bmp", bmp_size(30000), 27},
      {"BMP with a two-colour table", "bmp", [](Bytes& b) { put_le32(b, 46, 2); }, 27},
      {"BMP with its pixels beyond the file", "bmp", [](Bytes& b) { put_le32(b, 10, 0xFFFFFFF0); }, 27},
      {"BMP with JPEG compression", "bmp", [](Bytes& b) { put_le32(b, 30, 4); }, 27},
      {"PCX cut short", "pcx", [](Bytes& b) { b.resize(b.size() / 2); }, 27},
      {"PCX of 65535 squared pixels", "pcx", pcx_size(65534, 65535), 1109},
      {"PCX of 8000 squared pixels in a small file", "pcx", pcx_size(7999, 8000), 27},
      {"PCX with fewer bytes per line than pixels", "pcx", [](Bytes& b) { put_le16(b, 66, 2); }, 27},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = originals.at(c.base);
    c.damage(bytes);
    const auto file = dir_.file(std::string("damaged.") + c.base);
    write(file, bytes);
    const int before = drawing().bitmap_count;
    int handle = -1;
    IErrorReset();
    WBitmapLoad(handle, file.string());
    EXPECT_EQ(IErrorCode(), c.code);
    EXPECT_EQ(handle, -1);
    EXPECT_EQ(drawing().bitmap_count, before);
    EXPECT_EQ(bitmap_slot(before + 1), nullptr);
    IErrorReset();
    IGrLoadImage(file.string());
    EXPECT_EQ(IErrorCode(), c.code);
  }
  int handle = -1;
  WBitmapLoad(handle, dir_.file("missing.png").string());
  EXPECT_EQ(IErrorCode(), 1);
  EXPECT_EQ(handle, -1);
}

}  // namespace
}  // namespace quill
