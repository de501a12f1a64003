#pragma once
// Finding a text in the pad: case folded or exact, whole words or anywhere, forward or
// backward. The text is searched where it lies; positions count UTF-16 units from 0.
//
//     const auto m = FindMatch(pad, u"été", selEnd, {.matchCase = false});
//     if (!m) m = FindMatch(pad, u"été", 0, {});   // wrap
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vp {

struct SearchOptions {
    // Without it, code points compare after Unicode simple case folding (é finds É; ß is
    // not expanded to "ss").
    bool matchCase = false;
    // The match is neither preceded nor followed by a letter, digit or connector character.
    bool wholeWord = false;
    bool backward = false;
};

struct TextMatch {
    size_t start = 0, length = 0;
    bool operator==(const TextMatch&) const = default;
};

// Forward: the first match that starts at or after from. Backward: the last match that
// ends at or before from. A match never begins or ends between the two halves of a
// surrogate pair; an empty needle matches nothing.
std::optional<TextMatch> FindMatch(std::u16string_view text, std::u16string_view needle,
                                   size_t from, const SearchOptions& options);

// Simple case folding of one code point.
char32_t FoldCase(char32_t c);
// A letter, a decimal digit or connector punctuation ("_").
bool IsWordChar(char32_t c);
// The needle as FindMatch compares it without match case: each code point folded.
std::u16string FoldText(std::u16string_view text);

// Where the line holding pos begins and ends (before its break), and its number from 1.
// Lines break at CR LF, a lone CR or a lone LF.
struct LineSpan {
    size_t start = 0, end = 0, number = 1;
};
// Counting from a known line (a previous answer for an earlier pos) saves rescanning.
LineSpan LineAt(std::u16string_view text, size_t pos, LineSpan from = {});

// Where line number (from 1) begins; the text's size when it has fewer lines.
size_t LineStart(std::u16string_view text, size_t number);

// A match as a list of matches shows it: the number of its line, where in the line it
// starts, and a piece of that line around it with the match's place in the piece. A line
// longer than the piece is cut at both sides, and the cuts show as "\u2026".
struct MatchLine {
    size_t number = 1, column = 0;
    std::u16string excerpt;
    size_t markStart = 0, markLength = 0;
};
// Every match from the start on, each after the one before; at most limit of them.
std::vector<MatchLine> FindMatchLines(std::u16string_view text, std::u16string_view needle,
                                      const SearchOptions& options, size_t limit);

} // namespace vp
