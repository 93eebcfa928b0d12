// One random drawing through every file driver, each file rendered by its independent
// reader, the renderings compared region by region in colour: a driver that drops a
// colour change, a shape or a page, or draws something in the wrong place, disagrees with
// the others. ORLIX_DIFFERENTIAL_DRAWINGS sets how many drawings (1 by default) and
// ORLIX_DIFFERENTIAL_SEED the first seed; the renderings stay in the directory printed
// on a failure.
//
// Every reader here is shown to fail on a broken file: Ghostscript, rsvg-convert and
// Pillow in ReadersRejectBrokenFiles below, LibreOffice in
// Cgm.LibreOfficeRejectsBrokenFilesAndDrawsOursInTheirColours, ezdxf in
// Dxf.ReaderRejectsABrokenFileSoItsAcceptanceMeansSomething, hp2xx in
// Hpgl2.ReaderFlagsUnknownCommandsAndSwallowedLines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "driver_files_support.hpp"
#include "graphics/hpgl2/hpgl_driver.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "quill/image.hpp"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace quill::filetest {
namespace {

#ifndef _WIN32

enum class Kind { Line, Polyline, Rectangle, Triangle, Parallelogram, Polygon, Circle, Ellipse, Arc, Sector };
constexpr int kKinds = 10;

// Colours as 0xBBGGRR, far from each other, from white and from the black corner marks.
constexpr int kPalette[] = {0x0000FF, 0x00B000, 0xFF0000, 0xFF00FF, 0x0090FF, 0xFFFF00};
constexpr const char* kPaletteRgb = "255,0,0;0,176,0;0,0,255;255,0,255;255,144,0;0,255,255";

struct Shape {
  Kind kind;
  int colour;
  bool solid;
  float x, y, size;    // centre and half size, user units
  float start, sweep;  // arcs and sectors
};

// A band of joined segments whose colour changes back and forth, with small fills
// between some of them.
struct Band {
  std::vector<int> colours;
  std::vector<int> fills;  // -1: none before the segment
};

struct Page {
  std::vector<Shape> shapes;
  Band band;
};

struct Drawing {
  std::vector<Page> pages;
  int width = 800, height = 450;  // device size in the driver's own units
  int hpgl_model = 5;
};

Drawing random_drawing(unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  Drawing d;
  const bool large = pick(2) == 1;
  // 16:9, since LibreOffice draws a CGM picture into a 16:9 slide.
  d.width = large ? 6400 : 800;
  d.height = large ? 3600 : 450;
  d.hpgl_model = pick(2) == 0 ? 4 : 5;
  const int pages = 2 + pick(2);
  for (int p = 0; p < pages; ++p) {
    Page page;
    // A 4 x 2 grid of cells above the band, each holding at most one shape.
    for (int cell = 0; cell < 8; ++cell) {
      if (pick(6) == 0) {
        continue;
      }
      const float sweeps[] = {90.0F, 200.0F, 300.0F, 360.0F, 450.0F};
      Shape s{static_cast<Kind>(pick(kKinds)),
              pick(6),
              pick(2) == 1,
              12.5F + 25.0F * static_cast<float>(cell % 4),
              40.0F + 32.0F * static_cast<float>(cell / 4),
              6.0F + static_cast<float>(pick(3)),
              static_cast<float>(pick(8) * 45),
              sweeps[pick(5)]};
      page.shapes.push_back(s);
    }
    const int a = pick(6), b = (a + 1 + pick(5)) % 6;
    for (int i = 0; i < 8; ++i) {
      page.band.colours.push_back(pick(2) == 0 ? a : b);
      page.band.fills.push_back(pick(3) == 0 ? pick(6) : -1);
    }
    d.pages.push_back(page);
  }
  return d;
}

void draw_shape(const Shape& s, int line_width) {
  IGrColourN(kPalette[s.colour]);
  IGrFillPattern(s.solid ? 4 : 0);
  IGrLineWidth(line_width);
  const float x = s.x, y = s.y, r = s.size;
  switch (s.kind) {
    case Kind::Line: IGrJoin(x - r, y - r, x + r, y + r); break;
    case Kind::Polyline: {
      const float xs[] = {x - r, x - r / 3, x + r / 3, x + r};
      const float ys[] = {y - r, y + r, y - r, y + r};
      IGrPolyLine(xs, ys);
      break;
    }
    case Kind::Rectangle: IGrRectangle(x - r, y - r, x + r, y + r); break;
    case Kind::Triangle: IGrTriangle(x - r, y - r, x + r, y - r, x, y + r); break;
    case Kind::Parallelogram: IGrParallelogram(x - r, y - r, x + r / 2, y - r, x + r, y + r); break;
    case Kind::Polygon: {
      const float xs[] = {x - r, x, x + r, x + r / 2, x - r / 2};
      const float ys[] = {y, y - r, y, y + r, y + r};
      IGrPolygon(xs, ys);
      break;
    }
    case Kind::Circle: IGrCircle(x, y, r); break;
    case Kind::Ellipse: IGrEllipse(x, y, r, 0.6F); break;
    case Kind::Arc: IGrArc(x, y, r, s.start, s.sweep); break;
    case Kind::Sector: IGrSector(x, y, r, s.start, s.sweep); break;
  }
}

// One page in user units 0..100: black corner marks that frame the page for the
// comparison, a label, the shapes and the band. line_width is in tenths of a point.
void draw_page(const Page& page, int line_width) {
  IGrUnits(0.0F, 0.0F, 100.0F, 100.0F);
  IGrColourN(0);
  IGrFillPattern(4);
  for (float x : {0.0F, 98.0F}) {
    for (float y : {0.0F, 98.0F}) {
      IGrRectangle(x, y, x + 2.0F, y + 2.0F);
    }
  }
  IGrCharSize(1.0F, 2.0F);
  IGrCharOut(3.0F, 3.0F, "page");
  for (const Shape& s : page.shapes) {
    draw_shape(s, line_width);
  }
  IGrLineWidth(line_width * 3);
  for (std::size_t i = 0; i < page.band.colours.size(); ++i) {
    const float x = 8.0F + 10.5F * static_cast<float>(i);
    if (page.band.fills[i] >= 0) {
      IGrColourN(kPalette[page.band.fills[i]]);
      IGrFillPattern(4);
      IGrRectangle(x + 2.0F, 20.0F, x + 8.0F, 24.0F);
    }
    IGrColourN(kPalette[page.band.colours[i]]);
    IGrJoin(x, 10.0F, x + 10.5F, 10.0F);
  }
}

// A line width of about 1/150 of the page width, in tenths of a point.
int line_width_for(double width_in_inches) { return static_cast<int>(width_in_inches * 720.0 / 150.0) + 1; }

// DXF writes no ellipse with unequal radii and no fill of an ellipse, sector or polygon:
// the boxes of those shapes in the compared 320 x 180 image.
std::string dxf_skips(const Drawing& d) {
  std::string skips;
  for (std::size_t p = 0; p < d.pages.size(); ++p) {
    for (const Shape& s : d.pages[p].shapes) {
      const bool round = s.kind == Kind::Circle || s.kind == Kind::Ellipse;
      const bool unfilled = (s.solid && (round || s.kind == Kind::Sector || s.kind == Kind::Polygon)) ||
                            s.kind == Kind::Ellipse;
      if (!unfilled) {
        continue;
      }
      std::ostringstream box;
      const float dy = s.size * 1.8F + 3.0F;
      box << " skip=dxf:" << p + 1 << ":" << (s.x - s.size - 2.0F) * 3.2F << "," << (100.0F - s.y - dy) * 1.8F
          << "," << (s.x + s.size + 2.0F) * 3.2F << "," << (100.0F - s.y + dy) * 1.8F;
      skips += box.str();
    }
  }
  return skips;
}

struct Rendering {
  std::string driver;
  int page;
  std::filesystem::path image;
};

class DriverDifferential : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
    dir_ = std::filesystem::temp_directory_path() / ("quill_differential_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    reset_drawing_for_tests();
    reset_bitmaps_for_tests();
    hpgl::hpgl_models() = {};
    if (!HasFailure()) {
      std::filesystem::remove_all(dir_);
    }
  }

