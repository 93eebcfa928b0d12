// Layouts of the toolkit's clipboard blocks. Portable.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The text put on the clipboard: everything before the first NUL, then one NUL.
std::string clipboard_text(std::string_view text);

// Private CGM block: 32-bit length N, two caller integers, N bytes (little-endian).
struct CgmHeader {
  std::int32_t length = 0;
  std::int32_t value1 = 0;
  std::int32_t value2 = 0;
};
inline constexpr std::size_t kCgmHeaderSize = 12;

std::vector<unsigned char> pack_cgm_block(std::int32_t value1, std::int32_t value2,
                                          std::span<const unsigned char> data);
// Reads the header; false when the block is shorter than its header or than 12 + N
// (or N is negative).
bool read_cgm_header(std::span<const unsigned char> block, CgmHeader& header);

}  // namespace quill
