// Printing the current drawable's area and memory bitmaps as images through the selected
// hardcopy driver.
#include <cstdint>
#include <vector>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "graphics/image/area_pixels.hpp"
#include "graphics/print_session.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"

namespace quill {
namespace {

constexpr double kMarginMillimetres = 10.0;

// The buffer's pixels as IGrImage takes them: 0xBBGGRR, rows from the top.
std::vector<std::uint32_t> image_pixels(const PixelBuffer& buffer) {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(buffer.width) *
                                 static_cast<std::size_t>(buffer.height));
  std::size_t at = 0;
  for (int y = 0; y < buffer.height; ++y) {
    const std::uint8_t* row = buffer.row(y);
    for (int x = 0; x < buffer.width; ++x) {
      std::uint32_t red = 0, green = 0, blue = 0;
      if (palette_size(buffer.bits_per_pixel) > 0) {
        const PaletteEntry entry = palette_entry(buffer, palette_index(buffer, row, x));
        red = entry.red, green = entry.green, blue = entry.blue;
      } else {
        const RgbTriple c = true_colour_pixel(buffer, row, x);
        red = c.red, green = c.green, blue = c.blue;
      }
      out[at++] = red | (green << 8) | (blue << 16);
    }
  }
  return out;
}

// Prints buffer on a page of its own, as large as fits inside the margins; 64 when the
// driver could not take the image.
void print_buffer(const PixelBuffer& buffer, std::string_view file_name, std::string_view title,
                  std::string_view routine) {
  std::vector<std::uint32_t> pixels;
  if (allocating(error::kImageTooLarge, [&] { pixels = image_pixels(buffer); }) != 0) {
    IErrorReport(error::kImageTransfer, routine);
    return;
  }
  PrintSession session(file_name, title);
  if (!session.active()) return;
  const PageBox box = fit_on_page(session.page_width(), session.page_height(), kMarginMillimetres,
                                  buffer.width, buffer.height);
  Primitive& primitive = drawing().primitive;
  primitive.transfer_failed = false;
  IGrImage(static_cast<float>(box.left), static_cast<float>(box.bottom), static_cast<float>(box.right),
           static_cast<float>(box.top), pixels, buffer.width, buffer.height);
  const bool failed = primitive.transfer_failed;
  primitive.transfer_failed = false;
  if (!failed) {
    session.end();
    return;
  }
  session.abandon();  // nothing of a page without its image is printed
  IErrorReport(error::kImageTransfer, routine);
}

}  // namespace
}  // namespace quill

using namespace quill;

void IGrPrintImage(std::string_view file_name, std::string_view title) {
  constexpr std::string_view kRoutine = "IGrPrintImage";
  AreaPixels area;
  ImageResult read;
  int code = 0;
  read = allocating(ImageResult{ImageError::Api, 0}, [&] {
    ImageResult result;
    code = read_current_area(area, result);
    return result;
  });
  if (code != 0) {
    IErrorReport(code == error::kMetafileDrawable ? error::kMetafilePrint : code, kRoutine);
    return;
  }
  if (!read.ok() || !valid_pixel_buffer(area.buffer)) {
    IErrorReport(error::kImageTransfer, kRoutine);
    return;
  }
  print_buffer(area.buffer, file_name, title, kRoutine);
}

void WBitmapPrint(int handle, std::string_view file_name, std::string_view title) {
  const MemoryBitmap* bitmap = bitmap_slot(handle);
  if (bitmap == nullptr) {
    IErrorReport(error::kInvalidBitmap, "WBitmapPrint");
    return;
  }
  print_buffer(bitmap->buffer(), file_name, title, "WBitmapPrint");
}
