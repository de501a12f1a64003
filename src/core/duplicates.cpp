#include "core/duplicates.h"

#include <bit>
#include <string>

#include "core/text.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VP_HAVE_SSE2 1
#endif

namespace vp {

namespace {

// A code unit c folds to the folded unit f exactly when (c | orBits) == target: for a
// letter both cases set bit 5 to give the lower case; anything else must match as is.
struct FoldedUnit {
    char16_t orBits, target;
    explicit FoldedUnit(char16_t folded)
        : orBits(folded >= u'A' && folded <= u'Z' ? 0x20 : 0),
          target(static_cast<char16_t>(folded | orBits)) {}
    bool Matches(char16_t c) const { return static_cast<char16_t>(c | orBits) == target; }
};

bool EqualsFolded(const char16_t* text, const char16_t* folded, size_t n) {
    for (size_t k = 0; k < n; ++k)
        if (UpCaseAscii(text[k]) != folded[k])
            return false;
    return true;
}

inline int CountTrailingZeros(unsigned v) {
    return std::countr_zero(v);
}

// Index of the first CR or LF at or after from, or text.size().
size_t FindLineBreak(std::u16string_view text, size_t from) {
    const char16_t* p = text.data();
    const size_t n = text.size();
    size_t i = from;
#ifdef VP_HAVE_SSE2
    const __m128i cr = _mm_set1_epi16(u'\r'), lf = _mm_set1_epi16(u'\n');
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf))));
        if (mask)
            return i + CountTrailingZeros(mask) / 2;
    }
#endif
    for (; i < n; ++i)
        if (p[i] == u'\r' || p[i] == u'\n')
            return i;
    return n;
}

} // namespace

bool ContainsNoCase(std::u16string_view pad, std::u16string_view entry) {
    const size_t m = entry.size(), n = pad.size();
    if (m == 0 || m > n)
        return false;
    // The entry is folded once; the pad is folded on the fly, never copied.
    const std::u16string folded = UpperCaseAscii(entry);
    const FoldedUnit first(folded.front()), last(folded.back());
    const char16_t* p = pad.data();
    const size_t lastStart = n - m;
    size_t i = 0;
#ifdef VP_HAVE_SSE2
    // Candidates must match the entry's first and last unit; sixteen starts per step.
    const __m128i orFirst = _mm_set1_epi16(static_cast<short>(first.orBits));
    const __m128i wantFirst = _mm_set1_epi16(static_cast<short>(first.target));
    const __m128i orLast = _mm_set1_epi16(static_cast<short>(last.orBits));
    const __m128i wantLast = _mm_set1_epi16(static_cast<short>(last.target));
    auto candidates = [&](size_t at) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at + m - 1));
        const __m128i hit = _mm_and_si128(_mm_cmpeq_epi16(_mm_or_si128(a, orFirst), wantFirst),
                                          _mm_cmpeq_epi16(_mm_or_si128(b, orLast), wantLast));
        return static_cast<unsigned>(_mm_movemask_epi8(hit));
    };
    for (; i + 16 <= lastStart + 1; i += 16) {
        unsigned mask = candidates(i) | (candidates(i + 8) << 16);
        while (mask) {
            const int bit = CountTrailingZeros(mask);
            if (EqualsFolded(p + i + bit / 2 + 1, folded.data() + 1, m - 1))
                return true;
            mask &= ~(3u << bit);
        }
    }
#endif
    for (; i <= lastStart; ++i)
        if (first.Matches(p[i]) && last.Matches(p[i + m - 1]) &&
            EqualsFolded(p + i + 1, folded.data() + 1, m - 1))
            return true;
    return false;
}

bool HasEqualLine(std::u16string_view pad, std::u16string_view entry) {
    if (entry.find_first_of(u"\r\n") != std::u16string_view::npos)
        return false;
    const size_t n = pad.size(), m = entry.size();
    size_t start = 0;
    while (start < n) {
        const size_t end = FindLineBreak(pad, start);
        if (end - start == m && SameTextAscii(pad.substr(start, m), entry))
            return true;
        size_t next = end + 1;
        if (end < n && pad[end] == u'\r' && next < n && pad[next] == u'\n')
            ++next;
        start = next;
    }
    return false;
}

} // namespace vp
