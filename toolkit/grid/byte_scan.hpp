// Finding a few given bytes eight at a time, for the CSV reader and writer.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quill {

// The high bit of each byte of word (in memory order) that equals one of Bytes. A byte
// equal to c makes (word ^ c...c) hold a zero byte; the test below marks the lowest such
// byte exactly (bytes above it may be marked falsely), so the mask is non-zero exactly
// when one of the bytes is there and its lowest bit gives the first.
template <char... Bytes>
std::uint64_t byte_mask(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
  const auto zero_bytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  return (zero_bytes(word ^ (kOnes * static_cast<unsigned char>(Bytes))) | ...);
}

// The bytes at bytes as a word, in memory order.
template <typename Word = std::uint64_t>
Word load_word(const char* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// Whether text holds one of Bytes. From four bytes on it is read a word at a time, the
// last word overlapping the one before it, and never past its end.
template <char... Bytes>
bool contains_any_of_bytes(std::string_view text) {
  const char* bytes = text.data();
  const std::size_t size = text.size();
  if (size >= 8) {
    for (std::size_t at = 0; at + 8 < size; at += 8)
      if (byte_mask<Bytes...>(load_word(bytes + at)) != 0) return true;
    return byte_mask<Bytes...>(load_word(bytes + size - 8)) != 0;
  }
  if (size >= 4) {
    const std::uint64_t high = load_word<std::uint32_t>(bytes + size - 4);
    return byte_mask<Bytes...>(load_word<std::uint32_t>(bytes) | high << 32) != 0;
  }
  for (const char c : text)
    if (((c == Bytes) || ...)) return true;
  return false;
}

// The position of the first of Bytes in text[from, to), or to when there is none.
template <char... Bytes>
std::size_t find_first_of_bytes(std::string_view text, std::size_t from, std::size_t to) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; from + 8 <= to; from += 8) {
      if (const std::uint64_t mask = byte_mask<Bytes...>(load_word(text.data() + from)); mask != 0)
        return from + static_cast<std::size_t>(std::countr_zero(mask) >> 3);
    }
  }
  for (; from < to; ++from) {
    if (((text[from] == Bytes) || ...)) return from;
  }
  return to;
}

}  // namespace quill
