#include "dialog/dialog_data.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using quill::DataEntry;
using quill::DataSection;
using quill::parse_dialog_data;

// Builds data the way the resource tools write it: every line ends with a blank and a
// line feed, the whole text with a zero byte.
std::string lines_of(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + " \n";
  text.push_back('\0');
  return text;
}

TEST(DialogData, CalculatorKeypadData) {
  const std::string data =
      lines_of({"[Dialog]", " 1     0 0", "[Fonts]", "40004   10 Courier New, 700 0",
                "40011   14 Microsoft Sans Serif, 700 0", " 1002   18 Lucida Sans Unicode, 700 1",
                "[Colours]", " 1002 000 000 160 256 256 256", "[Lengths]", " 1002    18", " 1003     2"});
  const auto entries = parse_dialog_data(data).entries;
  ASSERT_EQ(entries.size(), 7u);

  EXPECT_EQ(entries[0].section, DataSection::Dialog);
  EXPECT_EQ(entries[0].value, 1);
  EXPECT_TRUE(entries[0].has_anchor);
  EXPECT_EQ(entries[0].ints[0], 0);

  struct Font {
    int id;
    int points;
    const char* face;
    int weight;
    int italic;
  };
  const Font fonts[] = {{40004, 10, "Courier New", 700, 0},
                        {40011, 14, "Microsoft Sans Serif", 700, 0},
                        {1002, 18, "Lucida Sans Unicode", 700, 1}};
  for (int i = 0; i < 3; ++i) {
    const DataEntry& e = entries[static_cast<std::size_t>(1 + i)];
    EXPECT_EQ(e.section, DataSection::Fonts);
    EXPECT_EQ(e.field_id, fonts[i].id);
    EXPECT_EQ(e.ints[0], fonts[i].points);
    EXPECT_EQ(e.text, fonts[i].face);
    EXPECT_EQ(e.ints[1], fonts[i].weight);
    EXPECT_EQ(e.ints[2], fonts[i].italic);
  }
  EXPECT_EQ(entries[4].section, DataSection::Colours);
  EXPECT_EQ(entries[4].text_colour.blue, 160);
  EXPECT_EQ(entries[4].background_colour.red, 256);
  EXPECT_EQ(entries[5].field_id, 1002);
  EXPECT_EQ(entries[5].value, 18);
  EXPECT_EQ(entries[6].field_id, 1003);
  EXPECT_EQ(entries[6].value, 2);
}

TEST(DialogData, HeadersArePrefixesAndCaseSensitive) {
  const std::string data =
      lines_of({"7 1", "[Checks] anything after it", "  11 1", "[checks]", "[Flags]x", "12 3"});
  const auto entries = parse_dialog_data(data).entries;
  // "7 1" precedes every header; "[checks]" is an entry of [Checks] with identifier 0.
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].field_id, 11);
  EXPECT_EQ(entries[0].value, 1);
  EXPECT_EQ(entries[1].section, DataSection::Checks);
  EXPECT_EQ(entries[1].field_id, 0);
  EXPECT_EQ(entries[2].section, DataSection::Flags);
  EXPECT_EQ(entries[2].value, 3);
}

TEST(DialogData, MenuOptionsKeepLeadingBlanksAndOwnTheirLines) {
  const std::string data = lines_of({"[Menus]", " 300 3 0", "  word  ", "[Fonts]", "x", "[Checks]", "301 1"});
  const auto entries = parse_dialog_data(data).entries;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].field_id, 300);
  EXPECT_EQ(entries[0].selected, 0);
  // lines_of adds one more blank: "  word   " keeps only its leading blanks.
  EXPECT_EQ(entries[0].lines, (std::vector<std::string>{"  word", "[Fonts]", "x"}));
  EXPECT_EQ(entries[1].section, DataSection::Checks);
  EXPECT_EQ(entries[1].field_id, 301);
}

TEST(DialogData, TabTextsLoseTheirLastCharacter) {
  const std::string data = lines_of({"[Tabs]", "400 2 502", "  501   First page", "502 Second"});
  const auto entries = parse_dialog_data(data).entries;
  ASSERT_EQ(entries.size(), 1u);
  ASSERT_EQ(entries[0].tabs.size(), 2u);
  EXPECT_EQ(entries[0].selected, 502);
  EXPECT_EQ(entries[0].tabs[0].page_id, 501);
  EXPECT_EQ(entries[0].tabs[0].text, "First page");
  EXPECT_EQ(entries[0].tabs[1].text, "Second");
  // Whatever the last character is, it goes.
  const auto bare = parse_dialog_data("[Tabs]\n400 1 0\n501 Page");
  ASSERT_EQ(bare.entries.size(), 1u);
  EXPECT_EQ(bare.entries[0].tabs[0].text, "Pag");
}

