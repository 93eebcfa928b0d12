#include <cmath>
#include <limits>

#include "driver_fixture.hpp"
#include "base/error_state.hpp"

namespace quill::test {
namespace {

class PostScript : public DriverFixture {
 protected:
  int driver() const override { return 2; }
  std::string extension() const override { return ".ps"; }
  std::vector<std::string> page(const std::function<void()>& body) {
    return after(draw_lines(body), "%%Page: 1 1");
  }
};

TEST_F(PostScript, DefaultHeaderAndTrailer) {
  const std::string file = draw([] {},
                                "A  title\twith\x01"
                                "controls   ");
  const std::vector<std::string> lines = crlf_lines(file);
  const std::vector<std::string> head(lines.begin(), lines.begin() + 10);
  EXPECT_EQ(head,
            (std::vector<std::string>{
                "%!PS-Adobe-3.0", "%%Title: A title with controls", "%%Creator: K.V.S. PostScript driver",
                "%%EndComments", "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def",
                "/d {setdash} def/cf {closepath fill} def/s {stroke} def/ff {findfont} def",
                "/ms {makefont setfont} def/ro {rotate} def/cs {closepath stroke} def",
                "/lsh {show} def/rsh {dup stringwidth pop 0 exch sub 0 rmoveto show} def",
                "/csh {dup stringwidth pop 2 div 0 exch sub 0 rmoveto show} def", "%%EndProlog"}));
  const std::vector<std::string> fonts = after(lines, "%%EndProlog");
  EXPECT_EQ(fonts[0], "/Courier ff");
  EXPECT_EQ(fonts[4], "currentdict end /Courier-1 exch definefont pop");
  EXPECT_EQ(fonts[3], "/Encoding ISOLatin1Encoding def");
  EXPECT_EQ(fonts[55], "/Times-BoldItalic ff");
  EXPECT_EQ(fonts[59], "currentdict end /Times-4 exch definefont pop");
  EXPECT_EQ(fonts[60], "/Symbol ff");
  EXPECT_EQ(fonts[63], "currentdict end /Symbol exch definefont pop");
  EXPECT_EQ(std::vector<std::string>(fonts.begin() + 64, fonts.begin() + 68),
            (std::vector<std::string>{"90.0 ro", "42.0 -560.0 translate", "newpath", "%%Page: 1 1"}));
  // Replayed state: the area's clip, then width, join, cap and the clip again.
  const std::vector<std::string> clip = {"initclip",    "0.0 0.0 m", "756.0 0.0 l", "756.0 540.0 l",
                                         "0.0 540.0 l", "clip",      "newpath"};
  EXPECT_EQ(std::vector<std::string>(fonts.begin() + 68, fonts.begin() + 75), clip);
  EXPECT_EQ(std::vector<std::string>(fonts.begin() + 75, fonts.begin() + 79),
            (std::vector<std::string>{"0.10 w", "0 setlinejoin", "5.0 setmiterlimit", "0 setlinecap"}));
  EXPECT_EQ(std::vector<std::string>(fonts.begin() + 79, fonts.begin() + 86), clip);
  EXPECT_EQ(count(lines, "756.0 540.0 l"), 2);
  ASSERT_GE(file.size(), 25U);
  EXPECT_EQ(file.substr(file.size() - 25), "\r\n%%EOF\r\ninitgraphics\r\n \x04");
  EXPECT_EQ(count(lines, "gsave showpage grestore"), 0);  // nothing drawn: no page
}

TEST_F(PostScript, PolylineOfThreeHundredSegmentsSplitsAtTheLimit) {
  std::vector<float> xs(301), ys(301);
  for (std::size_t i = 0; i < xs.size(); ++i) {
    xs[i] = static_cast<float>(i);
    ys[i] = static_cast<float>(i % 2) * 10.0F;
  }
  const std::vector<std::string> lines = page([&] { IGrPolyLine(xs, ys); });
  const auto first_segment = std::find(lines.begin(), lines.end(), "1.0 10.0 l");
  ASSERT_NE(first_segment, lines.end());
  const std::size_t start = static_cast<std::size_t>(first_segment - lines.begin()) - 1;
  EXPECT_EQ(lines[start], "0.0 0.0 m");
  for (std::size_t i = 1; i <= 255; ++i) {
    EXPECT_EQ(lines[start + i].back(), 'l') << i;
  }
  EXPECT_EQ(lines[start + 256], "0.0 0.0 0.0 g");
  EXPECT_EQ(lines[start + 257], "s");
  EXPECT_EQ(lines[start + 258], "255.0 10.0 m");
  for (std::size_t i = 1; i <= 45; ++i) {
    EXPECT_EQ(lines[start + 258 + i].back(), 'l') << i;
  }
  EXPECT_EQ(lines[start + 304], "s");
}

TEST_F(PostScript, NumbersPointsAndPathContinuity) {
  const std::vector<std::string> lines = page([] {
    IGrJoin(100, 12.5F, 0.5F, 200);
    IGrJoin(0.5F, 200, 7, 7);  // continues the path: no move
    IGrPoint(30, 31);
  });
  const std::vector<std::string> expected = {"100.0 12.50 m", "0.50 200.0 l", "7.0 7.0 l", "30.0 31.0 m",
                                             "30.0 31.0 l"};
  const auto it = std::search(lines.begin(), lines.end(), expected.begin(), expected.end());
  EXPECT_NE(it, lines.end());
}

TEST_F(PostScript, StringsAreEscapedAndLongStringsContinue) {
  const std::string long_text(600, 'x');
  const std::vector<std::string> lines = page([&] {
    IGrCharFont(2);
    IGrCharOut(10, 10, std::string("a(b)c\\d\x01\x7F\xE9", 10));
    IGrCharOut(10, 20, long_text);
  });
  EXPECT_EQ(count(lines, "(a\\(b\\)c\\\\d\\001\\177\xE9) lsh"), 1);
  std::string joined;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 255U);
    if (!line.empty() && line[0] == '(' && line.size() > 200) {
      joined = line;
    } else if (!joined.empty() && joined.back() == '\\') {
      joined.pop_back();
      joined += line;
    }
  }
  EXPECT_EQ(joined, "(" + long_text + ") lsh");
}

