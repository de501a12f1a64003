#pragma once
// Generated tables of the Unicode Character Database (tools/gen_unicode_tables.py).
#include <cstddef>

namespace vp::unicode {

struct CaseFold {
    char32_t from, to;
};
struct CodeRange {
    char32_t first, last;
};

// Simple case folding, sorted by from; a code point not listed folds to itself. A fold
// never moves a code point into or out of the basic plane.
extern const CaseFold kCaseFolds[];
extern const size_t kCaseFoldCount;
// Letters, decimal digits and connector punctuation, sorted, each range inclusive.
extern const CodeRange kWordRanges[];
extern const size_t kWordRangeCount;

} // namespace vp::unicode
