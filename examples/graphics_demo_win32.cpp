// Graphics demo: draws one test picture in the root window and writes it through every
// file driver present (PostScript, EPS, SVG and any other registered driver; the raster
// driver in each of its formats).
// Usage: graphics_demo [output directory] [seconds to stay open, 0: until closed] [upright]
// "upright" leaves the rotated text out and gives the CGM file a 16:9 page, for
// LibreOffice, which takes only horizontal texts and puts a CGM picture on a 16:9 slide.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "quill/quillanthor.hpp"

namespace {

void draw_shapes() {
  IGrFillPattern(4);
  IGrColour("red");
  IGrRectangle(5, 5, 25, 25);
  IGrColour("green");
  IGrCircle(37, 15, 9);
  IGrColour("blue");
  IGrTriangle(50, 5, 70, 5, 60, 25);
  IGrColour("cyan");
  IGrParallelogram(72, 5, 88, 5, 95, 25);
  IGrColour("magenta");
  IGrSector(15, 40, 8, 30, 300);
  IGrFillPattern(0);
  IGrColour("black");
  IGrRectangle(28, 32, 46, 48);
  IGrEllipse(58, 40, 9, 0.6F);
  IGrArc(80, 40, 8, 0, 180);
  const float px[] = {88, 98, 93};
  const float py[] = {32, 32, 48};
  IGrPolygon(px, py);
}

void draw_lines() {
  IGrColour("black");
  for (int style = 0; style < 8; ++style) {
    IGrLineType(style);
    IGrJoin(5, 95 - 2.5F * style, 40, 95 - 2.5F * style);
  }
  IGrLineType(0);
  IGrLineWidth(60);
  for (int join = 0; join < 3; ++join) {
    IGrLineJoin(join);
    IGrLineCap(join);
    const float x = 48 + 12.0F * join;
    const float xs[] = {x, x + 5, x + 10};
    const float ys[] = {76, 92, 76};
    IGrPolyLine(xs, ys);
  }
  IGrLineWidth(10);
  IGrLineJoin(0);
  IGrLineCap(0);
  IGrColour("blue");
  IGrMoveTo(85, 75);
  IGrLineTo(97, 95);
  IGrPoint(90, 72);
}

bool g_upright = false;

void draw_texts() {
  const char* names[4] = {"Courier", "Helvetica", "Times", "Symbol abc"};
  IGrCharSize(1.5F, 3.5F);
  for (int family = 1; family <= 4; ++family) {
    IGrCharFont(family, family - 1);
    IGrColourN(family == 4 ? 0x008000 : 0x000000);
    IGrCharJustify(0);
    IGrCharOut(5, 68 - 4.5F * family, names[family - 1]);
  }
  IGrCharFont(2, 1);
  IGrColour("red");
  for (int j = 0; j < 3; ++j) {
    IGrCharJustify(j);
    IGrCharOut(70, 65 - 5.0F * j, j == 0 ? "left" : j == 1 ? "centred" : "right");
  }
  if (g_upright) {
    return;
  }
  IGrColour("blue");
  IGrCharJustify(0);
  IGrCharRotate(30);
  IGrCharOut(40, 50, "rotated 30");
  IGrCharRotate(0);
}

void draw_image() {
  std::vector<std::uint32_t> pixels(32 * 32);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t x = static_cast<std::uint32_t>(i % 32), y = static_cast<std::uint32_t>(i / 32);
    pixels[i] = (x * 8) | ((y * 8) << 8) | (0x80U << 16);
  }
  IGrImage(88, 50, 98, 65, pixels, 32, 32);
}

void draw_picture() {
  IGrUnits(0, 0, 100, 100);
  draw_shapes();
  draw_lines();
  draw_texts();
  draw_image();
}

// option, value: one hardcopy option set after the driver is selected (0: none).
void write_through(int driver, const std::string& file, int option = 0, int value = 0) {
  IGrHardCopySelect(driver);
  if (option != 0) {
    IGrHardCopyOptions(option, value);
  }
  IGrHardCopy("S", file, "Quillanthor graphics demo");
  draw_picture();
  IGrHardCopy("E");
  std::printf("wrote %s\n", file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
  g_upright = argc > 3 && std::string(argv[3]) == "upright";
  WStartup();
  int width = 800, height = 600;
  WindowOpen(1 | 2 | 4, std::nullopt, std::nullopt, &width, &height, std::nullopt, {}, std::nullopt,
             "Quillanthor graphics demo");
  draw_picture();
  write_through(2, dir + "/demo.ps");
  write_through(2, dir + "/demo.eps", 22, 1);
  write_through(3, dir + "/demo.svg");
  // Every other file driver this build has, into demo<driver>_<its default file name>
  // (the HP-GL plotter and the HP-GL/2 printer share a default name).
  for (int driver = 1; driver <= 12; ++driver) {
    int present = 0;
    std::string file(64, ' ');
    IGrHardCopyDriver(driver, present, file);
    file.erase(file.find_last_not_of(' ') + 1);
    if (driver == 2 || driver == 3 || present == 0 || file.empty()) {
      continue;
    }
    const std::string name = dir + "/demo" + std::to_string(driver) + "_" + file;
    const bool wide = driver == 9 && g_upright;
    write_through(driver, name, wide ? 2 : 0, 425);  // 425 high by 756 wide: 16:9
    // The raster driver's other formats: BMP and PCX.
    if (driver == 6) {
      const std::string stem = name.substr(0, name.rfind('.'));
      write_through(driver, stem + ".bmp", 26, 1);
      write_through(driver, stem + ".pcx", 26, 2);
    }
  }
  std::fflush(stdout);
  if (seconds > 0) {
    WEventTimer(seconds * 1000, 1, 0);
  }
  for (;;) {
    int type = 0;
    EventRecord record{};
    WEventGet(type, record);
    if (type == EvCloseAsked || type == EvTimerTick) {
      break;
    }
  }
  WindowShutdown();
  return 0;
}
