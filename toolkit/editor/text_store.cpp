#include "editor/text_store.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quill {
namespace {

constexpr std::size_t kBlockBytes = 1 << 16;
constexpr std::size_t kBlockUnits = 1 << 16;

bool high_surrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
char16_t unit_value(char c) { return static_cast<unsigned char>(c); }
char16_t unit_value(char16_t c) { return c; }

bool same_unit(char16_t a, char16_t b, bool exact) {
  return a == b || (!exact && fold_case(a) == fold_case(b));
}

// Units below 256 as a search compares them: folded unless the case must match (no unit
// from 256 up changes when folded).
std::array<char16_t, 256> fold_table(bool exact) {
  std::array<char16_t, 256> table{};
  for (std::size_t c = 0; c < table.size(); ++c) {
    table[c] = exact ? static_cast<char16_t>(c) : fold_case(static_cast<char16_t>(c));
  }
  return table;
}

// Horspool's search of hay for needle, the shift table keyed by the low byte of the
// (folded) unit, each key taking the smallest shift of the units that share it. Every
// match is offered to accept (with base added) until it answers true.
template <typename Unit, typename Accept>
bool horspool(const Unit* hay, std::size_t length, std::u16string_view needle, bool exact, std::size_t base,
              Accept&& accept) {
  const std::size_t n = needle.size();
  if (length < n) return false;
  static const std::array<char16_t, 256> folded = fold_table(false), kept = fold_table(true);
  const std::array<char16_t, 256>& table = exact ? kept : folded;
  const auto unit = [&table](char16_t c) { return c < 256 ? table[c] : c; };
  std::u16string pattern(needle);
  for (char16_t& c : pattern) c = unit(c);
  std::array<std::size_t, 256> shift;
  shift.fill(n);
  for (std::size_t i = 0; i + 1 < n; ++i) shift[pattern[i] & 0xFFu] = n - 1 - i;
  const char16_t tail = pattern[n - 1];
  for (std::size_t at = 0; at + n <= length;) {
    const char16_t last = unit(unit_value(hay[at + n - 1]));
    if (last == tail) {
      std::size_t k = 0;
      while (k + 1 < n && unit(unit_value(hay[at + k])) == pattern[k]) ++k;
      if (k + 1 >= n && accept(base + at)) return true;
    }
    at += shift[last & 0xFFu];
  }
  return false;
}

// The search of a run of ASCII bytes for an ASCII needle: sixteen places at a time are
// tried for the needle's first and last byte (a letter either case unless exact), and
// only those where both are right are compared further.
template <typename Accept>
bool search_bytes(const char* hay, std::size_t length, std::u16string_view needle, bool exact,
                  std::size_t base, Accept&& accept) {
  const std::size_t n = needle.size();
  if (length < n) return false;
  std::size_t at = 0;
#if defined(__SSE2__)
  const auto probe = [exact](char16_t c, __m128i& value, __m128i& blend) {
    const bool letter = !exact && ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'));
    value = _mm_set1_epi8(static_cast<char>(letter ? (c | 0x20u) : c));
    blend = _mm_set1_epi8(static_cast<char>(letter ? 0x20 : 0));
  };
  __m128i first, first_blend, last, last_blend;
  probe(needle[0], first, first_blend);
  probe(needle[n - 1], last, last_blend);
  for (; at + n - 1 + 16 <= length; at += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + at));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + at + n - 1));
    auto hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, first_blend), first),
                                        _mm_cmpeq_epi8(_mm_or_si128(b, last_blend), last))));
    for (; hits != 0; hits &= hits - 1) {
      const std::size_t place = at + static_cast<std::size_t>(std::countr_zero(hits));
      std::size_t k = 1;
      while (k + 1 < n && same_unit(unit_value(hay[place + k]), needle[k], exact)) ++k;
      if (k + 1 >= n && accept(base + place)) return true;
    }
  }
#endif
  return horspool(hay + at, length - at, needle, exact, base + at, accept);
}

// A needle a run of ASCII bytes can be searched for byte by byte: ASCII without line ends.
bool byte_needle(std::u16string_view needle) {
  return std::all_of(needle.begin(), needle.end(),
                     [](char16_t c) { return c > 0 && c < 0x80 && c != u'\r' && c != u'\n'; });
}

}  // namespace

void TextStore::assign(std::u16string text) {
  blocks_.clear();
  owner_.reset();
  borrowed_ = false;
  whole_ = std::u16string();
  whole_valid_ = false;
  starts_.assign(1, 0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') starts_.push_back(static_cast<std::uint32_t>(i + 1));
  }
  if (text.size() <= 2 * kBlockUnits)
    blocks_.push_back(Block{text.size(), nullptr, 0, false, std::move(text)});
  else
    blocks_ = split(text);
  settle();
}

