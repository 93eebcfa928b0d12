#include <cstdint>
#include <string>
#include <vector>

#include "driver_fixture.hpp"

namespace quill::test {

// Known places (user units 0..100): red solid rectangle 10..40 x 10..40, green solid
// circle at (70, 70) radius 10, blue thick line from (10, 80) to (40, 80), black text,
// a magenta sector at (70, 25), a yellow-and-cyan image at 45..55 x 45..55.
void draw_test_picture() {
  IGrUnits(0, 0, 100, 100);
  IGrFillPattern(4);
  IGrColour("red");
  IGrRectangle(10, 10, 40, 40);
  IGrColour("green");
  IGrCircle(70, 70, 10);
  IGrColour("blue");
  IGrLineWidth(80);
  IGrJoin(10, 80, 40, 80);
  IGrLineWidth(10);
  IGrColour("magenta");
  IGrSector(70, 25, 10, 0, 270);
  IGrFillPattern(0);
  IGrColour("black");
  for (int style = 0; style < 8; ++style) {
    IGrLineType(style);
    IGrJoin(5, 95 - style, 30, 95 - style);
  }
  IGrLineType(0);
  IGrArc(85, 50, 5, 0, 180);
  IGrEllipse(85, 50, 8, 0.5F);
  const float xs[] = {50, 55, 60, 65};
  const float ys[] = {90, 95, 90, 95};
  IGrPolyLine(xs, ys);
  IGrPoint(60, 60);
  IGrCharFont(3, 1);
  IGrCharSize(2, 4);
  IGrCharJustify(1);
  IGrCharOut(25, 50, "Centred (text) \\ 100%");
  IGrCharRotate(90);
  IGrCharJustify(0);
  IGrCharOut(5, 20, "Up");
  IGrCharRotate(0);
  std::vector<std::uint32_t> pixels(16 * 16);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = (i / 16) < 8 ? 0x00FFFFU : 0xFFFF00U;  // top half yellow, bottom half cyan
  }
  IGrImage(45, 45, 55, 55, pixels, 16, 16);
}

std::vector<std::string> svg_picture_faults(const Raster& image) {
  std::vector<std::string> faults;
  if (image.width != 640 || image.height < 480) {
    faults.push_back("size " + std::to_string(image.width) + " x " + std::to_string(image.height));
    return faults;
  }
  const PicturePlace places[] = {
      {25, 25, {255, 0, 0}, "red rectangle"},      {70, 70, {0, 255, 0}, "green circle"},
      {25, 80, {0, 0, 255}, "blue line"},          {66.5, 28.5, {255, 0, 255}, "magenta sector"},
      {73.5, 21.5, {255, 255, 255}, "sector gap"}, {25, 65, {255, 255, 255}, "paper"},
      {5.3, 94.9, {0, 0, 0}, "solid line"},
  };
  for (const PicturePlace& place : places) {
    const int x = static_cast<int>(place.x * 6.4), y = static_cast<int>(480 - place.y * 4.8);
    if (image.count_near(x, y, 2, place.colour) < 5) faults.push_back(place.what);
  }
  // The centred text is drawn: dark pixels in its band around (25, 50).
  int dark = 0;
  for (int x = 60; x < 260; ++x) {
    for (int y = 225; y < 250; ++y) {
      dark += image.at(x, y).red < 100 ? 1 : 0;
    }
  }
  if (dark <= 200) faults.push_back("centred text (" + std::to_string(dark) + " dark pixels)");
  return faults;
}

}  // namespace quill::test
