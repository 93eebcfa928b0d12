#include "dialog/dialog_template.hpp"

#include <cstddef>

namespace quill {
namespace {

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The UTF-16LE character at byte offset as ASCII, or 0 when it is not ASCII.
char ascii_at(std::span<const unsigned char> bytes, std::size_t offset) {
  if (bytes[offset + 1] != 0 || bytes[offset] >= 0x80) return '\0';
  return lower_ascii(static_cast<char>(bytes[offset]));
}

bool matches_at(std::span<const unsigned char> bytes, std::size_t offset, std::string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (ascii_at(bytes, offset + 2 * i) != lower_ascii(name[i])) return false;
  }
  return true;
}

}  // namespace

bool template_mentions_class(std::span<const unsigned char> bytes, std::string_view name) {
  if (name.empty()) return false;
  const std::size_t needed = 2 * name.size();
  // UTF-16 strings in a template start on an even offset (the template is word-aligned).
  for (std::size_t offset = 0; offset + needed <= bytes.size(); offset += 2) {
    if (matches_at(bytes, offset, name)) return true;
  }
  return false;
}

}  // namespace quill
