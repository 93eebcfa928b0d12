#include "dialog/dialog_data.hpp"

#include <array>
#include <climits>
#include <cstddef>

#include "base/error_state.hpp"
#include "quill/text.hpp"

namespace quill {
namespace {

struct Header {
  std::string_view word;
  DataSection section;
};

constexpr std::array<Header, 14> kHeaders = {{
    {"[Ranges]", DataSection::Ranges},
    {"[Menus]", DataSection::Menus},
    {"[Checks]", DataSection::Checks},
    {"[Tabs]", DataSection::Tabs},
    {"[Grids]", DataSection::Grids},
    {"[Colours]", DataSection::Colours},
    {"[Trackbars]", DataSection::Trackbars},
    {"[Lengths]", DataSection::Lengths},
    {"[Dialog]", DataSection::Dialog},
    {"[Formats]", DataSection::Formats},
    {"[Treeviews]", DataSection::Treeviews},
    {"[Fonts]", DataSection::Fonts},
    {"[Flags]", DataSection::Flags},
    {"[Graphics]", DataSection::Graphics},
}};

// Splits the data into lines without copying; the data ends at its first zero byte.
class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data.substr(0, data.find('\0'))) {}

  bool next(std::string_view& line) {
    if (pos_ >= data_.size()) return false;
    const std::size_t end = data_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? data_.size() : end;
    line = data_.substr(pos_, stop - pos_);
    pos_ = stop == data_.size() ? stop : stop + 1;
    return true;
  }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

// Reads the values of one line; never looks past its end.
class ValueReader {
 public:
  explicit ValueReader(std::string_view line) : line_(line) {}

  void skip_blanks() {
    while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
  }
  bool at_end() const { return pos_ >= line_.size(); }

