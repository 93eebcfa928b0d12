// Bounds-checked reading of a file's bytes for the image decoders: a read past the end
// gives zeros (or an empty span) and clears ok() for good, so a decoder can read a whole
// header and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quill {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t position() const { return at_; }
  std::size_t remaining() const { return bytes_.size() - at_; }

  bool seek(std::size_t offset) {
    if (offset > bytes_.size()) return ok_ = false;
    at_ = offset;
    return ok_;
  }
  bool skip(std::size_t count) { return count <= remaining() ? seek(at_ + count) : (ok_ = false); }
  // The next count bytes, or an empty span (and not ok) when fewer remain.
  std::span<const std::uint8_t> take(std::size_t count) {
    if (count > remaining()) {
      ok_ = false;
      return {};
    }
    const auto part = bytes_.subspan(at_, count);
    at_ += count;
    return part;
  }
  std::uint8_t u8() {
    if (at_ >= bytes_.size()) {
      ok_ = false;
      return 0;
    }
    return bytes_[at_++];
  }
  std::uint16_t le16() {
    const std::uint8_t low = u8();
    return static_cast<std::uint16_t>(low | (u8() << 8));
  }
  std::uint32_t le32() {
    const std::uint32_t low = le16();
    return low | (static_cast<std::uint32_t>(le16()) << 16);
  }
  std::uint32_t be32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | u8();
    return value;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace quill
