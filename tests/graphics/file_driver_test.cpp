#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/error_state.hpp"
#include "graphics/file_driver.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"

namespace quill {
namespace {

constexpr int kFakeNumber = 7;
std::vector<std::string> g_calls;
int g_prepare_code = 0;

void record(std::string call) { g_calls.push_back(std::move(call)); }

// Records the entries it is given, with the attribute values the core passes.
constexpr FileDriver kFake{
    .number = kFakeNumber,
    .describe = [] { drawing().device.default_file = "fake.out"; },
    .prepare =
        [] {
          record("prepare");
          return g_prepare_code;
        },
    .header = [] { record("header"); },
    .trailer = [] { record("trailer"); },
    .release = [] { record("release"); },
    .new_page = [] { record("page"); },
    .set_colour = [](const ColourState& c) { record("colour " + std::to_string(c.current)); },
    .set_line =
        [](LineAttribute which, const LineAttributes& line) {
          record(which == LineAttribute::Width ? "width " + std::to_string(line.width) : "line");
        },
    .select_font = [](const TextAttributes& text) { record("font " + std::to_string(text.family)); },
    .line = [](double, double, double, double) { record("line"); },
    .fill = [](Shape, const Primitive&) { record("fill"); },
    .end_fill = [](Shape) { record("end fill"); },
};

class FileDriverCore : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    errors().last_error = 0;
    g_prepare_code = 0;
    previous_ = register_driver(kFakeNumber, file_driver_function<kFake>);
    IGrHardCopySelect(kFakeNumber);
    g_calls.clear();
  }
  void TearDown() override {
    IGrHardCopy("E");
    register_driver(kFakeNumber, previous_);
    reset_drawing_for_tests();
    std::filesystem::remove(file_);
  }
  void start() {
    IGrHardCopy("S", file_);
    g_calls.clear();
  }
  std::string file_ = (std::filesystem::temp_directory_path() / "quill_file_driver_test.out").string();
  DriverFunction previous_ = nullptr;
};

TEST_F(FileDriverCore, EntriesFollowTheDrawingState) {
  struct Case {
    const char* name;
    std::function<void()> draw;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      // Every change reaches the driver as it happens: drivers write some at once.
      {"colour twice, then a line",
       [] {
         IGrColourN(5);
         IGrColourN(6);
         IGrJoin(0, 0, 1, 1);
       },
       {"colour 5", "colour 6", "line"}},
      // A change that did not pass through a routine is given before the next drawing.
      {"state changed behind the driver",
       [] {
         drawing().colour.current = 9;
         drawing().line.width = 40;
         drawing().text.family = 3;
         IGrJoin(0, 0, 1, 1);
         IGrJoin(0, 0, 1, 1);
       },
       {"width 40", "font 3", "colour 9", "line", "line"}},
      // Drivers that forget attributes at a page restate them themselves.
      {"line after a new page",
       [] {
         IGrNewPage();
         IGrJoin(0, 0, 1, 1);
       },
       {"page", "line"}},
      {"fill and its closing call",
       [] {
         IGrFillPattern(4);
         IGrRectangle(0, 0, 1, 1);
       },
       {"fill", "end fill"}},
      {"font and line width",
       [] {
         IGrCharFont(1, 0);
         IGrLineWidth(3);
       },
       {"font 1", "width 3"}},
  };
  for (const Case& c : cases) {
    start();
    c.draw();
    EXPECT_EQ(g_calls, c.calls) << c.name;
    IGrHardCopy("E");
    reset_drawing_for_tests();
    IGrHardCopySelect(kFakeNumber);
  }
}

TEST_F(FileDriverCore, OutputLifecycle) {
  IGrHardCopy("S", file_);
  // The start gives the whole state (from the hardcopy layer) after the header.
  EXPECT_EQ(g_calls.front(), "prepare");
  EXPECT_EQ(g_calls[1], "header");
  EXPECT_EQ(g_calls.back(), "colour 0");
  g_calls.clear();
  drawing().output.close();  // nothing reaches the entries once the output is closed
  IGrJoin(0, 0, 1, 1);
  IGrColourN(3);
  IGrHardCopy("E");
  EXPECT_EQ(g_calls, (std::vector<std::string>{"release"}));

  // A failed preparation abandons the hardcopy with its code; a failed open releases.
  g_calls.clear();
  g_prepare_code = 34;
  IGrHardCopy("S", file_);
  EXPECT_EQ(errors().last_error, 34);
  EXPECT_FALSE(drawing().hardcopy.active);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"prepare"}));
  g_calls.clear();
  g_prepare_code = 0;
  IGrHardCopy("S", "/nonexistent-directory/x.out");
  EXPECT_EQ(errors().last_error, 1);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"prepare", "release"}));
  EXPECT_EQ(probe_driver(kFakeNumber), kFakeNumber);
}

}  // namespace
}  // namespace quill
