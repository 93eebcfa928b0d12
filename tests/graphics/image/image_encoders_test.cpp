// The BMP, PCX and PNG encoders: exact bytes where the formats fix them, and every depth
// read back by independent readers that reject broken files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/image/image_encoders.hpp"
#include "graphics/image/image_file.hpp"
#include "image_test_support.hpp"

namespace quill {
namespace {

using test::expected_rgb;
using test::pattern_image;

std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}
std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return le16(b, at) | (le16(b, at + 2) << 16);
}
std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
         (static_cast<std::uint32_t>(b[at + 2]) << 8) | b[at + 3];
}

PixelBuffer raw_buffer(int width, int height, int depth, std::span<const std::uint8_t> pixels,
                       std::size_t pitch, bool bitfields = false) {
  PixelBuffer b;
  b.width = width;
  b.height = height;
  b.bits_per_pixel = depth;
  b.bitfields_565 = bitfields;
  b.pixels = pixels;
  b.row_pitch = pitch;
  return b;
}

std::vector<std::uint8_t> encoded(ImageFormat format, const PixelBuffer& image) {
  MemorySink sink;
  EXPECT_TRUE(encode_image(format, image, sink).ok());
  return sink.bytes();
}

// Offset of the first chunk of type in a PNG file, or 0.
std::size_t png_chunk(const std::vector<std::uint8_t>& png, const char* type) {
  for (std::size_t at = 8; at + 8 <= png.size(); at += 12 + be32(png, at)) {
    if (std::memcmp(&png[at + 4], type, 4) == 0) {
      return at;
    }
  }
  return 0;
}

