#include "graphics/print_handover.hpp"

#include <array>
#include <cstdio>
#include <memory>

#include "base/error_codes.hpp"

namespace quill {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file != nullptr) std::fclose(file);
  }
};

}  // namespace

bool destination_is_path(std::string_view destination) {
  return destination.find_first_of("\\/:") != std::string_view::npos;
}

int copy_file_to(const std::string& source, const std::string& destination) {
  std::FILE* in = std::fopen(source.c_str(), "rb");
  if (in == nullptr) return error::kFileOpen;
  const std::unique_ptr<std::FILE, FileCloser> input(in);
  std::FILE* out = std::fopen(destination.c_str(), "wb");
  if (out == nullptr) return error::kFileOpen;
  std::array<char, 1 << 16> buffer;
  int code = 0;
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    if (got > 0 && std::fwrite(buffer.data(), 1, got, out) != got) {
      code = error::kFileReadWrite;
      break;
    }
    if (got < buffer.size()) {
      if (std::ferror(in) != 0) code = error::kFileReadWrite;
      break;
    }
  }
  const bool flushed = std::fflush(out) == 0;
  const bool closed = std::fclose(out) == 0;
  if (code == 0 && !flushed) code = error::kFileReadWrite;
  if (code == 0 && !closed) code = error::kFileClose;
  return code;
}

int hand_over_print_file(const std::string& file, const std::string& document,
                         const std::string& destination) {
  if (const std::optional<int> printed = send_to_printer(file, document, destination)) {
    return *printed;
  }
  if (!destination_is_path(destination)) return error::kPrinterUnavailable;
  return copy_file_to(file, destination);
}

}  // namespace quill