  // Draws every page into file through driver; one file per page when per_page.
  void draw_file(const Drawing& d, int driver, const std::string& name, bool per_page) {
    for (std::size_t p = 0; p < d.pages.size(); ++p) {
      if (p == 0 || per_page) {
        reset_drawing_for_tests();
        IGrHardCopySelect(driver);
        IGrHardCopyOptions(1, d.width);
        IGrHardCopyOptions(2, d.height);
        IGrHardCopyOptions(3, 0);
        IGrHardCopyOptions(4, 0);
        // No turn: hp2xx turns only the first page of a file by RO 90.
        IGrHardCopyOptions(5, driver == 12 && d.hpgl_model == 4 ? 1 : 0);
        IGrHardCopy("S", (dir_ / (per_page ? name + std::to_string(p + 1) : name)).string());
      } else {
        IGrNewPage();
      }
      draw_page(d.pages[p], line_width_for(d.width / 72.0));
      if (per_page || p + 1 == d.pages.size()) {
        IGrHardCopy("E");
      }
    }
  }

  std::vector<Rendering> render_all(const Drawing& d) {
    std::vector<Rendering> out;
    const std::size_t pages = d.pages.size();
    auto each_page = [&](const std::string& driver, auto image_of_page) {
      for (std::size_t p = 0; p < pages; ++p) {
        out.push_back({driver, static_cast<int>(p + 1), image_of_page(p + 1)});
      }
    };
    const std::string dir = dir_.string() + "/";
    draw_file(d, 2, "drawing.ps", false);
    const double resolution = 400.0 * 72.0 / d.width;
    std::ostringstream gs;
    gs << "gs -q -dSAFER -dBATCH -dNOPAUSE -r" << resolution << " -dDEVICEWIDTHPOINTS=" << d.width
       << " -dDEVICEHEIGHTPOINTS=" << d.height << " -dFIXEDMEDIA -sDEVICE=png16m -sOutputFile=" << dir
       << "ps%d.png " << dir << "drawing.ps";
    EXPECT_EQ(run(gs.str()), 0) << gs.str();
    each_page("postscript", [&](std::size_t p) { return dir_ / ("ps" + std::to_string(p) + ".png"); });

    draw_file(d, 3, "svg", true);
    each_page("svg", [&](std::size_t p) {
      const std::string file = dir + "svg" + std::to_string(p);
      EXPECT_EQ(run("rsvg-convert -w 400 -h 225 " + file + " -o " + file + ".png"), 0);
      return std::filesystem::path(file + ".png");
    });

    draw_file(d, 8, "dxf", true);
    each_page("dxf", [&](std::size_t p) {
      const std::string file = dir + "dxf" + std::to_string(p);
      std::string log;
      EXPECT_EQ(run_python(kDxfRenderer, file + " " + file + ".png", &log), 0) << log;
      return std::filesystem::path(file + ".png");
    });

    // hp2xx splits pages at PG only, not at the PCL page ends of the framed models: those
    // get one file per page. At 40 dots per inch its one-dot lines keep their colour when
    // scaled to the compared size.
    hpgl::hpgl_models().printer = d.hpgl_model;
    const bool framed = d.hpgl_model != 4;
    draw_file(d, 12, "hpgl", framed);
    each_page("hpgl2", [&](std::size_t p) {
      const std::string page = std::to_string(p);
      if (framed) {
        run("hp2xx -m png -d 40 -f " + dir + "hpgl" + page + ".png " + dir + "hpgl" + page);
        return dir_ / ("hpgl" + page + ".png");
      }
      if (p == 1) {
        run("hp2xx -m png -d 40 -f " + dir + "hpgl.png " + dir + "hpgl");
      }
      return dir_ / (p == 1 ? std::string("hpgl.png") : "hpgl." + std::to_string(p - 1) + ".png");
    });

    // One file per page, so that each picture is converted on its own.
    draw_file(d, 9, "cgm", true);
    std::string files;
    for (std::size_t p = 1; p <= pages; ++p) {
      std::filesystem::rename(dir_ / ("cgm" + std::to_string(p)),
                              dir_ / ("cgm" + std::to_string(p) + ".cgm"));
      files += " " + dir + "cgm" + std::to_string(p) + ".cgm";
    }
    run("HOME=" + dir + " soffice --headless --convert-to png --outdir " + dir + files);
    each_page("cgm", [&](std::size_t p) { return dir_ / ("cgm" + std::to_string(p) + ".png"); });

    each_page("bitmap", [&](std::size_t p) {
      return bitmap_png(d.pages[p - 1], true, dir_ / ("bitmap" + std::to_string(p) + ".png"));
    });
    return out;
  }

