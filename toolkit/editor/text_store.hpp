// The plain-text view's store: one gap buffer of UTF-16 units plus the start of every
// line, both flat arrays, so a file of tens of megabytes takes one allocation for its
// text and one for its lines. A line ends with a single '\r' (CR LF and LF are turned
// into it on the way in); positions count UTF-16 units with each line end as one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TextStore {
 public:
  TextStore() { assign(std::u16string()); }
  // Takes text whose line ends are already single '\r's; builds the line index in one pass.
  void assign(std::u16string text);
  std::size_t size() const { return buffer_.size() - gap_size(); }
  char16_t at(std::size_t position) const {
    return buffer_[position < gap_begin_ ? position : position + gap_size()];
  }
  // Lines count from 0; there is always at least one.
  std::size_t line_count() const { return starts_.size(); }
  std::size_t line_start(std::size_t line) const { return starts_[line]; }
  // Where the line's text ends (at its '\r', or the end of the text for the last line).
  std::size_t line_end(std::size_t line) const {
    return line + 1 < starts_.size() ? starts_[line + 1] - 1 : size();
  }
  std::size_t line_of(std::size_t position) const;
  // The most units on one line, as far as the store has seen (it never shrinks).
  std::size_t widest_line() const { return widest_; }
  // Replaces units from..to (from <= to <= size()) with text (line ends as in assign).
  void replace(std::size_t from, std::size_t to, std::u16string_view text);
  // Copies units from..to into out, which must hold to - from units.
  void copy(std::size_t from, std::size_t to, char16_t* out) const;
  std::u16string text(std::size_t from, std::size_t to) const;
  // The whole text in one piece (the gap moves to the end, which costs nothing when it is
  // there already, as it is while someone types at the end).
  std::u16string_view whole();

 private:
  std::size_t gap_size() const { return gap_end_ - gap_begin_; }
  void move_gap(std::size_t position);
  void make_room(std::size_t units);

  std::u16string buffer_;  // text before the gap, the gap, text after it
  std::size_t gap_begin_ = 0;
  std::size_t gap_end_ = 0;
  std::vector<std::uint32_t> starts_;
  std::size_t widest_ = 0;
};

// Text from outside (the clipboard, a routine) with CR LF, LF and CR all made '\r'.
std::u16string with_return_line_ends(std::u16string_view text);

}  // namespace quill
