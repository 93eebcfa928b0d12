// Menu identifier tables, menu help texts, toolbar data and status-bar part layout.
#include "core/menu_tables.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> words(std::initializer_list<int> values) {
  std::vector<unsigned char> bytes;
  for (int v : values) {
    bytes.push_back(static_cast<unsigned char>(v & 0xFF));
    bytes.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
  }
  return bytes;
}

TEST(MenuIdTable, PathsOfPositions) {
  // The menu bar's four items, then an item two levels down.
  const auto data =
      words({40001, 1, 0, 40007, 2, 0, 40010, 3, 0, 40009, 4, 0, 50000, 2, 3, 1, 0, 0, 60000, 1, 0});
  const auto entries = quill::parse_menu_id_table(data);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].id, 40001);
  EXPECT_EQ(entries[0].path, std::vector<int>{1});
  EXPECT_EQ(entries[3].id, 40009);
  EXPECT_EQ(entries[3].path, std::vector<int>{4});
  EXPECT_EQ(entries[4].id, 50000);
  EXPECT_EQ(entries[4].path, (std::vector<int>{2, 3, 1}));  // the 0 id ended the table
}

TEST(MenuIdTable, TruncatedAndOddData) {
  struct Case {
    std::vector<unsigned char> data;
    std::size_t entries;
  };
  const Case cases[] = {
      {{}, 0},
      {words({40001}), 0},                  // no path, no end
      {words({40001, 1}), 0},               // path without its 0
      {words({40001, 0, 40002, 2, 0}), 1},  // empty path skipped, next kept
      {words({65535, 1, 0}), 1},            // unsigned words
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quill::parse_menu_id_table(c.data).size(), c.entries);
  }
  auto odd = words({40001, 1, 0});
  odd.push_back(7);  // a lone last byte is not a word
  EXPECT_EQ(quill::parse_menu_id_table(odd).size(), 1u);
  EXPECT_EQ(quill::parse_menu_id_table(words({65535, 1, 0}))[0].id, 65535);
}

TEST(MenuStrings, FindsTheTextOfAnIdentifier) {
  std::vector<unsigned char> data = words({40002});
  for (char c : std::string("New file")) data.push_back(static_cast<unsigned char>(c));
  data.push_back(0);
  for (unsigned char b : words({40006})) data.push_back(b);
  data.push_back(0);  // empty text
  for (unsigned char b : words({40007})) data.push_back(b);
  for (char c : std::string("Unterminated")) data.push_back(static_cast<unsigned char>(c));

  EXPECT_EQ(quill::find_menu_string(data, 40002), "New file");
  EXPECT_EQ(quill::find_menu_string(data, 40006), "");
  EXPECT_EQ(quill::find_menu_string(data, 40007), "Unterminated");
  EXPECT_EQ(quill::find_menu_string(data, 12345), "");

  std::vector<unsigned char> ended = words({40002, 0, 40009});  // id 0 ends the list
  EXPECT_EQ(quill::find_menu_string(ended, 40009), "");
}

TEST(ToolbarData, ItemsUntilTwoZeros) {
  quill::ToolbarData toolbar;
  ASSERT_TRUE(quill::parse_toolbar_data(words({16, 15, 40002, 40003, 0, 40005, 0, 0, 99}), toolbar));
  EXPECT_EQ(toolbar.image_width, 16);
  EXPECT_EQ(toolbar.image_height, 15);
  EXPECT_EQ(toolbar.commands, (std::vector<int>{40002, 40003, 0, 40005}));

  ASSERT_TRUE(quill::parse_toolbar_data(words({8, 8, 1, 0}), toolbar));  // no terminator
  EXPECT_EQ(toolbar.commands, std::vector<int>{1});
  EXPECT_FALSE(quill::parse_toolbar_data(words({8}), toolbar));
}

TEST(StatusParts, RunningEdgesAndSharedRest) {
  struct Case {
    std::vector<int> widths;
    int client;
    std::vector<int> edges;
  };
  const Case cases[] = {
      {{100, 50}, 400, {100, 150}},
      {{100, -1}, 400, {100, 400}},
      {{100, -1, 20}, 400, {100, 250, 400}},  // the parts after -1 share too
      {{-1}, 300, {300}},
      {{500, -1}, 400, {500, 500}},  // nothing left to share
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quill::status_part_edges(c.widths, c.client), c.edges);
  }
}

}  // namespace
