#pragma once
// The duplicate test of a captured text against the pad. Both modes read the pad in
// place: it may hold many megabytes and is searched on every capture.
#include <string_view>

namespace vp {

// Anywhere mode: entry occurs in pad with a..z folded to A..Z (every other code unit
// compares exactly). An empty entry is never found.
bool ContainsNoCase(std::u16string_view pad, std::u16string_view entry);

// Whole-line mode: some line of pad equals entry with a..z folded. Lines end at CR LF,
// a lone CR or a lone LF; the empty remainder after a final break is not a line, so an
// empty pad has no lines. An entry holding a line break never matches.
bool HasEqualLine(std::u16string_view pad, std::u16string_view entry);

inline bool IsDuplicate(std::u16string_view entry, std::u16string_view pad, bool anywhere) {
    return anywhere ? ContainsNoCase(pad, entry) : HasEqualLine(pad, entry);
}

} // namespace vp
