// The portable helpers of the operating-system services.
#include <algorithm>
#include <cctype>
#include <optional>

#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "base/platform.hpp"
#include "os/os_internal.hpp"
#include "quill/errors.hpp"

namespace quill::os {
namespace {

constexpr std::size_t kPathLength = 260;

char fold(char c, bool fold_case) {
  return fold_case ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
}

std::optional<std::string> environment_path(const char* name) {
  std::optional<std::string> value = platform::environment(name);
  if (value && value->size() > kPathLength) return std::nullopt;
  return value;
}

}  // namespace

std::string trimmed(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
  return std::string(text);
}

bool put_text(std::span<char> field, std::string_view text) {
  std::fill(field.begin(), field.end(), ' ');
  if (text.size() > field.size()) return false;
  std::copy(text.begin(), text.end(), field.begin());
  return true;
}

void put_result(std::span<char> field, std::string_view text, const char* routine) {
  if (!put_text(field, text)) IErrorReport(error::kVariableTooSmall, routine);
}

bool report_system_error(int error_number, const char* routine) {
  if (error_number == 0) return false;
  errors().os_error = error_number;
  IErrorReport(error::kOperatingSystem, routine);
  return true;
}

std::string with_separator(std::string path) {
  if (!path.empty() && path.back() != platform::kPathSeparator && path.back() != '/') {
    path += platform::kPathSeparator;
  }
  return path;
}

std::string temporary_directory() {
  std::optional<std::string> temp = environment_path("TEMP");
  if (!temp) temp = environment_path("TMP");
  return with_separator(temp ? *temp : platform::default_temporary_directory());
}

// Iterative matcher: on a mismatch after a "*", the star takes one more character.
bool wildcard_match(std::string_view pattern, std::string_view name, bool fold_case) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string_view::npos;
  std::size_t star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_n = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || fold(pattern[p], fold_case) == fold(name[n], fold_case))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_n;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> split_arguments(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t position = 0;
  for (;;) {
    position = line.find_first_not_of(' ', position);
    if (position == std::string_view::npos) return arguments;
    std::size_t begin = position;
    std::size_t end;
    if (line[position] == '"') {
      begin = position + 1;
      end = std::min(line.find('"', begin), line.size());
      position = end == line.size() ? end : end + 1;
    } else {
      end = std::min(line.find(' ', position), line.size());
      position = end;
    }
    arguments.emplace_back(line.substr(begin, end - begin));
  }
}

std::vector<std::string> split_list(std::string_view list) {
  std::vector<std::string> items;
  while (!list.empty()) {
    const std::size_t end = std::min(list.find(';'), list.size());
    std::string_view item = list.substr(0, end);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    std::string entry = trimmed(item);
    if (!entry.empty()) items.push_back(std::move(entry));
    list.remove_prefix(end == list.size() ? end : end + 1);
  }
  return items;
}

HelpKind help_kind(std::string_view file) {
  const std::size_t dot = file.rfind('.');
  const std::size_t separator = file.find_last_of("/\\");
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) {
    return HelpKind::Unsupported;
  }
  std::string extension(file.substr(dot + 1));
  for (char& c : extension) c = fold(c, true);
  if (extension == "chm") return HelpKind::HtmlHelp;
  if (extension == "htm" || extension == "html" || extension == "txt") return HelpKind::Viewer;
  return HelpKind::Unsupported;
}

}  // namespace quill::os
