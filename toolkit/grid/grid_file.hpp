// Plain-byte file access for the grid files: a buffered writer that stops at the first
// short write, and a chunked reader. Both record the run-time status of a failure as
// the file-operation error value; the calling routine reports the code.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace quill {

// The file name of a routine argument: its trailing blanks are not part of it.
std::string grid_file_name(std::string_view name);

class GridFileWriter {
 public:
  GridFileWriter() = default;
  GridFileWriter(const GridFileWriter&) = delete;
  GridFileWriter& operator=(const GridFileWriter&) = delete;
  ~GridFileWriter();

  // Creates the file anew; false (code 1) when it cannot be.
  bool open(const std::string& path);
  // Buffered; false once a write has failed (code 2). Nothing is written after that.
  bool write(std::string_view data) {
    if (failed_ || kBufferSize - used_ < data.size()) return write_through(data);
    if (data.empty()) return true;
    std::memcpy(buffer_.get() + used_, data.data(), data.size());
    used_ += data.size();
    return true;
  }
  bool put(char c) {
    if (failed_ || used_ == kBufferSize) return write_through(std::string_view(&c, 1));
    buffer_[used_++] = c;
    return true;
  }
  // Writes what is buffered and closes; false on a short write.
  bool close();
  bool failed() const { return failed_; }

 private:
  static constexpr std::size_t kBufferSize = 1 << 17;
  bool flush();
  bool write_through(std::string_view data);

  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

// Reads the file in chunks. open gives false (code 1) when it cannot be opened; read
// gives the next chunk, empty at the end; failed() tells an error (code 2) from the end.
class GridFileReader {
 public:
  GridFileReader() = default;
  GridFileReader(const GridFileReader&) = delete;
  GridFileReader& operator=(const GridFileReader&) = delete;
  ~GridFileReader();

  bool open(const std::string& path, std::size_t chunk);
  std::string_view read();
  bool failed() const { return failed_; }

 private:
  std::FILE* file_ = nullptr;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace quill
