#include "core/temp_files.h"

namespace vp {

namespace {

constexpr std::u16string_view kStart = u"~vp";
constexpr std::u16string_view kEnd = u".tmp";

void AppendHex(std::u16string& out, uint32_t n) {
    char16_t digits[8];
    int count = 0;
    do {
        digits[count++] = u"0123456789abcdef"[n & 15];
        n >>= 4;
    } while (n);
    while (count)
        out += digits[--count];
}

// A number as AppendHex writes it: 1 to 8 digits, no leading zero.
std::optional<uint32_t> ParseHex(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 8 || (digits.size() > 1 && digits[0] == u'0'))
        return std::nullopt;
    uint32_t n = 0;
    for (char16_t c : digits) {
        if (c >= u'0' && c <= u'9')
            n = n * 16 + (c - u'0');
        else if (c >= u'a' && c <= u'f')
            n = n * 16 + (c - u'a' + 10);
        else
            return std::nullopt;
    }
    return n;
}

} // namespace

std::u16string TempFileName(uint32_t processId, uint32_t serial) {
    std::u16string name(kStart);
    AppendHex(name, processId);
    name += u'-';
    AppendHex(name, serial);
    name += kEnd;
    return name;
}

std::optional<uint32_t> TempFileProcess(std::u16string_view name) {
    if (!name.starts_with(kStart) || !name.ends_with(kEnd))
        return std::nullopt;
    name = name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size());
    const size_t dash = name.find(u'-');
    if (dash == std::u16string_view::npos || !ParseHex(name.substr(dash + 1)))
        return std::nullopt;
    return ParseHex(name.substr(0, dash));
}

} // namespace vp
