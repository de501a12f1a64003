#include <gtest/gtest.h>

#include <cmath>

#include "core/encoding.h"
#include "core/text.h"
#include "core/version_text.h"

using namespace vp;

TEST(PosNoCase, FoldsOnlyAsciiLetters) {
    struct Case {
        std::u16string sub, text;
        size_t pos;
    };
    const Case cases[] = {
        {u"abc", u"xABCx", 2}, {u"\u00E9", u"\u00C9", 0}, // é is not folded to É
        {u"", u"abc", 0},      {u"abcd", u"abc", 0},
        {u"B", u"abcb", 2},    {u"[", u"{[", 2}, // brackets are not letters: { is not folded to [
        {u"x", u"", 0},        {u"\U0001F600", u"a\U0001F600", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PosNoCase(c.sub, c.text), c.pos) << ToUtf8(c.sub);
}

TEST(LastPos, FindsLastOccurrence) {
    EXPECT_EQ(LastPos(u".", u"a.b.c"), 4u);
    EXPECT_EQ(LastPos(u"aa", u"aaa"), 2u);
    EXPECT_EQ(LastPos(u"z", u"abc"), 0u);
    EXPECT_EQ(LastPos(u"", u"abc"), 0u);
    EXPECT_EQ(LastPos(u"abcd", u"abc"), 0u);
}

TEST(TextHelpers, CopyRangeAndLastChar) {
    EXPECT_EQ(CopyRange(u"abcdef", 2, 4), u"bcd");
    EXPECT_EQ(CopyRange(u"abc", 3, 10), u"c");
    EXPECT_EQ(CopyRange(u"abc", 3, 2), u"");
    EXPECT_EQ(LastCharOf(u"ab\\"), u"\\");
    EXPECT_EQ(LastCharOf(u""), u"");
}

TEST(TextHelpers, Replacements) {
    EXPECT_EQ(ReplaceChar(u"a|b|c", u'|', u'-'), u"a-b-c");
    std::u16string s = u"x.y";
    ReplaceCharInPlace(s, u'.', u',');
    EXPECT_EQ(s, u"x,y");
    EXPECT_EQ(ReplaceLineBreaks(u"a\r\nb", u"|"), u"a||b");
    EXPECT_EQ(ReplaceLineBreaks(u"a\nb\rc", u"<br>"), u"a<br>b<br>c");
    // Each UTF-16 unit above U+00FF counts: the emoji's two surrogates give two.
    EXPECT_EQ(ReplaceNonLatin1(u"a\u00FF\u0100\u20AC\U0001F600", u'?'), u"a\u00FF????");
}

TEST(StripFinalLineBreak, RemovesAtMostTwoBreakCharacters) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"x\r\n", u"x"}, {u"a\nx", u"a\nx"}, {u"a\n\n\n", u"a\n"}, {u"a\n\r", u"a"},
        {u"a\r\r", u"a"}, {u"", u""},         {u"\r", u""},         {u"abc", u"abc"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(StripFinalLineBreak(in), out) << ToUtf8(in);
}

TEST(TextToStringList, SplitsAtEveryKindOfBreak) {
    EXPECT_EQ(TextToStringList(u"a\r\nb\rc\nd"), (StringList{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(TextToStringList(u"a\r\n"), (StringList{u"a"}));
    EXPECT_EQ(TextToStringList(u"a\n\nb"), (StringList{u"a", u"", u"b"}));
    EXPECT_EQ(TextToStringList(u"\n"), (StringList{u""}));
    EXPECT_EQ(TextToStringList(u"a\n\r"), (StringList{u"a", u""}));
    EXPECT_TRUE(TextToStringList(u"").empty());
}

TEST(FirstLines, TakesCountLinesOptionallySkippingEmpty) {
    EXPECT_EQ(FirstLines(u"\r\nnews", 1, true), u"news\r\n");
    EXPECT_EQ(FirstLines(u"\r\nnews", 1, false), u"\r\n");
    EXPECT_EQ(FirstLines(u"a\nb\nc", 2, false), u"a\r\nb\r\n");
    EXPECT_EQ(FirstLines(u"a\nb\nc", 0, false), u"a\r\nb\r\nc\r\n");
    EXPECT_EQ(FirstLines(u"a\n\nb\n", -1, true), u"a\r\nb\r\n");
}

TEST(LineBreakTokens, ExpandInOrder) {
    EXPECT_EQ(ExpandLineBreakTokens(u"firstCRLF second"), u"first\r\nsecond");
    EXPECT_EQ(ExpandLineBreakTokens(u"first CRLF second"), u"first \r\nsecond");
    EXPECT_EQ(ExpandLineBreakTokens(u"aCRLFCRLFb"), u"a\r\n\r\nb");
    EXPECT_EQ(ExpandLineBreakTokens(u"crlf stays"), u"crlf stays");
}

namespace {
// Days since 1899-12-30 for a day number and a time of day.
double At(int day, int h, int m) {
    return day + (h * 60 + m) / 1440.0;
}
} // namespace

TEST(CalendarDaySpan, AddsOneAcrossMidnight) {
    EXPECT_NEAR(CalendarDaySpan(At(45000, 23, 59), At(45001, 0, 1)), 1.0014, 1e-4);
    EXPECT_NEAR(CalendarDaySpan(At(45000, 0, 1), At(45000, 23, 59)), 0.9986, 1e-4);
    EXPECT_NEAR(CalendarDaySpan(At(45001, 0, 1), At(45000, 23, 59)), 1.0014, 1e-4);
    EXPECT_DOUBLE_EQ(CalendarDaySpan(At(45000, 12, 0), At(45000, 12, 0)), 0.0);
    EXPECT_NEAR(CalendarDaySpan(At(45000, 12, 0), At(45010, 12, 0)), 11.0, 1e-9);
}

TEST(VersionText, FormsWithAndWithoutVersion) {
    const FileVersion v{(4u << 16) | 5u, (0u << 16) | 7u};
    EXPECT_EQ(VersionFullText(v), u"4.5.0.7");
    EXPECT_EQ(VersionShortText(v), u"4.5.0");
    EXPECT_EQ(VersionLabelText(v), u" v4.5.0");
    EXPECT_EQ(VersionFullText(std::nullopt), u"0");
    EXPECT_EQ(VersionShortText(std::nullopt), u"0");
    EXPECT_EQ(VersionLabelText(std::nullopt), u" v0");
    EXPECT_EQ(VersionFullText(FileVersion{0xFFFFFFFF, 0x000A0000}), u"65535.65535.10.0");
}

TEST(Encoding, Utf8RoundTripAndReplacement) {
    const std::u16string text = u"a\u00E9\u20AC\U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("\xC3\x28"), u"\uFFFD(");                // broken sequence
    EXPECT_EQ(FromUtf8("\xE0\x80\xAF"), u"\uFFFD\uFFFD\uFFFD"); // overlong
    EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // encoded surrogate
    EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9"));
}
