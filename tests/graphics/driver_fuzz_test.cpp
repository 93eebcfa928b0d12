#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "cgm_walker.hpp"
#include "driver_files_support.hpp"
#include "quill/metafile.hpp"
#include "base/error_state.hpp"

namespace quill::filetest {
namespace {

// Random drawing: primitives at ordinary, huge and undefined coordinates, every
// attribute routine with values in and out of range, odd and long texts, page ends.
class RandomDrawing {
 public:
  explicit RandomDrawing(unsigned seed) : random_(seed) {}

  void draw(int operations) {
    IGrUnits(0.0F, 0.0F, 100.0F, 100.0F);
    for (int i = 0; i < operations; ++i) {
      step();
    }
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  float coordinate() {
    switch (pick(12)) {
      case 0: return std::numeric_limits<float>::quiet_NaN();
      case 1: return 1e30F;
      case 2: return -1e30F;
      case 3: return std::numeric_limits<float>::infinity();
      default: return std::uniform_real_distribution<float>(-20.0F, 120.0F)(random_);
    }
  }
  std::string text() {
    std::string t(static_cast<std::size_t>(pick(8) == 0 ? 300 + pick(700) : pick(40)), ' ');
    for (char& c : t) {
      c = static_cast<char>(pick(256));
    }
    return t;
  }
  void points(int count) {
    xs_.resize(static_cast<std::size_t>(count));
    ys_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      xs_[static_cast<std::size_t>(i)] = coordinate();
      ys_[static_cast<std::size_t>(i)] = coordinate();
    }
  }
  void step() {
    switch (pick(22)) {
      case 0: IGrJoin(coordinate(), coordinate(), coordinate(), coordinate()); break;
      case 1: IGrPoint(coordinate(), coordinate()); break;
      case 2:
        points(pick(3) == 0 ? 2000 : 2 + pick(60));
        IGrPolyLine(xs_, ys_);
        break;
      case 3:
        points(3 + pick(40));
        IGrPolygon(xs_, ys_);
        break;
      case 4: IGrRectangle(coordinate(), coordinate(), coordinate(), coordinate()); break;
      case 5:
        IGrTriangle(coordinate(), coordinate(), coordinate(), coordinate(), coordinate(), coordinate());
        break;
      case 6:
        IGrParallelogram(coordinate(), coordinate(), coordinate(), coordinate(), coordinate(), coordinate());
        break;
      case 7: IGrCircle(coordinate(), coordinate(), coordinate()); break;
      case 8: IGrEllipse(coordinate(), coordinate(), coordinate(), coordinate()); break;
      case 9: IGrArc(coordinate(), coordinate(), coordinate(), coordinate(), coordinate()); break;
      case 10: IGrSector(coordinate(), coordinate(), coordinate(), coordinate(), coordinate()); break;
      case 11: IGrColourN(pick(2) == 0 ? pick(256) : static_cast<int>(random_())); break;
      case 12: IGrFillPattern(pick(6)); break;
      case 13:
        IGrLineType(pick(10) - 1);
        IGrLineWidth(pick(3) == 0 ? 100000 : pick(80) - 5);
        break;
      case 14:
        IGrLineJoin(pick(4));
        IGrLineCap(pick(4));
        break;
      case 15:
        IGrCharFont(pick(6), pick(9) - 2);
        IGrCharSize(coordinate(), coordinate());
        break;
      case 16:
        IGrCharRotate(coordinate());
        IGrCharJustify(pick(4));
        IGrTextMode(pick(4));
        break;
      case 17: IGrCharOut(coordinate(), coordinate(), text()); break;
      case 18:
        IGrArea(std::uniform_real_distribution<float>(0.0F, 0.5F)(random_), 0.1F, 0.9F,
                std::uniform_real_distribution<float>(0.5F, 1.0F)(random_));
        break;
      case 19:
        if (pick(6) == 0) IGrNewPage();
        break;
      case 20: {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(1 + pick(40)) * 7);
        for (std::uint32_t& p : pixels) p = static_cast<std::uint32_t>(pick(4)) * 0x3F3F3FU;
        IGrImage(coordinate(), coordinate(), coordinate(), coordinate(), pixels, 7,
                 static_cast<int>(pixels.size() / 7));
        break;
      }
      default:
        IGrUnits(coordinate(), coordinate(), coordinate(), coordinate());
        IGrUnits(0, 0, 100, 100);
        break;
    }
  }

