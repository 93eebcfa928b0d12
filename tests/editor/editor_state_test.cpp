#include "editor/editor_state.hpp"

#include <gtest/gtest.h>

namespace {

TEST(EditorBookmarks, NextPreviousWrapAndFollowEdits) {
  quill::Bookmarks marks;
  EXPECT_FALSE(marks.next(0));
  for (int line : {10, 2, 20}) EXPECT_TRUE(marks.toggle(line));
  EXPECT_EQ(marks.next(2), 10);
  EXPECT_EQ(marks.next(20), 2);
  EXPECT_EQ(marks.previous(2), 20);
  EXPECT_EQ(marks.previous(15), 10);
  marks.edited(5, 3);  // three lines inserted below line 5
  EXPECT_EQ(marks.lines(), (std::vector<int>{2, 13, 23}));
  marks.edited(10, -5);  // lines 11..15 removed: 13 joins line 10
  EXPECT_EQ(marks.lines(), (std::vector<int>{2, 10, 18}));
  marks.edited(9, -20);
  EXPECT_EQ(marks.lines(), (std::vector<int>{2, 9}));
  EXPECT_FALSE(marks.toggle(9));
  EXPECT_EQ(marks.lines(), (std::vector<int>{2}));
}

TEST(EditorCommandHistory, WalksOlderAndNewer) {
  quill::CommandHistory history;
  EXPECT_FALSE(history.older());
  for (const char* line : {"one", "two", "two", "", "three"}) history.add(line);
  EXPECT_EQ(history.lines().size(), 3u);
  EXPECT_EQ(history.older(), "three");
  EXPECT_EQ(history.older(), "two");
  EXPECT_EQ(history.older(), "one");
  EXPECT_FALSE(history.older());
  EXPECT_EQ(history.newer(), "two");
  EXPECT_EQ(history.newer(), "three");
  EXPECT_EQ(history.newer(), "");
  EXPECT_FALSE(history.newer());
  for (int i = 0; i < 150; ++i) history.add(std::to_string(i));
  EXPECT_EQ(history.lines().size(), quill::CommandHistory::kLimit);
  EXPECT_EQ(history.lines().front(), "50");
}

TEST(EditorBuffers, AllocateUntilFullAndRelease) {
  quill::TextBuffers buffers;
  for (int n = 1; n <= quill::TextBuffers::kCount; ++n) EXPECT_EQ(buffers.allocate(), n);
  EXPECT_EQ(buffers.allocate(), 0);
  EXPECT_TRUE(buffers.release(5));
  EXPECT_FALSE(buffers.release(5));
  EXPECT_EQ(buffers.slot(5), nullptr);
  EXPECT_EQ(buffers.slot(0), nullptr);
  EXPECT_EQ(buffers.allocate(), 5);
  *buffers.slot(5) = u"kept";
  EXPECT_EQ(*buffers.slot(5), u"kept");
}

}  // namespace