TEST(DialogData, ValuesOfTheRemainingSections) {
  const std::string data =
      lines_of({"[Ranges]", "10 -2.5 1.5E2", "[Trackbars]", "11 5 1 10 2 8", "[Formats]", "12 (F8.2)   ",
                "[Treeviews]", "13 3000 3002", "[Grids]", "14 columns 4 5  ", "[Dialog]", "0 15 1",
                "[Dialog]", "1", "[Graphics]", "  0", "16 7"});
  const auto entries = parse_dialog_data(data).entries;
  ASSERT_EQ(entries.size(), 9u);
  EXPECT_DOUBLE_EQ(entries[0].low, -2.5);
  EXPECT_DOUBLE_EQ(entries[0].high, 150.0);
  EXPECT_EQ(std::vector<int>(entries[1].ints, entries[1].ints + 5), (std::vector<int>{5, 1, 10, 2, 8}));
  EXPECT_EQ(entries[2].text, "(F8.2)");
  EXPECT_EQ(entries[3].ints[0], 3000);
  EXPECT_EQ(entries[3].ints[1], 3002);
  EXPECT_EQ(entries[4].section, DataSection::Grids);
  EXPECT_EQ(entries[4].field_id, 14);
  EXPECT_EQ(entries[4].text, "columns 4 5");
  EXPECT_EQ(entries[5].section, DataSection::Dialog);
  EXPECT_TRUE(entries[5].has_anchor);
  EXPECT_EQ(entries[5].ints[0], 15);
  EXPECT_EQ(entries[5].ints[1], 1);
  EXPECT_FALSE(entries[6].has_anchor);
  EXPECT_EQ(entries[6].value, 1);
  // A graphics entry is a field identifier (0: the dialog); values after it are ignored.
  EXPECT_EQ(entries[7].section, DataSection::Graphics);
  EXPECT_EQ(entries[7].field_id, 0);
  EXPECT_EQ(entries[8].field_id, 16);
}

TEST(DialogData, MalformedDataIsSkippedNotOverrun) {
  struct Case {
    std::string data;
    std::size_t entries;
  };
  const Case cases[] = {
      {"", 0},
      {"[Fonts]", 0},
      {"[Fonts]\n1 10 Courier New 700 0\n", 0},           // face without a comma
      {"[Fonts]\n1 10 Courier", 0},                       // cut inside the face
      {"[Menus]\n5 9 1\nonly one\n", 1},                  // fewer option lines than counted
      {"[Tabs]\n5 2147483647 0\n", 1},                    // huge count, no lines
      {"[Checks]\n5 1\0[Checks]\n6 1\n", 1},              // the zero byte ends the data
      {"[Lengths]\n\n  \n9 99999999999999999999\n-", 2},  // empty lines are passed over
      {"[Colours]\n1 -", 1},
  };
  for (const Case& c : cases) {
    const auto parsed = parse_dialog_data(c.data);
    EXPECT_EQ(parsed.entries.size(), c.entries) << c.data;
  }
  const auto overflow = parse_dialog_data("[Lengths]\n9 99999999999999999999 \n1 -2147483649 \n");
  ASSERT_EQ(overflow.entries.size(), 2u);
  EXPECT_EQ(overflow.entries[0].value, 2147483647);
  EXPECT_EQ(overflow.entries[1].value, -2147483647 - 1);

  const std::string long_face = "[Fonts]\n1 9 " + std::string(40, 'F') + ", 400 0 \n";
  const auto fonts = parse_dialog_data(long_face);
  ASSERT_EQ(fonts.entries.size(), 1u);
  EXPECT_EQ(fonts.entries[0].text.size(), quill::kFaceNameLimit);
  EXPECT_EQ(fonts.entries[0].ints[1], 400);
}

TEST(DialogData, ColourTriples) {
  struct Case {
    quill::ColourTriple triple;
    bool stores;
    int colour;
  };
  const Case cases[] = {
      {{256, 256, 256}, true, -1},         {{-1, 5, 5}, false, 0},
      {{0, 0, 160}, true, 160 << 16},      {{255, 255, 255}, true, 0xFFFFFF},
      {{0x1FF, 0x101, 2}, true, 0x0201FF},
  };
  for (const Case& c : cases) {
    int colour = 12345;
    EXPECT_EQ(quill::colour_from_triple(c.triple, colour), c.stores);
    EXPECT_EQ(colour, c.stores ? c.colour : 12345);
  }
}

}  // namespace
