#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/line_filters.h"

using namespace vp;

TEST(LineFilters, TrimControlsCutsBlanksAndControlsAtBothEnds) {
    const struct {
        std::u16string line, trimmed;
    } cases[] = {
        {u"", u""},
        {u"word", u"word"},
        {u"  two words \t", u"two words"},
        {u"\r\n\tline\r\n", u"line"},
        {std::u16string(u"\0x\0", 3), u"x"}, // NUL is a control too
        {u" \x1F\x01 ", u""},
        {u"a \t b", u"a \t b"},                     // inside the line nothing changes
        {u"\u00A0kept\u3000", u"\u00A0kept\u3000"}, // only code units up to 32 go
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimControls(c.line), c.trimmed) << ToUtf8(c.line);
}

TEST(LineFilters, CountWordsSplitsAtEveryKindOfWhiteSpace) {
    const struct {
        std::u16string text;
        int words;
    } cases[] = {
        {u"", 0},
        {u" \t\r\n ", 0},
        {u"one", 1},
        {u"  one  two\r\nthree\t", 3},
        {u"a\u00A0b\u0085c", 3},        // no-break space and NEL
        {u"a\u2028b\u2029c\u3000d", 4}, // line, paragraph and ideographic separators
        {u"a\u2000b\u200Ac\u202Fd\u205Fe\u1680f", 6},
        {u"a\u200Bb", 1}, // a zero-width space is no white space
        {u"don't-stop", 1},
        {u"\U0001F600 \U0001F600", 2}, // a surrogate pair is part of its word
    };
    for (const auto& c : cases)
        EXPECT_EQ(CountWords(c.text), c.words) << ToUtf8(c.text);
}

TEST(LineFilters, RemoveDuplicateLinesKeepsTheFirstOfEach) {
    const struct {
        StringList lines, kept;
        int removed;
    } cases[] = {
        {{}, {}, 0},
        {{u"one"}, {u"one"}, 0},
        {{u"b", u"a", u"B", u"c", u"A", u"b"}, {u"b", u"a", u"c"}, 3},
        {{u"", u"x", u"", u""}, {u"", u"x"}, 2},             // empty lines are lines too
        {{u"\u00E9", u"\u00C9"}, {u"\u00E9", u"\u00C9"}, 0}, // only a..z fold
        {{u"a ", u"a"}, {u"a ", u"a"}, 0},
    };
    for (const auto& c : cases) {
        StringList lines = c.lines;
        EXPECT_EQ(RemoveDuplicateLines(lines), c.removed);
        EXPECT_EQ(lines, c.kept);
    }
}

TEST(LineFilters, ALongDuplicateRunShowsSignsOfLife) {
    StringList lines;
    for (int i = 0; i < 20000; ++i)
        lines.push_back(i % 2 ? u"odd" : u"even");
    int signs = 0;
    EXPECT_EQ(RemoveDuplicateLines(lines, [&] { ++signs; }), 19998);
    EXPECT_EQ(lines, (StringList{u"even", u"odd"}));
    EXPECT_GT(signs, 0);

    StringList few{u"a", u"a"};
    signs = 0;
    RemoveDuplicateLines(few, [&] { ++signs; });
    EXPECT_EQ(signs, 0);
}
