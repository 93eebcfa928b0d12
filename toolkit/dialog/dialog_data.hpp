// Extended dialog data: the text block that carries what a dialog template cannot
// (fonts, colours, lengths, ranges, option lists, tabs, ...). The parser turns the
// text into plain entries and touches no window; the Win32 applier puts them on controls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Sections in the order the parser tests their header words.
enum class DataSection : std::uint8_t {
  None,
  Ranges,
  Menus,
  Checks,
  Tabs,
  Grids,
  Colours,
  Trackbars,
  Lengths,
  Dialog,
  Formats,
  Treeviews,
  Fonts,
  Flags,
  Graphics,
};

struct ColourTriple {
  int red = 0;
  int green = 0;
  int blue = 0;
};

struct TabItem {
  int page_id = 0;
  std::string text;
};

// One entry of the data. Which members carry meaning depends on the section:
//   Ranges     low, high
//   Menus      count, selected, lines (the option texts, leading blanks kept)
//   Checks     value (check state)
//   Tabs       count, selected (page identifier to select), tabs
//   Colours    text_colour, background_colour
//   Trackbars  ints[0..4]: tick frequency, line size, page size, selection start, end
//   Lengths    value (maximum length)
//   Dialog     value (accelerator flag), has_anchor, ints[0] anchor, ints[1] alignment
//   Formats    text (the format, trailing blanks removed)
//   Grids      text (a grid set-up line after the field identifier, trailing blanks removed)
//   Treeviews  ints[0] menu resource, ints[1] selected item
//   Fonts      ints[0] points, text (face name), ints[1] weight, ints[2] italic
//   Flags      value
//   Graphics   field_id only: drawing into that field (0: the dialog itself) is enabled
struct DataEntry {
  DataSection section = DataSection::None;
  int field_id = 0;
  int value = 0;
  int count = 0;
  int selected = 0;
  bool has_anchor = false;
  int ints[5] = {0, 0, 0, 0, 0};
  double low = 0.0;
  double high = 0.0;
  ColourTriple text_colour;
  ColourTriple background_colour;
  std::string text;
  std::vector<std::string> lines;
  std::vector<TabItem> tabs;
};

struct DialogData {
  std::vector<DataEntry> entries;
};

// Longest option, tab or format text kept from one line.
inline constexpr std::size_t kDataLineLimit = 1024;
// Longest face name of a font entry (the platform's limit without its terminator).
inline constexpr std::size_t kFaceNameLimit = 31;

// Reads the data up to its first zero byte or the end of data, whichever comes
// first. Never reads outside data; what cannot be read is skipped.
DialogData parse_dialog_data(std::string_view data);

// The colour a triple stores into a field record: -1 for the default colour (red 256),
// keep (returns false) for red -1, else red + 256 green + 65536 blue, 8 bits each.
bool colour_from_triple(const ColourTriple& triple, int& colour);

}  // namespace quill
