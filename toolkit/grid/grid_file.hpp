// Plain-byte file access for the grid files: opening and closing the shared buffered
// writer, and a chunked reader. Both record the run-time status of a failure as
// the file-operation error value; the calling routine reports the code.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "base/buffered_writer.hpp"

namespace quill {

// The file name of a routine argument: its trailing blanks are not part of it.
std::string grid_file_name(std::string_view name);

// The CSV and HTML writers' file: buffered, its first failure recorded as the
// file-operation error value. open_grid_file gives false (code 1) when the file cannot be
// created; close_grid_file writes the rest and gives false (code 2) when any write failed.
inline constexpr std::size_t kGridWriterBuffer = 1 << 17;
bool open_grid_file(BufferedWriter& out, const std::string& path);
bool close_grid_file(BufferedWriter& out);

// Reads the file in chunks: the whole file in one when its size is known and below a
// limit, else chunks of the size open is given. open gives false (code 1) when it cannot
// be opened; read gives the next chunk, empty at the end; failed() tells an error (code
// 2) from the end.
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
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = 0;
  bool failed_ = false;
};

}  // namespace quill
