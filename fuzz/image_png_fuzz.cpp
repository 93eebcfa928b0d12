// Arbitrary bytes as a PNG file. The chunks' CRCs are made right first (when the first
// byte after the signature is even), so that mutations reach the chunks' contents
// instead of stopping at the CRC check.
#include <zlib.h>

#include <vector>

#include "image_fuzz_check.hpp"

namespace {

void fix_crcs(std::vector<std::uint8_t>& file) {
  std::size_t at = 8;
  while (at + 12 <= file.size()) {
    const std::size_t length = (std::size_t{file[at]} << 24) | (std::size_t{file[at + 1]} << 16) |
                               (std::size_t{file[at + 2]} << 8) | file[at + 3];
    if (length > file.size() - at - 12) return;
    const auto crc =
        static_cast<std::uint32_t>(crc32(0, file.data() + at + 4, static_cast<uInt>(length + 4)));
    std::uint8_t* out = file.data() + at + 8 + length;
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    at += 12 + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file(data, data + size);
  if (size > 8 && data[8] % 2 == 0) fix_crcs(file);
  return image_fuzz::decode_and_check(quill::decode_png, file);
}
