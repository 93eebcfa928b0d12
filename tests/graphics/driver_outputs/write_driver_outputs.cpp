// Writes a fixed set of drawings through every file driver and every memory-bitmap image
// format into one directory, plus errors.txt with the error code each file left. Two
// builds' directories are compared byte for byte by scripts/compare_driver_outputs.sh, so
// a change meant to keep the output proves it did.
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/error_state.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/driver.hpp"
#include "graphics/hpgl2/hpgl_driver.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"

namespace {

using quill::drawing;

// Every primitive under every attribute: colours by name and number, the fill styles,
// line styles, widths, joins and caps, fonts, justification, rotation, an image, a
// clipping area and the text modes.
void draw_shapes(float size) {
  IGrUnits(0, 0, size, size);
  const float u = size / 100.0F;
  const char* const colours[] = {"red", "green", "blue", "magenta", "cyan", "yellow", "black", "white"};
  for (int fill = 0; fill <= 4; ++fill) {
    IGrFillPattern(fill);
    IGrColour(colours[fill]);
    IGrColour(colours[fill + 1]);
    const float y = (5.0F + 9.0F * static_cast<float>(fill)) * u;
    IGrRectangle(2 * u, y, 10 * u, y + 6 * u);
    IGrTriangle(12 * u, y, 20 * u, y, 16 * u, y + 6 * u);
    IGrParallelogram(22 * u, y, 28 * u, y, 31 * u, y + 6 * u);
    IGrCircle(36 * u, y + 3 * u, 3 * u);
    IGrEllipse(45 * u, y + 3 * u, 4 * u, 0.5F);
    IGrSector(54 * u, y + 3 * u, 3 * u, 30.0F * static_cast<float>(fill), 200.0F);
    const float px[] = {60 * u, 66 * u, 68 * u, 63 * u, 59 * u};
    const float py[] = {y, y, y + 4 * u, y + 6 * u, y + 4 * u};
    IGrPolygon(px, py);
  }
  IGrFillPattern(0);
  for (int style = 0; style < 8; ++style) {
    IGrColourN(0x102030 * (style + 1) & 0xFFFFFF);
    IGrLineType(style);
    IGrLineWidth(5 + 15 * style);
    IGrLineJoin(style % 3);
    IGrLineCap(style % 3);
    const float y = (50.0F + 3.0F * static_cast<float>(style)) * u;
    IGrJoin(2 * u, y, 30 * u, y + u);
    const float xs[] = {32 * u, 36 * u, 40 * u, 44 * u};
    const float ys[] = {y, y + 2 * u, y, y + 2 * u};
    IGrPolyLine(xs, ys);
    IGrArc(50 * u, y, 2 * u, 15.0F * static_cast<float>(style), 135.0F);
    IGrMoveTo(56 * u, y);
    IGrLineTo(60 * u, y + u);
    IGrLineTo(64 * u, y);
    IGrPoint(66 * u, y);
  }
  IGrLineType(0);
  IGrLineWidth(10);
  IGrColour("black");
  for (int family = 1; family <= 4; ++family) {
    IGrCharFont(family, family - 1);
    IGrCharSize(1.5F * u, 2.5F * u);
    IGrCharJustify(family % 3);
    IGrCharRotate(30.0F * static_cast<float>(family - 1));
    IGrCharOut(75 * u, (10.0F + 12.0F * static_cast<float>(family)) * u, "Text (1) \\ 100% <&> \"q\" 0.50");
  }
  IGrCharRotate(0);
  IGrCharJustify(0);
  IGrTextMode(1);
  IGrCharOut(70 * u, 80 * u, "mode 1");
  IGrTextMode(0);
  std::vector<std::uint32_t> pixels(8 * 6);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = static_cast<std::uint32_t>(i * 0x050A0F) & 0xFFFFFFU;
  }
  IGrImage(70 * u, 85 * u, 80 * u, 95 * u, pixels, 8, 6);
  IGrArea(0.5F, 0.5F, 0.9F, 0.9F);
  IGrUnits(0, 0, size, size);
  IGrColour("blue");
  IGrFillPattern(4);
  IGrCircle(90 * u, 90 * u, 15 * u);
  IGrFillPattern(0);
  IGrArea(0, 0, 1, 1);
}

