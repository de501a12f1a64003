#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/search.h"

using namespace vp;

namespace {
constexpr size_t kNone = static_cast<size_t>(-1);

size_t Find(std::u16string_view text, std::u16string_view needle, size_t from,
            SearchOptions options) {
    const auto m = FindMatch(text, needle, from, options);
    if (m) {
        EXPECT_EQ(m->length, needle.size());
    }
    return m ? m->start : kNone;
}
} // namespace

TEST(FindMatch, TableOfCases) {
    const SearchOptions any{}, exact{.matchCase = true}, word{.wholeWord = true},
        back{.backward = true}, backWord{.wholeWord = true, .backward = true};
    struct Case {
        const char* what;
        std::u16string text, needle;
        size_t from;
        SearchOptions options;
        size_t found;
    };
    const Case cases[] = {
        {"empty text", u"", u"a", 0, any, kNone},
        {"empty needle", u"abc", u"", 0, any, kNone},
        {"needle longer than text", u"ab", u"abc", 0, any, kNone},
        {"whole text", u"abc", u"ABC", 0, any, 0},
        {"at the very start", u"xyz abc", u"x", 0, any, 0},
        {"at the very end", u"xyz abc", u"c", 0, any, 6},
        {"from past a match", u"abab", u"ab", 1, any, 2},
        {"from past the end", u"abab", u"ab", 5, any, kNone},
        {"match case", u"Abc abc", u"abc", 0, exact, 4},
        {"match case, none", u"ABC", u"abc", 0, exact, kNone},
        {"across CR LF", u"one\r\ntwo", u"e\r\nt", 0, any, 2},
        {"accent folded", u"caf\u00C9", u"\u00E9", 0, any, 3},
        {"accent kept apart with match case", u"caf\u00C9", u"\u00E9", 0, exact, kNone},
        {"not a to z only: Greek", u"\u03A3\u039F\u03A6", u"\u03C3\u03BF\u03C6", 0, any, 0},
        {"final sigma folds to sigma", u"\u03C2", u"\u03A3", 0, any, 0},
        {"Kelvin sign is k", u"\u212A", u"k", 0, any, 0},
        {"sharp s is not ss", u"stra\u00DFe", u"strasse", 0, any, kNone},
        {"capital sharp s folds to sharp s", u"STRA\u1E9EE", u"stra\u00DFe", 0, any, 0},
        {"dotted capital I stays", u"\u0130", u"i", 0, any, kNone},
        {"surrogate pair found", u"a\U0001F600b", u"\U0001F600", 0, any, 1},
        {"supplementary letters fold", u"x\U00010400", u"\U00010428", 0, any, 1},
        {"never the low half of a pair", u"\U0001F600", u"\xDE00", 0, any, kNone},
        {"never the high half of a pair", u"\U0001F600", u"\xD83D", 0, exact, kNone},
        {"a lone surrogate is found",
         u"a\xD83D"
         u"b",
         u"\xD83D", 0, any, 1},
        {"whole word alone", u"cat", u"cat", 0, word, 0},
        {"whole word skips inside a word", u"concat cat", u"cat", 0, word, 7},
        {"whole word at punctuation", u"(cat),cat.", u"cat", 0, word, 1},
        {"underscore joins a word", u"my_cat cat_ cat", u"cat", 0, word, 12},
        {"digits join a word", u"cat9 9cat", u"cat", 0, word, kNone},
        {"accented letter joins a word", u"\u00E9cat", u"cat", 0, word, kNone},
        {"line breaks part words", u"x\r\ncat\r\n", u"cat", 0, word, 3},
        {"a pair letter joins a word", u"\U00010400cat", u"cat", 0, word, kNone},
        {"an emoji does not", u"\U0001F600cat", u"cat", 0, word, 2},
        {"backward from the end", u"ab ab ab", u"AB", 8, back, 6},
        {"backward ends at or before from", u"ab ab ab", u"ab", 7, back, 3},
        {"backward at the start", u"ab ab", u"ab", 2, back, 0},
        {"backward none before", u"ab ab", u"ab", 1, back, kNone},
        {"backward from past the end", u"abc", u"c", 99, back, 2},
        {"backward whole word", u"cat concat", u"cat", 10, backWord, 0},
        {"backward match case", u"aA", u"a", 2, {.matchCase = true, .backward = true}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Find(c.text, c.needle, c.from, c.options), c.found) << c.what;
}

TEST(FindMatch, ExactAndFoldedAgreeWhereCaseDoesNotMatter) {
    const std::u16string text = u"12 34 12 -- 12";
    for (bool backward : {false, true})
        for (size_t from = 0; from <= text.size(); ++from)
            EXPECT_EQ(Find(text, u"12", from, {.matchCase = true, .backward = backward}),
                      Find(text, u"12", from, {.backward = backward}))
                << from;
}

TEST(WordChars, LettersDigitsAndConnectors) {
    for (char32_t c : {U'a', U'Z', U'0', U'_', U'\u00E9', U'\u4E2D', U'\u0663', U'\u203F',
                       U'\U00010400', U'\U00020000'})
        EXPECT_TRUE(IsWordChar(c)) << static_cast<unsigned>(c);
    for (char32_t c : {U' ', U'-', U'.', U'\r', U'\u00A0', U'\u2014', U'\U0001F600', U'\0'})
        EXPECT_FALSE(IsWordChar(c)) << static_cast<unsigned>(c);
}

TEST(LineAt, NumbersLinesAtEveryKindOfBreak) {
    const std::u16string text = u"one\r\ntwo\rthree\nfour";
    struct Case {
        size_t pos, start, end, number;
    };
    const Case cases[] = {{0, 0, 3, 1},  {3, 0, 3, 1},    {4, 0, 3, 1},    {5, 5, 8, 2},
                          {9, 9, 14, 3}, {15, 15, 19, 4}, {19, 15, 19, 4}, {99, 15, 19, 4}};
    for (const Case& c : cases) {
        const LineSpan line = LineAt(text, c.pos);
        EXPECT_EQ(line.start, c.start) << c.pos;
        EXPECT_EQ(line.end, c.end) << c.pos;
        EXPECT_EQ(line.number, c.number) << c.pos;
        // Counting on from an earlier line gives the same answer.
        const LineSpan on = LineAt(text, c.pos, LineAt(text, 5));
        EXPECT_EQ(on.number, c.pos >= 5 ? c.number : line.number) << c.pos;
    }
    for (const Case& c : cases)
        EXPECT_EQ(LineStart(text, c.number), c.start) << c.number;
    EXPECT_EQ(LineStart(text, 9), text.size());
    EXPECT_EQ(LineAt(u"", 0).number, 1u);
    EXPECT_EQ(LineAt(u"a\r\n", 3).number, 2u);
}

TEST(FindMatchLines, NumbersMarksAndCutsLongLines) {
    const std::u16string text = u"an apple\r\nno\rapple, apple\n" + std::u16string(500, u'x') +
                                u"apple" + std::u16string(500, u'y');
    const auto lines = FindMatchLines(text, u"APPLE", {}, 100);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].number, 1u);
    EXPECT_EQ(lines[0].excerpt, u"an apple");
    EXPECT_EQ(lines[0].excerpt.substr(lines[0].markStart, lines[0].markLength), u"apple");
    EXPECT_EQ(lines[1].number, 3u);
    EXPECT_EQ(lines[2].number, 3u);
    EXPECT_EQ(lines[2].column, 7u);
    EXPECT_EQ(lines[2].excerpt.substr(lines[2].markStart, 5), u"apple");
    EXPECT_EQ(lines[3].number, 4u);
    EXPECT_EQ(lines[3].column, 500u);
    EXPECT_LT(lines[3].excerpt.size(), 260u);
    EXPECT_EQ(lines[3].excerpt.front(), u'\u2026');
    EXPECT_EQ(lines[3].excerpt.back(), u'\u2026');
    EXPECT_EQ(lines[3].excerpt.substr(lines[3].markStart, lines[3].markLength), u"apple");
    // The limit, and a match across a break marked up to the break.
    EXPECT_EQ(FindMatchLines(text, u"apple", {}, 2).size(), 2u);
    const auto across = FindMatchLines(u"one\r\ntwo", u"e\r\nt", {}, 10);
    ASSERT_EQ(across.size(), 1u);
    EXPECT_EQ(across[0].excerpt, u"one");
    EXPECT_EQ(across[0].markStart, 2u);
    EXPECT_EQ(across[0].markLength, 1u);
}
