// File access of the grid files through the C run-time library.
#include "grid/grid_file.hpp"

#include <algorithm>
#include <cerrno>

#include "quill/errors.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

void record_failure() {
  errors().file_error = errno != 0 ? errno : -1;
  errors().file_error_source = 0;
}

}  // namespace

std::string grid_file_name(std::string_view name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.remove_suffix(1);
  return std::string(name);
}

bool open_grid_file(BufferedWriter& out, const std::string& path) {
  if (out.open(path)) return true;
  errno = out.system_error();
  record_failure();
  return false;
}

bool close_grid_file(BufferedWriter& out) {
  if (out.close()) return true;
  errno = out.system_error();
  record_failure();
  return false;
}

GridFileReader::~GridFileReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool GridFileReader::open(const std::string& path, std::size_t chunk) {
  errno = 0;
  file_ = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    record_failure();
    return false;
  }
  // Files up to this size are read whole: one read, and every field in one piece.
  constexpr long kWholeFileLimit = 1L << 28;
  size_ = chunk;
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    const long size = std::ftell(file_);
    if (size >= 0 && size < kWholeFileLimit) size_ = std::max(chunk, static_cast<std::size_t>(size) + 1);
    std::rewind(file_);
  }
  buffer_ = std::make_unique_for_overwrite<char[]>(size_);
  return true;
}

std::string_view GridFileReader::read() {
  if (failed_ || file_ == nullptr) return {};
  errno = 0;
  const std::size_t got = std::fread(buffer_.get(), 1, size_, file_);
  if (got == 0 && std::ferror(file_)) {
    record_failure();
    failed_ = true;
  }
  return std::string_view(buffer_.get(), got);
}

}  // namespace quill
