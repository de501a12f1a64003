#pragma once
#include <cstdint>
#include <string>

namespace vp {

// What a failed ShellExecute result (32 or less) means, in the user's words.
std::u16string ShellErrorText(std::intptr_t code);

} // namespace vp