  // The page drawn in a 400 x 225 memory bitmap, saved as PNG; without its corner marks
  // when marks is false.
  static std::filesystem::path bitmap_png(const Page& page, bool marks, const std::filesystem::path& png) {
    reset_drawing_for_tests();
    int handle = 0;
    WBitmapCreate(handle, 400, 225, 24);
    IGrSelect(2, handle);
    draw_page(page, line_width_for(400.0 / 96.0));
    if (!marks) {
      IGrColourN(0xFFFFFF);
      IGrRectangle(0.0F, 0.0F, 100.0F, 100.0F);
    }
    IGrSaveImage(png.string());
    WBitmapDestroy(handle);
    return png;
  }

  static constexpr const char* kDxfRenderer = R"PY(
import sys
import ezdxf
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
from ezdxf.addons.drawing import RenderContext, Frontend
from ezdxf.addons.drawing.config import Configuration
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
doc = ezdxf.readfile(sys.argv[1])
from ezdxf.addons.drawing.properties import LayoutProperties
fig = plt.figure(figsize=(8, 4.5), dpi=50)
ax = fig.add_axes([0, 0, 1, 1])
layout = LayoutProperties.from_layout(doc.modelspace())
layout.set_colors("#ffffff")
config = Configuration.defaults().with_changes(min_lineweight=4.0)
Frontend(RenderContext(doc), MatplotlibBackend(ax), config=config).draw_layout(doc.modelspace(), finalize=True,
                                                                               layout_properties=layout)
fig.savefig(sys.argv[2], dpi=50, facecolor="white")
)PY";

  static std::string compare_renderings(const std::string& arguments) {
    std::ifstream script(std::filesystem::path(__FILE__).parent_path() / "compare_renderings.py");
    const std::string source((std::istreambuf_iterator<char>(script)), std::istreambuf_iterator<char>());
    std::string report;
    EXPECT_EQ(run_python(source, arguments, &report), 0) << report;
    return report;
  }

  std::filesystem::path dir_;
};

