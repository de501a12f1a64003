#include <gtest/gtest.h>

#include <random>

#include "core/encoding.h"

using namespace vp;
using namespace std::string_literals;

namespace {
std::u16string MarkAnsi(std::string_view bytes) {
    return u"ANSI:" + DecodeWindows1252(bytes);
}
} // namespace

TEST(DecodeText, MarksChooseTheDecodingAndAreDropped) {
    struct Case {
        std::string bytes;
        std::u16string text;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "a\xC3\xA9"s,
         u"a\u00E9", TextEncoding::Utf8Bom},
        {"\xEF\xBB\xBF"s, u"", TextEncoding::Utf8Bom},
        {"\xEF\xBB\xBF"
         "\xFF\xFE"s,
         u"\uFFFD\uFFFD", TextEncoding::Utf8Bom}, // first mark wins
        {"\xEF\xBB\xBF"
         "\xEF\xBB\xBF"s,
         u"\uFEFF", TextEncoding::Utf8Bom}, // only one is dropped
        {"\xFF\xFE"
         "a\0\x3D\xD8\x00\xDE"s,
         u"a\U0001F600", TextEncoding::Utf16LE},
        {"\xFF\xFE"
         "\xFE\xFF"s,
         u"\uFFFE", TextEncoding::Utf16LE},
        {"\xFF\xFE"s, u"", TextEncoding::Utf16LE},
        {"\xFE\xFF"
         "\0a\xD8\x3D\xDE\x00"s,
         u"a\U0001F600", TextEncoding::Utf16BE},
        {"\xFF\xFE"
         "a\0b"s,
         u"a\uFFFD", TextEncoding::Utf16LE}, // odd byte count
        {"\xFF\xFE"
         "\x00\xD8"
         "a\0"s,
         u"\xD800"
         "a",
         TextEncoding::Utf16LE}, // unpaired kept
        {"\xFF\xFE"
         "\0\0"s,
         u"\0"s, TextEncoding::Utf16LE},
        {"\xFF"s, u"ANSI:\u00FF", TextEncoding::Ansi}, // half a mark
        {"\xEF\xBB"s, u"ANSI:\u00EF\u00BB", TextEncoding::Ansi},
        {"caf\xC3\xA9"s, u"caf\u00E9", TextEncoding::Utf8},
        {"a\0b"s, u"a\0b"s, TextEncoding::Utf8},
        {""s, u"", TextEncoding::Utf8},
        {"caf\xE9"s, u"ANSI:caf\u00E9", TextEncoding::Ansi},
        {"\x80\x9F\x81"s, u"ANSI:\u20AC\u0178\u0081", TextEncoding::Ansi},
        {"\xED\xA0\x80"s, u"ANSI:\u00ED\u00A0\u20AC", TextEncoding::Ansi}, // encoded surrogate
        {"\xC0\xAF"s, u"ANSI:\u00C0\u00AF", TextEncoding::Ansi},           // overlong
        {"ok\xF4\x90\x80\x80"s, u"ANSI:ok\u00F4\u0090\u20AC\u20AC", TextEncoding::Ansi}, // > 10FFFF
    };
    for (const Case& c : cases) {
        TextEncoding found{};
        EXPECT_EQ(DecodeText(c.bytes, MarkAnsi, &found), c.text) << c.bytes;
        EXPECT_EQ(found, c.encoding) << c.bytes;
    }
}

TEST(DecodeText, Windows1252IsTheNativeDefault) {
    EXPECT_EQ(DecodeText("\x93q\x94 \xA0\xFF"s), u"\u201Cq\u201D \u00A0\u00FF");
    const char16_t high[] = u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160"
                            u"\u2039\u0152\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022"
                            u"\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178";
    std::string bytes;
    for (int b = 0x80; b < 0xA0; ++b)
        bytes.push_back(static_cast<char>(b));
    EXPECT_EQ(DecodeWindows1252(bytes), high);
}

