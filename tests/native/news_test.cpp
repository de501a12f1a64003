#include <gtest/gtest.h>

#include "core/date_time.h"
#include "core/encoding.h"
#include "core/news.h"

using namespace vp;
using namespace std::string_literals;

namespace {
RNews Parse(std::u16string_view text) {
    RNews n;
    n.MagicNo = u"stale";
    n.Counter = 99;
    n.NewsText = u"stale";
    n.LoadFrom(text);
    return n;
}
} // namespace

TEST(RNews, BothLayouts) {
    struct Case {
        std::u16string text;
        std::u16string magic, comment, version;
        int32_t counter;
        std::u16string news;
    };
    const Case cases[] = {
        {u"", u"", u"", u"?", 0, u""},
        {u"!TAnnouncer", u"!TAnnouncer", u"", u"?", 0, u""},
        {u"!TAnnouncer v2\r\ncomment\r\n4.6.0.0\r\n7", u"!TAnnouncer v2", u"comment", u"4.6.0.0", 7,
         u""},
        {u"!TAnnouncer\r\nc\r\n5.0\r\n8\r\nHello\r\n\r\nWorld\r\n", u"!TAnnouncer", u"c", u"5.0", 8,
         u"Hello\r\n\r\nWorld\r\n"},
        // The marker must start the text, in its own letter case.
        {u" !TAnnouncer\r\nc\r\n5.0\r\n8", u"", u"c", u"?", 0, u"5.0\r\n8\r\n"},
        {u"!tannouncer\r\nc", u"", u"c", u"?", 0, u""},
        {u"12\r\nnote\r\na\r\n\r\nb", u"", u"note", u"?", 12, u"a\r\n\r\nb\r\n"},
        {u"12 \r\nnote", u"", u"note", u"?", 0, u""},
        {u" 12\r\nnote", u"", u"note", u"?", 12, u""},
        {u"-3", u"", u"", u"?", -3, u""},
        {u"$10\nx\ny", u"", u"x", u"?", 16, u"y\r\n"},
        {u"4294967296\r\nx\r\nn", u"", u"x", u"?", 0, u"n\r\n"},
        // Bare CR and bare LF end lines too; a final break adds no line.
        {u"5\rc\rone\ntwo\r\n", u"", u"c", u"?", 5, u"one\r\ntwo\r\n"},
        {u"5\n\nx\n\n", u"", u"", u"?", 5, u"x\r\n\r\n"},
        // A NUL ends the text.
        {u"3\r\nc\r\nseen\0unseen\r\nmore"s, u"", u"c", u"?", 3, u"seen\r\n"},
        {u"\0"
         u"9\r\nc"s,
         u"", u"", u"?", 0, u""},
        // An error page is parsed like any text: no counter.
        {u"<html><body>404 Not Found</body></html>", u"", u"", u"?", 0, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.text));
        const RNews n = Parse(c.text);
        EXPECT_EQ(n.MagicNo, c.magic);
        EXPECT_EQ(n.Comment, c.comment);
        EXPECT_EQ(n.AppVersion, c.version);
        EXPECT_EQ(n.Counter, c.counter);
        EXPECT_EQ(n.NewsText, c.news);
    }
}

TEST(RNews, OnlyATextWithANumberForCounterIsANewsFile) {
    struct Case {
        std::u16string text;
        bool news;
    };
    const Case cases[] = {
        {u"!TAnnouncer\r\nc\r\n4.6.0.0\r\n7\r\nnews", true},
        {u"!TAnnouncer v2\r\nc\r\n4.6.0.0\r\n-1", true},
        {u"12\r\nnote\r\nnews", true},
        {u" 12\r\nnote", true},
        {u"$10", true},
        // A sign-in page of a public network, answered with status 200.
        {u"<!DOCTYPE html>\r\n<html><head><title>Sign in</title></head></html>", false},
        {u"!TAnnouncer\r\nc\r\n4.6.0.0\r\nseven\r\nnews", false},
        {u"!TAnnouncer\r\nc\r\n4.6.0.0", false},
        {u"!TAnnouncer", false},
        {u"12 \r\nnote", false},
        {u"4294967296", false},
        {u"", false},
        {u"\r\n5", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.text));
        EXPECT_EQ(IsNewsFile(c.text), c.news);
    }
}

