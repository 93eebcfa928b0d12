// The comma-separated field splitter.
#include "grid/csv_reader.hpp"

#include <algorithm>

namespace quill {

void CsvReader::append(std::string_view part) {
  if (part.empty()) return;
  line_started_ = true;
  const std::size_t room = limit_ - std::min(limit_, raw_.size());
  if (part.size() > room) {
    truncated_ = true;
    part = part.substr(0, room);
  }
  raw_.append(part);
}

bool CsvReader::opened_with_quote() const {
  const std::size_t first = raw_.find_first_not_of(' ');
  return first != std::string::npos && raw_[first] == '"';
}

CsvField CsvReader::complete(bool ends_line) {
  std::string_view raw = raw_;
  if (!raw.empty() && raw.back() == '\r' && quotes_ % 2 == 0) raw.remove_suffix(1);
  const std::size_t first = raw.find_first_not_of(' ');
  raw.remove_prefix(first == std::string_view::npos ? raw.size() : first);
  if (!raw.empty() && raw.front() == '"') {
    const std::size_t last = raw.find_last_not_of(' ');
    if (last > 0 && raw[last] == '"' && !truncated_) {
      raw = raw.substr(1, last - 1);
    } else if (truncated_ || quotes_ % 2 == 1) {
      // Cut off, or never closed: the opening quote is still not part of the text.
      raw.remove_prefix(1);
    }
  }
  text_.clear();
  for (std::size_t i = 0; i < raw.size(); ++i) {
    text_.push_back(raw[i]);
    if (raw[i] == '"' && i + 1 < raw.size() && raw[i + 1] == '"') ++i;
  }
  const CsvField field{text_, ends_line, truncated_};
  raw_.clear();
  quotes_ = 0;
  truncated_ = false;
  if (ends_line) line_started_ = false;
  return field;
}

}  // namespace quill
