#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/errors.h"
#include "core/ini.h"

using namespace vp;

namespace {
std::string Utf8(const std::u16string& s) {
    return ToUtf8(s);
}
} // namespace

TEST(IniDocument, ReadsValuesAsTheProfileFunctionsDo) {
    const IniDocument doc(u"; leading comment\r\n"
                          u"orphan=before any section\r\n"
                          u"[Main]\r\n"
                          u"  Plain = some text  \r\n"
                          u"Quoted=\"  kept blanks  \"\r\n"
                          u"Single=' x '\r\n"
                          u"HalfQuote=\"abc\r\n"
                          u"Mixed=\"abc'\r\n"
                          u"TwoPairs=\"\"x\"\"\r\n"
                          u"LoneQuote=\"\r\n"
                          u"Empty=\r\n"
                          u"Eq=a=b\r\n"
                          u"no equals sign here\r\n"
                          u";Commented=1\r\n"
                          u"Dup=first\r\n"
                          u"dup=second\r\n"
                          u"[ Spaced ]\r\n"
                          u"k=v\r\n"
                          u"[main]\r\n"
                          u"OnlyInSecond=1\r\n"
                          u"Plain=shadowed\r\n");
    struct Case {
        std::u16string section, key;
        std::optional<std::u16string> value;
    };
    const Case cases[] = {
        {u"Main", u"Plain", u"some text"},
        {u"MAIN", u"pLAIN", u"some text"},
        {u" Main ", u" Plain ", u"some text"},
        {u"Main", u"Quoted", u"  kept blanks  "},
        {u"Main", u"Single", u" x "},
        {u"Main", u"HalfQuote", u"\"abc"},
        {u"Main", u"Mixed", u"\"abc'"},
        {u"Main", u"TwoPairs", u"\"x\""},
        {u"Main", u"LoneQuote", u"\""},
        {u"Main", u"Empty", u""},
        {u"Main", u"Eq", u"a=b"},
        {u"Main", u"no equals sign here", std::nullopt},
        {u"Main", u";Commented", std::nullopt},
        {u"Main", u"Dup", u"first"},
        {u"Spaced", u"K", u"v"},
        {u"Main", u"OnlyInSecond", std::nullopt}, // the first section of a name wins
        {u"", u"orphan", std::nullopt},
        {u"Main", u"k", std::nullopt},
        {u"Other", u"Plain", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(doc.Find(c.section, c.key), c.value) << Utf8(c.section) << "/" << Utf8(c.key);
        EXPECT_EQ(doc.ValueExists(c.section, c.key), c.value.has_value()) << Utf8(c.key);
    }
    EXPECT_EQ(doc.ReadString(u"Main", u"Missing", u"def"), u"def");
    EXPECT_EQ(doc.ReadString(u"Main", u"Empty", u"def"), u"");
}

TEST(IniDocument, FoldsOnlyAsciiLetters) {
    const IniDocument doc(u"[\u00C9t\u00E9]\r\nCl\u00E9=1\r\n");
    EXPECT_EQ(doc.Find(u"\u00C9T\u00C9", u"Cl\u00E9"), std::nullopt);
    EXPECT_EQ(doc.Find(u"\u00C9T\u00E9", u"CL\u00E9"), u"1");
}

TEST(IniDocument, ValueReadIsCutAt2047Units) {
    const std::u16string longValue(5000, u'x');
    IniDocument doc;
    doc.WriteString(u"S", u"Long", longValue);
    doc.WriteString(u"S", u"Exact", std::u16string(2047, u'y'));
    doc.WriteString(u"S", u"QuotedLong", u"\"" + std::u16string(2047, u'z') + u"\"");
    EXPECT_EQ(doc.Find(u"S", u"Long"), std::u16string(2047, u'x'));
    EXPECT_EQ(doc.Find(u"S", u"Exact"), std::u16string(2047, u'y'));
    EXPECT_EQ(doc.Find(u"S", u"QuotedLong"), std::u16string(2047, u'z'));
    // The stored line keeps all of it.
    EXPECT_NE(doc.Text().find(longValue), std::u16string::npos);
}

TEST(IniDocument, LineEndsAndUnfinishedLastLine) {
    const std::u16string texts[] = {
        u"[S]\r\na=1\r\nb=2\r\n",
        u"[S]\na=1\nb=2\n",
        u"[S]\ra=1\rb=2\r",
        u"[S]\r\na=1\nb=2",
    };
    for (const auto& t : texts) {
        const IniDocument doc(t);
        EXPECT_EQ(doc.Find(u"S", u"a"), u"1") << Utf8(t);
        EXPECT_EQ(doc.Find(u"S", u"b"), u"2") << Utf8(t);
        EXPECT_EQ(doc.Text(), u"[S]\r\na=1\r\nb=2\r\n") << Utf8(t);
    }
    // LF CR is two breaks: an empty line between.
    EXPECT_EQ(IniDocument(u"[S]\n\ra=1").Text(), u"[S]\r\n\r\na=1\r\n");
    EXPECT_EQ(IniDocument(u"").Text(), u"");
}

TEST(IniDocument, WritesInPlaceAtSectionEndAndAtFileEnd) {
    IniDocument doc(u"; settings\r\n"
                    u"[A]\r\n"
                    u"x = 1\r\n"
                    u"junk line\r\n"
                    u"Y=2\r\n"
                    u"\r\n"
                    u"; about B\r\n"
                    u"[B]\r\n"
                    u"z=3\r\n");
    doc.WriteString(u"a", u"X", u"10");  // replaced where it stands, caller's spelling
    doc.WriteString(u"A", u"new", u"n"); // after the last key of A, not after the comment
    doc.WriteString(u"C", u"c1", u"v");  // new section at the end
    doc.WriteString(u"C", u"c2", u"w");
    doc.WriteString(u"B", u"z", u" padded "); // written as given, read trimmed
    EXPECT_EQ(doc.Text(), u"; settings\r\n"
                          u"[A]\r\n"
                          u"X=10\r\n"
                          u"junk line\r\n"
                          u"Y=2\r\n"
                          u"new=n\r\n"
                          u"\r\n"
                          u"; about B\r\n"
                          u"[B]\r\n"
                          u"z= padded \r\n"
                          u"\r\n"
                          u"[C]\r\n"
                          u"c1=v\r\n"
                          u"c2=w\r\n");
    EXPECT_EQ(doc.Find(u"B", u"z"), u"padded");
}

TEST(IniDocument, WritesGoToTheFirstOfDuplicates) {
    IniDocument doc(u"[S]\r\nk=1\r\nK=2\r\n[X]\r\n[s]\r\nk=3\r\n");
    doc.WriteString(u"S", u"k", u"9");
    doc.WriteString(u"S", u"new", u"n");
    EXPECT_EQ(doc.Text(), u"[S]\r\nk=9\r\nK=2\r\nnew=n\r\n[X]\r\n[s]\r\nk=3\r\n");
}

TEST(IniDocument, EmptyDocumentAndEmptySectionGetTheirFirstKey) {
    IniDocument doc;
    doc.WriteString(u"S", u"k", u"v");
    EXPECT_EQ(doc.Text(), u"[S]\r\nk=v\r\n");
    IniDocument headerOnly(u"[S]\r\n[T]\r\n");
    headerOnly.WriteString(u"S", u"k", u"v");
    EXPECT_EQ(headerOnly.Text(), u"[S]\r\nk=v\r\n[T]\r\n");
}

TEST(IniDocument, HeaderWithoutBracketIsNotASection) {
    IniDocument doc(u"[Open\r\nk=1\r\n[S]x\r\nj=2\r\n");
    EXPECT_FALSE(doc.SectionExists(u"Open"));
    EXPECT_EQ(doc.Find(u"S", u"j"), u"2"); // text after "]" is ignored
}

TEST(IniDocument, LineBreaksInAValueCannotAddLines) {
    IniDocument doc;
    doc.WriteString(u"S", u"k", u"a\r\n[Evil]\r\nx=1");
    EXPECT_FALSE(doc.SectionExists(u"Evil"));
    EXPECT_EQ(doc.Find(u"S", u"k"), u"a  [Evil]  x=1");
    EXPECT_EQ(doc.LineCount(), 2u);
}

TEST(IniDocument, NamesThatCouldNotBeFoundAgainAreRefused) {
    const std::pair<std::u16string, std::u16string> bad[] = {
        {u"S]", u"k"}, {u"S\r\n", u"k"}, {u"S", u"a=b"},
        {u"S", u"[k"}, {u"S", u";k"},    {u"S", u"k\n"},
    };
    for (const auto& [section, key] : bad) {
        IniDocument doc(u"[S]\r\nk=1\r\n");
        EXPECT_THROW(doc.WriteString(section, key, u"v"), Error) << Utf8(section + u"/" + key);
        EXPECT_FALSE(doc.ValueExists(section, key));
        EXPECT_EQ(doc.Text(), u"[S]\r\nk=1\r\n");
    }
}

TEST(IniDocument, OddBytesAndHugeLinesAreJustText) {
    std::u16string text = u"[S]\r\nnul=a";
    text += u'\0';
    text += u"b\r\nbig=" + std::u16string(1 << 20, u'q') + u"\r\n\0\0=\0\r\n";
    IniDocument doc(text);
    EXPECT_EQ(doc.Find(u"S", u"nul"), (std::u16string{u'a', u'\0', u'b'}));
    EXPECT_EQ(doc.Find(u"S", u"big")->size(), kMaxIniValueLength);
    doc.WriteString(u"S", u"after", u"1");
    EXPECT_EQ(IniDocument(doc.Text()).Text(), doc.Text());
}
