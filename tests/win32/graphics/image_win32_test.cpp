// The Windows parts of image output: the clipboard bitmap read back through the system's
// DIB format, a window's pixels saved to a file, the metafile driver's file played back,
// and the printer driver without a printer.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/window_table.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "image_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"
#include "quill/window.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

std::filesystem::path temp_file(const char* name) { return std::filesystem::temp_directory_path() / name; }

std::vector<std::uint8_t> file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class GraphicsWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
    errors().last_error = 0;
  }
  void TearDown() override {
    IGrHardCopy("E");
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
  }
};

// A red square on white in a 24-bit memory bitmap of 16 x 8 pixels, selected.
void draw_red_square() {
  test::selected_bitmap(16, 8, 24);
  IGrFillPattern(4);
  IGrColourN(0x0000FF);
  IGrRectangle(0.0F, 0.0F, 8.0F, 8.0F);  // left half
}

TEST_F(GraphicsWin32, TextIsDrawnIntoMemoryBitmapsAboveItsBaseline) {
  const MemoryBitmap& bitmap = test::selected_bitmap(200, 60, 24);
  IGrColourN(0x0000FF);
  IGrCharSize(15.0F, 30.0F);
  IGrCharOut(10.0F, 20.0F, "Quill");  // baseline at row 40, from column 10
  int inside = 0, outside = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 200; ++x) {
      const Rgb c = bitmap.pixel(x, y);
      const bool red = c.red == 255 && c.green == 0 && c.blue == 0;
      const bool near_text = x >= 8 && x < 140 && y >= 5 && y <= 48;  // Q's tail dips below
      (near_text ? inside : outside) += red ? 1 : 0;
    }
  }
  EXPECT_GT(inside, 200);
  EXPECT_EQ(outside, 0);
}

TEST_F(GraphicsWin32, ClipboardBitmapHoldsTheArea) {
  draw_red_square();
  IGrCopyImageToClipboard();
  ASSERT_EQ(errors().last_error, 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  HANDLE dib = GetClipboardData(CF_DIB);
  ASSERT_NE(dib, nullptr);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->biWidth, 16);
  EXPECT_EQ(std::abs(header->biHeight), 8);
  if (header->biBitCount == 32 || header->biBitCount == 24) {
    const std::size_t bytes = header->biBitCount / 8U;
    const std::size_t pitch = (16 * bytes + 3) & ~std::size_t{3};
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(header) + header->biSize +
                         (header->biCompression == BI_BITFIELDS ? 12 : 0);
    const std::uint8_t* row = pixels + 3 * pitch;
    EXPECT_EQ(row[2], 255);  // left half red: B, G, R
    EXPECT_EQ(row[1], 0);
    EXPECT_EQ(row[0], 0);
    EXPECT_EQ(row[12 * bytes + 1], 255);  // right half white
  }
  GlobalUnlock(dib);
  CloseClipboard();
}

// What was just drawn is saved, whether or not the window has painted it yet: the image
// comes from the drawing's back buffer, not from the screen.
TEST_F(GraphicsWin32, WindowAreaIsSavedAtItsClientSizeWithWhatWasDrawn) {
  int w = 200;
  int h = 100;
  WindowOpen(7, std::nullopt, std::nullopt, &w, &h);
  HWND client = windows().windows[0].client;
  ASSERT_NE(client, nullptr);
  RECT size{};
  GetClientRect(client, &size);
  IGrSelect(1, 0);
  IGrFillPattern(4);
  IGrColour("blue");
  IGrRectangle(0.0F, 0.0F, 0.5F, 1.0F);  // the left half
  const auto path = temp_file("quill_window_capture.bmp");
  std::filesystem::remove(path);
  IGrSaveImage(path.string());
  EXPECT_EQ(errors().last_error, 0);
  const auto bmp = file_bytes(path);
  ASSERT_GE(bmp.size(), 54U);
  EXPECT_EQ(bmp[0], 'B');
  const int width = bmp[18] | (bmp[19] << 8);
  const int height = bmp[22] | (bmp[23] << 8);
  const int depth = bmp[28];
  EXPECT_EQ(width, size.right);
  EXPECT_EQ(height, size.bottom);
  EXPECT_TRUE(depth == 16 || depth == 24 || depth == 32) << depth;
  if (depth == 24 || depth == 32) {
    const std::size_t offset = bmp[10] | (bmp[11] << 8);
    const std::size_t pitch = (static_cast<std::size_t>(width) * (depth / 8) + 3) & ~std::size_t{3};
    const std::size_t middle = offset + static_cast<std::size_t>(height / 2) * pitch;
    EXPECT_EQ(bmp[middle], 255);  // first pixel: blue (B, G, R)
    EXPECT_EQ(bmp[middle + 2], 0);
    EXPECT_EQ(bmp[middle + static_cast<std::size_t>(width - 2) * (depth / 8) + 2], 255);  // white
  }
  WindowShutdown();
  std::filesystem::remove(path);
}