  // A decimal integer with an optional "-"; it ends at the first non-digit and the
  // rest of its blank-separated token is skipped. An absent integer reads as 0.
  int next_int() {
    skip_blanks();
    bool negative = false;
    if (pos_ < line_.size() && line_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    long long magnitude = 0;
    while (pos_ < line_.size() && line_[pos_] >= '0' && line_[pos_] <= '9') {
      if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (line_[pos_] - '0');
      ++pos_;
    }
    skip_token();
    if (magnitude > INT_MAX) magnitude = negative ? static_cast<long long>(INT_MAX) + 1 : INT_MAX;
    return static_cast<int>(negative ? -magnitude : magnitude);
  }

  std::string_view next_token() {
    skip_blanks();
    const std::size_t start = pos_;
    skip_token();
    return line_.substr(start, pos_ - start);
  }

  // Everything from the current position to the end of the line.
  std::string_view rest() const { return line_.substr(pos_ < line_.size() ? pos_ : line_.size()); }

  // Text up to (not including) ch; false when the line holds no ch.
  bool take_until(char ch, std::string_view& text) {
    const std::size_t end = line_.find(ch, pos_);
    if (end == std::string_view::npos) return false;
    text = line_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return true;
  }

 private:
  void skip_token() {
    while (pos_ < line_.size() && line_[pos_] != ' ') ++pos_;
  }

  std::string_view line_;
  std::size_t pos_ = 0;
};

std::string_view trim_trailing_blanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view clip(std::string_view text, std::size_t limit) {
  return text.size() > limit ? text.substr(0, limit) : text;
}

// The toolkit's text-to-real conversion without a report; unreadable text is 0.
double token_to_real(std::string_view token) {
  double value = 0.0;
  if (token.empty()) return value;
  const int code = silent_try([&] { IStringToReal8(token, value); });
  return code == 0 ? value : 0.0;
}

bool header_of(std::string_view line, DataSection& section) {
  for (const Header& header : kHeaders) {
    if (line.substr(0, header.word.size()) == header.word) {
      section = header.section;
      return true;
    }
  }
  return false;
}

void read_colour(ValueReader& values, ColourTriple& colour) {
  colour.red = values.next_int();
  colour.green = values.next_int();
  colour.blue = values.next_int();
}

// Entries of sections that own following lines (menus and tabs) take them here.
void read_owned_lines(LineReader& lines, DataEntry& entry) {
  std::string_view line;
  for (int index = 0; index < entry.count && lines.next(line); ++index) {
    if (entry.section == DataSection::Menus) {
      entry.lines.emplace_back(trim_trailing_blanks(clip(line, kDataLineLimit)));
      continue;
    }
    ValueReader values(line);
    TabItem tab;
    tab.page_id = values.next_int();
    values.skip_blanks();
    std::string_view text = clip(values.rest(), kDataLineLimit);
    if (!text.empty()) text.remove_suffix(1);
    tab.text = std::string(text);
    entry.tabs.push_back(std::move(tab));
  }
}

// Fills entry from the values after the field identifier; false drops the entry.
bool read_entry(ValueReader& values, DataEntry& entry) {
  switch (entry.section) {
    case DataSection::Ranges:
      entry.low = token_to_real(values.next_token());
      entry.high = token_to_real(values.next_token());
      return true;
    case DataSection::Menus:
    case DataSection::Tabs:
      entry.count = values.next_int();
      entry.selected = values.next_int();
      if (entry.count < 0) entry.count = 0;
      return true;
    case DataSection::Checks:
    case DataSection::Lengths:
    case DataSection::Flags: entry.value = values.next_int(); return true;
    case DataSection::Colours:
      read_colour(values, entry.text_colour);
      read_colour(values, entry.background_colour);
      return true;
    case DataSection::Trackbars:
      for (int& value : entry.ints) value = values.next_int();
      return true;
    case DataSection::Formats:
    case DataSection::Grids:
      entry.text = std::string(trim_trailing_blanks(clip(values.rest(), kDataLineLimit)));
      return !entry.text.empty();
    case DataSection::Graphics: return true;
    case DataSection::Treeviews:
      entry.ints[0] = values.next_int();
      entry.ints[1] = values.next_int();
      return true;
    case DataSection::Fonts: {
      entry.ints[0] = values.next_int();
      values.skip_blanks();
      std::string_view face;
      if (!values.take_until(',', face)) return false;
      entry.text = std::string(clip(face, kFaceNameLimit));
      entry.ints[1] = values.next_int();
      entry.ints[2] = values.next_int();
      return true;
    }
    case DataSection::Dialog:
    case DataSection::None: break;
  }
  return false;
}

}  // namespace

DialogData parse_dialog_data(std::string_view data) {
  DialogData result;
  LineReader lines(data);
  DataSection section = DataSection::None;
  std::string_view line;
  while (lines.next(line)) {
    ValueReader values(line);
    values.skip_blanks();
    if (values.at_end() || header_of(values.rest(), section)) continue;
    if (section == DataSection::None) continue;
    DataEntry entry;
    entry.section = section;
    if (section == DataSection::Dialog) {
      entry.value = values.next_int();
      values.skip_blanks();
      if (!values.at_end()) {
        entry.has_anchor = true;
        entry.ints[0] = values.next_int();
        entry.ints[1] = values.next_int();
      }
      result.entries.push_back(std::move(entry));
      continue;
    }
    entry.field_id = values.next_int();
    values.skip_blanks();
    const bool keep = read_entry(values, entry);
    if (section == DataSection::Menus || section == DataSection::Tabs) {
      read_owned_lines(lines, entry);
    }
    if (keep) result.entries.push_back(std::move(entry));
  }
  return result;
}

bool colour_from_triple(const ColourTriple& triple, int& colour) {
  if (triple.red == -1) return false;
  if (triple.red == 256) {
    colour = -1;
    return true;
  }
  colour = (triple.red & 0xFF) | ((triple.green & 0xFF) << 8) | ((triple.blue & 0xFF) << 16);
  return true;
}

}  // namespace quill
