// The plain-text view's store. Positions count UTF-16 units, each line end one unit (a
// single '\r'; CR LF and LF are turned into it on the way in), and the start of every line
// is kept in one flat array of 32-bit positions. The text itself is a row of blocks of
// about 64 K units: a block is either a run of a file's bytes kept as read (ASCII, no NUL,
// its lines all ending in LF or all in CR LF, so a unit is a byte or a line end) or UTF-16
// units. A file loads by one scan of its bytes for line ends; only the blocks that hold
// other bytes are converted, and a block is converted when it is first edited.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_text.hpp"

namespace quill {

class TextStore {
 public:
  TextStore() { assign(std::u16string()); }
  // Takes text whose line ends are already single '\r's.
  void assign(std::u16string text);
  // Takes a file's bytes as the text (read as decode_text does; encoding is set to the one
  // chosen). owner keeps the bytes alive for as long as a block reads them.
  void assign_bytes(std::shared_ptr<const void> owner, std::string_view bytes, TextEncoding& encoding);
  std::size_t size() const { return size_; }
  char16_t at(std::size_t position) const;
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
  // The whole text in one piece (made on demand and kept until the next change).
  std::u16string_view whole();
  // The text as a file's bytes, as encode_text writes them; runs kept from a file with
  // CR LF line ends are written as they were read.
  std::string encode(TextEncoding encoding) const;
  // find_text over the store: runs kept as bytes are searched as bytes when the needle is
  // ASCII without line ends.
  std::optional<std::size_t> find(std::u16string_view needle, std::size_t from, int options) const;
  // Whether needle matches at position (case and whole word as options say).
  bool matches_at(std::size_t position, std::u16string_view needle, int options) const;
  // Copies the bytes blocks still read from their owner (a mapped file, say) into the
  // store's own memory and lets the owner go.
  void own_bytes();

 private:
  struct Block {
    std::size_t units = 0;
    const char* bytes = nullptr;  // a run kept as read, or null: the units are in text
    std::size_t byte_count = 0;
    bool crlf = false;  // the run's lines end in CR LF (else in LF)
    std::u16string text;
  };
  std::size_t block_of(std::size_t position) const;
  std::size_t block_end(std::size_t b) const { return begins_[b] + blocks_[b].units; }
  // The byte of a kept run where the unit at offset (from the block's start) is.
  std::size_t byte_of(std::size_t b, std::size_t offset) const;
  void decode_block(std::size_t b);
  static std::vector<Block> split(std::u16string_view text);
  // After a new text: no whole copy, blocks numbered, the widest line measured.
  void settle();
  void renumber(std::size_t from_block);
  bool add_run(std::string_view bytes);
  bool add_units(std::string_view bytes, TextEncoding encoding);
  template <typename Accept>
  bool scan_block(std::size_t b, std::u16string_view needle, std::size_t lo, std::size_t hi, bool exact,
                  Accept&& accept) const;

  std::vector<Block> blocks_;
  std::vector<std::size_t> begins_;  // where each block starts
  std::size_t size_ = 0;
  std::vector<std::uint32_t> starts_;
  std::size_t widest_ = 0;
  std::shared_ptr<const void> owner_;
  bool borrowed_ = false;  // owner_ is not the store's own copy
  std::u16string whole_;
  bool whole_valid_ = false;
};

// Text from outside (the clipboard, a routine) with CR LF, LF and CR all made '\r'.
std::u16string with_return_line_ends(std::u16string_view text);

}  // namespace quill