TEST(RNews, ClearAndHeadLine) {
    RNews n = Parse(u"1\r\nc\r\n\r\n  \r\nfirst\r\nsecond");
    EXPECT_EQ(n.HeadLine(), u"  \r\n"); // a blank is a character
    n = Parse(u"1\r\nc\r\n\r\n\r\n");
    EXPECT_EQ(n.HeadLine(), u"");
    n.Clear();
    EXPECT_EQ(n.AppVersion, u"?");
    EXPECT_EQ(n.Counter, 0);
    EXPECT_TRUE(n.NewsText.empty() && n.Comment.empty() && n.MagicNo.empty());
}

TEST(NewerVersion, ComparesNumberByNumber) {
    struct Case {
        std::u16string announced, running;
        bool newer;
    };
    const Case cases[] = {
        {u"1.10.0.0", u"1.9.0.0", true},
        {u"1.9.0.0", u"1.10.0.0", false},
        {u"2.0.0.0", u"10.0.0.0", false},
        {u"10.0.0.0", u"2.0.0.0", true},
        {u"4.5.0.0", u"4.5.0.0", false},
        {u"4.5", u"4.5.0.0", false},
        {u"4.5.0.1", u"4.5", true},
        {u"004.05.0.0", u"4.5.0.0", false},
        {u"4.6", u"4.5.9.9", true},
        {u"99999999999999999999.0", u"4.5.0.0", true},
        {u"4.5.0.0", u"0", true},
        {u"0", u"0", false},
        // No usable announcement announces nothing.
        {u"?", u"4.5.0.0", false},
        {u"", u"4.5.0.0", false},
        {u"v5.0", u"4.5.0.0", false},
        {u"5.0 beta", u"4.5.0.0", false},
        {u"5..0", u"4.5.0.0", false},
        {u"5.0.", u"4.5.0.0", false},
        {u"  ", u"0", false},
        {u"5. 0", u"4.5.0.0", false},
        {u"-5.0", u"4.5.0.0", false},
        {u" 5.0\t", u"4.5.0.0", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNewerVersion(c.announced, c.running), c.newer)
            << ToUtf8(c.announced) << " vs " << ToUtf8(c.running);
}

TEST(CheckSchedule, CalendarDaysAndTheClock) {
    const double yesterday2359 = EncodeDateTime(2026, 12, 9, 23, 59, 0, 0);
    const double today0001 = EncodeDateTime(2026, 12, 10, 0, 1, 0, 0);
    const double today2359 = EncodeDateTime(2026, 12, 10, 23, 59, 0, 0);
    struct Case {
        int32_t every;
        double last, now;
        bool force, due;
    };
    const Case cases[] = {
        {1, yesterday2359, today0001, false, true},  // a new calendar day
        {2, yesterday2359, today0001, false, false}, // only the second day
        {1, today0001, today2359, false, false},     // the same day
        {1, today0001, today2359, true, true},       // forced
        {0, today2359, today2359, false, true},      // every start
        {1, 0, today0001, false, true},              // never checked
        {30, 0, today0001, false, true},             // never checked, long interval
        {1, today2359, today0001, false, false},     // clock set back within the day
        {1, today2359 + 3, today0001, false, true},  // clock set back by days
        {-1, 0, today0001, false, false},            // negative interval: never due
        {-1, 0, today0001, true, true},              //   unless forced
        {3, today0001 - 2, today0001, false, true},  // 2 days + a new day
        {3, today0001 - 1.5, today0001, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsCheckDue(c.every, c.last, c.now, c.force), c.due)
            << c.every << " " << c.last << " " << c.now << " " << c.force;
}
