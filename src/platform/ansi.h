#pragma once
// Text in the system's ANSI code page.
#include <string>
#include <string_view>

namespace vp {

// Bytes in the system's ANSI code page.
std::u16string DecodeAnsi(std::string_view bytes);

} // namespace vp
