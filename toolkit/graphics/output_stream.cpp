#include "base/error_codes.hpp"
#include "graphics/output_stream.hpp"

#include <cstring>
#include <string>

#include "graphics/drawing_state.hpp"
#include "quill/errors.hpp"

namespace quill {

OutputStream::~OutputStream() {
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

bool OutputStream::open(std::string_view path) {
  if (file_ != nullptr) {
    close();
  }
  const std::string name(path);
  file_ = std::fopen(name.c_str(), "wb");
  failed_ = false;
  used_ = 0;
  total_ = 0;
  if (file_ == nullptr) {
    return false;
  }
  // The stream buffers itself; an unbuffered FILE makes every failure show at once.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  if (!buffer_) {
    buffer_ = std::make_unique<char[]>(kBufferSize);
  }
  return true;
}

void OutputStream::flush() {
  if (used_ == 0 || failed_) {
    used_ = 0;
    return;
  }
  const std::size_t written = std::fwrite(buffer_.get(), 1, used_, file_);
  const bool short_write = written != used_;
  used_ = 0;
  if (short_write) {
    fail();
  }
}

void OutputStream::fail() {
  if (failed_) {
    return;
  }
  failed_ = true;
  used_ = 0;
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  abandon_hardcopy_after_write_failure();
}

bool OutputStream::close() {
  if (file_ == nullptr) {
    return !failed_;
  }
  flush();
  if (file_ == nullptr) {
    return false;
  }
  const bool flush_failed = std::fflush(file_) != 0;
  const bool close_failed = std::fclose(file_) != 0;
  file_ = nullptr;
  if (flush_failed || close_failed) {
    fail();
  }
  return !failed_;
}

void OutputStream::write(std::string_view bytes) {
  if (file_ == nullptr) {
    return;
  }
  total_ += static_cast<long long>(bytes.size());
  while (!bytes.empty()) {
    if (used_ == kBufferSize) {
      flush();
      if (file_ == nullptr) {
        return;
      }
    }
    const std::size_t room = kBufferSize - used_;
    const std::size_t part = bytes.size() < room ? bytes.size() : room;
    std::memcpy(buffer_.get() + used_, bytes.data(), part);
    used_ += part;
    bytes.remove_prefix(part);
  }
}

void OutputStream::put(char byte) {
  write(std::string_view(&byte, 1));
}

void OutputStream::write_line(std::string_view text) {
  write(text);
  write("\r\n");
}

void abandon_hardcopy_after_write_failure() {
  HardcopyState& hardcopy = drawing().hardcopy;
  hardcopy.active = false;
  hardcopy.active_driver = 0;
  IErrorReport(quill::error::kFileReadWrite, "YYPROU");
}

}  // namespace quill
