#include "editor/text_store.hpp"

#include <algorithm>
#include <cstring>

namespace quill {

void TextStore::assign(std::u16string text) {
  buffer_ = std::move(text);
  gap_begin_ = gap_end_ = buffer_.size();
  starts_.clear();
  starts_.push_back(0);
  widest_ = 0;
  const std::u16string_view all(buffer_);
  std::size_t start = 0;
  for (std::size_t at = all.find(u'\r'); at != std::u16string_view::npos; at = all.find(u'\r', start)) {
    widest_ = std::max(widest_, at - start);
    start = at + 1;
    starts_.push_back(static_cast<std::uint32_t>(start));
  }
  widest_ = std::max(widest_, all.size() - start);
}

std::size_t TextStore::line_of(std::size_t position) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
  return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

void TextStore::move_gap(std::size_t position) {
  if (position < gap_begin_) {
    const std::size_t n = gap_begin_ - position;
    std::memmove(&buffer_[gap_end_ - n], &buffer_[position], n * sizeof(char16_t));
    gap_begin_ -= n;
    gap_end_ -= n;
  } else if (position > gap_begin_) {
    const std::size_t n = position - gap_begin_;
    std::memmove(&buffer_[gap_begin_], &buffer_[gap_end_], n * sizeof(char16_t));
    gap_begin_ += n;
    gap_end_ += n;
  }
}

// Widens the gap to hold units more, by at least an eighth of the text so that typing
// reallocates rarely.
void TextStore::make_room(std::size_t units) {
  if (gap_size() >= units) return;
  // A gap at the end grows into the buffer's spare capacity first.
  if (gap_end_ == buffer_.size() && buffer_.capacity() - gap_begin_ >= units) {
    buffer_.resize(buffer_.capacity());
    gap_end_ = buffer_.size();
    return;
  }
  const std::size_t after = buffer_.size() - gap_end_;
  const std::size_t gap = std::max(units, size() / 8 + 4096);
  std::u16string grown(gap_begin_ + gap + after, u'\0');
  std::memcpy(grown.data(), buffer_.data(), gap_begin_ * sizeof(char16_t));
  std::memcpy(grown.data() + gap_begin_ + gap, buffer_.data() + gap_end_, after * sizeof(char16_t));
  buffer_ = std::move(grown);
  gap_end_ = gap_begin_ + gap;
}

void TextStore::replace(std::size_t from, std::size_t to, std::u16string_view text) {
  // The line index: starts inside the replaced units go, later ones shift, the inserted
  // line ends add theirs.
  const std::size_t first = line_of(from);
  const std::size_t last = line_of(to);
  const auto erase_at = starts_.begin() + static_cast<std::ptrdiff_t>(first + 1);
  starts_.erase(erase_at, starts_.begin() + static_cast<std::ptrdiff_t>(last + 1));
  const std::ptrdiff_t delta =
      static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(to - from);
  for (std::size_t k = first + 1; k < starts_.size(); ++k) {
    starts_[k] = static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(starts_[k]) + delta);
  }
  std::vector<std::uint32_t> added;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') added.push_back(static_cast<std::uint32_t>(from + i + 1));
  }
  starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(first + 1), added.begin(), added.end());
  // The units themselves: the gap swallows from..to and takes the new text.
  move_gap(to);
  gap_begin_ = from;
  make_room(text.size());
  if (!text.empty()) std::memcpy(&buffer_[gap_begin_], text.data(), text.size() * sizeof(char16_t));
  gap_begin_ += text.size();
  for (std::size_t line = first; line <= first + added.size(); ++line) {
    widest_ = std::max(widest_, line_end(line) - line_start(line));
  }
}

void TextStore::copy(std::size_t from, std::size_t to, char16_t* out) const {
  if (from < gap_begin_) {
    const std::size_t n = std::min(to, gap_begin_) - from;
    std::memcpy(out, buffer_.data() + from, n * sizeof(char16_t));
    out += n;
    from += n;
  }
  if (from < to) std::memcpy(out, buffer_.data() + from + gap_size(), (to - from) * sizeof(char16_t));
}

std::u16string TextStore::text(std::size_t from, std::size_t to) const {
  std::u16string out(to - from, u'\0');
  copy(from, to, out.data());
  return out;
}

std::u16string_view TextStore::whole() {
  move_gap(size());
  return std::u16string_view(buffer_.data(), gap_begin_);
}

std::u16string with_return_line_ends(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    out.push_back(text[i] == u'\n' ? u'\r' : text[i]);
  }
  return out;
}

}  // namespace quill