TEST(EncodeText, Utf8WithOptionalMark) {
    EXPECT_EQ(EncodeText(u"a\u00E9\u20AC\U0001F600", false),
              "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(EncodeText(u"", true), "\xEF\xBB\xBF");
    EXPECT_EQ(EncodeText(u"x", true), "\xEF\xBB\xBF"
                                      "x");
    EXPECT_EQ(EncodeText(u"a\0b"s, false), "a\0b"s);
    // Unpaired surrogates anywhere become U+FFFD.
    EXPECT_EQ(EncodeText(u"\xDC00"
                         "a\xD800",
                         false),
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD");
    EXPECT_EQ(EncodeText(u"\xD800\xD800\xDC00", false), "\xEF\xBF\xBD\xF0\x90\x80\x80");
}

// A text written a piece at a time must give the whole text's bytes: a cut never falls
// between the halves of a pair, and lone halves stay lone (each one U+FFFD).
TEST(EncodeText, PiecesJoinToTheWholeText) {
    const std::u16string texts[] = {
        u"abcdefgh",
        u"\U0001F600\U0001F600\U0001F600\U0001F600",
        u"a\U0001F600\U0001F600\U0001F600b",
        u"\xD800\xD800\xDC00\xDC00x\xD83D",
        u"\u00E9\u4E2D\U0001F600\r\n",
    };
    for (const std::u16string& text : texts) {
        for (size_t piece = 2; piece <= 5; ++piece) {
            std::string joined;
            for (size_t at = 0; at < text.size();) {
                const size_t end = Utf8PieceEnd(text, at, piece);
                ASSERT_GT(end, at);
                ASSERT_LE(end - at, piece);
                joined += EncodeText(text.substr(at, end - at), false);
                at = end;
            }
            EXPECT_EQ(joined, EncodeText(text, false)) << piece;
        }
    }
    EXPECT_EQ(Utf8PieceEnd(u"a\U0001F600", 0, 2), 1u);
    EXPECT_EQ(Utf8PieceEnd(u"a\U0001F600", 1, 2), 3u);
    EXPECT_EQ(Utf8PieceEnd(u"abc", 0, 10), 3u);
}

// The block-wise fast paths must not change results where a non-ASCII character or an
// invalid byte falls at any place relative to a block.
TEST(Encoding, FastPathsAgreeAtEveryOffset) {
    for (size_t offset = 0; offset < 20; ++offset) {
        for (size_t tail = 0; tail < 10; ++tail) {
            const std::u16string text =
                std::u16string(offset, u'a') + u"\u00E9\U0001F600" + std::u16string(tail, u'b');
            const std::string utf8 = EncodeText(text, false);
            EXPECT_EQ(utf8, std::string(offset, 'a') + "\xC3\xA9\xF0\x9F\x98\x80" +
                                std::string(tail, 'b'));
            EXPECT_EQ(DecodeText(utf8), text);
            std::string broken = utf8;
            broken[offset] = '\xFF';
            TextEncoding found{};
            DecodeText(broken, DecodeWindows1252, &found);
            EXPECT_EQ(found, TextEncoding::Ansi) << offset;
            EXPECT_FALSE(IsValidUtf8(broken));
            EXPECT_EQ(FromUtf8(broken).substr(offset, 2), u"\uFFFD\uFFFD");
        }
    }
}

TEST(Encoding, RandomTextsRoundTrip) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, 9);
    for (int round = 0; round < 200; ++round) {
        std::u16string text;
        const int length = round * 3;
        for (int i = 0; i < length; ++i) {
            switch (pick(rng)) {
            case 0:
                text += u"\u00E9";
                break;
            case 1:
                text += u"\u4E2D";
                break;
            case 2:
                text += u"\U0001F600";
                break;
            case 3:
                text += u'\0';
                break;
            default:
                text += static_cast<char16_t>(u' ' + pick(rng));
                break;
            }
        }
        EXPECT_EQ(DecodeText(EncodeText(text, round % 2 == 0)), text);
        EXPECT_EQ(ToUtf8(text), EncodeText(text, false));
    }
}

// Encoding sizes its buffer for mostly-ASCII text and grows it for the rest; a long
// sequence that lands right at the end of that buffer must still fit.
TEST(Encoding, OutputBufferBoundaries) {
    for (size_t ascii = 0; ascii < 40; ++ascii) {
        for (const std::u16string wide : {u"\u00E9", u"\u203A", u"\U0001F600"}) {
            for (size_t before = 0; before < 12; ++before) {
                std::u16string text;
                for (size_t k = 0; k < before; ++k)
                    text += wide;
                text += std::u16string(ascii, u'\0') + wide;
                EXPECT_EQ(FromUtf8(ToUtf8(text)), text) << ascii << " " << before;
            }
        }
    }
}