std::vector<TextStore::Block> TextStore::split(std::u16string_view text) {
  std::vector<Block> pieces;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t cut = std::min(at + kBlockUnits, text.size());
    if (cut < text.size() && high_surrogate(text[cut - 1])) ++cut;
    pieces.push_back(Block{cut - at, nullptr, 0, false, std::u16string(text.substr(at, cut - at))});
    at = cut;
  }
  return pieces;
}

void TextStore::settle() {
  whole_ = std::u16string();
  whole_valid_ = false;
  renumber(0);
  widest_ = 0;
  for (std::size_t line = 0; line < starts_.size(); ++line)
    widest_ = std::max(widest_, line_end(line) - starts_[line]);
}

// One piece of a file kept as its bytes when it is ASCII without NUL and its lines end all
// in LF or all in CR LF; the line ends are found sixteen bytes at a time.
bool TextStore::add_run(std::string_view bytes) {
  const std::size_t first_new = starts_.size(), n = bytes.size();
  const char* p = bytes.data();
  bool any_cr = false, crlf_ok = true;
  unsigned carry = 0;  // the byte before was a CR
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf_bytes = _mm_set1_epi8('\n'), cr_bytes = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    if ((_mm_movemask_epi8(x) | _mm_movemask_epi8(_mm_cmpeq_epi8(x, zero))) != 0) {
      starts_.resize(first_new);
      return false;
    }
    auto lf = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, lf_bytes)));
    const auto cr = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, cr_bytes)));
    any_cr = any_cr || cr != 0;
    if ((((cr << 1) | carry) & 0xFFFFu) != lf) crlf_ok = false;
    carry = cr >> 15;
    for (; lf != 0; lf &= lf - 1) starts_.push_back(static_cast<std::uint32_t>(i + std::countr_zero(lf)));
  }
#endif
  for (; i < n; ++i) {
    const auto c = static_cast<unsigned char>(p[i]);
    if (c == 0 || c >= 0x80) {
      starts_.resize(first_new);
      return false;
    }
    const unsigned cr = c == '\r' ? 1 : 0, lf = c == '\n' ? 1 : 0;
    any_cr = any_cr || cr != 0;
    if (lf != carry) crlf_ok = false;
    carry = cr;
    if (lf != 0) starts_.push_back(static_cast<std::uint32_t>(i));
  }
  if (any_cr && (!crlf_ok || carry != 0)) {
    starts_.resize(first_new);
    return false;
  }
  // The line ends' byte offsets become the positions of the lines after them.
  std::size_t ends = 0;
  for (std::size_t k = first_new; k < starts_.size(); ++k) {
    ++ends;
    starts_[k] = static_cast<std::uint32_t>(size_ + starts_[k] + 1 - (any_cr ? ends : 0));
  }
  const std::size_t units = n - (any_cr ? ends : 0);
  blocks_.push_back(Block{units, p, n, any_cr, {}});
  size_ += units;
  return true;
}

// A piece of a file converted to units; false when the encoding does not give its bytes back.
bool TextStore::add_units(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8 && !plain_utf8(bytes)) return false;
  std::u16string text = decode_text_as(bytes, encoding);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') starts_.push_back(static_cast<std::uint32_t>(size_ + i + 1));
  }
  size_ += text.size();
  blocks_.push_back(Block{text.size(), nullptr, 0, false, std::move(text)});
  return true;
}

