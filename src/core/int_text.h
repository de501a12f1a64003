#pragma once
// Text to a 32-bit signed integer by the standard conversion: leading blanks, then an
// optional sign, then decimal digits or, after "$" or "0x", hexadecimal digits. Anything
// else (trailing blanks included), no digits, or a value outside the 32-bit signed range
// is not a number.
#include <cstdint>
#include <string>
#include <string_view>

namespace vp {

bool TryStrToInt32(std::u16string_view text, int32_t& value);
int32_t StrToInt32Def(std::u16string_view text, int32_t fallback);
// Decimal digits, with "-" before a negative number.
std::u16string IntToText(int64_t value);

} // namespace vp
