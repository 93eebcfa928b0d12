#include "graphics/image/image_file.hpp"

#include <cerrno>
#include <cstdlib>

namespace quill {
namespace {

constexpr std::size_t kFileBuffer = 1 << 20;

// The operating system's error number behind the last failed file call.
int last_system_error() {
#ifdef _WIN32
  return _doserrno != 0 ? static_cast<int>(_doserrno) : errno;
#else
  return errno;
#endif
}

}  // namespace

FileSink::~FileSink() {
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

void FileSink::fail(ImageError code) {
  if (failure_.ok()) {
    failure_ = {code, last_system_error()};
  }
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

bool FileSink::open() {
  errno = 0;
#ifdef _WIN32
  _doserrno = 0;
#endif
  file_ = std::fopen(path_.c_str(), "wb");
  if (file_ == nullptr) {
    fail(ImageError::Open);
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, kFileBuffer);
  return true;
}

bool FileSink::write(std::span<const std::uint8_t> bytes) {
  if (!failure_.ok()) {
    return false;
  }
  if (file_ == nullptr && !open()) {
    return false;
  }
  if (bytes.empty()) {
    return true;
  }
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    fail(ImageError::Write);
    return false;
  }
  return true;
}

ImageResult FileSink::finish() {
  if (file_ != nullptr) {
    errno = 0;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
      fail(ImageError::Write);
    }
  }
  return failure_;
}

ImageResult save_image_file(ImageFormat format, const PixelBuffer& image, std::string_view path) {
  FileSink sink(path);
  const ImageResult result = encode_image(format, image, sink);
  const ImageResult closed = sink.finish();
  return result.ok() ? closed : result;
}

}  // namespace quill
