// Memory bitmaps as drawables (the screen driver while a bitmap is selected) and driver 6,
// the image hardcopy: it draws into a bitmap of the device size and, at the end, writes
// it as PNG, BMP or PCX (option 26) at the colour depth of option 23.

#include "base/allocation.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/file_driver.hpp"
#include "graphics/image/image_encoders.hpp"
#include "graphics/image/raster.hpp"
#include "quill/errors.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

constexpr int kImageDriver = 6;
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
constexpr int kDefaultDepth = 24;
constexpr int kPageTooLarge = 34;
constexpr int kZlibError = 1044;

struct ImageDriverState {
  DriverFunction next_screen = nullptr;  // the driver of windows, forwarded to
  Raster screen;
  AttributesGiven screen_given;
  Raster page_raster;
  std::unique_ptr<MemoryBitmap> page;
};

ImageDriverState& image_state() {
  static ImageDriverState state;
  return state;
}

Raster& screen_raster() { return image_state().screen; }
Raster& page_raster() { return image_state().page_raster; }

constexpr FileDriver kBitmapEntries = with_raster_entries<screen_raster>({});

// Hands the encoder's bytes to the hardcopy's output stream, which reports a failed
// write itself (once, for "YYPROU").
class OutputStreamSink final : public ByteSink {
 public:
  bool write(std::span<const std::uint8_t> bytes) override {
    OutputStream& out = drawing().output;
    out.write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return out.is_open() && !out.failed();
  }
  ImageResult failure() const override { return {ImageError::Write, 0}; }
};

void bitmap_screen_driver(GrOp op) {
  ImageDriverState& s = image_state();
  DrawingState& state = drawing();
  if (state.drawable.kind != DrawableKind::Bitmap) {
    if (s.next_screen != nullptr) {
      s.next_screen(op);
    }
    return;
  }
  MemoryBitmap* bitmap = current_bitmap();
  if (op == GrOp::Initialise) {
    if (bitmap != nullptr) {
      state.drawable.true_colour = bitmap->true_colour();
      set_drawable_size(bitmap->width(), bitmap->height());
      update_colour_intensities();
    }
    s.screen.attach(bitmap, 1.0, 1.0, false);
    s.screen_given = attributes_in_force();
    return;
  }
  if (s.screen.target() != bitmap) {
    s.screen.attach(bitmap, 1.0, 1.0, false);
  }
  run_entries(kBitmapEntries, op, s.screen_given);
  bitmap_changed(state.drawable.id);
}

void describe_image_device() {
  if (!describe_device_from({kImageDriver, kDefaultWidth, kDefaultHeight, 96.0, 256,
                             driver_info(kImageDriver)->capabilities, "quilplot.png"})) {
    return;
  }
  DeviceDescription& device = drawing().device;
  device.set_option(GrOption::PathLimit, 255);
  device.set_option(GrOption::ColourDepth, kDefaultDepth);
  device.set_option(GrOption::ImageFormat, static_cast<int>(ImageFormat::Png));
}

// A page bitmap for option 23: 1 gives black and white in a 4-bit bitmap.
std::unique_ptr<MemoryBitmap> make_page(int width, int height, int depth) {
  std::vector<PaletteEntry> colours;
  if (depth == 1) {
    colours = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    depth = 4;
  }
  if (depth != 4 && depth != 8) {
    depth = 24;
  }
  if (!bitmap_size_allowed(width, height, depth)) {
    return nullptr;
  }
  std::unique_ptr<MemoryBitmap> page;
  allocating(0, [&] { page = std::make_unique<MemoryBitmap>(width, height, depth, std::move(colours)); });
  return page;
}

int make_image_page() {
  ImageDriverState& s = image_state();
  const DeviceDescription& device = drawing().device;
  s.page = make_page(device.option(GrOption::Width), device.option(GrOption::Height),
                     device.option(GrOption::ColourDepth));
  return s.page ? 0 : kPageTooLarge;
}

void begin_image_output() {
  ImageDriverState& s = image_state();
  const DrawingState& state = drawing();
  const DeviceDescription& device = state.device;
  s.page_raster.attach(s.page.get(), driver_scale(device.width(), state.drawable.width),
                       driver_scale(device.height(), state.drawable.height), true);
}

void write_image() {
  ImageDriverState& s = image_state();
  OutputStreamSink sink;
  const auto format = static_cast<ImageFormat>(drawing().device.option(GrOption::ImageFormat));
  const ImageResult result = encode_image(format, s.page->buffer(), sink);
  if (result.code == ImageError::Zlib) {
    errors().os_error = result.detail;
    IErrorReport(kZlibError, "IGrHardCopy");
  }
}

void release_image_page() {
  ImageDriverState& s = image_state();
  s.page_raster.attach(nullptr, 1.0, 1.0, false);
  s.page.reset();
}

constexpr FileDriver kImageDriverEntries = with_raster_entries<page_raster>({
    .number = kImageDriver,
    .describe = describe_image_device,
    .prepare = make_image_page,
    .header = begin_image_output,
    .trailer = write_image,
    .release = release_image_page,
});

}  // namespace

void register_driver_image() {
  register_driver(kImageDriver, file_driver_function<kImageDriverEntries>);
  image_state().next_screen = register_screen_driver(bitmap_screen_driver);
}

}  // namespace quill
