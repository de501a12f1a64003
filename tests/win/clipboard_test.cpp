#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "clipboard_holder.h"
#include "core/errors.h"
#include "platform/clipboard.h"
#include "platform/hooks.h"

using namespace vp;
using test::ClipboardHolder;
using test::OwnerWindow;

namespace {

struct Format {
    UINT id;
    std::string bytes;
};

std::string Bytes(std::u16string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

std::string DwordBytes(DWORD value) {
    return std::string(reinterpret_cast<char*>(&value), 4);
}

// Puts each format's bytes on the clipboard exactly as given (no terminator added).
void PutRaw(const std::vector<Format>& formats) {
    OwnerWindow owner;
    ASSERT_TRUE(OpenClipboard(owner.h));
    EmptyClipboard();
    for (const auto& f : formats) {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, f.bytes.size());
        std::memcpy(GlobalLock(h), f.bytes.data(), f.bytes.size());
        GlobalUnlock(h);
        EXPECT_TRUE(SetClipboardData(f.id, h));
    }
    CloseClipboard();
}

class Clipboard : public ::testing::Test {
  protected:
    void SetUp() override {
        hooks::Sleep = [this](unsigned ms) {
            waits.push_back(ms);
            ::Sleep(ms);
        };
    }
    void TearDown() override { hooks::Sleep = nullptr; }
    std::vector<unsigned> waits;
};

} // namespace

TEST_F(Clipboard, TextRoundTripsUnchanged) {
    const std::u16string texts[] = {
        u"plain",
        u"outside the BMP: \U0001F600 \U00010348",
        u"bare\rCR and bare\nLF and\r\nboth\n\r",
        u"  spaces kept  ",
    };
    for (const auto& text : texts) {
        SetClipboardText(text);
        EXPECT_TRUE(ClipboardOffersText());
        const ClipboardText got = FetchClipboard(kClipboardAttempts);
        EXPECT_TRUE(got.fetched);
        EXPECT_FALSE(got.isPrivate);
        EXPECT_EQ(got.text, text);
    }
    EXPECT_TRUE(waits.empty());
}

TEST_F(Clipboard, TextEndsAtFirstNulAndNeverReadsPastItsBlock) {
    PutRaw({{CF_UNICODETEXT, Bytes(std::u16string(u"ab\0cd\0", 6))}});
    EXPECT_EQ(FetchClipboardText(kClipboardAttempts), u"ab");
    // No terminating NUL at all: the block's size ends the text. Windows hands the block
    // over as it is; Wine puts a NUL into its last unit itself.
    PutRaw({{CF_UNICODETEXT, Bytes(u"abcd")}});
    const std::u16string unterminated = FetchClipboardText(kClipboardAttempts);
    EXPECT_TRUE(unterminated == u"abcd" || unterminated == u"abc") << unterminated.size();
    PutRaw({{CF_UNICODETEXT, std::string(1, '\0')}}); // half a code unit
    EXPECT_EQ(FetchClipboardText(kClipboardAttempts), u"");
}

TEST_F(Clipboard, EmptyClipboardOffersNoText) {
    SetClipboardText(u"x");
    EmptyClipboardOnce();
    EXPECT_FALSE(ClipboardOffersText());
    const ClipboardText got = FetchClipboard(kClipboardAttempts);
    EXPECT_EQ(got.text, u"");
    EXPECT_FALSE(got.fetched);
    EXPECT_TRUE(waits.empty()); // nothing offered, nothing retried
}

TEST_F(Clipboard, BriefHoldIsWaitedOut) {
    SetClipboardText(u"held");
    {
        ClipboardHolder holder(200);
        const ClipboardText got = FetchClipboard(kClipboardAttempts);
        EXPECT_TRUE(got.fetched);
        EXPECT_EQ(got.text, u"held");
    }
    EXPECT_FALSE(waits.empty());
    EXPECT_LT(waits.size(), static_cast<size_t>(kClipboardAttempts));
}

TEST_F(Clipboard, HoldLongerThanTheRetriesGivesEmptyText) {
    SetClipboardText(u"held");
    ClipboardHolder holder(1500);
    const ClipboardText got = FetchClipboard(kClipboardAttempts);
    EXPECT_FALSE(got.fetched);
    EXPECT_EQ(got.text, u"");
    // Every failed attempt waits 30 ms, the last one included.
    EXPECT_EQ(waits, std::vector<unsigned>(kClipboardAttempts, 30));
}

TEST_F(Clipboard, EmptyingWhileHeldRaisesTheSystemsReasonWithoutRetry) {
    SetClipboardText(u"kept");
    {
        ClipboardHolder holder(500);
        try {
            EmptyClipboardOnce();
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            const std::u16string prefix = u"Cannot open clipboard: ";
            EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
            EXPECT_GT(e.Message().size(), prefix.size());
        }
        EXPECT_TRUE(waits.empty());
    }
    EXPECT_EQ(FetchClipboardText(kClipboardAttempts), u"kept");
}

TEST_F(Clipboard, PrivateCopiesAreRecognisedAndGiveNoText) {
    const UINT exclude = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    const UINT ignore = RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
    const UINT history = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
    const std::string secret = Bytes(std::u16string(u"s3cret\0", 7));
    struct Case {
        const char* name;
        std::vector<Format> marks;
        bool isPrivate;
    };
    const Case cases[] = {
        {"exclude", {{exclude, std::string(1, '\0')}}, true},
        {"viewer ignore", {{ignore, std::string(1, '\0')}}, true},
        {"history off", {{history, DwordBytes(0)}}, true},
        {"history on", {{history, DwordBytes(1)}}, false},
        {"history too short", {{history, std::string(2, '\0')}}, false},
        {"unmarked", {}, false},
    };
    for (const auto& c : cases) {
        std::vector<Format> formats{{CF_UNICODETEXT, secret}};
        formats.insert(formats.end(), c.marks.begin(), c.marks.end());
        PutRaw(formats);
        const ClipboardText got = FetchClipboard(kClipboardAttempts);
        EXPECT_EQ(got.isPrivate, c.isPrivate) << c.name;
        EXPECT_EQ(got.text, c.isPrivate ? u"" : u"s3cret") << c.name;
        EXPECT_EQ(FetchClipboardText(kClipboardAttempts), got.text) << c.name;
    }
}

TEST_F(Clipboard, TenMegabyteText) {
    std::u16string text(5 * 1024 * 1024, u'x');
    for (size_t i = 0; i < text.size(); i += 64)
        text[i] = u'\n';
    text.back() = u'\u00E9';
    SetClipboardText(text);
    EXPECT_EQ(FetchClipboardText(kClipboardAttempts), text);
}
