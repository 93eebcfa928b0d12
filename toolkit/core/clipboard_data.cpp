// Layouts of the toolkit's clipboard blocks.
#include "clipboard_data.hpp"

namespace quill {
namespace {

void put32(std::vector<unsigned char>& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>(u >> shift));
}

std::int32_t get32(std::span<const unsigned char> in, std::size_t at) {
  std::uint32_t u = 0;
  for (std::size_t i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
  return static_cast<std::int32_t>(u);
}

}  // namespace

std::string clipboard_text(std::string_view text) {
  std::string result(text.substr(0, text.find('\0')));
  result.push_back('\0');
  return result;
}

std::vector<unsigned char> pack_cgm_block(std::int32_t value1, std::int32_t value2,
                                          std::span<const unsigned char> data) {
  std::vector<unsigned char> block;
  block.reserve(kCgmHeaderSize + data.size());
  put32(block, static_cast<std::int32_t>(data.size()));
  put32(block, value1);
  put32(block, value2);
  block.insert(block.end(), data.begin(), data.end());
  return block;
}

bool read_cgm_header(std::span<const unsigned char> block, CgmHeader& header) {
  if (block.size() < kCgmHeaderSize) return false;
  CgmHeader h{get32(block, 0), get32(block, 4), get32(block, 8)};
  if (h.length < 0 || block.size() - kCgmHeaderSize < static_cast<std::size_t>(h.length)) return false;
  header = h;
  return true;
}

}  // namespace quill
