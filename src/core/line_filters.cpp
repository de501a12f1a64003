#include "core/line_filters.h"

#include <cstddef>

namespace vp {

namespace {

bool IsWhiteSpace(char16_t c) {
    if (c == u' ' || (c >= 9 && c <= 13) || c == 133 || c == 160)
        return true;
    // Space, line and paragraph separators of Unicode.
    return c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

} // namespace

std::u16string TrimControls(std::u16string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= 32)
        ++b;
    while (e > b && s[e - 1] <= 32)
        --e;
    return std::u16string(s.substr(b, e - b));
}

int CountWords(std::u16string_view text) {
    int words = 0;
    bool inWord = false;
    for (char16_t c : text) {
        const bool space = IsWhiteSpace(c);
        if (!space && !inWord)
            ++words;
        inWord = !space;
    }
    return words;
}

int RemoveDuplicateLines(StringList& lines, const std::function<void()>& signOfLife) {
    int removed = 0, sinceSign = 0;
    for (size_t i = lines.size(); i-- > 1;) {
        for (size_t k = i; k-- > 0;) {
            if (SameTextAscii(lines[i], lines[k])) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                ++removed;
                break;
            }
        }
        if (++sinceSign > 8000) {
            if (signOfLife)
                signOfLife();
            sinceSign = 0;
        }
    }
    return removed;
}

} // namespace vp
