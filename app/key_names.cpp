#include "key_names.hpp"

#include <array>
#include <utility>

namespace orlix {

std::optional<CalculatorKey> key_from_caption(std::string_view caption) {
  static constexpr std::array<std::pair<std::string_view, CalculatorKey>, 15> kCaptions{{
      {".", keys::kPoint},
      {"=", keys::kEquals},
      {"+", keys::kAdd},
      {"-", keys::kSubtract},
      {"*", keys::kMultiply},
      {"/", keys::kDivide},
      {"%", keys::kPercent},
      {"<-", keys::kBackspace},
      {"E", keys::kClearEntry},
      {"C", keys::kClear},
      {"M+", keys::kMemoryAdd},
      {"M-", keys::kMemorySubtract},
      {"Mc", keys::kMemoryClear},
      {"Mr", keys::kMemoryRecall},
      {"COPY", keys::kCopy},
  }};
  if (caption.size() == 1 && caption[0] >= '0' && caption[0] <= '9') return caption[0] - '0';
  for (const auto& [name, key] : kCaptions) {
    if (name == caption) return key;
  }
  return std::nullopt;
}

std::string windows1251_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
      continue;
    }
    // 0xC0 to 0xFF are А to я (U+0410 to U+044F); the display holds no other high bytes.
    const unsigned code = byte >= 0xC0 ? 0x410u + (byte - 0xC0u) : 0xFFFDu;
    if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

}  // namespace orlix
