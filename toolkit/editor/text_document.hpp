// What the plain-text view edits, without the window: the store, the selection, the caret's
// moves by key, undo and the modified flag. Columns count display cells: a tab reaches the
// next multiple of kTabWidth, every other unit takes one cell.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text_store.hpp"

namespace quill {

// WordLeft and WordRight (Ctrl+Left and Right) go to the start of the word before or after
// the caret: a word is a run of letters and digits or a run of other marks, the blanks
// after it belong to it, and a line end is a stop of its own.
enum class Motion {
  Left,
  Right,
  Up,
  Down,
  LineStart,
  LineEnd,
  PageUp,
  PageDown,
  TextStart,
  TextEnd,
  WordLeft,
  WordRight
};

class TextDocument {
 public:
  static constexpr std::size_t kTabWidth = 8;

  TextStore& store() { return store_; }
  const TextStore& store() const { return store_; }
  // A new text: caret at the start, no undo, not modified.
  void set_text(std::u16string text);
  // The same with a file's bytes (see TextStore::assign_bytes).
  void set_bytes(std::shared_ptr<const void> owner, std::string_view bytes, TextEncoding& encoding);

  std::size_t anchor() const { return anchor_; }
  std::size_t caret() const { return caret_; }
  std::size_t selection_begin() const { return std::min(anchor_, caret_); }
  std::size_t selection_end() const { return std::max(anchor_, caret_); }
  // Both ends are clamped to the text and kept off the middle of a surrogate pair.
  void select(std::size_t anchor, std::size_t caret);

  // Replaces the selection with text (line ends already single '\r's) and puts the caret
  // after it. Typed text joins the previous typing as one undo step until the caret moves
  // elsewhere or a line ends.
  void replace_selection(std::u16string_view text, bool undoable = true, bool typed = false);
  // Backspace and Delete: the selection, or one character before or after the caret.
  void erase_backward();
  void erase_forward();
  // Takes back the last change and selects where it was; false when there is none.
  bool undo();
  bool can_undo() const { return !undo_.empty(); }
  // Makes the last change undone again (until the text is changed otherwise).
  bool redo();
  bool can_redo() const { return !redo_.empty(); }
  void forget_undo() {
    undo_.clear();
    redo_.clear();
  }
  bool modified = false;

  // Moves the caret (extend: the anchor stays). Up and Down keep the column they started
  // from; a page is page_lines lines.
  void move(Motion motion, bool extend, std::size_t page_lines);
  std::size_t column_of(std::size_t position) const;
  // Selects the word at a position (a double click): the run of letters and digits, of
  // blanks or of other marks the character there (or else the one before) belongs to.
  void select_word(std::size_t position);
  // The position on line nearest to a column (the line's end when it is shorter).
  std::size_t position_at(std::size_t line, std::size_t column) const;

 private:
  struct Change {
    std::size_t from = 0;
    std::size_t inserted = 0;           // units now at from
    std::u16string removed;             // what they replaced
    std::size_t anchor = 0, caret = 0;  // the selection before
    bool typing = false;
  };
  void finish_move(std::size_t caret, bool extend, bool keep_goal);
  void start_afresh();
  // The word motions' and select_word's kind of the character at a position.
  int kind_at(std::size_t position) const;
  // Applies change (its units at from replaced by what it removed) and answers its inverse.
  Change swap(Change change);
  // Moves the last change of from to to, applied; false when from is empty.
  bool step(std::vector<Change>& from, std::vector<Change>& to);

  TextStore store_;
  std::size_t anchor_ = 0, caret_ = 0;
  std::size_t goal_column_ = 0;
  bool has_goal_ = false;
  bool typing_open_ = false;
  std::vector<Change> undo_, redo_;
};

}  // namespace quill
