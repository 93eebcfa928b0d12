#include "editor/editor_state.hpp"

#include <algorithm>

namespace quill {

bool Bookmarks::toggle(int line) {
  const auto at = std::lower_bound(lines_.begin(), lines_.end(), line);
  if (at != lines_.end() && *at == line) {
    lines_.erase(at);
    return false;
  }
  lines_.insert(at, line);
  return true;
}

std::optional<int> Bookmarks::next(int line) const {
  if (lines_.empty()) return std::nullopt;
  const auto at = std::upper_bound(lines_.begin(), lines_.end(), line);
  return at == lines_.end() ? lines_.front() : *at;
}

std::optional<int> Bookmarks::previous(int line) const {
  if (lines_.empty()) return std::nullopt;
  const auto at = std::lower_bound(lines_.begin(), lines_.end(), line);
  return at == lines_.begin() ? lines_.back() : *(at - 1);
}

void Bookmarks::edited(int line, int delta) {
  if (delta == 0) return;
  for (int& mark : lines_) {
    if (mark <= line) continue;
    mark = delta < 0 && mark <= line - delta ? line : mark + delta;
  }
  lines_.erase(std::unique(lines_.begin(), lines_.end()), lines_.end());
}

void CommandHistory::add(const std::string& line) {
  if (!line.empty() && (lines_.empty() || lines_.back() != line)) {
    lines_.push_back(line);
    if (lines_.size() > kLimit) lines_.erase(lines_.begin());
  }
  walk_ = lines_.size();
}

std::optional<std::string> CommandHistory::older() {
  if (walk_ == 0 || lines_.empty()) return std::nullopt;
  walk_ = std::min(walk_, lines_.size()) - 1;
  return lines_[walk_];
}

std::optional<std::string> CommandHistory::newer() {
  if (walk_ >= lines_.size()) return std::nullopt;
  ++walk_;
  return walk_ == lines_.size() ? std::string() : lines_[walk_];
}

int TextBuffers::allocate() {
  for (int n = 1; n <= kCount; ++n) {
    auto& s = slots_[static_cast<std::size_t>(n - 1)];
    if (!s) {
      s.emplace();
      return n;
    }
  }
  return 0;
}

std::u16string* TextBuffers::slot(int number) {
  if (number < 1 || number > kCount) return nullptr;
  auto& s = slots_[static_cast<std::size_t>(number - 1)];
  return s ? &*s : nullptr;
}

const std::u16string* TextBuffers::slot(int number) const {
  return const_cast<TextBuffers*>(this)->slot(number);
}

bool TextBuffers::release(int number) {
  if (slot(number) == nullptr) return false;
  slots_[static_cast<std::size_t>(number - 1)].reset();
  return true;
}

}  // namespace quill
