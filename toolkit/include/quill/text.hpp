// Text and number conversion: numbers to text through edit-descriptor formats, and
// text to numbers.
#pragma once

#include <span>
#include <string_view>

// Number to text. The string is cleared and receives the value written with format
// (for example "(F16.3)"); a failed write gives asterisks and reports error 18.
void IntegerToString(int value, std::span<char> string, std::string_view format);
void IRealToString(float value, std::span<char> string, std::string_view format);
void IDoubleToString(double value, std::span<char> string, std::string_view format);
// Position (from 1) of the first character that is neither blank nor NUL; 0 if none.
int IFirstNonBlank(std::string_view text);

// Text to number: the first word of text (leading blanks skipped; what follows the word
// is not read). A failure gives 0 and reports 10 (text blank), 12 an invalid character,
// 11 a second decimal point, 4 a number beyond the type's range. IStringToReal8 reports
// under the name "IStringToReal".
void IStringToInteger(std::string_view text, int& value);
void IStringToReal(std::string_view text, float& value);
void IStringToReal8(std::string_view text, double& value);
// Read the first word of text as a number and blank it out of text; failures as for
// IStringToInteger and IStringToReal (10 for a text without a word).
void INextInteger(std::span<char> text, int& value);
void INextReal(std::span<char> text, float& value);
// As IStringToReal, but a failure is neither shown nor left in the last-error code.
void IStringToRealSilent(float& value, std::string_view text);
