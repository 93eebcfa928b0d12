#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "graphics/drawing_state.hpp"
#include "graphics/metafile/metafile_internal.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/metafile.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

class MetafileClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_drawing_for_tests();
    errors().last_error = 0;
  }
  void TearDown() override { reset_drawing_for_tests(); }
};

TEST_F(MetafileClipboard, RecordedMetafileComesBackIntoANewSlot) {
  int handle = 0;
  WMetafileCreate(handle);
  IGrSelect(4, handle);
  IGrUnits(0, 0, 100, 100);
  IGrColour("red");
  IGrJoin(10, 10, 90, 90);
  IGrFillPattern(4);
  IGrRectangle(20, 20, 40, 40);
  IGrCharOut(10, 80, "on the clipboard");
  WMetafileToClipboard(handle);
  ASSERT_EQ(errors().last_error, 0);
  int copy = 0;
  WMetafileFromClipboard(copy);
  ASSERT_EQ(errors().last_error, 0);
  EXPECT_NE(copy, handle);
  EXPECT_EQ(complete_metafile(copy), complete_metafile(handle));
}

TEST_F(MetafileClipboard, EmptyOrForeignClipboardAndBadHandlesAreReported) {
  WMetafileToClipboard(3);
  EXPECT_EQ(errors().last_error, 1060);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  errors().last_error = 0;
  int handle = -1;
  WMetafileFromClipboard(handle);
  EXPECT_EQ(handle, 0);
  EXPECT_NE(errors().last_error, 0);
}

}  // namespace
}  // namespace quill