struct Writer {
  std::filesystem::path directory;
  std::ofstream log;

  void record(const std::string& name) {
    log << name << ' ' << quill::errors().last_error << '\n';
    quill::errors().last_error = 0;
  }

  // One hardcopy file through driver, configured, with two pages.
  void hardcopy(const std::string& name, int driver, const std::function<void()>& configure = {}) {
    quill::reset_drawing_for_tests();
    quill::hpgl::hpgl_models() = {};
    IGrHardCopySelect(driver);
    if (configure) configure();
    IGrHardCopy("S", (directory / name).string(), "Driver outputs");
    const auto size = static_cast<float>(drawing().device.height());
    draw_shapes(size > 0 ? size : 100.0F);
    IGrNewPage();
    IGrColour("red");
    IGrFillPattern(3);
    IGrCircle(size / 2, size / 2, size / 4);
    IGrHardCopy("E");
    record(name);
  }

  // A memory bitmap of the given depth saved in each image format.
  void bitmap(int depth) {
    quill::reset_drawing_for_tests();
    quill::reset_bitmaps_for_tests();
    int handle = 0;
    WBitmapCreate(handle, 120, 90, depth);
    IGrSelect(2, handle);
    draw_shapes(100.0F);
    for (const char* extension : {".bmp", ".pcx", ".png"}) {
      const std::string name = "bitmap" + std::to_string(depth) + extension;
      IGrSaveImage((directory / name).string());
      record(name);
    }
    WBitmapDestroy(handle);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  Writer w{argv[1], {}};
  std::filesystem::create_directories(w.directory);
  w.log.open(w.directory / "errors.txt");
  auto option = [](int number, int value) { return [=] { IGrHardCopyOptions(number, value); }; };
  for (int driver = 1; driver <= quill::kMaxDriverNumber; ++driver) {
    if (driver != 10 && driver != 11 && quill::registered_driver(driver) != nullptr) {
      w.hardcopy("driver" + std::to_string(driver), driver);
      w.hardcopy("driver" + std::to_string(driver) + "_landscape", driver, option(5, 1));
      for (int mode = 1; mode <= 2; ++mode) {
        w.hardcopy("driver" + std::to_string(driver) + "_reverse" + std::to_string(mode), driver,
                   option(6, mode));
      }
    }
  }
  w.hardcopy("postscript.eps", 2, option(22, 1));
  w.hardcopy("postscript_wide_lines", 2, [] {
    IGrHardCopyOptions(9, 7);
    IGrHardCopyOptions(10, 2);
    IGrHardCopyOptions(11, 1);
    IGrHardCopyOptions(16, 50);
  });
  for (int model = 1; model <= 4; ++model) {
    w.hardcopy("plotter_model" + std::to_string(model), 1,
               [=] { quill::hpgl::hpgl_models().plotter = model; });
  }
  for (int model = 1; model <= 5; ++model) {
    w.hardcopy("hpgl2_model" + std::to_string(model), 12,
               [=] { quill::hpgl::hpgl_models().printer = model; });
    w.hardcopy("hpgl2_model" + std::to_string(model) + "_hatch", 12, [=] {
      quill::hpgl::hpgl_models().printer = model;
      IGrHardCopyOptions(12, 250);
      IGrHardCopyOptions(21, 3);
    });
  }
  for (int format : {1, 2, 15}) {
    for (int depth : {1, 4, 8, 24}) {
      w.hardcopy("image_format" + std::to_string(format) + "_depth" + std::to_string(depth), 6, [=] {
        IGrHardCopyOptions(26, format);
        IGrHardCopyOptions(23, depth);
      });
    }
  }
  for (int depth : {1, 4, 8, 24, 32}) {
    w.bitmap(depth);
  }
  return 0;
}
