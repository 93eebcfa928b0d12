// Appending integers in a fixed byte order to a byte vector.
#pragma once

#include <cstdint>
#include <vector>

namespace quill {

inline void put_le16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFFU));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFU));
}

inline void put_le32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put_le16(out, value & 0xFFFFU);
  put_le16(out, value >> 16);
}

inline void put_be32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFU));
  }
}

}  // namespace quill
