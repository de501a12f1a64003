#pragma once
// Integers to text and back. Stored texts and typed texts are read by two policies on
// purpose: a stored number may be hexadecimal, while a number box holds what a person
// types, blanks around it included, and a "$" there is a typing error.
#include <cstdint>
#include <string>
#include <string_view>

namespace vp {

// Text to a 32-bit signed integer by the standard conversion: leading blanks, then an
// optional sign, then decimal digits or, after "$" or "0x", hexadecimal digits. Anything
// else (trailing blanks included), no digits, or a value outside the 32-bit signed range
// is not a number.
bool TryStrToInt32(std::u16string_view text, int32_t& value);
int32_t StrToInt32Def(std::u16string_view text, int32_t fallback);
// Text to a 32-bit signed integer as a number box reads it: blanks before and after, an
// optional sign, then decimal digits only. Anything else, no digits, or a value outside
// the 32-bit signed range is not a number.
bool TryDecimalToInt32(std::u16string_view text, int32_t& value);
// Decimal digits, with "-" before a negative number.
std::u16string IntToText(int64_t value);

} // namespace vp
