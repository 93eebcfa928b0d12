#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "cgm_walker.hpp"
#include "driver_files_support.hpp"
#include "graphics/hpgl2/hpgl_driver.hpp"
#include "graphics/metafile/metafile_internal.hpp"
#include "quill/metafile.hpp"
#include "base/error_state.hpp"

namespace quill::filetest {
namespace {

class Metafile : public DriverFileTest {
 protected:
  int driver() const override { return 9; }
  std::string extension() const override { return ".out"; }

  // A window of the recorder's page size is the current drawable.
  // Window 0 stands for the screen; no window system takes part in these tests.
  static void select_window() {
    unregister_layer<DrawableLayer>("screen");
    IGrSelect(1, 0);
    set_drawable_size(kMetafileWidth, kMetafileHeight);
  }
  std::string hardcopy(int number, const std::string& name, const std::function<void()>& body) {
    IGrHardCopySelect(number);
    IGrHardCopy("S", path(name).string());
    body();
    IGrHardCopy("E");
    return read_bytes(path(name));
  }
  // The same drawing made directly and through a recorded metafile.
  std::pair<std::string, std::string> direct_and_replayed(int number) {
    reset_drawing_for_tests();
    select_window();
    const std::string direct = hardcopy(number, "direct", [] { draw_sample_picture(); });
    reset_drawing_for_tests();
    int handle = 0;
    WMetafileCreate(handle);
    IGrSelect(4, handle);
    draw_sample_picture();
    select_window();
    IGrUnits(0.0F, 0.0F, 100.0F, 100.0F);
    const std::string replayed = hardcopy(number, "replayed", [handle] { WMetafileReplay(handle); });
    WMetafileDestroy(handle);
    return {direct, replayed};
  }
};

TEST_F(Metafile, SlotsAreCreatedInOrderUntilAllTwentyAreTaken) {
  int handle = -1;
  for (int expected = 1; expected <= 20; ++expected) {
    WMetafileCreate(handle);
    EXPECT_EQ(handle, expected);
  }
  errors().last_error = 0;
  WMetafileCreate(handle);
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(errors().last_error, 1060);
  WMetafileDestroy(7);
  WMetafileCreate(handle);
  EXPECT_EQ(handle, 7);
}

TEST_F(Metafile, ReplayNeedsARecordedSlot) {
  int handle = 0;
  WMetafileCreate(handle);
  for (int h : {0, 21, handle + 1, handle}) {  // out of range, free, created but empty
    errors().last_error = 0;
    WMetafileReplay(h);
    EXPECT_EQ(errors().last_error, 1060) << h;
  }
  IGrSelect(4, handle);
  IGrJoin(0, 0, 1, 1);
  errors().last_error = 0;
  select_window();
  WMetafileReplay(handle);
  EXPECT_EQ(errors().last_error, 0);
  WMetafileDestroy(handle);
  WMetafileReplay(handle);
  EXPECT_EQ(errors().last_error, 1060);
  EXPECT_TRUE(metafiles().slots[static_cast<std::size_t>(handle)].empty());
}

TEST_F(Metafile, RecordingIsASoundCgmThatGoesOnAfterReselection) {
  int handle = 0;
  WMetafileCreate(handle);
  IGrSelect(4, handle);
  draw_sample_picture();
  select_window();
  IGrJoin(0, 0, 1, 1);  // not recorded
  IGrSelect(4, handle);
  IGrJoin(0, 0, 1, 1);
  const CgmWalk walk = walk_cgm(complete_metafile(handle));
  EXPECT_TRUE(walk.problems.empty()) << walk.problems.front();
  EXPECT_EQ(walk.pictures, 1);
  EXPECT_EQ(walk.count(4, 4), 2);   // texts
  EXPECT_EQ(walk.count(4, 11), 1);  // the rectangle
  EXPECT_EQ(walk.count(4, 17), 3);  // two circles and the ellipse
}

TEST_F(Metafile, ReplayIntoCgmGivesTheSameElementsAndPoints) {
  const auto [direct, replayed] = direct_and_replayed(9);
  const CgmWalk a = walk_cgm(direct), b = walk_cgm(replayed);
  ASSERT_TRUE(a.problems.empty() && b.problems.empty());
  std::vector<const CgmElement*> shapes_a, shapes_b;
  for (const CgmElement& e : a.elements) {
    if (e.element_class == 4) shapes_a.push_back(&e);
  }
  for (const CgmElement& e : b.elements) {
    if (e.element_class == 4) shapes_b.push_back(&e);
  }
  ASSERT_EQ(shapes_a.size(), shapes_b.size());
  for (std::size_t i = 0; i < shapes_a.size(); ++i) {
    ASSERT_EQ(shapes_a[i]->id, shapes_b[i]->id) << i;
    ASSERT_EQ(shapes_a[i]->params.size(), shapes_b[i]->params.size()) << i;
    const std::size_t words = shapes_a[i]->id == 4 ? 2 : shapes_a[i]->params.size() / 2;
    for (std::size_t w = 0; w < words && shapes_a[i]->id != 9; ++w) {
      EXPECT_NEAR(cgm_word(shapes_a[i]->params, 2 * w), cgm_word(shapes_b[i]->params, 2 * w), 2)
          << i << "/" << w;
    }
  }
  EXPECT_EQ(a.first(5, 23)->params, b.first(5, 23)->params);
}

TEST_F(Metafile, ReplayIntoDxfAndHpglWritesTheSameEntitiesAndLabels) {
  const auto count_lines = [](const std::string& text, const std::vector<std::string>& wanted) {
    std::map<std::string, int> counts;
    for (const std::string& line : crlf_lines(text)) {
      if (std::find(wanted.begin(), wanted.end(), line) != wanted.end() || line.starts_with("LB") ||
          line.starts_with("PM")) {
        ++counts[line];
      }
    }
    return counts;
  };
  const std::vector<std::string> entities{"LINE", "ARC",      "CIRCLE", "SOLID",
                                          "TEXT", "POLYLINE", "POINT",  "VERTEX"};
  const auto [dxf_direct, dxf_replayed] = direct_and_replayed(8);
  std::map<std::string, int> direct_entities = count_lines(dxf_direct, entities);
  std::map<std::string, int> replayed_entities = count_lines(dxf_replayed, entities);
  // Arcs come back as polylines: the sector's outline loses its two radius lines.
  EXPECT_EQ(replayed_entities["SOLID"], direct_entities["SOLID"]);
  EXPECT_EQ(replayed_entities["CIRCLE"], direct_entities["CIRCLE"]);
  EXPECT_EQ(replayed_entities["TEXT"], direct_entities["TEXT"]);
  EXPECT_EQ(replayed_entities["LINE"], direct_entities["LINE"] - 2);
  EXPECT_EQ(replayed_entities["POLYLINE"], direct_entities["POLYLINE"] + 2);
  const auto [plt_direct, plt_replayed] = direct_and_replayed(12);
  std::map<std::string, int> direct_labels = count_lines(plt_direct, {});
  std::map<std::string, int> replayed_labels = count_lines(plt_replayed, {});
  EXPECT_EQ(direct_labels, replayed_labels);
  const auto colour_notes = [](const std::string& text) {
    int n = 0;
    for (const std::string& line : crlf_lines(text)) {
      n += line.starts_with("CO\"1 ") ? 1 : 0;
    }
    return n;
  };
  EXPECT_GT(colour_notes(plt_direct), 5);
  EXPECT_EQ(colour_notes(plt_replayed), 2);  // the start's and the restored colour only
}

TEST_F(Metafile, CompleteMetafileIsAdoptedIntoANewSlotAndRecordingGoesOn) {
  int first = 0;
  WMetafileCreate(first);
  IGrSelect(4, first);
  draw_sample_picture();
  const std::string complete = complete_metafile(first);
  int second = 0;
  EXPECT_EQ(adopt_metafile(complete, second), 0);
  EXPECT_EQ(second, first + 1);
  IGrSelect(4, second);
  IGrJoin(0, 0, 50, 50);
  const CgmWalk walk = walk_cgm(complete_metafile(second));
  EXPECT_TRUE(walk.problems.empty()) << walk.problems.front();
  EXPECT_EQ(walk.pictures, 1);
  EXPECT_EQ(walk.count(4, 1), walk_cgm(complete).count(4, 1) + 1);

  int handle = -1;
  for (const std::string& bad :
       {std::string(), complete.substr(2), complete.substr(0, complete.size() - 3)}) {
    EXPECT_EQ(adopt_metafile(bad, handle), 1066);
  }
  for (int slot = 1; slot <= 20; ++slot) {
    drawing().metafile_used[static_cast<std::size_t>(slot)] = true;
  }
  errors().last_error = 0;
  EXPECT_EQ(adopt_metafile(complete, handle), 1060);
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(errors().last_error, 0);  // the caller reports
}

}  // namespace
}  // namespace quill::filetest
