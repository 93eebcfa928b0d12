// The environment, files and folders: the public routines over the platform's system calls.
#include <algorithm>

#include "base/error_codes.hpp"
#include "base/platform.hpp"
#include "os/os_internal.hpp"
#include "os/os_platform.hpp"
#include "quill/errors.hpp"
#include "quill/os.hpp"

namespace quill::os {
namespace {

constexpr long long kUndefined = -999;

bool is_separator(char c) { return c == '/' || c == platform::kPathSeparator; }

// The parent folders of path from the top down, then path itself, without separators at
// the ends: "a/b/c" gives "a", "a/b", "a/b/c"; a root ("/", "C:\") is never one of them.
std::vector<std::string> folder_chain(std::string path) {
  while (path.size() > 1 && is_separator(path.back())) path.pop_back();
  std::vector<std::string> chain;
  for (std::size_t i = 1; i < path.size(); ++i) {
    if (is_separator(path[i]) && !is_separator(path[i - 1]) && path[i - 1] != ':') {
      chain.push_back(path.substr(0, i));
    }
  }
  chain.push_back(path);
  return chain;
}

// The matching entries of a folder, sorted by their bytes; false after a report.
bool matching_entries(std::string_view directory, std::string_view pattern, int kind,
                      std::vector<std::string>& names, const char* routine) {
  std::string folder = trimmed(directory);
  if (folder.empty()) folder = ".";
  std::vector<DirectoryEntry> entries;
  if (report_system_error(read_directory(folder, entries), routine)) return false;
  const std::string wanted = trimmed(pattern).empty() ? "*" : trimmed(pattern);
  for (const DirectoryEntry& entry : entries) {
    const bool kind_matches = kind == 2 || (kind == 1) == entry.directory;
    if (kind_matches && wildcard_match(wanted, entry.name, kNamesFoldCase)) {
      names.push_back(entry.name);
    }
  }
  std::sort(names.begin(), names.end());
  return true;
}

}  // namespace
}  // namespace quill::os

using namespace quill::os;

void IOsVariable(std::string_view name, std::span<char> value) {
  const std::optional<std::string> found = quill::platform::environment(trimmed(name));
  if (found) {
    put_result(value, *found, "IOsVariable");
  } else {
    put_text(value, "");
  }
}

void IOsDeleteFile(std::string_view file) {
  report_system_error(remove_file(trimmed(file)), "IOsDeleteFile");
}

void IOsCopyFile(std::string_view source, std::string_view target) {
  const std::string from = trimmed(source);
  const std::string to = trimmed(target);
  if (from == to || same_file(from, to)) {
    IErrorReport(quill::error::kSameFile, "IOsCopyFile");
    return;
  }
  report_system_error(copy_file(from, to), "IOsCopyFile");
}

void IOsRenameFile(std::string_view old_name, std::string_view new_name) {
  report_system_error(rename_file(trimmed(old_name), trimmed(new_name), false), "IOsRenameFile");
}

void IOsMoveFile(std::string_view source, std::string_view target) {
  report_system_error(rename_file(trimmed(source), trimmed(target), true), "IOsMoveFile");
}

bool IOsExists(std::string_view path) {
  FileStatus status;
  return file_status(trimmed(path), status) == 0 && !status.directory;
}

bool IOsDirExists(std::string_view path) {
  FileStatus status;
  return file_status(trimmed(path), status) == 0 && status.directory;
}

void IOsFileSize(std::string_view file, long long& size) {
  FileStatus status;
  size = kUndefined;
  if (!report_system_error(file_status(trimmed(file), status), "IOsFileSize")) size = status.size;
}

void IOsFileTime(std::string_view file, long long& seconds) {
  FileStatus status;
  seconds = kUndefined;
  if (!report_system_error(file_status(trimmed(file), status), "IOsFileTime")) {
    seconds = status.modified;
  }
}

// A parent that exists as a file is left for the next level to fail on ("not a folder").
void IOsDirMake(std::string_view directory) {
  const std::vector<std::string> chain = folder_chain(trimmed(directory));
  for (const std::string& folder : chain) {
    FileStatus status;
    const bool exists = file_status(folder, status) == 0;
    if (exists && (status.directory || &folder != &chain.back())) continue;
    if (report_system_error(make_directory(folder), "IOsDirMake")) return;
  }
}

void IOsDirRemove(std::string_view directory) {
  report_system_error(remove_directory(trimmed(directory)), "IOsDirRemove");
}

void IOsDirChange(std::string_view directory) {
  report_system_error(change_directory(trimmed(directory)), "IOsDirChange");
}

void IOsDirName(std::span<char> directory) {
  put_result(directory, with_separator(quill::platform::current_directory()), "IOsDirName");
}

void IOsHomeDirectory(std::span<char> directory) {
  const std::optional<std::string> home = home_directory();
  if (!home || home->empty()) {
    put_text(directory, "");
    IErrorReport(quill::error::kNoHomeDirectory, "IOsHomeDirectory");
    return;
  }
  put_result(directory, with_separator(*home), "IOsHomeDirectory");
}

void IOsTempDirectory(std::span<char> directory) {
  put_result(directory, temporary_directory(), "IOsTempDirectory");
}

void IOsDirInfo(std::string_view directory, std::string_view pattern, int& count, std::optional<int> kind) {
  std::vector<std::string> names;
  count = 0;
  if (matching_entries(directory, pattern, kind.value_or(0), names, "IOsDirInfo")) {
    count = static_cast<int>(names.size());
  }
}

void IOsDirList(std::string_view directory, std::string_view pattern, std::span<std::string> names,
                int& count, std::optional<int> kind) {
  std::vector<std::string> found;
  count = 0;
  if (!matching_entries(directory, pattern, kind.value_or(0), found, "IOsDirList")) return;
  count = static_cast<int>(found.size());
  const std::size_t kept = std::min(found.size(), names.size());
  std::move(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), names.begin());
  std::fill(names.begin() + static_cast<std::ptrdiff_t>(kept), names.end(), std::string());
  if (found.size() > names.size()) IErrorReport(quill::error::kTooManyFiles, "IOsDirList");
}
