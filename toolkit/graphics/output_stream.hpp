// The hardcopy's one output stream. Text drivers write lines ending in CR LF; binary
// drivers write bytes. The first failed write is sticky: the hardcopy layer hears of it
// once (it reports error 2, "YYPROU", and abandons the hardcopy) and nothing more is
// written.
#pragma once

#include <string_view>

#include "base/buffered_writer.hpp"

namespace quill {

class OutputStream {
 public:
  // Opens path for writing (replacing the file). False when it cannot be created;
  // the caller reports that (error 1).
  bool open(std::string_view path);
  // Flushes and closes. A failure at flush or close is still reported once. Returns
  // false when any write of this stream failed.
  bool close();
  bool is_open() const { return writer_.is_open(); }
  bool failed() const { return writer_.failed(); }
  // Bytes handed to the stream since open (written or buffered).
  long long bytes_written() const { return writer_.bytes_written(); }

  void write(std::string_view bytes) {
    writer_.write(bytes);
    if (writer_.failed()) [[unlikely]]
      note_failure();
  }
  void put(char byte) {
    writer_.put(byte);
    if (writer_.failed()) [[unlikely]]
      note_failure();
  }
  // Writes text followed by CR LF.
  void write_line(std::string_view text) {
    write(text);
    write("\r\n");
  }

 private:
  void note_failure();

  BufferedWriter writer_;
  bool failure_noted_ = false;
};

// The hardcopy layer's answer to the first failed write of its stream: reports error 2
// and abandons the hardcopy.
void abandon_hardcopy_after_write_failure();

}  // namespace quill
