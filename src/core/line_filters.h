#pragma once
// The pad's text tools that need no window: trimming its lines, counting its words and
// dropping repeated lines. The pad editor applies them to its text.
#include <functional>
#include <string>
#include <string_view>

#include "core/text.h"

namespace vp {

// Without the blanks and control characters (code units up to 32) at both ends.
std::u16string TrimControls(std::u16string_view line);
// Words are runs of anything but white space: the ASCII blanks and controls 9 to 13, NEL,
// no-break space, and the space, line and paragraph separators of Unicode.
int CountWords(std::u16string_view text);
// Drops every line equal to an earlier one with a..z folded, so the first of each stays;
// the number of lines dropped. A long run calls signOfLife now and then.
int RemoveDuplicateLines(StringList& lines, const std::function<void()>& signOfLife = {});

} // namespace vp
