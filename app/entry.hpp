// Number entry and the calculator's 18-character display text.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace orlix {

constexpr int kDisplayLength = 18;
constexpr int kNumberFieldLength = 16;
constexpr int kMaxIntegerDigits = 10;
constexpr int kMaxFractionDigits = 3;

// 18 single-byte characters: a 16-character number field and the memory indicator.
using DisplayText = std::array<char, kDisplayLength>;
// "  " normally, " M" right after a memory recall.
using MemoryIndicator = std::array<char, 2>;

constexpr MemoryIndicator kNoIndicator{' ', ' '};
constexpr MemoryIndicator kRecallIndicator{' ', 'M'};

// Values beyond this bound in size (the single-precision value nearest 1e11) are not
// shown as numbers.
constexpr double kOverflowBound = 99999997952.0;
// "препълване" in Windows-1251, then 8 blanks.
constexpr DisplayText kOverflowText{'\xEF', '\xF0', '\xE5', '\xEF', '\xFA', '\xEB', '\xE2', '\xE0', '\xED',
                                    '\xE5', ' ',    ' ',    ' ',    ' ',    ' ',    ' ',    ' ',    ' '};

// The number being typed: integer digits right-aligned, fraction digits from the left.
struct EntryBuffer {
  std::array<char, kMaxIntegerDigits> integer_digits{' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  int integer_count = 0;
  std::array<char, kMaxFractionDigits> fraction_digits{'0', '0', '0'};
  int fraction_count = 0;
  bool decimal_point = false;
};

void reset_entry(EntryBuffer& entry);
// Both return false when the edit is refused (a limit reached, or nothing to remove).
bool add_digit(EntryBuffer& entry, int digit);
bool backspace(EntryBuffer& entry);
void press_decimal_point(EntryBuffer& entry);

// Two blanks, the integer characters, ".", the fraction characters, the indicator.
DisplayText entry_display(const EntryBuffer& entry, MemoryIndicator indicator);
// Reads characters 3 to 16 as a fixed-point number with three decimals; nullopt when
// they hold anything but blanks, digits and the point in its place.
std::optional<double> read_back(const DisplayText& display);
// The value rounded to three decimals, right-aligned in 16 characters, then the
// indicator; the overflow text when the value is beyond the bound (or infinite).
DisplayText result_display(double value, MemoryIndicator indicator);
// The number without leading blanks and without the memory indicator.
std::string_view copy_text(const DisplayText& display);

}  // namespace orlix
