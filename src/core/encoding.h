#pragma once
// UTF-8 and UTF-16 conversions. Invalid input never fails: bad sequences become
// U+FFFD, unpaired surrogates are encoded as U+FFFD.
#include <string>
#include <string_view>

namespace vp {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);
// True when bytes are well-formed UTF-8 (no overlongs, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

} // namespace vp