TEST_F(GraphicsWin32, MetafileDriverWritesAPlayableEnhancedMetafile) {
  // Kept in the test's working directory for a person (or LibreOffice) to look at.
  const auto path = std::filesystem::current_path() / "driver11_picture.emf";
  std::filesystem::remove(path);
  IGrHardCopySelect(11);
  EXPECT_EQ(drawing().device.option(GrOption::Width), 756);
  EXPECT_EQ(drawing().device.option(GrOption::Height), 540);
  IGrHardCopy("S", path.string());
  IGrUnits(0.0F, 0.0F, 100.0F, 100.0F);
  IGrFillPattern(4);
  IGrColourN(0x0000FF);
  IGrRectangle(0.0F, 0.0F, 50.0F, 100.0F);
  IGrColourN(0x00FF00);
  IGrCircle(75.0F, 50.0F, 10.0F);
  IGrCharOut(60.0F, 90.0F, "Quillanthor");
  IGrHardCopy("E");
  ASSERT_EQ(errors().last_error, 0);

  HENHMETAFILE metafile = GetEnhMetaFileA(path.string().c_str());
  ASSERT_NE(metafile, nullptr);
  ENHMETAHEADER header{};
  ASSERT_GT(GetEnhMetaFileHeader(metafile, sizeof header, &header), 0U);
  EXPECT_EQ(header.rclFrame.right, 3200);
  EXPECT_EQ(header.rclFrame.bottom, 2286);
  EXPECT_GT(header.nRecords, 10U);
  char description[64] = {};
  ASSERT_GT(GetEnhMetaFileDescriptionA(metafile, sizeof description, description), 0U);
  EXPECT_STREQ(description, "Quillanthor graphic");
  EXPECT_STREQ(description + std::strlen(description) + 1, "KVS metafile driver");

  // Played into a 200 x 100 bitmap: red on the left half, green in the circle, white else.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 100);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const RECT all{0, 0, 200, 100};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ASSERT_TRUE(PlayEnhMetaFile(memory, metafile, &all));
  EXPECT_EQ(GetPixel(memory, 40, 50), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(memory, 150, 50), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(memory, 120, 10), RGB(255, 255, 255));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  DeleteEnhMetaFile(metafile);
}

TEST_F(GraphicsWin32, MetafileThatCannotBeCreatedReportsCodeOne) {
  IGrHardCopySelect(11);
  IGrHardCopy("S", "Z:\\nonexistent-dir\\x.emf");
  EXPECT_EQ(errors().last_error, 1);
  EXPECT_FALSE(drawing().hardcopy.active);
}

TEST_F(GraphicsWin32, PrinterDriverWithoutAPrinterReportsAndDoesNothing) {
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  if (size != 0) {
    GTEST_SKIP() << "a default printer exists; nothing is printed by the tests";
  }
  IGrHardCopySelect(10);
  IGrHardCopy("S");
  EXPECT_EQ(errors().last_error, 1);
  EXPECT_FALSE(drawing().hardcopy.active);
  errors().last_error = 0;
  IGrRectangle(0.1F, 0.1F, 0.5F, 0.5F);
  IGrHardCopy("E");
  EXPECT_EQ(errors().last_error, 0);
}

}  // namespace
}  // namespace quill
