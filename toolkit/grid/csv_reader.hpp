// Splits comma-separated text, fed in chunks of any size, into fields. Knows nothing of
// grids: each completed field is handed to a sink as a CsvField.
//
// Rules: a comma ends a field when the field has seen an even number of double quotes;
// a line feed ends the field and the line, except inside a field that opened with a
// quote and has not closed it; one carriage return at the end of a field is dropped.
// The field's text: blanks before it are skipped; enclosing quotes are removed only when
// the field begins and ends with one (blanks outside them aside); doubled quotes become
// one. A field longer than the limit is cut there and flagged.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "grid/byte_scan.hpp"

namespace quill {

inline constexpr std::size_t kCsvFieldLimit = 65000;

struct CsvField {
  std::string_view text;  // valid until the next field
  bool ends_line = false;
  bool truncated = false;  // longer than the limit; text holds its beginning
};

class CsvReader {
 public:
  explicit CsvReader(std::size_t limit = kCsvFieldLimit) : limit_(limit) {}

  // Scans chunk; a field cut by the chunk's end is completed by the next call.
  template <typename Sink>
  void feed(std::string_view chunk, Sink&& sink) {
    std::size_t i = 0;
    const std::size_t n = chunk.size();
    while (i < n) {
      // A whole field at hand, bare or in one pair of quotes, goes to the sink as a view
      // of the chunk; anything else is gathered character by character below.
      if (at_field_start()) {
        if (const std::size_t end = whole_field(chunk, i); end != 0) {
          const bool ends_line = chunk[end] == '\n';
          sink(CsvField{field_text(chunk.substr(i, end - i)), ends_line, false});
          line_started_ = !ends_line;
          i = end + 1;
          continue;
        }
      }
      const std::size_t j = find_special(chunk, i, n);
      append(chunk.substr(i, j - i));
      if (j == n) break;
      line_started_ = true;
      const char c = chunk[j];
      i = j + 1;
      if (c == '"') {
        ++quotes_;
        append(chunk.substr(j, 1));
      } else if (c == ',' && quotes_ % 2 == 0) {
        sink(complete(false));
      } else if (c == '\n' && (quotes_ % 2 == 0 || !opened_with_quote())) {
        sink(complete(true));
      } else {
        append(chunk.substr(j, 1));
      }
    }
  }

  // Ends the input: a line without its line end still gives its last field.
  template <typename Sink>
  void finish(Sink&& sink) {
    if (line_started_) sink(complete(true));
  }

 private:
  // The first comma, line feed or quote in chunk[from, to), or to.
  static std::size_t find_special(std::string_view chunk, std::size_t from, std::size_t to) {
    return find_first_of_bytes<',', '\n', '"'>(chunk, from, to);
  }
  bool at_field_start() const { return raw_.empty() && quotes_ == 0 && !truncated_; }
  // Where the field from start ends (its comma or line feed) when it lies whole in chunk
  // within the limit and holds no quote, or one quote at each end and none between;
  // else 0.
  std::size_t whole_field(std::string_view chunk, std::size_t start) const {
    std::size_t j = start;
    const std::size_t n = std::min(chunk.size(), start + limit_ + 1);
    if (chunk[start] == '"') {
      j = find_first_of_bytes<'"'>(chunk, start + 1, n);
      if (++j < n && chunk[j] == '\r') ++j;
      return j < n && (chunk[j] == ',' || chunk[j] == '\n') ? j : 0;
    }
    j = find_special(chunk, j, n);
    return j < n && chunk[j] != '"' ? j : 0;
  }
  // The text of a field whole_field accepted: without one carriage return at its end,
  // the blanks before it and its enclosing quotes.
  static std::string_view field_text(std::string_view raw) {
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (!raw.empty() && raw.front() == '"') return raw.substr(1, raw.size() - 2);
    std::size_t first = 0;
    while (first < raw.size() && raw[first] == ' ') ++first;
    return raw.substr(first);
  }
  void append(std::string_view part);
  bool opened_with_quote() const;
  CsvField complete(bool ends_line);

  std::size_t limit_;
  std::string raw_;   // the field as read, up to the limit
  std::string text_;  // the field's text, handed to the sink
  std::size_t quotes_ = 0;
  bool truncated_ = false;
  bool line_started_ = false;
};

}  // namespace quill