void TextStore::assign_bytes(std::shared_ptr<const void> owner, std::string_view bytes,
                             TextEncoding& encoding) {
  // UTF-8 first; a piece that is not UTF-8 makes the whole file one character per byte.
  for (const TextEncoding tried : {TextEncoding::Utf8, TextEncoding::Bytes}) {
    encoding = tried;
    blocks_.clear();
    starts_.assign(1, 0);
    size_ = 0;
    bool read = true;
    for (std::size_t at = 0; read && at < bytes.size();) {
      // Pieces are not cut inside a UTF-8 sequence or between CR and LF.
      std::size_t cut = std::min(at + kBlockBytes, bytes.size());
      for (int k = 0; k < 8 && cut < bytes.size() && cut > at + 1 &&
                      ((static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80 || bytes[cut - 1] == '\r');
           ++k)
        --cut;
      const std::string_view piece = bytes.substr(at, cut - at);
      read = add_run(piece) || add_units(piece, tried);
      at = cut;
    }
    if (read) break;
  }
  if (blocks_.empty()) blocks_.push_back(Block{});
  owner_ = std::move(owner);
  borrowed_ = owner_ != nullptr;
  settle();
}

void TextStore::renumber(std::size_t from_block) {
  begins_.resize(blocks_.size());
  std::size_t at = from_block == 0 ? 0 : block_end(from_block - 1);
  for (std::size_t b = from_block; b < blocks_.size(); ++b) {
    begins_[b] = at;
    at += blocks_[b].units;
  }
  size_ = at;
}

std::size_t TextStore::block_of(std::size_t position) const {
  const auto after = std::upper_bound(begins_.begin() + 1, begins_.end(), position);
  return static_cast<std::size_t>(after - begins_.begin()) - 1;
}

std::size_t TextStore::byte_of(std::size_t b, std::size_t offset) const {
  // In a run with CR LF line ends, each line end before the unit takes one byte more.
  if (!blocks_[b].crlf) return offset;
  return offset + line_of(begins_[b] + offset) - line_of(begins_[b]);
}

char16_t TextStore::at(std::size_t position) const {
  const std::size_t b = block_of(position);
  const Block& block = blocks_[b];
  const std::size_t offset = position - begins_[b];
  if (block.bytes == nullptr) return block.text[offset];
  const char c = block.bytes[byte_of(b, offset)];
  return c == '\n' ? u'\r' : unit_value(c);
}

std::size_t TextStore::line_of(std::size_t position) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
  return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

void TextStore::copy(std::size_t from, std::size_t to, char16_t* out) const {
  while (from < to) {
    const std::size_t b = block_of(from);
    const Block& block = blocks_[b];
    const std::size_t n = std::min(to, block_end(b)) - from, offset = from - begins_[b];
    if (block.bytes == nullptr) {
      std::memcpy(out, block.text.data() + offset, n * sizeof(char16_t));
      out += n;
    } else {
      // A CR LF run's units are its bytes without the LFs; an LF run's LF is the line end.
      const char* p = block.bytes + byte_of(b, offset);
      for (char16_t* end = out + n; out < end; ++p) {
        if (*p == '\n' && block.crlf) continue;
        *out++ = *p == '\n' ? u'\r' : unit_value(*p);
      }
    }
    from += n;
  }
}

std::u16string TextStore::text(std::size_t from, std::size_t to) const {
  std::u16string out(to - from, u'\0');
  copy(from, to, out.data());
  return out;
}

std::u16string_view TextStore::whole() {
  if (!whole_valid_) {
    whole_ = text(0, size_);
    whole_valid_ = true;
  }
  return whole_;
}

void TextStore::decode_block(std::size_t b) {
  Block& block = blocks_[b];
  if (block.bytes == nullptr) return;
  block.text = text(begins_[b], block_end(b));
  block.bytes = nullptr;
  block.byte_count = 0;
  block.crlf = false;
}

void TextStore::replace(std::size_t from, std::size_t to, std::u16string_view text) {
  whole_ = std::u16string();
  whole_valid_ = false;
  // The units: the blocks at both ends become units (those between go), and the first
  // takes the new text and what the last keeps.
  const std::size_t first_block = block_of(from), last_block = to > from ? block_of(to - 1) : first_block;
  decode_block(first_block);
  decode_block(last_block);
  {
    Block& first = blocks_[first_block];
    const std::size_t head = from - begins_[first_block], tail = to - begins_[last_block];
    if (first_block == last_block) {
      first.text.replace(head, to - from, text);
    } else {
      first.text.resize(head);
      first.text.append(text);
      first.text.append(std::u16string_view(blocks_[last_block].text).substr(tail));
      blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(first_block + 1),
                    blocks_.begin() + static_cast<std::ptrdiff_t>(last_block + 1));
    }
    first.units = first.text.size();
  }
  Block& changed = blocks_[first_block];
  if (changed.units > 2 * kBlockUnits) {
    std::vector<Block> pieces = split(changed.text);
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(first_block));
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(first_block),
                   std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
  } else if (changed.units == 0 && blocks_.size() > 1) {
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(first_block));
  }
  renumber(first_block == 0 ? 0 : first_block - 1);
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
  for (std::size_t line = first; line <= first + added.size(); ++line) {
    widest_ = std::max(widest_, line_end(line) - line_start(line));
  }
}

std::string TextStore::encode(TextEncoding encoding) const {
  std::string out;
  out.reserve(size_ + size_ / 16);
  // A high surrogate that ends a block waits for the low one that may start the next.
  std::u16string held;
  for (const Block& block : blocks_) {
    if (block.bytes != nullptr) {
      out += encode_text(held, encoding);
      held.clear();
      if (block.crlf) {
        out.append(block.bytes, block.byte_count);
        continue;
      }
      const char* p = block.bytes;
      const char* end = p + block.byte_count;
      for (const char* lf;
           (lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) !=
           nullptr;
           p = lf + 1) {
        out.append(p, lf);
        out += "\r\n";
      }
      out.append(p, end);
      continue;
    }
    std::u16string joined = held + block.text;
    held.clear();
    if (!joined.empty() && high_surrogate(joined.back())) {
      held.push_back(joined.back());
      joined.pop_back();
    }
    out += encode_text(joined, encoding);
  }
  out += encode_text(held, encoding);
  return out;
}

