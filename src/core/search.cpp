#include "core/search.h"

#include <algorithm>
#include <array>
#include <memory>

#include "core/unicode_tables.h"

namespace vp {

namespace {

bool IsHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
char32_t Pair(char16_t hi, char16_t lo) {
    return 0x10000 + ((static_cast<char32_t>(hi) - 0xD800) << 10) + (lo - 0xDC00);
}

// The basic plane folded unit by unit: one look-up per unit in the hot loop. Surrogates
// fold to themselves; a pair is folded as a code point where the loop meets one.
struct BmpTables {
    std::array<char16_t, 0x10000> fold;
    std::array<bool, 0x10000> word;
    // For each folded unit c, which of the bits 0, 0x20 and 0x01 (flags 1, 2, 4) make every
    // unit that folds to c equal to c when or-ed in.
    std::array<unsigned char, 0x10000> covering;
    static constexpr char16_t kBits[3] = {0, 0x20, 0x01};
    BmpTables() {
        for (size_t i = 0; i < fold.size(); ++i)
            fold[i] = static_cast<char16_t>(i);
        for (size_t i = 0; i < unicode::kCaseFoldCount; ++i)
            if (unicode::kCaseFolds[i].from <= 0xFFFF)
                fold[unicode::kCaseFolds[i].from] =
                    static_cast<char16_t>(unicode::kCaseFolds[i].to);
        word.fill(false);
        for (size_t i = 0; i < unicode::kWordRangeCount; ++i)
            for (char32_t c = unicode::kWordRanges[i].first;
                 c <= unicode::kWordRanges[i].last && c <= 0xFFFF; ++c)
                word[c] = true;
        covering.fill(7);
        for (size_t u = 0; u < fold.size(); ++u)
            for (unsigned k = 0; k < 3; ++k)
                if ((static_cast<char16_t>(u) | kBits[k]) != (fold[u] | kBits[k]))
                    covering[fold[u]] &= static_cast<unsigned char>(~(1u << k));
    }
};

const BmpTables& Tables() {
    static const auto tables = std::make_unique<BmpTables>();
    return *tables;
}

// The code point that ends just before pos, or 0 at the start.
char32_t CodePointBefore(std::u16string_view text, size_t pos) {
    if (pos == 0)
        return 0;
    const char16_t c = text[pos - 1];
    if (IsLow(c) && pos >= 2 && IsHigh(text[pos - 2]))
        return Pair(text[pos - 2], c);
    return c;
}

char32_t CodePointAt(std::u16string_view text, size_t pos) {
    if (pos >= text.size())
        return 0;
    const char16_t c = text[pos];
    if (IsHigh(c) && pos + 1 < text.size() && IsLow(text[pos + 1]))
        return Pair(c, text[pos + 1]);
    return c;
}

// A match may not begin or end inside a pair.
bool SplitsPair(std::u16string_view text, size_t pos) {
    return pos > 0 && pos < text.size() && IsHigh(text[pos - 1]) && IsLow(text[pos]);
}

bool Acceptable(std::u16string_view text, size_t at, size_t length, const SearchOptions& o) {
    if (SplitsPair(text, at) || SplitsPair(text, at + length))
        return false;
    if (o.wholeWord &&
        (IsWordChar(CodePointBefore(text, at)) || IsWordChar(CodePointAt(text, at + length))))
        return false;
    return true;
}

// The text at the needle's length from at equals the folded needle, code point by code point.
bool FoldedEqualAt(const BmpTables& t, std::u16string_view text, size_t at,
                   std::u16string_view folded) {
    const size_t m = folded.size();
    for (size_t k = 0; k < m; ++k) {
        const char16_t c = text[at + k];
        if (IsHigh(c) && k + 1 < m && IsLow(text[at + k + 1])) {
            const char32_t f = FoldCase(Pair(c, text[at + k + 1])) - 0x10000;
            if (folded[k] != static_cast<char16_t>(0xD800 + (f >> 10)) ||
                folded[k + 1] != static_cast<char16_t>(0xDC00 + (f & 0x3FF)))
                return false;
            ++k;
        } else if (t.fold[c] != folded[k]) {
            return false;
        }
    }
    return true;
}

// Three places of the needle and, for each, the units the text may hold there: those u
// with (u | bits) == unit. One bit covers most pairs of capital and small letters (A a, É é,
// Σ σ, Д д differ in 0x20; Ā ā in 0x01); no bits means this one unit.
struct Filter {
    std::array<size_t, 3> at{};
    std::array<char16_t, 3> bits{}, unit{};
};

// The starts from lo to hi (inclusive) that pass the filter, tried in order (backward: from
// hi down) until accept takes one. Blocks of starts are tested together without a branch,
// which the compiler turns into vector compares: most blocks of a long text hold no
// candidate at all.
template <class Accept>
std::optional<size_t> Scan(const char16_t* d, size_t lo, size_t hi, bool backward, const Filter& f,
                           Accept accept) {
    constexpr size_t kBlock = 32;
    const char16_t *p0 = d + f.at[0], *p1 = d + f.at[1], *p2 = d + f.at[2];
    auto pass = [&](size_t i) {
        return ((p0[i] | f.bits[0]) == f.unit[0]) & ((p1[i] | f.bits[1]) == f.unit[1]) &
               ((p2[i] | f.bits[2]) == f.unit[2]);
    };
    auto block = [&](size_t i) {
        unsigned any = 0;
        for (size_t k = 0; k < kBlock; ++k)
            any |= pass(i + k);
        return any != 0;
    };
    if (!backward) {
        size_t i = lo;
        for (; hi - i + 1 >= kBlock; i += kBlock)
            if (block(i))
                for (size_t k = 0; k < kBlock; ++k)
                    if (pass(i + k) && accept(i + k))
                        return i + k;
        for (; i <= hi; ++i)
            if (pass(i) && accept(i))
                return i;
        return std::nullopt;
    }
    size_t end = hi + 1; // the starts below end are left
    for (; end - lo >= kBlock; end -= kBlock)
        if (block(end - kBlock))
            for (size_t k = kBlock; k-- > 0;)
                if (pass(end - kBlock + k) && accept(end - kBlock + k))
                    return end - kBlock + k;
    while (end-- > lo)
        if (pass(end) && accept(end))
            return end;
    return std::nullopt;
}

// The range of starts a search looks at: forward from from, backward ending by from.
bool StartRange(size_t n, size_t m, size_t from, bool backward, size_t& lo, size_t& hi) {
    lo = backward ? 0 : from;
    hi = backward ? std::min(from, n) - m : n - m;
    return lo <= hi;
}

std::optional<TextMatch> FindExact(std::u16string_view text, std::u16string_view needle,
                                   size_t from, const SearchOptions& o) {
    const size_t m = needle.size();
    size_t lo = 0, hi = 0;
    if (!StartRange(text.size(), m, from, o.backward, lo, hi))
        return std::nullopt;
    Filter f;
    f.at = {0, m / 2, m - 1};
    for (size_t k = 0; k < 3; ++k)
        f.unit[k] = needle[f.at[k]];
    const char16_t* d = text.data();
    const auto at = Scan(d, lo, hi, o.backward, f, [&](size_t at) {
        return std::char_traits<char16_t>::compare(d + at, needle.data(), m) == 0 &&
               Acceptable(text, at, m, o);
    });
    return at ? std::optional<TextMatch>(TextMatch{*at, m}) : std::nullopt;
}

// The bits that make every unit folding to c one value, when one of the usual ones does.
bool FoldBits(const BmpTables& t, char16_t c, char16_t& bits, char16_t& unit) {
    for (unsigned k = 0; k < 3; ++k) {
        const char16_t b = BmpTables::kBits[k];
        // The value may not take in a surrogate, which a pair's half would pass.
        if ((t.covering[c] & (1u << k)) && !IsHigh(c | b) && !IsLow(c | b)) {
            bits = b;
            unit = c | b;
            return true;
        }
    }
    return false;
}

std::optional<TextMatch> FindFolded(std::u16string_view text, std::u16string_view needle,
                                    size_t from, const SearchOptions& o) {
    const BmpTables& t = Tables();
    const std::u16string folded = FoldText(needle);
    const size_t m = folded.size();
    size_t lo = 0, hi = 0;
    if (!StartRange(text.size(), m, from, o.backward, lo, hi))
        return std::nullopt;
    const char16_t* d = text.data();
    auto accept = [&](size_t at) {
        return FoldedEqualAt(t, text, at, folded) && Acceptable(text, at, m, o);
    };
    // Three places of the basic plane whose units one bit covers: the first such from the
    // start, the middle and the end. A place that no filter fits repeats another.
    Filter f;
    size_t found = 0;
    for (size_t k : {size_t(0), m - 1, m / 2}) {
        for (size_t step = 0; step < m && found < 3; ++step) {
            const size_t at = k == m - 1 ? m - 1 - step : (k + step) % m;
            const char16_t c = folded[at];
            if (!IsHigh(c) && !IsLow(c) && FoldBits(t, c, f.bits[found], f.unit[found])) {
                f.at[found++] = at;
                break;
            }
        }
    }
    std::optional<size_t> at;
    if (found > 0) {
        for (size_t k = found; k < 3; ++k) {
            f.at[k] = f.at[0];
            f.bits[k] = f.bits[0];
            f.unit[k] = f.unit[0];
        }
        at = Scan(d, lo, hi, o.backward, f, accept);
    } else if (!o.backward) {
        for (size_t i = lo; i <= hi && !at; ++i)
            if (accept(i))
                at = i;
    } else {
        for (size_t i = hi + 1; i-- > lo && !at;)
            if (accept(i))
                at = i;
    }
    return at ? std::optional<TextMatch>(TextMatch{*at, m}) : std::nullopt;
}

} // namespace

char32_t FoldCase(char32_t c) {
    if (c <= 0xFFFF)
        return Tables().fold[c];
    const auto* end = unicode::kCaseFolds + unicode::kCaseFoldCount;
    const auto* it =
        std::lower_bound(unicode::kCaseFolds, end, c,
                         [](const unicode::CaseFold& f, char32_t v) { return f.from < v; });
    return it != end && it->from == c ? it->to : c;
}

bool IsWordChar(char32_t c) {
    if (c <= 0xFFFF)
        return Tables().word[c];
    const auto* end = unicode::kWordRanges + unicode::kWordRangeCount;
    const auto* it =
        std::lower_bound(unicode::kWordRanges, end, c,
                         [](const unicode::CodeRange& r, char32_t v) { return r.last < v; });
    return it != end && it->first <= c;
}

std::u16string FoldText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
            const char32_t f = FoldCase(Pair(text[i], text[i + 1])) - 0x10000;
            out += static_cast<char16_t>(0xD800 + (f >> 10));
            out += static_cast<char16_t>(0xDC00 + (f & 0x3FF));
            ++i;
        } else {
            out += Tables().fold[text[i]];
        }
    }
    return out;
}

