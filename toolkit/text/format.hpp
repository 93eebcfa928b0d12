// The edit-descriptor formatter: a parser that turns a format text into a plain
// FormatProgram, and a writer that writes values into one record with it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace quill {

enum class Edit : std::uint8_t {
  // Data edit descriptors.
  I,
  B,
  O,
  Z,
  F,
  E,
  EN,
  ES,
  D,
  G,
  L,
  A,
  // Control edit descriptors and literal text.
  X,
  T,
  TL,
  TR,
  P,
  S,
  SP,
  SS,
  BN,
  BZ,
  DC,
  DP,
  RN,
  RZ,
  RU,
  RD,
  RC,
  RP,
  Colon,
  Slash,
  Literal,
  // Parenthesised group: GroupOpen holds the repeat count and the index of its GroupClose.
  GroupOpen,
  GroupClose,
};

constexpr bool is_data_edit(Edit edit) { return edit <= Edit::A; }

struct FormatItem {
  Edit edit = Edit::I;
  bool has_d = false;  // .d (or .m) given
  bool has_e = false;  // Ee given
  std::int32_t repeat = 1;
  std::int32_t w = 0;  // width; n for X, T, TL, TR and "/"; k for P; -1 for A without width
  std::int32_t d = 0;  // d, or m for I, B, O, Z
  std::int32_t e = 0;
  std::int32_t partner = 0;  // GroupOpen: index of its GroupClose and back
  std::int32_t literal_begin = 0;
  std::int32_t literal_size = 0;
};

// A parsed format. The outermost parentheses are not stored; items[0..count) is the
// list between them. Limits keep the structure fixed-size: longer formats are invalid.
struct FormatProgram {
  static constexpr int kMaxItems = 256;
  static constexpr int kMaxLiteral = 1024;
  static constexpr int kMaxDepth = 32;
  int count = 0;
  int literal_size = 0;
  // Index where format reversion restarts: the last top-level group, or 0.
  int reversion_start = 0;
  bool has_data_edit = false;
  std::array<FormatItem, kMaxItems> items{};
  std::array<char, kMaxLiteral> literals{};
};

// Parses text (blanks outside literals are insignificant, letters in either case,
// text after the closing parenthesis is ignored). Returns false for an invalid format.
bool parse_format(std::string_view text, FormatProgram& program);

enum class ValueKind : std::uint8_t { Integer, Real4, Real8, Logical, Character };

struct FormatValue {
  ValueKind kind = ValueKind::Integer;
  std::int32_t integer = 0;
  float real4 = 0.0F;
  double real8 = 0.0;
  bool logical = false;
  std::string_view character;

  static FormatValue of(std::int32_t v) {
    FormatValue x;
    x.kind = ValueKind::Integer;
    x.integer = v;
    return x;
  }
  static FormatValue of(float v) {
    FormatValue x;
    x.kind = ValueKind::Real4;
    x.real4 = v;
    return x;
  }
  static FormatValue of(double v) {
    FormatValue x;
    x.kind = ValueKind::Real8;
    x.real8 = v;
    return x;
  }
  static FormatValue of(bool v) {
    FormatValue x;
    x.kind = ValueKind::Logical;
    x.logical = v;
    return x;
  }
  static FormatValue of(std::string_view v) {
    FormatValue x;
    x.kind = ValueKind::Character;
    x.character = v;
    return x;
  }
};

// The outcome of a formatted write; every value but ok is a failed write.
enum class WriteStatus : int {
  Ok = 0,
  BadFormat = 1,     // the format text is not a valid format
  TypeMismatch = 2,  // a descriptor does not suit its value
  EndOfRecord = 3,   // a field or literal reaches past the end of the record
  SecondRecord = 4,  // "/" or format reversion asks for another record
  BadEdit = 5,       // a descriptor that cannot edit this value (e.g. Gw.0 of a real)
};

// Writes values into record (blank-filled first) as format control directs.
// Too-narrow fields are filled with asterisks; that is not a failure, but when
// asterisks_written is given it tells whether any field was so filled.
WriteStatus write_formatted(const FormatProgram& program, std::span<const FormatValue> values,
                            std::span<char> record, bool* asterisks_written = nullptr);

// Parses format (through a one-entry cache of the last format seen) and writes.
WriteStatus format_values(std::string_view format, std::span<const FormatValue> values,
                          std::span<char> record, bool* asterisks_written = nullptr);

}  // namespace quill
