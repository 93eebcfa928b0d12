// Driver 4, the raster printer file: each page is drawn into a bitmap in the printer
// model's colours and written as PCL raster data when the page ends. The model comes
// from the configuration (RASTER=1..4); options 1 and 2 give the page in dots.
#include "base/allocation.hpp"
#include "core/settings.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/file_driver.hpp"
#include "graphics/image/raster.hpp"
#include "graphics/pcl/pcl_raster.hpp"

namespace quill {
namespace {

constexpr int kRasterDriver = 4;
constexpr int kPageTooLarge = 34;

struct PclDriverState {
  const PclModel* model = nullptr;
  std::unique_ptr<MemoryBitmap> page;
  Raster raster;
};

PclDriverState& pcl_state() {
  static PclDriverState state;
  return state;
}

Raster& page_raster() { return pcl_state().raster; }

const PclModel& configured_model() { return pcl_model(settings().raster_setting); }

void describe() {
  const PclModel& model = configured_model();
  describe_device_from({kRasterDriver, model.width, model.height, static_cast<double>(model.dots_per_inch),
                        1 << model.planes, driver_info(kRasterDriver)->capabilities, "quilplot.prn"});
}

void write(const std::string& bytes) { drawing().output.write(bytes); }

// The page bitmap, in the configured model's colours.
int make_page() {
  PclDriverState& s = pcl_state();
  const DeviceDescription& device = drawing().device;
  s.model = &configured_model();
  const int width = device.option(GrOption::Width), height = device.option(GrOption::Height);
  if (pcl_page_bytes(*s.model, width, height) > s.model->buffer_bytes ||
      !bitmap_size_allowed(width, height, 4)) {
    return kPageTooLarge;
  }
  allocating(0, [&] { s.page = std::make_unique<MemoryBitmap>(width, height, 4, pcl_palette(*s.model)); });
  return s.page ? 0 : kPageTooLarge;
}

void begin_output() {
  PclDriverState& s = pcl_state();
  const DrawingState& state = drawing();
  const DeviceDescription& device = state.device;
  const int width = device.option(GrOption::Width), height = device.option(GrOption::Height);
  std::string header;
  append_pcl_job_header(*s.model, width, height, device.option(GrOption::Copies), header);
  write(header);
  s.raster.attach(s.page.get(), driver_scale(device.width(), state.drawable.width),
                  driver_scale(device.height(), state.drawable.height), true);
}

void write_page() {
  PclDriverState& s = pcl_state();
  if (!s.page || !drawing().output.is_open()) return;
  std::string bytes;
  append_pcl_page(*s.model, s.page->buffer(), bytes);
  write(bytes);
}

void new_page() {
  PclDriverState& s = pcl_state();
  write_page();
  if (s.page) s.page->fill({255, 255, 255});
}

void end_output() {
  write_page();
  std::string trailer;
  append_pcl_job_trailer(trailer);
  write(trailer);
}

void release_page() {
  PclDriverState& s = pcl_state();
  s.raster.attach(nullptr, 1.0, 1.0, false);
  s.page.reset();
}

constexpr FileDriver kDriver = with_raster_entries<page_raster>({
    .number = kRasterDriver,
    .describe = describe,
    .prepare = make_page,
    .header = begin_output,
    .trailer = end_output,
    .release = release_page,
    .new_page = new_page,
});

}  // namespace

void register_driver_pcl() { register_driver(kRasterDriver, file_driver_function<kDriver>); }

}  // namespace quill
