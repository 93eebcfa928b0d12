#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "driver_files_support.hpp"
#include "graphics/dxf/dxf_driver.hpp"
#include "base/error_state.hpp"

namespace quill::filetest {
namespace {

using Groups = std::vector<std::pair<std::string, std::string>>;

Groups parse_groups(const std::string& text) {
  const std::vector<std::string> lines = crlf_lines(text);
  Groups groups;
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    groups.emplace_back(lines[i], lines[i + 1]);
  }
  return groups;
}

// The groups of every entity with the given name, each from its 0 group on.
std::vector<Groups> entities(const Groups& groups, const std::string& name) {
  std::vector<Groups> found;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (groups[i].first == "0" && groups[i].second == name) {
      Groups entity{groups[i]};
      for (std::size_t j = i + 1; j < groups.size() && groups[j].first != "0"; ++j) {
        entity.push_back(groups[j]);
      }
      found.push_back(entity);
    }
  }
  return found;
}

std::string value(const Groups& entity, const std::string& code) {
  for (const auto& [c, v] : entity) {
    if (c == code) {
      return v;
    }
  }
  return "<none>";
}

// The values of the given codes, each after its first occurrence, joined by "|".
std::string values(const Groups& entity, std::initializer_list<const char*> codes) {
  std::string out;
  for (const char* code : codes) out += (out.empty() ? "" : "|") + value(entity, code);
  return out;
}

// Every group as "code=value", joined by "|".
std::string flat(const Groups& groups) {
  std::string out;
  for (const auto& [code, v] : groups) out += (out.empty() ? "" : "|") + code + "=" + v;
  return out;
}

// Reads a DXF file strictly, audits it, counts its entities and, given probes "x,y;..."
// in inches, renders it and prints the colour at each probe.
constexpr const char* kDxfReader = R"PY(
import sys
import ezdxf
from ezdxf import recover
path = sys.argv[1]
try:
    doc = ezdxf.readfile(path)
except Exception as e:
    print("READ_ERROR", type(e).__name__, e); sys.exit(2)
auditor = doc.audit()
print("AUDIT_ERRORS", len(auditor.errors), "FIXES", len(auditor.fixes))
for e in auditor.errors: print(" error", e.message)
for e in auditor.fixes: print(" fix", e.message)
counts = {}
for e in doc.modelspace():
    counts[e.dxftype()] = counts.get(e.dxftype(), 0) + 1
print("ENTITIES", sorted(counts.items()))
if len(sys.argv) > 2:
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    from ezdxf.addons.drawing import RenderContext, Frontend
    from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
    dpi = 20
    fig = plt.figure(figsize=(10.5, 7.5), dpi=dpi)
    ax = fig.add_axes([0, 0, 1, 1])
    Frontend(RenderContext(doc), MatplotlibBackend(ax)).draw_layout(doc.modelspace(), finalize=True)
    ax.set_xlim(0, 10.5); ax.set_ylim(0, 7.5); ax.set_aspect("auto")
    fig.canvas.draw()
    import numpy as np
    img = np.asarray(fig.canvas.buffer_rgba())
    height, width = img.shape[0], img.shape[1]
    for probe in sys.argv[2].split(";"):
        values = [float(v) for v in probe.split(",")]
        px, py = int(values[0] / 10.5 * width), int((7.5 - values[1]) / 7.5 * height)
        if len(values) == 2:
            r, g, b, a = img[py, px]
            print("PIXEL", probe, r, g, b)
        else:
            window = img[max(py - 3, 0):py + 4, max(px - 3, 0):px + 4, :3].reshape(-1, 3).astype(int)
            near = any(all(abs(p[i] - values[2 + i]) < 60 for i in range(3)) for p in window)
            print("NEAR", probe, "yes" if near else "no")
)PY";

class Dxf : public DriverFileTest {
 protected:
  int driver() const override { return 8; }
  std::string extension() const override { return ".dxf"; }
  Groups draw_groups(const std::function<void()>& body, const std::function<void()>& configure = {}) {
    return parse_groups(draw(body, "", configure));
  }
};

TEST(DxfNumbers, RealAndIntegerForms) {
  const std::pair<double, const char*> cases[] = {
      {3.0, "3."},
      {0.25, "0.25"},
      {1.5, "1.5"},
      {10.5, "10.5"},
      {0.0, "0."},
      {-0.5, "-0.5"},
      {1e20, "99999999.999999"},
      {-1e20, "-9999999.999999"},
      {0.0000004, "0."},
      {2.0 / 3.0, "0.666667"},
  };
  for (const auto& [number, expected] : cases) {
    char out[40];
    EXPECT_EQ(dxf::real_text(out, number), expected) << number;
  }
}

