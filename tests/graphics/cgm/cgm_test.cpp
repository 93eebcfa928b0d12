#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "cgm_walker.hpp"
#include "driver_files_support.hpp"
#include "graphics/cgm/cgm_driver.hpp"
#include "base/error_state.hpp"

namespace quill::filetest {
namespace {

using Ids = std::vector<std::pair<int, int>>;

Ids ids(const CgmWalk& walk) {
  Ids out;
  for (const CgmElement& e : walk.elements) {
    out.emplace_back(e.element_class, e.id);
  }
  return out;
}

// Elements after the state that a hardcopy start replays (its last is the character
// height), up to the end.
Ids body_ids(const CgmWalk& walk) {
  Ids all = ids(walk);
  auto it = std::find(all.begin(), all.end(), std::pair{5, 15});
  return it == all.end() ? Ids{} : Ids(it + 1, all.end());
}

std::vector<const CgmElement*> all_of(const CgmWalk& walk, int element_class, int id) {
  std::vector<const CgmElement*> out;
  for (const CgmElement& e : walk.elements) {
    if (e.element_class == element_class && e.id == id) out.push_back(&e);
  }
  return out;
}

// The elements as "class.id" separated by blanks.
std::string text(const Ids& ids) {
  std::string out;
  for (const auto& [element_class, id] : ids) {
    out += (out.empty() ? "" : " ") + std::to_string(element_class) + "." + std::to_string(id);
  }
  return out;
}

// The count 16-bit words of params from byte offset first on.
std::vector<int> words(const std::string& params, std::size_t first, std::size_t count) {
  std::vector<int> out;
  for (std::size_t i = 0; i < count; ++i) out.push_back(cgm_word(params, first + 2 * i));
  return out;
}

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) {
    out.push_back(static_cast<char>(v));
  }
  return out;
}

class Cgm : public DriverFileTest {
 protected:
  int driver() const override { return 9; }
  std::string extension() const override { return ".cgm"; }
  void TearDown() override {
    cgm::cgm().font_set = 1;
    DriverFileTest::TearDown();
  }
  CgmWalk draw_walk(const std::function<void()>& body, const std::function<void()>& configure = {}) {
    const CgmWalk walk = walk_cgm(draw(body, "", configure));
    EXPECT_TRUE(walk.problems.empty()) << walk.problems.front();
    return walk;
  }
};

TEST(CgmWalker, RejectsBrokenFiles) {
  const std::string begin = bytes({0x00, 0x23, 0x02, 'a', 'b', 0x00});  // BEGIN METAFILE "ab" and pad
  const std::string end = bytes({0x00, 0x40});
  const std::pair<const char*, std::string> cases[] = {
      {"truncated header", begin + bytes({0x00})},
      {"missing pad", bytes({0x00, 0x23, 0x02, 'a', 'b', 0x40}) + end},
      {"long string", bytes({0x00, 0x24, 0xFF, 0x00, 0x01, 'a', 0x00}) + end},
      {"past the end", begin + bytes({0x40, 0x28, 0x00, 0x00}) + end},
      {"open picture", begin + bytes({0x00, 0x60, 0x00, 0x80}) + end},
      {"drawing outside", begin + bytes({0x40, 0x28, 0, 0, 0, 0, 0, 1, 0, 1}) + end},
      {"wrong length", begin + bytes({0x00, 0x60, 0x00, 0x80, 0x50, 0x84, 1, 2, 3, 4, 0x00, 0xA0}) + end},
      {"no end", begin},
  };
  for (const auto& [name, file] : cases) {
    EXPECT_FALSE(walk_cgm(file).problems.empty()) << name;
  }
  EXPECT_TRUE(walk_cgm(begin + end).problems.empty());
}