// The readers and the comparison fail where they should: Ghostscript on a PostScript
// error, rsvg-convert on broken XML, Pillow (in the comparison) on a cut PNG, and the
// comparison on a page without its marks or with a shape missing.
TEST_F(DriverDifferential, ReadersRejectBrokenFiles) {
  if (!have_program("gs") || !have_program("rsvg-convert")) {
    GTEST_SKIP() << "gs or rsvg-convert is not installed";
  }
  const std::string dir = dir_.string() + "/";
  write_bytes(dir_ / "broken.ps", "%!PS-Adobe-3.0\r\n0 0 m 1 0 div l s\r\n");
  EXPECT_NE(run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage " + dir + "broken.ps"), 0);
  write_bytes(dir_ / "broken.svg", "<?xml version=\"1.0\"?>\r\n<svg width=\"10\" height=\"10\"><line");
  EXPECT_NE(run("rsvg-convert " + dir + "broken.svg -o " + dir + "broken.png"), 0);

  Page page = random_drawing(1).pages[0];
  page.shapes.assign(1, Shape{Kind::Rectangle, 0, true, 50.0F, 50.0F, 8.0F, 0.0F, 0.0F});
  const auto bitmap_file = [this](const Page& drawn, bool marks, const std::string& name) {
    return " " + name + ":1:" + bitmap_png(drawn, marks, dir_ / (name + ".png")).string();
  };
  Page without = page;
  without.shapes.clear();
  const std::string same = bitmap_file(page, true, "a") + bitmap_file(page, true, "b");
  const std::string palette = std::string("'") + kPaletteRgb + "'";
  write_bytes(dir_ / "cut.png", read_bytes(dir_ / "a.png").substr(0, 60));
  EXPECT_NE(compare_renderings(palette + same + " cut:1:" + dir + "cut.png").find("UNREADABLE cut"),
            std::string::npos);
  EXPECT_NE(compare_renderings(palette + same + bitmap_file(page, false, "blank")).find("NO_MARKERS blank"),
            std::string::npos);
  const std::string missing = compare_renderings(palette + same + bitmap_file(without, true, "missing"));
  EXPECT_NE(missing.find("MISMATCH missing 1 7 4 255,0,0"), std::string::npos) << missing;
  EXPECT_EQ(missing.find("MISMATCH a"), std::string::npos) << missing;
}

TEST_F(DriverDifferential, EveryDriverAgreesOnRandomDrawings) {
  for (const char* program : {"gs", "rsvg-convert", "hp2xx", "soffice"}) {
    if (!have_program(program)) {
      GTEST_SKIP() << program << " is not installed";
    }
  }
  const char* count_text = std::getenv("ORLIX_DIFFERENTIAL_DRAWINGS");
  const char* seed_text = std::getenv("ORLIX_DIFFERENTIAL_SEED");
  const int count = count_text != nullptr ? std::atoi(count_text) : 1;
  const unsigned first_seed = seed_text != nullptr ? static_cast<unsigned>(std::atol(seed_text)) : 19U;
  for (int i = 0; i < count; ++i) {
    const unsigned seed = first_seed + static_cast<unsigned>(i);
    const Drawing d = random_drawing(seed);
    std::string arguments = std::string("'") + kPaletteRgb + "'";
    for (const Rendering& r : render_all(d)) {
      arguments += " " + r.driver + ":" + std::to_string(r.page) + ":" + r.image.string();
    }
    arguments += dxf_skips(d);
    const std::string report = compare_renderings(arguments);
    EXPECT_EQ(report.find("MISMATCH"), std::string::npos) << "seed " << seed << " in " << dir_ << "\n"
                                                          << report;
    EXPECT_EQ(report.find("NO_MARKERS"), std::string::npos) << "seed " << seed << "\n" << report;
    EXPECT_EQ(report.find("UNREADABLE"), std::string::npos) << "seed " << seed << "\n" << report;
  }
}

#endif

}  // namespace
}  // namespace quill::filetest