TEST_F(Dxf, HeaderTablesAndSectionsComeInOrder) {
  bool all_crlf = false;
  const std::string text = draw([] {});
  const std::vector<std::string> lines = crlf_lines(text, &all_crlf);
  EXPECT_TRUE(all_crlf);
  const Groups groups = parse_groups(text);
  ASSERT_GE(groups.size(), 20U);
  EXPECT_EQ(flat(Groups(groups.begin(), groups.begin() + 18)),
            "0=SECTION|2=HEADER|9=$EXTMIN|10=0.0|20=0.0|9=$EXTMAX|10=10.5|20=7.5|9=$CECOLOR|62=7|"
            "9=$CELTYPE|6=DASHDOT|9=$VIEWCTR|10=5.25|20=3.75|9=$LIMMIN|10=0.0|20=0.0");
  EXPECT_EQ(flat(Groups(groups.end() - 3, groups.end())), "2=ENTITIES|0=ENDSEC|0=EOF");

  const std::vector<Groups> types = entities(groups, "LTYPE");
  ASSERT_EQ(types.size(), 7U);
  EXPECT_EQ(flat(types[2]),
            "0=LTYPE|2=DASHDOT|70=0|3=__ . __ . __ . __ . __ . __ . __ . __ . __ .  |72=65|73=4|40=1|"
            "49=0.5|49=-0.25|49=0|49=-0.25");
  for (const Groups& type : types) {
    EXPECT_EQ(value(type, "3").size(), 46U) << value(type, "2");
  }
  EXPECT_EQ(value(types[6], "2"), "PHANTOM");
  EXPECT_EQ(value(types[5], "40"), "0.25");
  const std::vector<Groups> layers = entities(groups, "LAYER");
  ASSERT_EQ(layers.size(), 9U);
  EXPECT_EQ(flat(layers[8]), "0=LAYER|2=9|70=0|62=7|6=CONTINUOUS");
  EXPECT_EQ(entities(groups, "STYLE").size(), 1U);
}

TEST_F(Dxf, LinesCarryTypeWidthAndInches) {
  const Groups groups = draw_groups([] {
    IGrLineType(3);
    IGrLineWidth(36);
    IGrJoin(72.0F, 36.0F, 144.0F, 0.0F);
    IGrLineType(0);
    IGrPoint(36.0F, 36.0F);
  });
  const std::vector<Groups> lines = entities(groups, "LINE");
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(flat(lines[0]), "0=LINE|8=1|62=250|6=DASHDOT|39=0.05|10=1.|20=0.5|11=2.|21=0.");
  const std::vector<Groups> points = entities(groups, "POINT");
  ASSERT_EQ(points.size(), 1U);
  EXPECT_EQ(value(points[0], "10"), "0.5");
}

TEST_F(Dxf, PolylineWritesOneVertexPerPointThenOneSeqend) {
  const Groups groups = draw_groups([] {
    const float x[] = {0.0F, 72.0F, 144.0F, 216.0F, 288.0F};
    const float y[] = {0.0F, 72.0F, 0.0F, 72.0F, 0.0F};
    IGrPolyLine(x, y);
  });
  ASSERT_EQ(entities(groups, "POLYLINE").size(), 1U);
  const std::vector<Groups> vertices = entities(groups, "VERTEX");
  ASSERT_EQ(vertices.size(), 5U);
  EXPECT_EQ(flat(vertices[3]), "0=VERTEX|8=1|10=3.|20=1.");
  EXPECT_EQ(entities(groups, "SEQEND").size(), 1U);
}

TEST_F(Dxf, ColourGroupByDepth) {
  struct Case {
    int depth;
    int colour;
    const char* groups;  // the colour groups of the line
  };
  const Case cases[] = {
      {8, 0x0000FF, "62=1"},  // pure red is index 1
      {8, 0xFFFFFF, "62=7"},
      {8, 0x0000F0, "62=1"},               // nearly red
      {24, 0xFF8000, "62=150|420=33023"},  // an exact table colour: 62 first, then the value
      {3, 95, "62=3"},                     // (95 + 16) / 32
      {3, 240, "62=7"},                    // (240 + 16) mod 256 = 0 gives 7
  };
  for (const Case& c : cases) {
    const Groups groups = draw_groups(
        [&c] {
          drawing().drawable.true_colour = c.depth != 3;
          IGrColourN(c.colour);
          IGrJoin(0.0F, 0.0F, 72.0F, 72.0F);
        },
        [&c] { IGrHardCopyOptions(23, c.depth); });
    const std::vector<Groups> lines = entities(groups, "LINE");
    ASSERT_EQ(lines.size(), 1U);
    Groups colours;
    std::copy_if(lines[0].begin(), lines[0].end(), std::back_inserter(colours),
                 [](const auto& group) { return group.first == "62" || group.first == "420"; });
    EXPECT_EQ(flat(colours), c.groups) << c.depth << " " << c.colour;
  }
}

