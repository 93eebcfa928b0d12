#include "base/buffered_writer.hpp"

#include <cerrno>
#include <string>

namespace quill {

BufferedWriter::~BufferedWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

bool BufferedWriter::open(std::string_view path) {
  if (file_ != nullptr) std::fclose(file_);
  used_ = 0;
  total_ = 0;
  failed_ = false;
  system_error_ = 0;
  errno = 0;
  file_ = path.empty() ? nullptr : std::fopen(std::string(path).c_str(), "wb");
  if (file_ == nullptr) {
    fail();
    return false;
  }
  // The writer buffers itself; an unbuffered FILE makes every failure show at once.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  if (!buffer_) buffer_ = std::make_unique<char[]>(capacity_);
  return true;
}

void BufferedWriter::fail() {
  if (!failed_) {
    failed_ = true;
    system_error_ = errno != 0 ? errno : -1;
  }
  used_ = 0;
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

bool BufferedWriter::flush() {
  if (file_ == nullptr) return false;
  if (used_ == 0) return true;
  errno = 0;
  const std::size_t written = std::fwrite(buffer_.get(), 1, used_, file_);
  if (written != used_) {
    fail();
    return false;
  }
  used_ = 0;
  return true;
}

// The buffer is full or the file is gone: empties the buffer, then writes a piece too
// large for it straight through.
void BufferedWriter::write_slow(std::string_view data) {
  if (file_ == nullptr || !flush()) return;
  total_ += static_cast<long long>(data.size());
  if (data.size() >= capacity_) {
    errno = 0;
    if (std::fwrite(data.data(), 1, data.size(), file_) != data.size()) fail();
    return;
  }
  std::memcpy(buffer_.get(), data.data(), data.size());
  used_ = data.size();
}

char* BufferedWriter::reserve_slow(std::size_t n) {
  if (n > capacity_ || !flush()) return nullptr;
  return buffer_.get();
}

bool BufferedWriter::close() {
  if (file_ == nullptr) return !failed_;
  if (!flush()) return false;
  errno = 0;
  const bool flushed = std::fflush(file_) == 0;
  std::FILE* file = file_;
  file_ = nullptr;
  const bool closed = std::fclose(file) == 0;
  if (!flushed || !closed) fail();
  return !failed_;
}

}  // namespace quill