TEST(PcxRunLength, RunsAndSingleBytes) {
  struct Case {
    std::vector<std::uint8_t> plane, coded;
  };
  const std::vector<Case> cases = {
      {std::vector<std::uint8_t>(100, 7), {192 + 63, 7, 192 + 37, 7}},
      {{200}, {193, 200}},
      {{191}, {191}},
      {{192}, {193, 192}},
      {{1, 2, 2, 3}, {1, 194, 2, 3}},
      {std::vector<std::uint8_t>(63, 255), {255, 255}},
      {std::vector<std::uint8_t>(64, 0), {255, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> out;
    pcx_run_length(c.plane, out);
    EXPECT_EQ(out, c.coded) << "plane of " << c.plane.size() << " bytes";
  }
}

TEST(PcxEncoder, OnePixelWideImageHasTwoBytesPerLine) {
  const auto image = pattern_image(1, 3, 8);
  const auto pcx = encoded(ImageFormat::Pcx, image.buffer);
  ASSERT_GE(pcx.size(), 128U + 769U);
  EXPECT_EQ(le16(pcx, 66), 2U);  // bytes per line
  EXPECT_EQ(le16(pcx, 8), 0U);   // window right = width - 1
  EXPECT_EQ(le16(pcx, 10), 2U);  // window bottom = height - 1
  EXPECT_EQ(pcx[65], 1);         // one plane
}

TEST(PcxEncoder, HeaderFieldsAndPlanesFollowTheBitmapsOwnDepth) {
  struct Case {
    int depth;
    int planes;
    bool palette;
  };
  for (const Case c :
       {Case{4, 1, true}, Case{8, 1, true}, Case{16, 3, false}, Case{24, 3, false}, Case{32, 3, false}}) {
    const auto image = pattern_image(5, 4, c.depth);
    const auto pcx = encoded(ImageFormat::Pcx, image.buffer);
    SCOPED_TRACE(c.depth);
    EXPECT_EQ(std::vector<std::uint8_t>(pcx.begin(), pcx.begin() + 4),
              (std::vector<std::uint8_t>{10, 5, 1, 8}));
    EXPECT_EQ(le16(pcx, 12), 75U);
    EXPECT_EQ(le16(pcx, 14), 75U);
    EXPECT_EQ(pcx[65], c.planes);
    EXPECT_EQ(le16(pcx, 66), 6U);
    EXPECT_EQ(le16(pcx, 68), 1U);
    EXPECT_EQ(le16(pcx, 70), 6U);
    EXPECT_EQ(le16(pcx, 72), 4U);
    const bool has_palette = pcx.size() > 769 && pcx[pcx.size() - 769] == 12;
    EXPECT_EQ(has_palette, c.palette);
  }
}

TEST(PcxEncoder, FourBitPaletteTakesSixteenEntriesAndZeroFillsTheRest) {
  const auto image = pattern_image(4, 2, 4);
  ASSERT_EQ(image.buffer.colours.size(), 16U);
  const auto pcx = encoded(ImageFormat::Pcx, image.buffer);
  const std::size_t palette = pcx.size() - 768;
  EXPECT_EQ(pcx[palette - 1], 12);
  for (std::size_t i = 0; i < 16; ++i) {
    const PaletteEntry& e = image.colours[i];
    EXPECT_EQ(pcx[palette + 3 * i], e.red);
    EXPECT_EQ(pcx[palette + 3 * i + 1], e.green);
    EXPECT_EQ(pcx[palette + 3 * i + 2], e.blue);
  }
  for (std::size_t i = 16 * 3; i < 768; ++i) {
    ASSERT_EQ(pcx[palette + i], 0) << "palette byte " << i;
  }
}

TEST(PngEncoder, ColourTypeAndPaletteFollowTheDepth) {
  struct Case {
    int depth;
    std::uint8_t bit_depth, colour_type;
    std::uint32_t plte_length;  // 0: no PLTE chunk
  };
  for (const Case c :
       {Case{4, 4, 3, 48}, Case{8, 8, 3, 768}, Case{16, 8, 2, 0}, Case{24, 8, 2, 0}, Case{32, 8, 2, 0}}) {
    SCOPED_TRACE(c.depth);
    const auto png = encoded(ImageFormat::Png, pattern_image(9, 5, c.depth).buffer);
    ASSERT_GT(png.size(), 33U);
    EXPECT_EQ(std::vector<std::uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<std::uint8_t>{137, 80, 78, 71, 13, 10, 26, 10}));
    EXPECT_EQ(png_chunk(png, "IHDR"), 8U);
    EXPECT_EQ(be32(png, 16), 9U);
    EXPECT_EQ(be32(png, 20), 5U);
    EXPECT_EQ(png[24], c.bit_depth);
    EXPECT_EQ(png[25], c.colour_type);
    const std::size_t plte = png_chunk(png, "PLTE");
    EXPECT_EQ(plte == 0 ? 0U : be32(png, plte), c.plte_length);
    EXPECT_NE(png_chunk(png, "IDAT"), 0U);
    EXPECT_EQ(png_chunk(png, "IEND") + 12, png.size());
  }
}

TEST(BmpEncoder, HeadersCountColourTableAndBitFieldMasks) {
  struct Case {
    int depth;
    bool bitfields;
    std::uint32_t offset, compression;
  };
  for (const Case c : {Case{4, false, 54 + 64, 0}, Case{8, false, 54 + 1024, 0}, Case{16, true, 54 + 12, 3},
                       Case{16, false, 54, 0}, Case{24, false, 54, 0}, Case{32, false, 54, 0}}) {
    SCOPED_TRACE(std::to_string(c.depth) + (c.bitfields ? " 5-6-5" : ""));
    const auto image = pattern_image(7, 3, c.depth, c.bitfields);
    const auto bmp = encoded(ImageFormat::Bmp, image.buffer);
    const std::uint32_t row = static_cast<std::uint32_t>(padded_row_bytes(7, c.depth));
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 10), c.offset);
    EXPECT_EQ(le32(bmp, 14), 40U);
    EXPECT_EQ(le16(bmp, 28), static_cast<std::uint32_t>(c.depth));
    EXPECT_EQ(le32(bmp, 30), c.compression);
    EXPECT_EQ(le32(bmp, 34), row * 3);
    EXPECT_EQ(bmp.size(), c.offset + row * 3);
  }
}