TEST(DxfColours, NearestIndexMatchesExactColoursAndGreys) {
  EXPECT_EQ(dxf::nearest_colour_index(255, 0, 0), 1);
  EXPECT_EQ(dxf::nearest_colour_index(0, 0, 255), 5);
  EXPECT_EQ(dxf::nearest_colour_index(128, 128, 128), 8);
  EXPECT_EQ(dxf::nearest_colour_index(0, 0, 0), 250);  // greys stay grey: the darkest one
  EXPECT_EQ(dxf::nearest_colour_index(200, 200, 200), 9);
  for (int index = 1; index <= 255; ++index) {
    const int rgb = dxf::standard_colour(index);
    const int found = dxf::nearest_colour_index(rgb >> 16, (rgb >> 8) & 255, rgb & 255);
    EXPECT_EQ(dxf::standard_colour(found), rgb) << index;
  }
}

TEST_F(Dxf, CircleOnlyForEqualRadiiOutlinesAndSquareAreas) {
  struct Case {
    const char* name;
    std::function<void()> body;
    std::size_t circles;
  };
  const Case cases[] = {
      {"circle", [] { IGrCircle(100.0F, 100.0F, 36.0F); }, 1},
      {"ellipse", [] { IGrEllipse(100.0F, 100.0F, 36.0F, 0.5F); }, 0},
      {"filled",
       [] {
         IGrFillPattern(4);
         IGrCircle(100.0F, 100.0F, 36.0F);
       },
       0},
      {"wide area",
       [] {
         IGrArea(0.0F, 0.0F, 1.0F, 0.5F);
         IGrCircle(100.0F, 100.0F, 36.0F);
       },
       0},
      {"square area",
       [] {
         IGrArea(0.0F, 0.0F, 0.5F, 0.5F);
         IGrCircle(100.0F, 100.0F, 36.0F);
       },
       1},
  };
  for (const Case& c : cases) {
    const Groups groups = draw_groups(c.body);
    const std::vector<Groups> circles = entities(groups, "CIRCLE");
    EXPECT_EQ(circles.size(), c.circles) << c.name;
    if (c.circles == 1 && std::string(c.name) == "circle") {
      EXPECT_EQ(value(circles[0], "40"), "0.5");
      EXPECT_EQ(value(circles[0], "10"), "1.388889");
    }
  }
}

TEST_F(Dxf, ArcAnglesAreDegreesSmallerFirst) {
  const Groups groups = draw_groups([] {
    IGrArc(100.0F, 100.0F, 36.0F, 30.0F, 60.0F);
    IGrArc(100.0F, 100.0F, 36.0F, 200.0F, -50.0F);
  });
  const std::vector<Groups> arcs = entities(groups, "ARC");
  ASSERT_EQ(arcs.size(), 2U);
  EXPECT_EQ(values(arcs[0], {"50", "51"}), "30.|90.");
  EXPECT_EQ(values(arcs[1], {"50", "51"}), "150.|200.");
}

TEST_F(Dxf, SolidsUseZigzagCornerOrderAndOnlyFillStyleFour) {
  const Groups groups = draw_groups([] {
    IGrFillPattern(4);
    IGrRectangle(72.0F, 72.0F, 144.0F, 216.0F);
    IGrTriangle(0.0F, 0.0F, 72.0F, 0.0F, 36.0F, 72.0F);
    IGrParallelogram(0.0F, 0.0F, 72.0F, 0.0F, 144.0F, 72.0F);
    IGrFillPattern(3);
    IGrRectangle(72.0F, 72.0F, 144.0F, 216.0F);
  });
  const std::vector<Groups> solids = entities(groups, "SOLID");
  ASSERT_EQ(solids.size(), 3U);
  const auto corners = [](const Groups& solid) {
    return values(solid, {"10", "20", "11", "21", "12", "22", "13", "23"});
  };
  EXPECT_EQ(corners(solids[0]), "1.|1.|2.|1.|1.|3.|2.|3.");
  EXPECT_EQ(corners(solids[1]), "0.|0.|1.|0.|0.5|1.|0.5|1.");
  EXPECT_EQ(corners(solids[2]), "0.|0.|1.|0.|1.|1.|2.|1.");
}

TEST_F(Dxf, RectangleSolidIsLimitedToTheArea) {
  const Groups groups = draw_groups([] {
    IGrFillPattern(4);
    IGrRectangle(-100.0F, -100.0F, 5000.0F, 144.0F);
  });
  const std::vector<Groups> solids = entities(groups, "SOLID");
  ASSERT_EQ(solids.size(), 1U);
  EXPECT_EQ(values(solids[0], {"10", "11"}), "0.|10.5");
}