  std::mt19937 random_;
  std::vector<float> xs_, ys_;
};

class DriverFuzz : public DriverFileTest {
 protected:
  int driver() const override { return 9; }
  std::string extension() const override { return ".out"; }

  std::string draw_random(int number, unsigned seed, bool through_metafile) {
    reset_drawing_for_tests();
    errors().report_mode = 0;
    int handle = 0;
    if (through_metafile) {
      WMetafileCreate(handle);
      IGrSelect(4, handle);
      RandomDrawing(seed).draw(150);
      IGrSelect(1, 0);
      set_drawable_size(640.0, 480.0);
    }
    IGrHardCopySelect(number);
    IGrHardCopy("S", path(std::to_string(number)).string());
    if (through_metafile) {
      WMetafileReplay(handle);
      WMetafileDestroy(handle);
    } else {
      RandomDrawing(seed).draw(150);
    }
    IGrHardCopy("E");
    return read_bytes(path(std::to_string(number)));
  }
};

// Every group is a code line holding a number and a value line, and the file ends EOF.
bool dxf_well_formed(const std::string& text) {
  bool all_crlf = false;
  const std::vector<std::string> lines = crlf_lines(text, &all_crlf);
  if (!all_crlf || lines.size() % 2 != 0 || lines.size() < 4 || lines.back() != "EOF") {
    return false;
  }
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    if (lines[i].empty() || lines[i].find_first_not_of("0123456789") != std::string::npos ||
        lines[i + 1].size() > 255) {
      return false;
    }
  }
  return true;
}

// Every line ends in CR LF and a label holds no terminator before its last byte.
bool hpgl_well_formed(const std::string& text) {
  bool all_crlf = false;
  const std::vector<std::string> lines = crlf_lines(text, &all_crlf);
  for (const std::string& line : lines) {
    if (line.starts_with("LB") && (line.size() < 3 || line.find('\x04') != line.size() - 1)) {
      return false;
    }
  }
  return all_crlf;
}

TEST_F(DriverFuzz, RandomDrawingsGiveWellFormedFilesFromEveryDriver) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    for (bool metafile : {false, true}) {
      SCOPED_TRACE(std::to_string(seed) + (metafile ? " via metafile" : ""));
      const CgmWalk walk = walk_cgm(draw_random(9, seed, metafile));
      EXPECT_TRUE(walk.problems.empty()) << walk.problems.front();
      EXPECT_TRUE(dxf_well_formed(draw_random(8, seed, metafile)));
      EXPECT_TRUE(hpgl_well_formed(draw_random(12, seed, metafile)));
      const std::string plotter = draw_random(1, seed, metafile);
      bool all_crlf = false;
      crlf_lines(plotter, &all_crlf);
      EXPECT_TRUE(all_crlf);
      EXPECT_EQ(plotter.find('\x1b'), std::string::npos);
    }
  }
}

#ifndef _WIN32
TEST_F(DriverFuzz, ReadersAcceptRandomDrawings) {
  for (unsigned seed : {7U, 8U}) {
    SCOPED_TRACE(seed);
    draw_random(8, seed, false);
    std::string report;
    EXPECT_EQ(run_python("import ezdxf, sys\ndoc = ezdxf.readfile(sys.argv[1])\na = doc.audit()\n"
                         "print('AUDIT', len(a.errors), len(a.fixes))\n",
                         path("8").string(), &report),
              0)
        << report;
    EXPECT_NE(report.find("AUDIT 0 0"), std::string::npos) << report;
    for (int number : {12, 1}) {
      draw_random(number, seed, seed == 8U);
      std::string log;
      run("hp2xx -m png -f " + path("x.png").string() + " " + path(std::to_string(number)).string(), &log);
      EXPECT_NE(log.find("Unexpected event(s):  0"), std::string::npos) << log;
      for (std::size_t at = log.find(": ignored"); at != std::string::npos;
           at = log.find(": ignored", at + 1)) {
        const std::string command = log.substr(at - 2, 2);
        EXPECT_TRUE(command == "TR" || command == "RF") << command;
      }
    }
  }
}
#endif

}  // namespace
}  // namespace quill::filetest