TEST_F(PostScript, ColourIsWrittenLazilyAndStylesOnlyWhenChanged) {
  const std::vector<std::string> lines = page([] {
    IGrColour("red");
    IGrColour("blue");
    IGrLineType(2);
    IGrLineType(2);
    IGrJoin(1, 1, 2, 2);
  });
  EXPECT_EQ(count(lines, "[6 6] 3 d"), 1);
  EXPECT_EQ(count(lines, "1.0 0.0 0.0 g"), 0);
  const auto blue = std::find(lines.begin(), lines.end(), "0.0 0.0 1.0 g");
  ASSERT_NE(blue, lines.end());
  EXPECT_EQ(*(blue + 1), "s");
}

// The colour each "l" segment is painted in: the last colour written before the "s" or
// "cf" that paints its path (a clipping path's segments are not painted).
std::vector<std::string> painted_colours(const std::vector<std::string>& lines) {
  std::vector<std::string> painted;
  std::string colour;
  std::size_t unpainted = 0;
  for (const std::string& line : lines) {
    if (line.ends_with(" g")) {
      colour = line.substr(0, line.size() - 2);
    } else if (line.ends_with(" l")) {
      ++unpainted;
    } else if (line == "clip") {
      unpainted = 0;
    } else if (line == "s" || line == "cf") {
      painted.insert(painted.end(), unpainted, colour);
      unpainted = 0;
    }
  }
  return painted;
}

TEST_F(PostScript, ColoursChangingBackAndForthPaintEachSegmentInItsOwn) {
  const std::string black = "0.0 0.0 0.0", red = "1.0 0.0 0.0";
  struct Case {
    const char* name;
    std::function<void()> body;
    std::vector<std::string> painted;
  };
  const Case cases[] = {
      {"black, red, black joined",
       [] {
         IGrJoin(10, 50, 40, 50);
         IGrColour("red");
         IGrJoin(40, 50, 70, 50);
         IGrColour("black");
         IGrJoin(70, 50, 90, 50);
       },
       {black, red, black}},
      {"red fill, then black and red joined",
       [] {
         IGrColour("red");
         IGrFillPattern(4);
         IGrRectangle(10, 10, 20, 20);
         IGrColour("black");
         IGrJoin(10, 50, 40, 50);
         IGrColour("red");
         IGrJoin(40, 50, 70, 50);
       },
       {red, red, red, black, red}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = page([&c] {
      IGrUnits(0, 0, 100, 100);
      IGrLineWidth(40);
      c.body();
    });
    EXPECT_EQ(painted_colours(lines), c.painted) << c.name;
  }
}

TEST_F(PostScript, FontSizeFieldsAreClampedAndZeroRadiusIsSkipped) {
  const std::vector<std::string> lines = page([] {
    IGrCharFont(1, 3);
    IGrCharSize(2000, 2000);
    IGrTextMode(2);
    IGrCharOut(10, 10, "big");
    IGrEllipse(50, 50, 1e-9F, 1);
  });
  EXPECT_EQ(count(lines, "/Courier-4 ff [999.9 0 0 819.2 0 0] ms"), 1);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find('*'), std::string::npos) << line;
    EXPECT_EQ(line.find("inf"), std::string::npos) << line;
  }
}

// Maps user units 0..100 of the test picture to pixels of a 72 dpi letter page.
std::pair<int, int> page_pixel(double ux, double uy) {
  const double dx = ux * 7.56, dy = uy * 5.4;
  return {static_cast<int>(560.0 - dy), static_cast<int>(792.0 - (dx + 42.0))};
}

