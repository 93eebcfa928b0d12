// A buffered file writer with a sticky status: the first failure (open, short write,
// flush or close) is kept with its system error number, the file is closed at once and
// every later write is ignored. The owner checks the status when it wants to (after a
// write or at close) and decides what to report; the writer reports nothing itself.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace quill {

class BufferedWriter {
 public:
  explicit BufferedWriter(std::size_t capacity = 1 << 16) : capacity_(capacity) {}
  BufferedWriter(const BufferedWriter&) = delete;
  BufferedWriter& operator=(const BufferedWriter&) = delete;
  ~BufferedWriter();

  // Creates path anew (closing a file still open, without a status check). False when it
  // cannot be created: the status then holds the failure.
  bool open(std::string_view path);
  // Writes what is buffered and closes. True when nothing of this file failed; a second
  // call only repeats the answer.
  bool close();

  void write(std::string_view data) {
    if (file_ != nullptr && capacity_ - used_ >= data.size()) {
      if (!data.empty()) std::memcpy(buffer_.get() + used_, data.data(), data.size());
      used_ += data.size();
      total_ += static_cast<long long>(data.size());
    } else {
      write_slow(data);
    }
  }
  void put(char c) {
    if (file_ != nullptr && used_ < capacity_) {
      buffer_[used_++] = c;
      ++total_;
    } else {
      write_slow(std::string_view(&c, 1));
    }
  }

  // Room for up to n bytes written straight into the buffer; commit(end) then hands over
  // those before end. nullptr when the file is gone or n is more than the buffer holds
  // (write() takes any size).
  char* reserve(std::size_t n) {
    if (file_ != nullptr && capacity_ - used_ >= n) return buffer_.get() + used_;
    return reserve_slow(n);
  }
  void commit(const char* end) {
    const auto size = static_cast<std::size_t>(end - (buffer_.get() + used_));
    used_ += size;
    total_ += static_cast<long long>(size);
  }

  bool is_open() const { return file_ != nullptr; }
  bool failed() const { return failed_; }
  // The system error number of the first failure; -1 when the system gave none.
  int system_error() const { return system_error_; }
  // Bytes handed to the writer since open (written or buffered).
  long long bytes_written() const { return total_; }

 private:
  void write_slow(std::string_view data);
  char* reserve_slow(std::size_t n);
  bool flush();
  void fail();

  std::size_t capacity_;
  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  long long total_ = 0;
  bool failed_ = false;
  int system_error_ = 0;
};

}  // namespace quill
