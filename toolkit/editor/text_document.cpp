#include "editor/text_document.hpp"

#include <algorithm>

#include "editor/editor_text.hpp"

namespace quill {
namespace {

bool high_surrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool low_surrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

}  // namespace

void TextDocument::set_text(std::u16string text) {
  store_.assign(std::move(text));
  start_afresh();
}

void TextDocument::set_bytes(std::shared_ptr<const void> owner, std::string_view bytes,
                             TextEncoding& encoding) {
  store_.assign_bytes(std::move(owner), bytes, encoding);
  start_afresh();
}

void TextDocument::start_afresh() {
  anchor_ = caret_ = 0;
  has_goal_ = typing_open_ = false;
  undo_.clear();
  redo_.clear();
  modified = false;
}

void TextDocument::select(std::size_t anchor, std::size_t caret) {
  const auto settle = [this](std::size_t at) {
    at = std::min(at, store_.size());
    if (at > 0 && at < store_.size() && low_surrogate(store_.at(at)) && high_surrogate(store_.at(at - 1)))
      --at;
    return at;
  };
  anchor_ = settle(anchor);
  caret_ = settle(caret);
  has_goal_ = typing_open_ = false;
}

void TextDocument::replace_selection(std::u16string_view text, bool undoable, bool typed) {
  const std::size_t from = selection_begin(), to = selection_end();
  if (from == to && text.empty()) return;
  const bool joins = typed && typing_open_ && from == to && !undo_.empty() && undo_.back().typing &&
                     undo_.back().from + undo_.back().inserted == from;
  if (joins) {
    undo_.back().inserted += text.size();
  } else if (undoable) {
    undo_.push_back(Change{from, text.size(), store_.text(from, to), anchor_, caret_, typed});
  } else {
    undo_.clear();
  }
  redo_.clear();
  store_.replace(from, to, text);
  anchor_ = caret_ = from + text.size();
  has_goal_ = false;
  typing_open_ = typed && text.find(u'\r') == std::u16string_view::npos;
  modified = true;
}

void TextDocument::erase_backward() {
  if (anchor_ == caret_) {
    if (caret_ == 0) return;
    const bool pair =
        caret_ >= 2 && low_surrogate(store_.at(caret_ - 1)) && high_surrogate(store_.at(caret_ - 2));
    anchor_ = caret_ - (pair ? 2 : 1);
  }
  replace_selection({});
}

void TextDocument::erase_forward() {
  if (anchor_ == caret_) {
    if (caret_ == store_.size()) return;
    select(caret_, caret_ + 1);
    if (caret_ == anchor_) caret_ = std::min(anchor_ + 2, store_.size());  // a surrogate pair
  }
  replace_selection({});
}

TextDocument::Change TextDocument::swap(Change change) {
  Change inverse{
      change.from,   change.removed.size(), store_.text(change.from, change.from + change.inserted),
      change.anchor, change.caret,          false};
  store_.replace(change.from, change.from + change.inserted, change.removed);
  has_goal_ = typing_open_ = false;
  modified = true;
  return inverse;
}

bool TextDocument::step(std::vector<Change>& from, std::vector<Change>& to) {
  if (from.empty()) return false;
  Change change = std::move(from.back());
  from.pop_back();
  to.push_back(swap(std::move(change)));
  return true;
}

bool TextDocument::undo() {
  if (!step(undo_, redo_)) return false;
  anchor_ = std::min(redo_.back().anchor, store_.size());
  caret_ = std::min(redo_.back().caret, store_.size());
  return true;
}

bool TextDocument::redo() {
  if (!step(redo_, undo_)) return false;
  anchor_ = caret_ = undo_.back().from + undo_.back().inserted;
  return true;
}

int TextDocument::kind_at(std::size_t position) const {
  const char16_t c = store_.at(position);
  if (c == u'\r') return 3;
  if (c == u' ' || c == u'\t') return 0;
  return word_character(c) ? 1 : 2;
}

void TextDocument::select_word(std::size_t position) {
  position = std::min(position, store_.size());
  std::size_t from = position, to = position;
  if (position < store_.size() && kind_at(position) != 3) {
    to = position + 1;
  } else if (position > 0 && kind_at(position - 1) != 3) {
    from = position - 1;
  } else {
    select(position, position);
    return;
  }
  const int kind = kind_at(from);
  while (from > 0 && kind_at(from - 1) == kind) --from;
  while (to < store_.size() && kind_at(to) == kind) ++to;
  select(from, to);
}

std::size_t TextDocument::column_of(std::size_t position) const {
  std::size_t column = 0;
  for (std::size_t at = store_.line_start(store_.line_of(position)); at < position; ++at) {
    column = store_.at(at) == u'\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
  }
  return column;
}

std::size_t TextDocument::position_at(std::size_t line, std::size_t column) const {
  line = std::min(line, store_.line_count() - 1);
  const std::size_t end = store_.line_end(line);
  std::size_t at = store_.line_start(line), reached = 0;
  for (; at < end; ++at) {
    const std::size_t next = store_.at(at) == u'\t' ? (reached / kTabWidth + 1) * kTabWidth : reached + 1;
    // A column inside a tab's cells goes to the nearer side of the tab.
    if (next > column) return column - reached <= next - column ? at : at + 1;
    reached = next;
  }
  return end;
}

void TextDocument::finish_move(std::size_t caret, bool extend, bool keep_goal) {
  const std::size_t goal = goal_column_;
  const bool had_goal = has_goal_;
  select(extend ? anchor_ : caret, caret);
  if (keep_goal) {
    goal_column_ = goal;
    has_goal_ = had_goal;
  }
}

void TextDocument::move(Motion motion, bool extend, std::size_t page_lines) {
  const std::size_t line = store_.line_of(caret_);
  const std::size_t last_line = store_.line_count() - 1;
  std::size_t to = caret_;
  switch (motion) {
    case Motion::Left:
      // Without Shift a selection collapses to its start.
      if (!extend && anchor_ != caret_)
        to = selection_begin();
      else if (caret_ > 0)
        to = caret_ - 1;
      break;
    case Motion::Right:
      if (!extend && anchor_ != caret_)
        to = selection_end();
      else if (caret_ < store_.size())
        to = caret_ + 1 + (high_surrogate(store_.at(caret_)) ? 1 : 0);
      break;
    case Motion::LineStart: to = store_.line_start(line); break;
    case Motion::LineEnd: to = store_.line_end(line); break;
    case Motion::TextStart: to = 0; break;
    case Motion::TextEnd: to = store_.size(); break;
    case Motion::WordRight:
      if (caret_ < store_.size()) {
        const int kind = kind_at(caret_);
        to = caret_ + 1;
        if (kind != 3) {
          while (to < store_.size() && kind != 0 && kind_at(to) == kind) ++to;
          while (to < store_.size() && kind_at(to) == 0) ++to;
        }
      }
      break;
    case Motion::WordLeft:
      // Back over blanks, then over the word before them; a line end alone is a step.
      while (to > 0 && kind_at(to - 1) == 0) --to;
      if (to > 0 && kind_at(to - 1) == 3) {
        if (to == caret_) --to;
      } else if (to > 0) {
        const int kind = kind_at(to - 1);
        while (to > 0 && kind_at(to - 1) == kind) --to;
      }
      break;
    case Motion::Up:
    case Motion::Down:
    case Motion::PageUp:
    case Motion::PageDown: {
      if (!has_goal_) goal_column_ = column_of(caret_);
      has_goal_ = true;
      const std::size_t step =
          motion == Motion::Up || motion == Motion::Down ? 1 : std::max<std::size_t>(page_lines, 1);
      const bool up = motion == Motion::Up || motion == Motion::PageUp;
      const std::size_t target = up ? (line >= step ? line - step : 0) : std::min(line + step, last_line);
      // Up on the first line goes to its start, Down on the last to its end.
      if (target == line)
        to = up ? 0 : store_.size();
      else
        to = position_at(target, goal_column_);
      finish_move(to, extend, target != line);
      return;
    }
  }
  finish_move(to, extend, false);
}

}  // namespace quill
