// Image file encoders: Windows bitmap, PCX and PNG from a pixel-buffer description, written
// to a byte sink. They return an error code and a detail value for the caller to report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/image/pixel_buffer.hpp"

namespace quill {

enum class ImageFormat : int { Clipboard = 0, Bmp = 1, Pcx = 2, Png = 15 };

enum class ImageError : int {
  None = 0,
  Open = 1,          // the file cannot be created; detail: system error number
  Write = 2,         // a write failed; detail: system error number
  Zlib = 1044,       // compression failed; detail: zlib's result code
  Api = 1072,        // a bitmap or memory block cannot be made, or the size is refused
  Clipboard = 1094,  // the clipboard cannot be opened
};

struct ImageResult {
  ImageError code = ImageError::None;
  int detail = 0;
  bool ok() const { return code == ImageError::None; }
  friend bool operator==(const ImageResult&, const ImageResult&) = default;
};

// The system's error number for an invalid argument (the detail of a refused size).
int invalid_parameter_error();
// The system's error number for memory exhaustion.
int out_of_memory_error();

// Where an encoder's bytes go. write returns false once the sink has failed; failure()
// then tells why. A sink never throws.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool write(std::span<const std::uint8_t> bytes) = 0;
  virtual ImageResult failure() const = 0;
};

// Collects the bytes in memory (tests, the clipboard).
class MemorySink final : public ByteSink {
 public:
  bool write(std::span<const std::uint8_t> bytes) override;
  ImageResult failure() const override { return {}; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Largest sizes the formats' fields hold: PCX keeps width - 1, height - 1, the even
// bytes per line and the height in 16 bits.
inline constexpr int kPcxMaxWidth = 65534;
inline constexpr int kPcxMaxHeight = 65535;

// Each encoder checks the description first (an invalid buffer or a size the format
// cannot hold gives ImageError::Api with invalid_parameter_error(), nothing written).
ImageResult encode_bmp(const PixelBuffer& image, ByteSink& sink);
ImageResult encode_pcx(const PixelBuffer& image, ByteSink& sink);
ImageResult encode_png(const PixelBuffer& image, ByteSink& sink);
// Dispatches on format; clipboard and unknown codes write nothing and return success.
ImageResult encode_image(ImageFormat format, const PixelBuffer& image, ByteSink& sink);

// Run-length codes one PCX plane onto out: runs of equal bytes up to 63 long; a run of
// more than one byte, or a single byte of 192 or more, becomes 192 + count and the byte.
void pcx_run_length(std::span<const std::uint8_t> plane, std::vector<std::uint8_t>& out);

}  // namespace quill
