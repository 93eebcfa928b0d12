// The hardcopy's one output stream. Text drivers write lines ending in CR LF; binary
// drivers write bytes. The first failed write is sticky: it is reported once (error 2,
// "YYPROU"), the hardcopy is abandoned and nothing more is written.
#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

namespace quill {

class OutputStream {
 public:
  OutputStream() = default;
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;
  ~OutputStream();

  // Opens path for writing (replacing the file). False when it cannot be created;
  // the caller reports that (error 1).
  bool open(std::string_view path);
  // Flushes and closes. A failure at flush or close is still reported once. Returns
  // false when any write of this stream failed.
  bool close();
  bool is_open() const { return file_ != nullptr; }
  bool failed() const { return failed_; }
  // Bytes handed to the stream since open (written or buffered).
  long long bytes_written() const { return total_; }

  void write(std::string_view bytes);
  void put(char byte);
  // Writes text followed by CR LF.
  void write_line(std::string_view text);

 private:
  void flush();
  void fail();

  static constexpr std::size_t kBufferSize = 1 << 16;
  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  long long total_ = 0;
  bool failed_ = false;
};

// Called once when a write fails: reports error 2 and abandons the hardcopy.
void abandon_hardcopy_after_write_failure();

}  // namespace quill
