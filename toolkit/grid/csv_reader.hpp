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

#include <cstddef>
#include <string>
#include <string_view>

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
      std::size_t j = i;
      while (j < n && !is_special(chunk[j])) ++j;
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
  static bool is_special(char c) { return c == ',' || c == '\n' || c == '"'; }
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