bool TextStore::matches_at(std::size_t position, std::u16string_view needle, int options) const {
  const std::size_t n = needle.size();
  if (n == 0 || position > size_ || size_ - position < n) return false;
  const bool exact = (options & kFindMatchCase) != 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (!same_unit(at(position + k), needle[k], exact)) return false;
  }
  if ((options & kFindWholeWord) == 0) return true;
  if (position > 0 && word_character(at(position - 1))) return false;
  return position + n == size_ || !word_character(at(position + n));
}

// Offers accept the matches of needle (case as exact says) that start at lo..hi - 1, all
// in block b, in order, until it answers true.
template <typename Accept>
bool TextStore::scan_block(std::size_t b, std::u16string_view needle, std::size_t lo, std::size_t hi,
                           bool exact, Accept&& accept) const {
  const Block& block = blocks_[b];
  const std::size_t n = needle.size(), begin = begins_[b];
  // Matches that end inside the block are searched in it; those reaching into the next
  // are tried one by one.
  const std::size_t inside = block.units >= n ? std::min(hi, block_end(b) - n + 1) : lo;
  if (lo < inside) {
    if (block.bytes == nullptr) {
      if (horspool(block.text.data() + (lo - begin), inside - lo + n - 1, needle, exact, lo, accept))
        return true;
    } else if (byte_needle(needle)) {
      // A match in the bytes is a match in the units: the needle holds no line end.
      const std::size_t first_byte = byte_of(b, lo - begin);
      std::size_t counted = first_byte, ends = first_byte - (lo - begin);
      bool stopped = false;
      search_bytes(
          block.bytes + first_byte, block.byte_count - first_byte, needle, exact, first_byte,
          [&](std::size_t byte) {
            if (block.crlf) {
              ends += static_cast<std::size_t>(std::count(block.bytes + counted, block.bytes + byte, '\n'));
              counted = byte;
            }
            const std::size_t unit = begin + byte - ends;
            if (unit >= inside) return true;
            stopped = accept(unit);
            return stopped;
          });
      if (stopped) return true;
    } else {
      const std::u16string units = text(lo, inside + n - 1);
      if (horspool(units.data(), units.size(), needle, exact, lo, accept)) return true;
    }
  }
  for (std::size_t at = std::max(lo, inside); at < hi; ++at) {
    if (matches_at(at, needle, exact ? kFindMatchCase : 0) && accept(at)) return true;
  }
  return false;
}

std::optional<std::size_t> TextStore::find(std::u16string_view needle, std::size_t from, int options) const {
  const std::size_t n = needle.size();
  if (n == 0 || n > size_) return std::nullopt;
  const std::size_t last = size_ - n;
  const bool exact = (options & kFindMatchCase) != 0;
  const auto word_ok = [&](std::size_t at) {
    return (options & kFindWholeWord) == 0 || matches_at(at, needle, options);
  };
  std::optional<std::size_t> hit;
  if ((options & kFindUp) == 0) {
    if (from > last) return std::nullopt;
    for (std::size_t b = block_of(from); b < blocks_.size() && begins_[b] <= last; ++b) {
      const std::size_t lo = std::max(from, begins_[b]), hi = std::min(block_end(b), last + 1);
      if (lo < hi && scan_block(b, needle, lo, hi, exact, [&](std::size_t at) {
            if (!word_ok(at)) return false;
            hit = at;
            return true;
          }))
        return hit;
    }
    return std::nullopt;
  }
  // Upward: the last match ending at or before from.
  if (from < n) return std::nullopt;
  const std::size_t limit = std::min(from - n, last);
  for (std::size_t b = block_of(limit) + 1; b-- > 0;) {
    scan_block(b, needle, begins_[b], std::min(block_end(b), limit + 1), exact, [&](std::size_t at) {
      if (word_ok(at)) hit = at;
      return false;
    });
    if (hit) return hit;
  }
  return std::nullopt;
}

void TextStore::own_bytes() {
  if (!borrowed_) return;
  borrowed_ = false;
  std::size_t total = 0;
  for (const Block& block : blocks_) total += block.byte_count;
  auto kept = std::make_shared<std::string>();
  kept->reserve(total);  // appends below never move what is already there
  for (Block& block : blocks_) {
    if (block.bytes == nullptr) continue;
    const std::size_t at = kept->size();
    kept->append(block.bytes, block.byte_count);
    block.bytes = kept->data() + at;
  }
  owner_.reset();
  if (total > 0) owner_ = std::shared_ptr<const void>(kept, kept.get());
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
