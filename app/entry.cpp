#include "entry.hpp"

#include <cmath>
#include <cstdint>

namespace orlix {

void reset_entry(EntryBuffer& entry) { entry = EntryBuffer{}; }

bool add_digit(EntryBuffer& entry, int digit) {
  const char character = static_cast<char>('0' + digit);
  if (!entry.decimal_point) {
    if (entry.integer_count == kMaxIntegerDigits) return false;
    ++entry.integer_count;
    for (int i = 0; i + 1 < kMaxIntegerDigits; ++i) entry.integer_digits[i] = entry.integer_digits[i + 1];
    entry.integer_digits[kMaxIntegerDigits - 1] = character;
    return true;
  }
  if (entry.fraction_count == kMaxFractionDigits) return false;
  entry.fraction_digits[entry.fraction_count++] = character;
  return true;
}

bool backspace(EntryBuffer& entry) {
  if (entry.fraction_count > 0) {
    entry.fraction_digits[--entry.fraction_count] = '0';
    return true;
  }
  entry.decimal_point = false;
  if (entry.integer_count == 0) return false;
  --entry.integer_count;
  for (int i = kMaxIntegerDigits - 1; i > 0; --i) entry.integer_digits[i] = entry.integer_digits[i - 1];
  entry.integer_digits[0] = ' ';
  return true;
}

void press_decimal_point(EntryBuffer& entry) { entry.decimal_point = true; }

DisplayText entry_display(const EntryBuffer& entry, MemoryIndicator indicator) {
  DisplayText text;
  text[0] = ' ';
  text[1] = ' ';
  for (int i = 0; i < kMaxIntegerDigits; ++i) text[2 + i] = entry.integer_digits[i];
  text[12] = '.';
  for (int i = 0; i < kMaxFractionDigits; ++i) text[13 + i] = entry.fraction_digits[i];
  text[16] = indicator[0];
  text[17] = indicator[1];
  return text;
}

// Characters 3 to 16: ten integer characters, the point, three fraction characters.
// Blanks are ignored; the explicit point fixes the scale.
std::optional<double> read_back(const DisplayText& display) {
  constexpr int kFirst = 2;
  constexpr int kPoint = kFirst + kMaxIntegerDigits;
  constexpr int kEnd = kPoint + 1 + kMaxFractionDigits;
  std::int64_t thousandths = 0;
  int fraction_digits = 0;
  for (int i = kFirst; i < kEnd; ++i) {
    const char c = display[i];
    if (i == kPoint) {
      if (c != '.') return std::nullopt;
      continue;
    }
    if (c == ' ') continue;
    if (c < '0' || c > '9') return std::nullopt;
    thousandths = thousandths * 10 + (c - '0');
    if (i > kPoint) ++fraction_digits;
  }
  for (; fraction_digits < kMaxFractionDigits; ++fraction_digits) thousandths *= 10;
  // Both operands are exact, so the quotient is the double nearest the decimal number.
  return static_cast<double>(thousandths) / 1000.0;
}

namespace {

// |value| * 1000 rounded to the nearest integer from the exact binary value, ties to
// even. |value| is at most the overflow bound, so the result fits 47 bits.
std::uint64_t thousandths_of(double magnitude) {
  int exponent = 0;
  const double fraction = std::frexp(magnitude, &exponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int shift = 53 - exponent;                 // magnitude = mantissa / 2^shift
  const std::uint64_t product = mantissa * 1000u;  // below 2^63
  if (shift <= 0) return product << -shift;
  if (shift >= 64) return 0;
  const std::uint64_t quotient = product >> shift;
  const std::uint64_t remainder = product & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  const bool round_up = remainder > half || (remainder == half && (quotient & 1u) != 0);
  return quotient + (round_up ? 1 : 0);
}

void write_right_aligned(DisplayText& text, std::string_view field) {
  const std::size_t start = kNumberFieldLength - field.size();
  for (std::size_t i = 0; i < start; ++i) text[i] = ' ';
  for (std::size_t i = 0; i < field.size(); ++i) text[start + i] = field[i];
}

}  // namespace

DisplayText result_display(double value, MemoryIndicator indicator) {
  if (value > kOverflowBound || value < -kOverflowBound) return kOverflowText;
  DisplayText text;
  text[16] = indicator[0];
  text[17] = indicator[1];
  if (std::isnan(value)) {
    write_right_aligned(text, "NaN");
    return text;
  }
  std::uint64_t units = thousandths_of(std::fabs(value));
  char digits[24];
  int pos = static_cast<int>(sizeof digits);
  for (int i = 0; i < 3; ++i) {
    digits[--pos] = static_cast<char>('0' + units % 10);
    units /= 10;
  }
  digits[--pos] = '.';
  do {
    digits[--pos] = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units != 0);
  const std::string_view number(digits + pos, sizeof digits - static_cast<std::size_t>(pos));
  const bool shows_sign = std::signbit(value) && number.find_first_not_of("0.") != std::string_view::npos;
  if (shows_sign) digits[--pos] = '-';
  write_right_aligned(text, std::string_view(digits + pos, sizeof digits - static_cast<std::size_t>(pos)));
  return text;
}

std::string_view copy_text(const DisplayText& display) {
  int first = 0;
  while (first < kDisplayLength && (display[first] == ' ' || display[first] == '\0')) ++first;
  if (first >= kNumberFieldLength) return {};
  return std::string_view(display.data() + first, static_cast<std::size_t>(kNumberFieldLength - first));
}

}  // namespace orlix
