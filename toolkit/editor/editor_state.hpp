// The editor's portable bookkeeping: bookmarks that follow edits, the command line's
// history and the numbered text buffers.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quill {

// Bookmarked lines (0-based), kept sorted.
class Bookmarks {
 public:
  // Sets a bookmark on line, or clears the one there; true when one is now set.
  bool toggle(int line);
  void clear() { lines_.clear(); }
  // The next bookmark after line (wrapping to the first), or the previous one before it
  // (wrapping to the last); nothing when there are none.
  std::optional<int> next(int line) const;
  std::optional<int> previous(int line) const;
  // An edit at line changed the number of lines by delta: bookmarks below it move;
  // bookmarks on lines the edit removed join the bookmark on line (at most one per line).
  void edited(int line, int delta);
  const std::vector<int>& lines() const { return lines_; }

 private:
  std::vector<int> lines_;
};

// Earlier command lines, newest last, walked with Up (older) and Down (newer).
class CommandHistory {
 public:
  static constexpr std::size_t kLimit = 100;
  // Adds a line (not an empty one, nor a repeat of the newest) and starts the walk again.
  void add(const std::string& line);
  // The line one step older or newer than the last one shown; nothing at either end
  // (Down past the newest gives an empty line).
  std::optional<std::string> older();
  std::optional<std::string> newer();
  bool empty() const { return lines_.empty(); }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
  std::size_t walk_ = 0;  // lines_.size() when not walking
};

// Numbered text buffers 1..kCount an application keeps texts in and switches between.
class TextBuffers {
 public:
  static constexpr int kCount = 32;
  // The lowest free number (0 when none is free), now in use and empty.
  int allocate();
  bool in_use(int number) const { return slot(number) != nullptr; }
  // The text of a buffer in use, or null.
  std::u16string* slot(int number);
  const std::u16string* slot(int number) const;
  // Frees a buffer; false when it was not in use.
  bool release(int number);

 private:
  std::array<std::optional<std::u16string>, kCount> slots_{};
};

}  // namespace quill
