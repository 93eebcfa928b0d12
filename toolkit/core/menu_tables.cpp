// Readers of the menu identifier table, the menu help texts and the toolbar data, and the
// status-bar part layout.
#include "menu_tables.hpp"

namespace quill {
namespace {

// Little-endian 16-bit words over a byte span; an odd last byte is ignored.
class WordReader {
 public:
  explicit WordReader(std::span<const unsigned char> data) : data_(data) {}
  bool next(int& word) {
    if (pos_ + 2 > data_.size()) return false;
    word = data_[pos_] | (data_[pos_ + 1] << 8);
    pos_ += 2;
    return true;
  }
  std::size_t position() const { return pos_; }

 private:
  std::span<const unsigned char> data_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<MenuIdEntry> parse_menu_id_table(std::span<const unsigned char> data) {
  std::vector<MenuIdEntry> entries;
  WordReader reader(data);
  int id = 0;
  while (reader.next(id) && id != 0) {
    MenuIdEntry entry;
    entry.id = id;
    int position = 0;
    bool ended = false;
    while (reader.next(position)) {
      if (position == 0) {
        ended = true;
        break;
      }
      entry.path.push_back(position);
    }
    if (!ended) break;
    if (!entry.path.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

std::string_view find_menu_string(std::span<const unsigned char> data, int id) {
  std::size_t pos = 0;
  while (pos + 2 <= data.size()) {
    const int entry_id = data[pos] | (data[pos + 1] << 8);
    if (entry_id == 0) break;
    pos += 2;
    std::size_t end = pos;
    while (end < data.size() && data[end] != 0) ++end;
    if (entry_id == id) {
      return {reinterpret_cast<const char*>(data.data()) + pos, end - pos};
    }
    pos = end + 1;
  }
  return {};
}

bool parse_toolbar_data(std::span<const unsigned char> data, ToolbarData& toolbar) {
  WordReader reader(data);
  ToolbarData result;
  if (!reader.next(result.image_width) || !reader.next(result.image_height)) return false;
  int command = 0;
  bool last_was_zero = false;
  while (reader.next(command)) {
    if (command == 0 && last_was_zero) {
      result.commands.pop_back();
      break;
    }
    last_was_zero = command == 0;
    result.commands.push_back(command);
  }
  // A trailing separator left by data that ends without its terminator is dropped.
  while (!result.commands.empty() && result.commands.back() == 0) result.commands.pop_back();
  toolbar = std::move(result);
  return true;
}

std::vector<int> status_part_edges(std::span<const int> widths, int client_width) {
  std::vector<int> edges;
  edges.reserve(widths.size());
  int edge = 0;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] == -1) {
      const int sharing = static_cast<int>(widths.size() - i);
      const int rest = client_width > edge ? client_width - edge : 0;
      for (int k = 1; k <= sharing; ++k) edges.push_back(edge + rest * k / sharing);
      return edges;
    }
    edge += widths[i] > 0 ? widths[i] : 0;
    edges.push_back(edge);
  }
  return edges;
}

}  // namespace quill