TEST_F(PostScript, GhostscriptReadsAndRendersTheTestPicture) {
  if (!have_program("gs")) {
    GTEST_SKIP() << "ghostscript is not installed";
  }
  draw([] { draw_test_picture(); }, "Test picture");
  const std::string ps = path_.string();
  EXPECT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage '" + ps + "' >/dev/null 2>&1"), 0);
  ASSERT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -r72 -sPAPERSIZE=letter -sDEVICE=png16m -sOutputFile='" +
                ps + ".png' '" + ps + "' >/dev/null 2>&1"),
            0);
  ASSERT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -r72 -sPAPERSIZE=letter -sDEVICE=ppmraw -sOutputFile='" +
                ps + ".ppm' '" + ps + "' >/dev/null 2>&1"),
            0);
  EXPECT_TRUE(std::filesystem::exists(ps + ".png"));
  const std::optional<Raster> image = read_ppm(ps + ".ppm");
  ASSERT_TRUE(image.has_value());
  const PicturePlace places[] = {
      {25, 25, {255, 0, 0}, "red rectangle"},       {70, 70, {0, 255, 0}, "green circle"},
      {25, 80, {0, 0, 255}, "blue line"},           {66.5, 28.5, {255, 0, 255}, "magenta sector"},
      {73.5, 21.5, {255, 255, 255}, "sector gap"},  {50, 52.5, {255, 255, 0}, "yellow image half"},
      {50, 47.5, {0, 255, 255}, "cyan image half"}, {25, 65, {255, 255, 255}, "paper"},
  };
  for (const PicturePlace& place : places) {
    const auto [x, y] = page_pixel(place.x, place.y);
    EXPECT_GE(image->count_near(x, y, 2, place.colour), 20) << place.what;
  }
}

TEST_F(PostScript, EncapsulatedOutputHasABoundingBoxAndRenders) {
  IGrHardCopyOptions(22, 1);
  const std::vector<std::string> lines = draw_lines([] { draw_test_picture(); });
  EXPECT_EQ(lines[0], "%!PS-Adobe-3.0 EPSF-3.0");
  EXPECT_EQ(lines[1], "%%BoundingBox: 0 0 540 756");
  EXPECT_EQ(count(lines, "0.0 -540.0 translate"), 1);
  EXPECT_EQ(count(lines, "initclip"), 0);
  EXPECT_EQ(lines.back(), "%%EOF");
  if (!have_program("gs")) {
    GTEST_SKIP() << "ghostscript is not installed";
  }
  const std::string eps = path_.string();
  ASSERT_EQ(
      run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sPAPERSIZE=letter -sDEVICE=ppmraw -sOutputFile='" +
          eps + ".ppm' '" + eps + "' >/dev/null 2>&1"),
      0);
  const std::optional<Raster> image = read_ppm(eps + ".ppm");
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 540);
  EXPECT_EQ(image->height, 756);
  // Without the page offsets: x of the drawing runs down from the top edge.
  EXPECT_GE(image->count_near(540 - 135, 756 - 189, 2, {255, 0, 0}), 20);
}

TEST_F(PostScript, FullDiskAndUncreatableFilesReportOnce) {
  IGrHardCopy("S", "/nonexistent-directory/x.ps");
  EXPECT_EQ(errors().last_error, 1);
  EXPECT_FALSE(drawing().hardcopy.active);
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "/dev/full is not available";
  }
  errors().last_error = 0;
  IGrHardCopy("S", "/dev/full");
  int reports = errors().last_error == 2 ? 1 : 0;
  std::vector<float> xs(20000, 1.0F), ys(20000, 2.0F);
  for (int i = 0; i < 5; ++i) {
    errors().last_error = 0;
    IGrPolyLine(xs, ys);
    IGrCharOut(1, 1, "text");
    reports += errors().last_error == 2 ? 1 : 0;
  }
  errors().last_error = 0;
  IGrHardCopy("E");
  reports += errors().last_error == 2 ? 1 : 0;
  EXPECT_EQ(reports, 1);
  EXPECT_FALSE(drawing().hardcopy.active);
}

TEST_F(PostScript, HostileInputStaysReadable) {
  if (!have_program("gs")) {
    GTEST_SKIP() << "ghostscript is not installed";
  }
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  draw(
      [&] {
        IGrJoin(kNaN, 1, kInf, -kInf);
        IGrJoin(1e30F, -1e30F, 5, 5);
        IGrPolyLine({}, {});
        const float one[] = {3};
        IGrPolyLine(one, one);
        IGrCharSize(kNaN, kInf);
        IGrCharRotate(kNaN);
        IGrCharOut(kNaN, kInf, std::string(300, '('));
        IGrFillPattern(4);
        IGrRectangle(kNaN, 0, 1e30F, 10);
        IGrCircle(50, 50, kInf);
        IGrSector(50, 50, 10, kNaN, 45);
      },
      std::string(300, 'T'));
  EXPECT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage '" + path_.string() + "' >/dev/null 2>&1"),
            0);
}

}  // namespace
}  // namespace quill::test