TEST_F(Dxf, TextIsCleanedCutAndPlaced) {
  const std::string long_text(300, 'x');
  const Groups groups = draw_groups([&long_text] {
    IGrCharSize(36.0F, 72.0F);
    IGrCharRotate(45.7F);
    IGrCharOut(72.0F, 144.0F, "one\r\ntwo");
    IGrCharRotate(0.0F);
    IGrTextMode(1);
    drawing().text.alignment = true;
    IGrCharOut(72.0F, 144.0F, long_text);
  });
  const std::vector<Groups> texts = entities(groups, "TEXT");
  ASSERT_EQ(texts.size(), 2U);
  EXPECT_EQ(values(texts[0], {"1", "40", "41", "50", "72"}), "one  two|0.78|0.5|45|0");
  EXPECT_EQ(value(texts[1], "1"), std::string(255, 'x'));
  // 20: 2 - 0.22 of the one-inch height; 11: half of 300 half-inch characters on.
  EXPECT_EQ(values(texts[1], {"40", "72", "10", "20", "11"}), "0.63|1|1.|1.78|76.");
}

TEST_F(Dxf, HugeAndNanCoordinatesStayInTheirFields) {
  const Groups groups =
      draw_groups([] { IGrJoin(1e30F, -1e30F, std::numeric_limits<float>::quiet_NaN(), 0.0F); });
  const std::vector<Groups> lines = entities(groups, "LINE");
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(values(lines[0], {"10", "20", "11"}), "99999999.999999|-9999999.999999|0.");
}

TEST_F(Dxf, FailedWriteIsReportedOnceAndAbandonsTheHardcopy) { expect_failed_write_reported_once(3000); }

#ifndef _WIN32
int pixel_near(const std::string& report, const std::string& probe, int red, int green, int blue) {
  std::istringstream in(report.substr(report.find("PIXEL " + probe + " ") + probe.size() + 7));
  int r = -1, g = -1, b = -1;
  in >> r >> g >> b;
  return std::abs(r - red) < 60 && std::abs(g - green) < 60 && std::abs(b - blue) < 60;
}

TEST_F(Dxf, ReaderRejectsABrokenFileSoItsAcceptanceMeansSomething) {
  write_bytes(path(), "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n10\r\nabc\r\n");
  std::string report;
  EXPECT_NE(run_python(kDxfReader, path().string(), &report), 0) << report;
  EXPECT_NE(report.find("READ_ERROR"), std::string::npos) << report;
}

TEST_F(Dxf, ReaderAcceptsTheSamplePictureAndRendersItsFills) {
  draw([] { draw_sample_picture(); });
  std::string report;
  ASSERT_EQ(run_python(kDxfReader, path().string() + " '2.1,2.25;5.25,2.0;8.1375,2.25;9.9,4.5'", &report), 0)
      << report;
  EXPECT_NE(report.find("AUDIT_ERRORS 0 FIXES 0"), std::string::npos) << report;
  for (const char* entity :
       {"'ARC', 2", "'CIRCLE', 1", "'LINE', ", "'POINT', 1", "'POLYLINE', 1", "'SOLID', 3", "'TEXT', 2"}) {
    EXPECT_NE(report.find(entity), std::string::npos) << entity << "\n" << report;
  }
  EXPECT_TRUE(pixel_near(report, "2.1,2.25", 0, 255, 0) && pixel_near(report, "5.25,2.0", 255, 0, 255) &&
              pixel_near(report, "8.1375,2.25", 255, 165, 0) && !pixel_near(report, "9.9,4.5", 0, 255, 0))
      << report;
}
TEST_F(Dxf, ReaderDrawsArcsWhereTheirDegreesSay) {
  draw([] {
    IGrColour("red");
    IGrLineWidth(30);
    IGrArc(378.0F, 270.0F, 144.0F, 0.0F, 180.0F);  // centre 5.25, 3.75 inches, radius 2
  });
  std::string report;
  ASSERT_EQ(
      run_python(kDxfReader, path().string() + " '5.25,5.75,255,0,0;3.836,5.164,255,0,0;5.25,1.75,255,0,0'",
                 &report),
      0)
      << report;
  EXPECT_NE(report.find("NEAR 5.25,5.75,255,0,0 yes"), std::string::npos) << report;    // top of the arc
  EXPECT_NE(report.find("NEAR 3.836,5.164,255,0,0 yes"), std::string::npos) << report;  // at 135 degrees
  EXPECT_NE(report.find("NEAR 5.25,1.75,255,0,0 no"), std::string::npos) << report;     // not below
}
#endif

}  // namespace
}  // namespace quill::filetest
