// The one way the toolkit reads a resource of the program: dialog templates, extended
// dialog data, menu tables, toolbar data and metafiles all come through resource_bytes.
#pragma once

#include <windows.h>

#include <span>

namespace quill {

// Resource types of the toolkit's own (named) resources.
inline constexpr const char* kMetafileResource = "KVSMETAFILE";
inline constexpr const char* kMenuStringResource = "KVSMENUSTRING";

// The bytes of resource id of type (RT_DIALOG, RT_RCDATA or a named type) in instance;
// empty when there is none. Identifiers are 16-bit: one outside 0..65535 names nothing.
std::span<const unsigned char> resource_bytes(HINSTANCE instance, int id, LPCSTR type);

}  // namespace quill
