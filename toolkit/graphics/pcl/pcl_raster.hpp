// PCL raster output: the printer models the raster printer driver supports and the encoder
// that turns a rendered page into PCL raster data. The page is a 4-bit bitmap whose colour
// table is the model's palette, in the order of the printer's simple-colour indices, so a
// pixel's index gives its bits in the planes directly.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "graphics/image/pixel_buffer.hpp"

namespace quill {

struct PclModel {
  int dots_per_inch = 300;
  int planes = 1;                // 1: black and white; 3: device CMY
  std::size_t buffer_bytes = 0;  // the largest page image the printer takes, in bytes
  int width = 0, height = 0;     // the default page in dots (a letter page)
};

inline constexpr int kPclModelCount = 4;
// Model 1 monochrome 300 dpi, 2 monochrome 600 dpi, 3 colour (CMY) 300 dpi, 4 colour 600 dpi.
const PclModel& pcl_model(int number);
// The model's colour table: white and black, or the eight CMY colours by index.
std::vector<PaletteEntry> pcl_palette(const PclModel& model);
// Bytes the page image of a width x height page takes on the printer.
std::size_t pcl_page_bytes(const PclModel& model, int width, int height);

// The job-wide commands: reset, page size, copies and resolution.
void append_pcl_job_header(const PclModel& model, int width, int height, int copies, std::string& out);
// One page as raster graphics at the page's top left, TIFF-compressed rows, blank rows
// skipped, followed by a form feed. page: 4-bit palette pixels as pcl_palette orders them.
void append_pcl_page(const PclModel& model, const PixelBuffer& page, std::string& out);
void append_pcl_job_trailer(std::string& out);

// TIFF (PackBits) encoding of row, appended to out.
void append_packbits(std::span<const std::uint8_t> row, std::string& out);

}  // namespace quill
