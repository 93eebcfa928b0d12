// Saving an encoded image to a file: created anew (replacing any file of that name) on the
// first write, so a refused image or a compression failure leaves no file behind.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "graphics/image/image_encoders.hpp"

namespace quill {

class FileSink final : public ByteSink {
 public:
  explicit FileSink(std::string_view path) : path_(path) {}
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  ~FileSink() override;

  bool write(std::span<const std::uint8_t> bytes) override;
  ImageResult failure() const override { return failure_; }
  // Flushes and closes the file; a failure there is a failed write.
  ImageResult finish();

 private:
  bool open();
  void fail(ImageError code);

  std::string path_;
  std::FILE* file_ = nullptr;
  ImageResult failure_;
};

// Encodes image in format (BMP, PCX or PNG) into the file at path.
ImageResult save_image_file(ImageFormat format, const PixelBuffer& image, std::string_view path);

}  // namespace quill