TEST_F(Cgm, HeaderElementsInOrderWithLengthsFromTheData) {
  const std::string file = draw([] {});
  EXPECT_EQ(file.substr(0, 4), bytes({0x00, 0x2D, 12, 'K'}));
  EXPECT_EQ(file.substr(file.size() - 4), bytes({0x00, 0xA0, 0x00, 0x40}));  // END PICTURE, END METAFILE
  const CgmWalk walk = walk_cgm(file);
  ASSERT_TRUE(walk.problems.empty()) << walk.problems.front();
  const Ids all = ids(walk);
  EXPECT_EQ(text(Ids(all.begin(), all.begin() + 19)),
            "0.1 1.1 1.2 1.3 1.4 1.5 1.6 1.13 1.7 1.10 0.3 2.3 2.5 2.2 2.7 3.1 2.6 0.4 5.18");
  EXPECT_EQ(walk.first(1, 2)->params, "\x11KVS CGM driver v4");
  EXPECT_EQ(walk.first(1, 13)->params.size(), 260U);
  EXPECT_TRUE(walk.first(1, 13)->long_form);
  EXPECT_EQ(walk.first(2, 7)->params, bytes({0xFF, 0xFF, 0xFF}));                    // white background
  EXPECT_EQ(walk.first(2, 6)->params, bytes({0, 0, 0, 0, 0x18, 0x9C, 0x11, 0x94}));  // 6300 x 4500
  EXPECT_EQ(walk.first(5, 18)->params, bytes({0, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(walk.pictures, 1);
}

TEST_F(Cgm, FontListLengthsOfEachSet) {
  for (auto [set, length] : {std::pair{1, 260U}, {2, 203U}, {3, 204U}}) {
    cgm::cgm().font_set = set;
    const CgmWalk walk = draw_walk([] {});
    EXPECT_EQ(walk.first(1, 13)->params.size(), length) << set;
  }
}

TEST_F(Cgm, LineIsLineColourThenPolylineOfTenBytes) {
  const std::string file = draw([] {
    IGrColour("red");
    IGrJoin(0.0F, 0.0F, 72.0F, 36.0F);
  });
  const std::string expected =
      bytes({0x50, 0x83, 0xFF, 0x00, 0x00, 0x00, 0x40, 0x28, 0, 0, 0, 0, 0x02, 0x58, 0x01, 0x2C});
  EXPECT_NE(file.find(expected), std::string::npos);
}

TEST_F(Cgm, LongPointListsUseTheLongFormAndPartitions) {
  const CgmWalk walk = draw_walk([] {
    std::vector<float> x(10000), y(10000);
    for (std::size_t i = 0; i < x.size(); ++i) {
      x[i] = static_cast<float>(i % 700);
      y[i] = static_cast<float>(i % 500);
    }
    IGrPolyLine(std::span<const float>(x.data(), 8), std::span<const float>(y.data(), 8));
    IGrPolyLine(x, y);
  });
  const std::vector<const CgmElement*> polylines = all_of(walk, 4, 1);
  ASSERT_EQ(polylines.size(), 2U);
  EXPECT_TRUE(polylines[0]->long_form);
  EXPECT_EQ(polylines[0]->params.size(), 32U);
  EXPECT_EQ(polylines[1]->params.size(), 40000U);
  EXPECT_EQ(polylines[1]->partitions, 2);
}

TEST_F(Cgm, CoordinatesAndStringsStayWithinTheirFields) {
  const CgmWalk walk = draw_walk([] {
    IGrJoin(1e30F, -1e30F, std::numeric_limits<float>::quiet_NaN(), 0.0F);
    IGrCharOut(10.0F, 10.0F, std::string(300, 'x'));
  });
  const CgmElement* line = walk.first(4, 1);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(words(line->params, 0, 3), (std::vector{32767, -32768, 0}));
  const CgmElement* text = walk.first(4, 4);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(static_cast<unsigned char>(text->params[6]), 254U);
}

// The whole device fits the 16-bit VDC range however large the options make it: a line
// at 85..95 % of the page stays there, and the line width keeps its size in inches.
TEST_F(Cgm, LargeDevicesKeepTheirProportionsInsideTheVdcRange) {
  constexpr int kLargest = std::numeric_limits<int>::max();
  const std::pair<int, int> sizes[] = {
      {5000, 5000}, {5000, 3000}, {kLargest, kLargest}, {kLargest / 2, kLargest}};
  for (const auto& [width, height] : sizes) {
    const CgmWalk walk = draw_walk(
        [] {
          IGrUnits(0, 0, 1, 1);
          IGrLineWidth(720);
          IGrJoin(.85F, .85F, .95F, .95F);
        },
        [width, height] {
          IGrHardCopyOptions(1, width);
          IGrHardCopyOptions(2, height);
        });
    const std::string where = std::to_string(width) + " x " + std::to_string(height);
    const CgmElement* extent = walk.first(2, 6);
    const CgmElement* line = walk.first(4, 1);
    ASSERT_TRUE(extent != nullptr && line != nullptr) << where;
    const double x = cgm_word(extent->params, 4), y = cgm_word(extent->params, 6);
    EXPECT_EQ(std::max(x, y), 32767) << where;
    EXPECT_NEAR(x / y, static_cast<double>(width) / height, 0.001) << where;
    const double expected[] = {.85 * x, .85 * y, .95 * x, .95 * y};
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_NEAR(cgm_word(line->params, 2 * i), expected[i], 1.0) << where << " coordinate " << i;
    }
    const auto line_width =
        std::find_if(walk.elements.rbegin(), walk.elements.rend(),
                     [](const CgmElement& e) { return e.element_class == 5 && e.id == 3; });
    ASSERT_NE(line_width, walk.elements.rend()) << where;
    EXPECT_NEAR(cgm_word(line_width->params, 0), std::max(x / (width / 72.0), 1.0), 1.0) << where;  // 1 inch
  }
}

TEST_F(Cgm, PagesOpenAndClosePictures) {
  struct Case {
    const char* steps;  // J: a line, N: a page end
    int pictures;
  };
  for (const Case& c : {Case{"JN", 1}, Case{"JNJ", 2}, Case{"NNJ", 2}}) {
    const CgmWalk walk = draw_walk([&c] {
      for (const char* step = c.steps; *step != '\0'; ++step) {
        if (*step == 'J') IGrJoin(0, 0, 1, 1);
        if (*step == 'N') IGrNewPage();
      }
    });
    EXPECT_EQ(walk.pictures, c.pictures) << c.steps;
  }
}

TEST_F(Cgm, NewPictureRepeatsTheAttributesInForce) {
  const CgmWalk walk = draw_walk([] {
    IGrLineWidth(30);
    IGrNewPage();
    IGrJoin(0, 0, 1, 1);
  });
  const std::vector<const CgmElement*> widths = all_of(walk, 5, 3);
  ASSERT_GE(widths.size(), 2U);
  EXPECT_EQ(cgm_word(widths.back()->params, 0), 25);  // 3 points at 600 per inch
}

TEST_F(Cgm, FillsWriteColourInteriorAndShape) {
  const CgmWalk walk = draw_walk([] {
    IGrColour("red");
    IGrColour("blue");
    IGrFillPattern(3);
    IGrRectangle(10, 10, 100, 100);
    IGrFillPattern(4);
    IGrTriangle(10, 10, 100, 10, 50, 50);
    IGrFillPattern(0);
    IGrEllipse(200, 200, 50, 0.5F);
  });
  EXPECT_EQ(text(body_ids(walk)),
            "5.23 5.22 4.11 5.23 5.22 4.7 5.23 5.30 5.29 5.27 5.28 5.22 4.17 5.30 0.5 0.2");
  EXPECT_EQ(walk.first(5, 23)->params, bytes({127, 0, 127}));  // mean of red and blue
  EXPECT_EQ(walk.first(4, 7)->params.size(), 12U);
  EXPECT_EQ(cgm_word(walk.first(4, 17)->params, 10), static_cast<int>((200 + 25) * 600 / 72));
}

TEST_F(Cgm, TextCarriesColourAlignmentAndOrientation) {
  const CgmWalk walk = draw_walk([] {
    IGrCharJustify(2);
    IGrCharRotate(90.0F);
    IGrCharOut(100, 100, "abc");
  });
  EXPECT_EQ(text(body_ids(walk)), "5.16 3.4 3.3 5.14 5.18 4.4 3.4 0.5 0.2");
  const Ids all = ids(walk);
  const CgmElement& alignment = walk.elements[static_cast<std::size_t>(
      std::find(all.begin() + 20, all.end(), std::pair{5, 18}) - all.begin())];
  EXPECT_EQ(cgm_word(alignment.params, 0), 3);
  EXPECT_EQ(cgm_word(walk.first(5, 16)->params, 0), -1000);
  EXPECT_EQ(walk.first(4, 4)->params.substr(4), bytes({0, 1, 3, 'a', 'b', 'c'}));
}

TEST_F(Cgm, ImageIsACellArrayOfRunLengthRows) {
  const CgmWalk walk = draw_walk([] {
    const std::uint32_t pixels[] = {0x0000FF, 0x0000FF, 0x0000FF, 0xFF0000, 0x00FF00, 0x00FF00};
    IGrImage(0, 0, 72, 72, pixels, 3, 2);
  });
  const CgmElement* cells = walk.first(4, 9);
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(words(cells->params, 12, 4), (std::vector{3, 2, 8, 0}));
  EXPECT_EQ(cells->params.substr(20), bytes({0, 3, 255, 0, 0, 0,                   // row 1: 3 red, pad
                                             0, 1, 0, 0, 255, 0, 2, 0, 255, 0}));  // row 2: blue, 2 green
}

TEST_F(Cgm, ReverseModeInvertsColours) {
  const CgmWalk walk = draw_walk(
      [] {
        IGrColourN(0x204080);
        IGrJoin(0, 0, 1, 1);
        IGrColourN(0x000000);
        IGrJoin(0, 0, 1, 1);
      },
      [] { IGrHardCopyOptions(6, 2); });
  const std::vector<const CgmElement*> colours = all_of(walk, 5, 4);
  ASSERT_EQ(colours.size(), 2U);
  EXPECT_EQ(colours[0]->params + colours[1]->params, bytes({0x80, 0x40, 0x20, 255, 255, 255}));
}

TEST_F(Cgm, FailedWriteIsReportedOnceAndAbandonsTheHardcopy) { expect_failed_write_reported_once(10000); }

#ifndef _WIN32
// Converts a CGM file to PNG with LibreOffice; its own profile lives beside the file.
bool convert_with_libreoffice(const std::filesystem::path& cgm_file, const std::filesystem::path& directory) {
  std::string log;
  run("HOME=" + directory.string() + " soffice --headless --convert-to png --outdir " + directory.string() +
          " " + cgm_file.string(),
      &log);
  std::filesystem::path png = cgm_file;
  png.replace_extension(".png");
  return std::filesystem::exists(png);
}

TEST_F(Cgm, LibreOfficeRejectsBrokenFilesAndDrawsOursInTheirColours) {
  write_bytes(path("broken"), bytes({0x00, 0x2D, 0x40, 0x28, 0x12, 0x34, 0x56}));
  std::filesystem::path broken_png = path("broken");
  broken_png.replace_extension(".png");
  if (convert_with_libreoffice(path("broken"), directory_)) {
    const std::vector<long> counts = count_colours(broken_png, {{0, 255, 0}});
    ASSERT_EQ(counts.size(), 1U);
    EXPECT_EQ(counts[0], 0);
  }
  // The sample without its rotated text: LibreOffice's import rejects any text whose
  // base vector leaves the x axis, however the file is written.
  draw([] { draw_sample_picture(false); });
  const CgmWalk walk = walk_cgm(read_bytes(path()));
  ASSERT_TRUE(walk.problems.empty());
  ASSERT_TRUE(convert_with_libreoffice(path(), directory_));
  std::filesystem::path png = path();
  png.replace_extension(".png");
  const std::vector<long> counts =
      count_colours(png, {{0, 255, 0}, {255, 0, 255}, {255, 165, 0}, {0, 255, 255}});
  ASSERT_EQ(counts.size(), 4U);
  for (std::size_t i = 0; i < counts.size(); ++i) {
    EXPECT_GT(counts[i], 2000) << i;
  }
}
#endif

}  // namespace
}  // namespace quill::filetest
