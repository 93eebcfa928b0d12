#include <cmath>
#include <limits>

#include "driver_fixture.hpp"
#include "base/error_state.hpp"

namespace quill::test {
namespace {

class Svg : public DriverFixture {
 protected:
  int driver() const override { return 3; }
  std::string extension() const override { return ".svg"; }
  void check_readers() {
    if (have_program("xmllint")) {
      EXPECT_EQ(run("xmllint --noout --nonet '" + path_.string() + "' 2>/dev/null"), 0);
    }
  }
};

TEST_F(Svg, HeaderStrokeGroupAndEnd) {
  const std::vector<std::string> lines = draw_lines([] {});
  ASSERT_GE(lines.size(), 5U);
  EXPECT_EQ(lines[0], "<?xml version=\"1.0\"?>");
  EXPECT_EQ(lines[1], "<!DOCTYPE svg SYSTEM \"\">");
  EXPECT_EQ(lines[2], "<svg width=\"640\" height=\"480\" xmlns=\"http://www.w3.org/2000/svg\">");
  EXPECT_EQ(lines[3],
            "<g style=\"fill:none;stroke:#000000;stroke-dasharray:none;stroke-width:1;"
            "stroke-linejoin:miter;stroke-linecap:butt\">");
  EXPECT_EQ(lines.back(), "</g></svg>");
  EXPECT_EQ(count(lines, "<defs>"), 0);
  check_readers();
}

TEST_F(Svg, NumbersHaveNoBareTrailingPoint) {
  const std::vector<std::string> lines = draw_lines([] {
    IGrJoin(12, 479.99F - 12.5F, 12.34F, 479.99F + 3.5F);
    IGrPoint(0, 479.99F);
  });
  EXPECT_EQ(count(lines, "<line x1=\"12\" y1=\"12.5\" x2=\"12.34\" y2=\"-3.5\"/>"), 1);
  EXPECT_EQ(count(lines, "<line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"0\" />"), 1);
}

TEST_F(Svg, OnlyChangedStrokeAttributesOpenANewGroup) {
  const std::vector<std::string> lines =
      after(draw_lines([] {
              IGrColour("red");
              IGrColour("red");
              IGrLineType(2);
              IGrLineType(2);
              IGrLineWidth(100);
              IGrLineJoin(1);
              IGrLineCap(2);
            }),
            "<svg width=\"640\" height=\"480\" xmlns=\"http://www.w3.org/2000/svg\">");
  const std::vector<std::string> expected = {
      "<g "
      "style=\"fill:none;stroke:#000000;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;stroke-"
      "linecap:butt\">",
      "</g>",
      "<g "
      "style=\"fill:none;stroke:#ff0000;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;stroke-"
      "linecap:butt\">",
      "</g>",
      "<g style=\"fill:none;stroke:#ff0000;stroke-dasharray:6 "
      "6;stroke-width:1;stroke-linejoin:miter;stroke-linecap:butt\">",
      "</g>",
      "<g style=\"fill:none;stroke:#ff0000;stroke-dasharray:6 "
      "6;stroke-width:21;stroke-linejoin:miter;stroke-linecap:butt\">",
      "</g>",
      "<g style=\"fill:none;stroke:#ff0000;stroke-dasharray:6 "
      "6;stroke-width:21;stroke-linejoin:round;stroke-linecap:butt\">",
      "</g>",
      "<g style=\"fill:none;stroke:#ff0000;stroke-dasharray:6 "
      "6;stroke-width:21;stroke-linejoin:round;stroke-linecap:square\">",
      "</g></svg>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(Svg, FortyPointPolygonBreaksAtTheLineLimit) {
  std::vector<float> xs(40), ys(40);
  for (std::size_t i = 0; i < xs.size(); ++i) {
    xs[i] = 100.25F + static_cast<float>(i);
    ys[i] = 200.75F + static_cast<float>(i % 7);
  }
  const std::vector<std::string> lines = draw_lines([&] {
    IGrFillPattern(4);
    IGrPolygon(xs, ys);
  });
  const auto first = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& l) { return l.rfind("<polygon points=\"", 0) == 0; });
  ASSERT_NE(first, lines.end());
  std::string joined;
  int polygon_lines = 0;
  for (auto it = first; it != lines.end(); ++it) {
    ++polygon_lines;
    EXPECT_LE(it->size(), 256U);
    joined += (joined.empty() ? "" : " ") + *it;
    const bool last = it->size() >= 3 && it->compare(it->size() - 3, 3, "\"/>") == 0;
    if (last) {
      break;
    }
    EXPECT_EQ(it->find("/>"), std::string::npos);
  }
  EXPECT_GE(polygon_lines, 2);
  EXPECT_EQ(std::count(joined.begin(), joined.end(), ','), 40);
  EXPECT_EQ(joined.find("  "), std::string::npos);
  check_readers();
}

TEST_F(Svg, TextIsEscapedIntoWellFormedXml) {
  const std::vector<std::string> lines = draw_lines([] {
    const char text[] = "a<b & c>d \xE9\x80\x01\t]]>";
    IGrCharOut(10, 10, std::string(text, sizeof text - 1));
    IGrCharOut(10, 20, std::string(300, 'L'));
  });
  // Placed 0.2 of the default character height (12) below the position, then flipped.
  EXPECT_EQ(
      count(lines,
            "<text transform=\"translate(10,472.4)\">a&#60;b &#38; c&#62;d &#233;&#8364;\t]]&#62;</text>"),
      1);
  check_readers();
}

// The given point is the start, middle or end of the text; mode 1 ignores the justification.
TEST_F(Svg, JustifiedTextIsAnchoredAtTheGivenPoint) {
  const std::vector<std::string> lines = draw_lines([] {
    IGrCharSize(10, 10);
    for (int justification = 0; justification < 3; ++justification) {
      IGrCharJustify(justification);
      IGrCharOut(100, 479.99F - 98, "abc");
    }
    IGrTextMode(1);
    IGrCharOut(100, 479.99F - 98, "mode");
  });
  EXPECT_EQ(count(lines, "<text transform=\"translate(100,100)\">abc</text>"), 3);
  EXPECT_EQ(count(lines, "<text transform=\"translate(100,100)\">mode</text>"), 1);
  EXPECT_EQ(count(lines,
                  "<g "
                  "style=\"fill:#000000;stroke:none;font-family:Arial,Helvetica;text-anchor:middle;font-size:"
                  "16.5\">"),
            1);
  EXPECT_EQ(
      count(lines,
            "<g "
            "style=\"fill:#000000;stroke:none;font-family:Arial,Helvetica;text-anchor:end;font-size:16.5\">"),
      1);
  EXPECT_EQ(count(lines, "<g style=\"fill:#000000;stroke:none;font-family:Arial,Helvetica;font-size:13.3\">"),
            1);
}

TEST_F(Svg, ClipPathOnlyForAPartialArea) {
  const std::vector<std::string> lines = draw_lines([] {
    IGrFillPattern(4);
    IGrRectangle(1, 1, 50, 50);
    IGrArea(0.25F, 0.25F, 0.75F, 0.75F);
    IGrRectangle(1, 1, 50, 50);
  });
  EXPECT_EQ(count(lines, "<g style=\"stroke:none;fill:#000000\">"), 1);
  EXPECT_EQ(count(lines,
                  "<defs><clipPath id=\"clip1\"><rect width=\"320\" height=\"240\" x=\"160\" "
                  "y=\"120\"/></clipPath></defs>"),
            1);
  EXPECT_EQ(count(lines, "<g style=\"stroke:none;fill:#000000;clip-path:url(#clip1)\">"), 1);
}

TEST_F(Svg, EveryGroupIsClosedAndOutlinedEllipsesOpenNone) {
  const std::string file = draw([] {
    IGrEllipse(100, 100, 20, 0.5F);  // outline: no fill group
    IGrTextFlags(1);                 // a text group left open
    IGrCharOut(50, 50, "open");
    IGrCircle(200, 200, 0);  // zero radius: nothing
  });
  const std::vector<std::string> lines = crlf_lines(file);
  EXPECT_EQ(count(lines, "<ellipse cx=\"100\" cy=\"380\" rx=\"20\" ry=\"10\"/>"), 1);
  std::size_t opened = 0, closed = 0;
  for (std::size_t at = file.find("<g "); at != std::string::npos; at = file.find("<g ", at + 1)) {
    ++opened;
  }
  for (std::size_t at = file.find("</g>"); at != std::string::npos; at = file.find("</g>", at + 1)) {
    ++closed;
  }
  EXPECT_EQ(opened, closed);
  EXPECT_EQ(file.find("rx=\"0\""), std::string::npos);
  check_readers();
}

TEST_F(Svg, ReadersRenderTheTestPicture) {
  if (!have_program("rsvg-convert") || !have_program("convert")) {
    GTEST_SKIP() << "rsvg-convert or ImageMagick is not installed";
  }
  draw([] { draw_test_picture(); });
  check_readers();
  const std::string png = path_.string() + ".png";
  ASSERT_EQ(run("rsvg-convert '" + path_.string() + "' -o '" + png + "' 2>/dev/null"), 0);
  const std::optional<Raster> image = read_image(png);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(svg_picture_faults(*image), std::vector<std::string>{});
}

// Full turns, and sweeps beyond one, are drawn centred where they were asked for.
TEST_F(Svg, FullTurnsAreCentred) {
  if (!have_program("rsvg-convert") || !have_program("convert")) {
    GTEST_SKIP() << "rsvg-convert or ImageMagick is not installed";
  }
  struct Case {
    const char* name;
    std::function<void()> shape;
  };
  const Case cases[] = {
      {"sector of 360",
       [] {
         IGrFillPattern(4);
         IGrSector(50, 50, 30, 45, 360);
       }},
      {"arc of 360",
       [] {
         IGrLineWidth(200);
         IGrArc(50, 50, 30, 45, 360);
       }},
      {"arc of 500",
       [] {
         IGrLineWidth(200);
         IGrArc(50, 50, 30, 100, 500);
       }},
  };
  for (const Case& c : cases) {
    draw([&c] {
      IGrUnits(0, 0, 100, 100);
      IGrColour("red");
      c.shape();
    });
    const std::string png = path_.string() + ".png";
    ASSERT_EQ(run("rsvg-convert '" + path_.string() + "' -o '" + png + "' 2>/dev/null"), 0);
    const std::optional<Raster> image = read_image(png);
    ASSERT_TRUE(image.has_value());
    double sum_x = 0, sum_y = 0, n = 0;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x) {
        const Pixel p = image->at(x, y);
        if (p.red > 200 && p.green < 80) {
          sum_x += x;
          sum_y += y;
          ++n;
        }
      }
    }
    ASSERT_GT(n, 1000) << c.name;
    EXPECT_NEAR(sum_x / n, 320, 2) << c.name;
    EXPECT_NEAR(sum_y / n, 240, 2) << c.name;
  }
}

TEST_F(Svg, FullDiskHostileInputAndLongTitles) {
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  draw(
      [&] {
        IGrJoin(kNaN, 1, kInf, -kInf);
        IGrPolyLine({}, {});
        IGrCharSize(kNaN, 1e30F);
        IGrCharOut(kNaN, kInf, std::string(300, '&'));
        IGrFillPattern(3);
        IGrSector(50, 50, 10, kNaN, 45);
        IGrRectangle(kNaN, 0, 1e30F, 10);
      },
      std::string(300, 'T'));
  check_readers();
  for (const std::string& line : crlf_lines(read_bytes(path_))) {
    EXPECT_EQ(line.find('*'), std::string::npos) << line;
  }
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "/dev/full is not available";
  }
  errors().last_error = 0;
  IGrHardCopy("S", "/dev/full");
  IGrJoin(1, 1, 2, 2);
  EXPECT_EQ(errors().last_error, 0);  // still buffered
  IGrHardCopy("E");
  EXPECT_EQ(errors().last_error, 2);
  EXPECT_FALSE(drawing().hardcopy.active);
}

}  // namespace
}  // namespace quill::test