TEST(SixteenBitPixels, FullIntensityStaysFull) {
  struct Case {
    std::uint16_t pixel;
    bool bitfields;
    std::uint8_t red, green, blue;
  };
  const Case cases[] = {
      {0xFFFF, true, 255, 255, 255}, {0x7FFF, false, 255, 255, 255}, {0xF800, true, 255, 0, 0},
      {0x07E0, true, 0, 255, 0},     {0x001F, true, 0, 0, 255},      {0x8410, true, 132, 130, 132},
      {0x0000, true, 0, 0, 0},       {0x4210, false, 132, 132, 132}, {0x7C00, false, 255, 0, 0},
  };
  for (const Case& c : cases) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(c.pixel),
                                   static_cast<std::uint8_t>(c.pixel >> 8), 0, 0};
    const PixelBuffer image = raw_buffer(1, 1, 16, bytes, 4, c.bitfields);
    const auto pcx = encoded(ImageFormat::Pcx, image);
    // One pixel, three planes of two bytes: each plane codes as one run or single byte.
    std::vector<std::uint8_t> planes;
    for (const std::uint8_t v : {c.red, c.green, c.blue}) {
      pcx_run_length(std::vector<std::uint8_t>{v, 0}, planes);
    }
    EXPECT_EQ(std::vector<std::uint8_t>(pcx.begin() + 128, pcx.end()), planes) << std::hex << c.pixel;
  }
}

TEST(ImageEncoders, RefuseEmptyBadAndOversizeImagesWritingNothing) {
  const auto good = pattern_image(4, 4, 24);
  const std::vector<std::uint8_t> wide(70000, 1);
  struct Case {
    const char* what;
    PixelBuffer image;
    ImageFormat format;
  };
  auto with = [&](auto change) {
    PixelBuffer b = good.buffer;
    change(b);
    return b;
  };
  const Case cases[] = {
      {"zero width", with([](PixelBuffer& b) { b.width = 0; }), ImageFormat::Png},
      {"negative height", with([](PixelBuffer& b) { b.height = -3; }), ImageFormat::Bmp},
      {"depth 1", with([](PixelBuffer& b) { b.bits_per_pixel = 1; }), ImageFormat::Bmp},
      {"pitch too small", with([](PixelBuffer& b) { b.row_pitch = 3; }), ImageFormat::Pcx},
      {"pixels too few", with([](PixelBuffer& b) { b.height = 5; }), ImageFormat::Png},
      {"PCX wider than 16 bits", raw_buffer(65535, 1, 8, wide, 65536), ImageFormat::Pcx},
  };
  for (const Case& c : cases) {
    MemorySink sink;
    const ImageResult result = encode_image(c.format, c.image, sink);
    EXPECT_EQ(result, (ImageResult{ImageError::Api, invalid_parameter_error()})) << c.what;
    EXPECT_TRUE(sink.bytes().empty()) << c.what;
  }
  const PixelBuffer widest = raw_buffer(65534, 1, 8, wide, 65536);
  MemorySink sink;
  EXPECT_TRUE(encode_pcx(widest, sink).ok());
}

TEST(ImageEncoders, OtherFormatCodesWriteNothing) {
  const auto image = pattern_image(2, 2, 24);
  for (const int code : {0, 3, 14, 16, -1}) {
    MemorySink sink;
    EXPECT_TRUE(encode_image(static_cast<ImageFormat>(code), image.buffer, sink).ok());
    EXPECT_TRUE(sink.bytes().empty()) << code;
  }
}

TEST(ImageEncoders, RowOrderAndPitchDoNotChangeTheFile) {
  for (const int depth : {4, 8, 16, 24, 32}) {
    const auto bottom_up = pattern_image(11, 6, depth);
    const auto top_down = pattern_image(11, 6, depth, false, false, 5);
    ASSERT_EQ(expected_rgb(bottom_up.buffer), expected_rgb(top_down.buffer));
    for (const ImageFormat format : {ImageFormat::Bmp, ImageFormat::Pcx, ImageFormat::Png}) {
      EXPECT_EQ(encoded(format, bottom_up.buffer), encoded(format, top_down.buffer))
          << depth << " bits, format " << static_cast<int>(format);
    }
  }
}

}  // namespace
}  // namespace quill
