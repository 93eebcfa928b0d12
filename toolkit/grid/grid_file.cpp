// File access of the grid files through the C run-time library.
#include "grid/grid_file.hpp"

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

GridFileWriter::~GridFileWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

bool GridFileWriter::open(const std::string& path) {
  errno = 0;
  file_ = path.empty() ? nullptr : std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    record_failure();
    return false;
  }
  // Our own buffer decides when bytes go out, so a short write shows at once.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  buffer_ = std::make_unique<char[]>(kBufferSize);
  return true;
}

bool GridFileWriter::flush() {
  if (failed_) return false;
  if (used_ == 0) return true;
  errno = 0;
  const std::size_t written = std::fwrite(buffer_.get(), 1, used_, file_);
  if (written != used_) {
    record_failure();
    failed_ = true;
  }
  used_ = 0;
  return !failed_;
}

// The slow path of write: empties the buffer first.
bool GridFileWriter::write_through(std::string_view data) {
  if (failed_ || !flush()) return false;
  if (data.size() >= kBufferSize) {
    errno = 0;
    if (std::fwrite(data.data(), 1, data.size(), file_) != data.size()) {
      record_failure();
      failed_ = true;
    }
    return !failed_;
  }
  std::memcpy(buffer_.get(), data.data(), data.size());
  used_ = data.size();
  return true;
}

bool GridFileWriter::close() {
  const bool flushed = flush();
  errno = 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (flushed && !closed) {
    record_failure();
    failed_ = true;
  }
  return flushed && closed;
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
  buffer_.resize(chunk);
  return true;
}

std::string_view GridFileReader::read() {
  if (failed_ || file_ == nullptr) return {};
  errno = 0;
  const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (got == 0 && std::ferror(file_)) {
    record_failure();
    failed_ = true;
  }
  return std::string_view(buffer_.data(), got);
}

}  // namespace quill
