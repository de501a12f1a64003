// The fast duplicate tests against the plain definitions they must agree with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/duplicates.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // First byte: the entry's length in units; the rest: entry then pad, two bytes a unit.
    std::u16string units;
    for (size_t i = 1; i + 1 < size; i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        // Mostly a small alphabet, so that matches and near-matches happen.
        if (c < 0xF000)
            c = u"aAbB\r\n \u00E9\u00C9{["[c % 11];
        units += c;
    }
    const size_t m = std::min<size_t>(data[0] % 64, units.size());
    const std::u16string_view entry(units.data(), m), pad(units.data() + m, units.size() - m);

    if (vp::ContainsNoCase(pad, entry) != (vp::PosNoCase(entry, pad) != 0))
        std::abort();

    bool equalLine = false;
    if (entry.find_first_of(u"\r\n") == std::u16string_view::npos)
        for (const auto& line : vp::TextToStringList(pad))
            if (vp::SameTextAscii(line, entry))
                equalLine = true;
    if (vp::HasEqualLine(pad, entry) != equalLine)
        std::abort();
    return 0;
}
