// The raw-data tables that come with a menu: the menu identifier table and the
// "KVSMENUSTRING" help texts. Readers only; they stop at the end of the data.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace quill {

// One entry of a menu identifier table: the identifier and the 1-based positions that
// lead to the item (every position but the last opens a pop-up).
struct MenuIdEntry {
  int id = 0;
  std::vector<int> path;
};

// 16-bit little-endian words: id, positions..., 0; an id of 0 ends the table. An entry
// cut short by the end of the data or with an empty path is left out.
std::vector<MenuIdEntry> parse_menu_id_table(std::span<const unsigned char> data);

// Help text for command id in a "KVSMENUSTRING" list (16-bit id, NUL-terminated text;
// id 0 ends it). Empty when the id is not listed.
std::string_view find_menu_string(std::span<const unsigned char> data, int id);

// Toolbar raw data: image width and height, then one command id per item (0 for a
// separator), ended by two 0 words in a row (or the end of the data).
struct ToolbarData {
  int image_width = 0;
  int image_height = 0;
  std::vector<int> commands;
};
// False when the data is too short to hold the image size.
bool parse_toolbar_data(std::span<const unsigned char> data, ToolbarData& toolbar);

// Right edges of the status-bar parts for client_width: each width adds to the running
// edge; from the first -1 on, the parts share the remaining width equally.
std::vector<int> status_part_edges(std::span<const int> widths, int client_width);

}  // namespace quill