std::optional<TextMatch> FindMatch(std::u16string_view text, std::u16string_view needle,
                                   size_t from, const SearchOptions& options) {
    if (needle.empty() || needle.size() > text.size())
        return std::nullopt;
    if (options.backward ? std::min(from, text.size()) < needle.size() : from > text.size())
        return std::nullopt;
    return options.matchCase ? FindExact(text, needle, from, options)
                             : FindFolded(text, needle, from, options);
}

LineSpan LineAt(std::u16string_view text, size_t pos, LineSpan from) {
    pos = std::min(pos, text.size());
    if (from.start > pos)
        from = {};
    size_t start = from.start, number = from.number;
    for (size_t i = start; i < pos; ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            // CR LF is one break; the line after it starts past the LF.
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                if (i + 1 == pos)
                    break;
                ++i;
            }
            start = i + 1;
            ++number;
        }
    }
    size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    return {start, end, number};
}

size_t LineStart(std::u16string_view text, size_t number) {
    size_t line = 1, i = 0;
    for (; i < text.size() && line < number; ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        if (text[i] == u'\r' || text[i] == u'\n')
            ++line;
    }
    return line == number ? i : text.size();
}

std::vector<MatchLine> FindMatchLines(std::u16string_view text, std::u16string_view needle,
                                      const SearchOptions& options, size_t limit) {
    constexpr size_t kBefore = 60, kPiece = 240;
    SearchOptions forward = options;
    forward.backward = false;
    std::vector<MatchLine> lines;
    LineSpan line;
    for (auto m = FindMatch(text, needle, 0, forward); m && lines.size() < limit;
         m = FindMatch(text, needle, m->start + m->length, forward)) {
        line = LineAt(text, m->start, line);
        MatchLine out;
        out.number = line.number;
        out.column = m->start - line.start;
        // A match that goes on past the line's break is marked to the break.
        const size_t markEnd = std::min(m->start + m->length, std::max(line.end, m->start));
        size_t from = line.start, to = line.end;
        if (to - from > kPiece) {
            from = m->start - std::min(m->start - line.start, kBefore);
            to = std::min(line.end, std::max(from + kPiece, markEnd));
        }
        // Never cut through a pair.
        if (from > line.start && from < text.size() && text[from] >= 0xDC00 && text[from] <= 0xDFFF)
            --from;
        if (to < line.end && text[to] >= 0xDC00 && text[to] <= 0xDFFF)
            ++to;
        if (from > line.start)
            out.excerpt = u"\u2026";
        out.markStart = out.excerpt.size() + (m->start - from);
        out.markLength = markEnd - m->start;
        out.excerpt.append(text.substr(from, to - from));
        if (to < line.end)
            out.excerpt += u"\u2026";
        lines.push_back(std::move(out));
    }
    return lines;
}

} // namespace vp
