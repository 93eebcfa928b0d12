#include "graphics/output_stream.hpp"

namespace quill {

bool OutputStream::open(std::string_view path) {
  if (writer_.is_open()) close();
  const bool opened = writer_.open(path);
  // A failed open is the caller's to report (error 1), not a failed write.
  failure_noted_ = !opened;
  return opened;
}

bool OutputStream::close() {
  const bool written = writer_.close();
  if (!written) note_failure();
  return written;
}

void OutputStream::note_failure() {
  if (!failure_noted_) {
    failure_noted_ = true;
    abandon_hardcopy_after_write_failure();
  }
}

}  // namespace quill
