// The pad search against a plain definition: every start tried, each candidate folded
// on its own, the pair and word rules checked by hand.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/search.h"

namespace {

bool High(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool Low(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool Splits(std::u16string_view t, size_t at) {
    return at > 0 && at < t.size() && High(t[at - 1]) && Low(t[at]);
}

char32_t Before(std::u16string_view t, size_t at) {
    if (at == 0)
        return 0;
    if (at >= 2 && Low(t[at - 1]) && High(t[at - 2]))
        return 0x10000 + ((t[at - 2] - 0xD800) << 10) + (t[at - 1] - 0xDC00);
    return t[at - 1];
}

char32_t After(std::u16string_view t, size_t at) {
    if (at >= t.size())
        return 0;
    if (at + 1 < t.size() && High(t[at]) && Low(t[at + 1]))
        return 0x10000 + ((t[at] - 0xD800) << 10) + (t[at + 1] - 0xDC00);
    return t[at];
}

bool MatchesAt(std::u16string_view t, std::u16string_view n, size_t at,
               const vp::SearchOptions& o) {
    const std::u16string_view piece = t.substr(at, n.size());
    if (o.matchCase ? piece != n : vp::FoldText(piece) != vp::FoldText(n))
        return false;
    if (Splits(t, at) || Splits(t, at + n.size()))
        return false;
    return !o.wholeWord ||
           (!vp::IsWordChar(Before(t, at)) && !vp::IsWordChar(After(t, at + n.size())));
}

std::optional<size_t> Naive(std::u16string_view t, std::u16string_view n, size_t from,
                            const vp::SearchOptions& o) {
    if (n.empty() || n.size() > t.size())
        return std::nullopt;
    if (!o.backward) {
        for (size_t at = from; at + n.size() <= t.size(); ++at)
            if (MatchesAt(t, n, at, o))
                return at;
        return std::nullopt;
    }
    for (size_t at = t.size() - n.size() + 1; at-- > 0;)
        if (at + n.size() <= from && MatchesAt(t, n, at, o))
            return at;
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    // Bytes: options, needle length, start; then units, two bytes each, needle then text.
    const vp::SearchOptions o{.matchCase = (data[0] & 1) != 0,
                              .wholeWord = (data[0] & 2) != 0,
                              .backward = (data[0] & 4) != 0};
    std::u16string units;
    for (size_t i = 3; i + 1 < size; i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        // Mostly a small alphabet of cases, letters, breaks, marks and surrogate halves.
        if (c < 0xF000)
            c = u"aA_1 \r\n\u00E9\u00C9\u00DF\u1E9E\u03C2\u03A3\u212Ak\xD801\xDC00\xDC28-"[c % 20];
        units += c;
    }
    const size_t m = std::min<size_t>(data[1] % 8, units.size());
    const std::u16string_view needle(units.data(), m), text(units.data() + m, units.size() - m);
    const size_t from = data[2] % (text.size() + 2);
    const auto found = vp::FindMatch(text, needle, from, o);
    const auto expected = Naive(text, needle, from, o);
    if (found.has_value() != expected.has_value() || (found && found->start != *expected))
        std::abort();
    return 0;
}
