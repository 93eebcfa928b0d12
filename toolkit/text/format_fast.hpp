// The common case of a format that is one Iw[.m], Fw.d, Ew.d[Ee] or Gw.d[Ee]
// descriptor written with one value in the default modes, straight into the record
// without the general writer's control loop.
#pragma once

#include <span>

#include "text/format.hpp"

namespace quill {

enum class FastWrite : unsigned char {
  Declined,    // nothing written: the case needs the general writer
  Written,     // the record holds the field, then blanks
  Overflowed,  // the record holds the field filled with asterisks, then blanks
};

// Writes value with item (a program's only item, repeat 1) into record exactly as the
// general writer would, or declines.
FastWrite write_single_fast(const FormatItem& item, const FormatValue& value, std::span<char> record);

}  // namespace quill
