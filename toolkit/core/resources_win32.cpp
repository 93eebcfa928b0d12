#include "core/resources_win32.hpp"

namespace quill {

std::span<const unsigned char> resource_bytes(HINSTANCE instance, int id, LPCSTR type) {
  if (id < 0 || id > 0xFFFF) return {};
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(instance, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const unsigned char*>(data), SizeofResource(instance, found)};
}

}  // namespace quill
