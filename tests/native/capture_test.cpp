#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/capture.h"
#include "core/date_time.h"
#include "core/duplicates.h"
#include "core/encoding.h"
#include "core/errors.h"

using namespace vp;

namespace {

std::string Show(std::u16string_view s) {
    return ToUtf8(std::u16string(s));
}

// Records the side effects in the order RunCapture asks for them.
struct RecordingSink : CaptureSink {
    std::u16string pad;
    std::vector<std::string> calls;
    std::u16string status;
    bool failClear = false, failSave = false;

    void OpenVendorPage() override { calls.push_back("page"); }
    void BeepAlarm() override { calls.push_back("beep"); }
    void AppendToPad(std::u16string_view text) override {
        calls.push_back("append");
        pad += text;
    }
    void ClearClipboard() override {
        calls.push_back("clear");
        if (failClear)
            throw Error(u"Cannot open clipboard: Access denied.");
    }
    void SetStatus(const std::u16string& text) override {
        calls.push_back("status");
        status = text;
    }
    void SavePad() override {
        calls.push_back("save");
        if (failSave)
            throw Error(u"No category selected!");
    }
};

using Calls = std::vector<std::string>;

} // namespace

TEST(Duplicates, AnywhereFoldsOnlyAsciiLetters) {
    struct Case {
        std::u16string pad, entry;
        bool found;
    };
    const Case cases[] = {
        {u"we concatenate", u"cat", true},
        {u"abc", u"ABC", true},
        {u"ABC", u"abc", true},
        {u"\u00E9t\u00E9", u"\u00C9T\u00C9", false}, // é and É differ
        {u"abc", u"", false},                        // an empty entry is never found
        {u"", u"", false},
        {u"ab", u"abc", false},
        {u"[x]", u"{X}", false}, // only letters fold: { is not [
        {u"a@b", u"A`B", false}, // @ and ` differ by bit 5 yet are not letters
        {u"line1\r\nline2", u"1\r\nL", true},
        {u"x\U0001F600y", u"\U0001F600Y", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ContainsNoCase(c.pad, c.entry), c.found) << Show(c.pad) << " / " << Show(c.entry);
}

TEST(Duplicates, AnywhereFindsMatchesAtEveryOffsetAndBlockEdge) {
    // The fast path reads the pad in blocks: every start and end position must be reached.
    for (size_t len : {1u, 2u, 7u, 8u, 9u, 17u, 40u}) {
        for (size_t padLen = len; padLen < len + 40; ++padLen) {
            for (size_t at = 0; at + len <= padLen; ++at) {
                std::u16string pad(padLen, u'-');
                std::u16string entry;
                for (size_t k = 0; k < len; ++k)
                    entry += static_cast<char16_t>(u'a' + k % 26);
                for (size_t k = 0; k < len; ++k)
                    pad[at + k] = static_cast<char16_t>(u'A' + k % 26);
                ASSERT_TRUE(ContainsNoCase(pad, entry)) << len << " " << padLen << " " << at;
                pad[at + len - 1] = u'#';
                ASSERT_FALSE(ContainsNoCase(pad, entry)) << len << " " << padLen << " " << at;
            }
        }
    }
}

TEST(Duplicates, WholeLineMatchesOneLineExactlyButForAsciiCase) {
    struct Case {
        std::u16string pad, entry;
        bool found;
    };
    const Case cases[] = {
        {u"one\r\nABC\r\nthree", u"abc", true},
        {u"one\r\nabcd\r\n", u"abc", false}, // lengths must match
        {u"xabc\r\n", u"abc", false},
        {u"\u00E9t\u00E9\r\n", u"\u00C9T\u00C9", false},
        {u"", u"", false},      // no lines at all
        {u"x\r\n", u"", false}, // the remainder after the break is no line
        {u"x\r\n\r\ny", u"", true},
        {u"\r\n", u"", true},
        {u"a\rb\nc", u"B", true},      // lone CR and lone LF break lines too
        {u"a\n\rb", u"", true},        // LF then CR: two breaks, an empty line
        {u"a\r\nb", u"a\r\nb", false}, // an entry with a break never matches
        {u"a\nb", u"a\nb", false},
        {u"last", u"LAST", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasEqualLine(c.pad, c.entry), c.found) << Show(c.pad) << " / " << Show(c.entry);
}

TEST(Capture, AppendAddsExactlyOneLastLine) {
    struct Case {
        std::u16string pad, line, append;
    };
    const Case cases[] = {
        {u"", u"x", u"x\r\n"},    {u"a\r\n", u"x", u"x\r\n"}, {u"a", u"x", u"\r\nx"},
        {u"a", u"", u"\r\n\r\n"}, {u"", u"", u"\r\n"},        {u"a\r\n", u"", u"\r\n"},
        {u"a\r", u"x", u"x\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AppendText(c.pad, c.line), c.append) << Show(c.pad);
}

TEST(Capture, ClipboardBlockTextStopsAtNulOrBlockEnd) {
    // Exactly sized heap blocks: reading one unit too far trips AddressSanitizer.
    struct Case {
        std::u16string block, text;
    };
    const Case cases[] = {
        {u"abcd", u"abcd"},
        {std::u16string(u"ab\0cd\0", 6), u"ab"},
        {std::u16string(u"\0x", 2), u""},
        {u"", u""},
    };
    for (const auto& c : cases) {
        auto block = std::make_unique<char16_t[]>(c.block.size());
        std::copy(c.block.begin(), c.block.end(), block.get());
        EXPECT_EQ(TextBeforeNul({block.get(), c.block.size()}), c.text) << Show(c.block);
    }
}

TEST(Capture, DatePrefixIsMonthDayYearWithRegionalSeparator) {
    EXPECT_EQ(FormatDatePrefix(EncodeDate(2019, 3, 5), u"/"), u"03/05/2019");
    EXPECT_EQ(FormatDatePrefix(EncodeDateTime(2019, 12, 31, 23, 59, 59, 999), u"."), u"12.31.2019");
    EXPECT_EQ(FormatDatePrefix(EncodeDate(2024, 2, 29) + 0.5, u" - "), u"02 - 29 - 2024");
    EXPECT_EQ(FormatDatePrefix(0, u"/"), u"12/30/1899");
    EXPECT_EQ(FormatDatePrefix(EncodeDate(5, 1, 2), u"/"), u"01/02/0005");
    EXPECT_THROW(FormatDatePrefix(std::numeric_limits<double>::quiet_NaN(), u"/"),
                 AssertionFailure);
    EXPECT_THROW(FormatDatePrefix(1e9, u"/"), AssertionFailure);
}

TEST(Capture, DateTimeRoundTripsAcrossTheCalendar) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(DecodeDate(-1.25), (CivilDate{1899, 12, 29}));
    for (const CivilDate d : {CivilDate{1, 1, 1}, CivilDate{1600, 2, 29}, CivilDate{1900, 2, 28},
                              CivilDate{2000, 2, 29}, CivilDate{9999, 12, 31}})
        EXPECT_EQ(DecodeDate(EncodeDate(d.year, d.month, d.day)), d) << d.year;
    EXPECT_THROW(EncodeDate(2019, 2, 29), AssertionFailure);
    EXPECT_THROW(EncodeDate(2019, 13, 1), AssertionFailure);
}

TEST(Capture, DateTimeDecodesTheTimeOfDayToTheNearestSecond) {
    struct Case {
        double dateTime;
        CivilDateTime expected;
    };
    const Case cases[] = {
        {EncodeDateTime(2026, 12, 11, 18, 5, 42, 0), {{2026, 12, 11}, 18, 5, 42, 5}},
        {EncodeDateTime(2026, 12, 11, 18, 5, 42, 499), {{2026, 12, 11}, 18, 5, 42, 5}},
        {EncodeDateTime(2026, 12, 11, 18, 5, 42, 501), {{2026, 12, 11}, 18, 5, 43, 5}},
        // The day's last half second is the next day's midnight.
        {EncodeDateTime(2019, 12, 31, 23, 59, 59, 600), {{2020, 1, 1}, 0, 0, 0, 3}},
        {0, {{1899, 12, 30}, 0, 0, 0, 6}},
        // Before day 0 the fraction still counts forward from midnight.
        {-1.25, {{1899, 12, 29}, 6, 0, 0, 5}},
        {EncodeDateTime(1, 1, 1, 12, 0, 0, 0), {{1, 1, 1}, 12, 0, 0, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeDateTime(c.dateTime), c.expected) << c.dateTime;
    EXPECT_THROW(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()), AssertionFailure);
}

TEST(Capture, DisableLineDuplicates) {
    EXPECT_TRUE(DisableLineDuplicates(true, false)); // checking the date checks anywhere
    EXPECT_TRUE(DisableLineDuplicates(true, true));  // unchecking anywhere is undone
    EXPECT_FALSE(DisableLineDuplicates(false, false));
    EXPECT_TRUE(DisableLineDuplicates(false, true));
}

class Pipeline : public ::testing::Test {
  protected:
    CaptureInput Input(std::u16string_view entry) {
        CaptureInput in;
        in.entry = entry;
        in.pad = sink.pad;
        in.options = options;
        in.draw = 0;
        in.now = EncodeDate(2019, 3, 5) + 0.75;
        in.dateSeparator = u"/";
        return in;
    }
    void Capture(std::u16string_view entry) { RunCapture(Input(entry), count, sink); }

    CaptureOptions options;
    RecordingSink sink;
    int32_t count = 0;
};

TEST_F(Pipeline, AddsCountsAndSavesInOrder) {
    options.separator = u"--";
    Capture(u"  first\r\n");
    Capture(u"second");
    EXPECT_EQ(sink.pad, u"first--\r\nsecond--\r\n");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(sink.status, u"Collected items: 2");
    EXPECT_EQ(sink.calls, (Calls{"append", "status", "save", "append", "status", "save"}));
}

TEST_F(Pipeline, IgnoredDuplicateOnlyBeepsAndSetsStatus) {
    Capture(u"Hello");
    sink.calls.clear();
    Capture(u"  hello \t");
    EXPECT_EQ(sink.calls, (Calls{"beep", "status"}));
    EXPECT_EQ(sink.status, u"Duplicate item: hello");
    EXPECT_EQ(count, 1);

    options.duplicateBeep = false;
    sink.calls.clear();
    Capture(u"HELLO");
    EXPECT_EQ(sink.calls, (Calls{"status"}));
    EXPECT_EQ(sink.pad, u"Hello\r\n");
}

TEST_F(Pipeline, KeptDuplicateBeepsAndIsAddedLikeAnyOther) {
    options.ignoreDuplicate = false;
    Capture(u"abc");
    sink.calls.clear();
    Capture(u"ABC");
    EXPECT_EQ(sink.calls, (Calls{"beep", "append", "status", "save"}));
    EXPECT_EQ(sink.status, u"Collected items: 2");
    EXPECT_EQ(sink.pad, u"abc\r\nABC\r\n");
}

TEST_F(Pipeline, EmptyEntryPerMode) {
    // Anywhere: never a duplicate, so an empty line (or the separator alone) is added.
    options.anywhere = true;
    options.separator = u"|";
    Capture(u" \r\n ");
    Capture(u"");
    EXPECT_EQ(sink.pad, u"|\r\n|\r\n");
    EXPECT_EQ(count, 2);
    // Whole line: a duplicate once the pad holds an empty line.
    options = {};
    sink.pad = u"text\r\n";
    Capture(u"");
    EXPECT_EQ(sink.pad, u"text\r\n\r\n");
    Capture(u"   ");
    EXPECT_EQ(sink.status, u"Duplicate item: ");
    EXPECT_EQ(count, 3);
}

TEST_F(Pipeline, TrimStopsAtSpaceAndCanBeOff) {
    Capture(u"\u00A0x\t\x01");
    EXPECT_EQ(sink.pad, u"\u00A0x\r\n"); // the no-break space stays
    sink.pad.clear();
    options.trim = false;
    Capture(u" a ");
    Capture(u"a");
    EXPECT_EQ(sink.pad, u" a \r\na\r\n");
}

TEST_F(Pipeline, DatePrefixComesAfterTheDuplicateTest) {
    options.datePrefix = true;
    options.anywhere = true;
    Capture(u"note");
    EXPECT_EQ(sink.pad, u"03/05/2019 note\r\n");
    Capture(u"NOTE");
    EXPECT_EQ(sink.status, u"Duplicate item: NOTE");
    // In whole-line mode the stored line carries the prefix, so it never matches again.
    options.anywhere = false;
    Capture(u"note");
    EXPECT_EQ(sink.pad, u"03/05/2019 note\r\n03/05/2019 note\r\n");
}

TEST_F(Pipeline, SeparatorDecidesWhetherWholeLinesMatchLater) {
    options.separator = u"\r\n";
    Capture(u"a");
    Capture(u"a");
    EXPECT_EQ(sink.pad, u"a\r\n\r\n");
    EXPECT_EQ(sink.status, u"Duplicate item: a");
    options.separator = u";";
    Capture(u"b");
    Capture(u"b");
    EXPECT_EQ(sink.pad, u"a\r\n\r\nb;\r\nb;\r\n");
}

TEST_F(Pipeline, AppendsToAPadWithoutFinalBreak) {
    sink.pad = u"typed by hand";
    Capture(u"x");
    EXPECT_EQ(sink.pad, u"typed by hand\r\nx");
    Capture(u"");
    EXPECT_EQ(sink.pad, u"typed by hand\r\nx\r\n\r\n");
}

TEST_F(Pipeline, ClearingComesBeforeCountingAndItsFailureStopsTheRest) {
    options.clearClipboard = true;
    Capture(u"one");
    EXPECT_EQ(sink.calls, (Calls{"append", "clear", "status", "save"}));
    sink.failClear = true;
    sink.calls.clear();
    EXPECT_THROW(Capture(u"two"), Error);
    EXPECT_EQ(sink.calls, (Calls{"append", "clear"}));
    EXPECT_EQ(sink.pad, u"one\r\ntwo\r\n");
    EXPECT_EQ(count, 1);
}

TEST_F(Pipeline, FailedSaveKeepsTheEntryCounted) {
    sink.failSave = true;
    EXPECT_THROW(Capture(u"one"), Error);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(sink.status, u"Collected items: 1");
    EXPECT_EQ(sink.pad, u"one\r\n");
}

TEST_F(Pipeline, VendorPageOnlyOnDrawThreeAndFirst) {
    for (int draw : {0, 2, 4, 599}) {
        CaptureInput in = Input(u"x");
        in.draw = draw;
        EXPECT_FALSE(DecideCapture(in).openVendorPage) << draw;
    }
    Capture(u"dup");
    sink.calls.clear();
    CaptureInput in = Input(u"dup");
    in.draw = kVendorPageDraw;
    RunCapture(in, count, sink);
    EXPECT_EQ(sink.calls, (Calls{"page", "beep", "status"}));
}

TEST_F(Pipeline, CountStopsAtItsLimitInsteadOfTurningNegative) {
    count = std::numeric_limits<int32_t>::max() - 1;
    Capture(u"a");
    Capture(u"b");
    EXPECT_EQ(count, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(sink.status, u"Collected items: 2147483647");
}
