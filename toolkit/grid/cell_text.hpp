// A cell's text in 16 bytes: up to 15 bytes in place, a longer text in a block of exactly
// its size. A grid of a million rows holds ten million of them, and most cell texts
// (numbers as displayed, short words) fit in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quill {

class CellText {
 public:
  static constexpr std::size_t kInPlace = 15;

  CellText() noexcept { set_in_place_size(0); }
  CellText(const CellText& other) : CellText() { assign(other); }
  CellText(CellText&& other) noexcept { take(other); }
  CellText& operator=(const CellText& other) {
    if (this != &other) assign(other);
    return *this;
  }
  CellText& operator=(CellText&& other) noexcept {
    if (this != &other) {
      release();
      take(other);
    }
    return *this;
  }
  ~CellText() { release(); }

  // Replaces the text; when memory runs out it throws and the text stays as it was.
  void assign(std::string_view text) {
    if (text.size() <= kInPlace) {
      char copy[kInPlace];  // text may lie in this object's own bytes
      if (!text.empty()) std::memcpy(copy, text.data(), text.size());
      release();
      std::memcpy(bytes_, copy, text.size());
      set_in_place_size(text.size());
      return;
    }
    char* block = new char[text.size()];
    std::memcpy(block, text.data(), text.size());
    release();
    const auto size = static_cast<std::uint32_t>(text.size());
    std::memcpy(bytes_, &block, sizeof block);
    std::memcpy(bytes_ + sizeof block, &size, sizeof size);
    bytes_[kTag] = kOnHeap;
  }
  void clear() noexcept {
    release();
    set_in_place_size(0);
  }

  bool on_heap() const noexcept { return bytes_[kTag] == kOnHeap; }
  std::size_t size() const noexcept {
    if (!on_heap()) return kInPlace - bytes_[kTag];
    std::uint32_t size;
    std::memcpy(&size, bytes_ + sizeof(char*), sizeof size);
    return size;
  }
  bool empty() const noexcept { return size() == 0; }
  const char* data() const noexcept {
    return on_heap() ? heap_block() : reinterpret_cast<const char*>(bytes_);
  }
  char* data() noexcept { return on_heap() ? heap_block() : reinterpret_cast<char*>(bytes_); }
  char* begin() noexcept { return data(); }
  char* end() noexcept { return data() + size(); }
  char operator[](std::size_t at) const noexcept { return data()[at]; }
  operator std::string_view() const noexcept { return {data(), size()}; }  // NOLINT: reads as text
  friend bool operator==(const CellText& a, std::string_view b) noexcept { return std::string_view(a) == b; }

 private:
  // The last byte: kInPlace - size for a text in place (so a 15-byte text ends in a zero),
  // kOnHeap for one in a block, whose address and size fill the bytes before it.
  static constexpr std::size_t kTag = 15;
  static constexpr unsigned char kOnHeap = 0xFF;

  char* heap_block() const noexcept {
    char* block;
    std::memcpy(&block, bytes_, sizeof block);
    return block;
  }
  void set_in_place_size(std::size_t size) noexcept {
    bytes_[kTag] = static_cast<unsigned char>(kInPlace - size);
  }
  void release() noexcept {
    if (on_heap()) delete[] heap_block();
  }
  void take(CellText& other) noexcept {
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    other.set_in_place_size(0);
  }

  alignas(8) unsigned char bytes_[16];
};

static_assert(sizeof(CellText) == 16);

}  // namespace quill
