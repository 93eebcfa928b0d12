// Generated format/value cases shared by the gfortran differential test and the fuzz seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quill_test {

enum class CaseKind : char { Integer = 'I', Real4 = 'R', Real8 = 'D', None = 'N' };

struct FormatCase {
  CaseKind kind = CaseKind::None;
  int record_length = 40;
  std::uint64_t bits = 0;  // the value's bit pattern (low 32 bits for I and R)
  std::string format;
};

// Deterministic for a given seed; count cases in all.
std::vector<FormatCase> generate_format_cases(std::uint64_t seed, std::size_t count);

}  // namespace quill_test
