#include <gtest/gtest.h>
#include <windows.h>

#include <richedit.h>

#include "core/date_time.h"
#include "platform/files.h"
#include "platform/hooks.h"
#include "test_support.h"
#include "ui/rich_log.h"

using namespace vp;
using namespace vp::ui;

namespace {

class RichLog : public ::testing::Test {
  protected:
    void SetUp() override {
        hooks::Now = [] { return EncodeDateTime(2026, 12, 10, 9, 5, 7, 0); };
        dir = test::NewTempFolder(u"vp_richlog_");
        EnsureFolder(dir);
    }
    void TearDown() override {
        hooks::Now = nullptr;
        test::RemoveTree(dir);
    }
    // The colour and boldness of the character at a position.
    std::pair<COLORREF, bool> StyleAt(LONG pos) const {
        CHARRANGE r{pos, pos + 1};
        SendMessageW(log.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof(cf);
        SendMessageW(log.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return {cf.crTextColor, (cf.dwEffects & CFE_BOLD) != 0};
    }
    static std::u16string Formatted(DWORD dateFlags, bool time) {
        SYSTEMTIME st{2026, 12, 4, 10, 9, 5, 7, 0};
        wchar_t buffer[128];
        if (time)
            GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
        else
            GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, dateFlags, &st, nullptr, buffer, 128,
                            nullptr);
        return U(buffer);
    }

    TForm form{u"LogForm", {.caption = u"Rich log test"}};
    TRichLog& log = form.Create<TRichLog>(form, u"Log", {0, 0, 400, 300}, {});
    std::u16string dir;
};

} // namespace

TEST_F(RichLog, LevelsFilterAndColour) {
    int errors = 0, warnings = 0;
    log.OnError = [&] { ++errors; };
    log.OnWarn = [&] { ++warnings; };
    EXPECT_EQ(log.Verbosity(), lvInfos);
    log.AddVerb(u"verbose");
    log.AddHint(u"hint");
    log.AddInfo(u"info");
    log.AddImpo(u"important");
    log.AddWarn(u"warning");
    log.AddError(u"error");
    log.AddError(u"");
    EXPECT_EQ(log.Lines(), (StringList{u"info", u"important", u"warning", u"error"}));
    EXPECT_EQ(errors, 2);
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(StyleAt(0).first, RGB(0, 0, 0));
    EXPECT_EQ(StyleAt(5).first, RGB(62, 13, 174));
    EXPECT_EQ(StyleAt(15).first, RGB(223, 88, 0));
    EXPECT_EQ(StyleAt(23).first, RGB(255, 0, 0));

    log.Clear();
    log.SetVerbosity(lvErrors);
    log.AddWarn(u"hidden");
    EXPECT_EQ(warnings, 2);
    log.AddMsgLvl(u"shown error", lvErrors);
    log.AddMsg(u"always");
    log.SetVerbosity(lvVerbose);
    log.AddMsgLvl(u"grey", lvVerbose);
    log.AddInteger(-42);
    log.AddMsgInt(u"n=", 7);
    EXPECT_EQ(log.Lines(), (StringList{u"shown error", u"always", u"grey", u"-42", u"n=7"}));
    EXPECT_EQ(StyleAt(19).first, RGB(128, 128, 128));
}

TEST_F(RichLog, LineFormatAndLineBreaks) {
    log.Indent = 2;
    log.SetInsertDate(true);
    log.SetInsertTime(true);
    log.AddInfo(u"one\r\ntwo\rthree\n");
    const std::u16string prefix =
        u"  " + Formatted(DATE_SHORTDATE, false) + u" " + Formatted(0, true) + u"  ";
    EXPECT_EQ(log.Lines(), (StringList{prefix + u"one", prefix + u"two", prefix + u"three"}));

    log.Clear();
    log.Indent = 4;
    log.AddEmptyRow();
    log.AddDateStamp();
    log.AddInfo(std::u16string(u"a\0b", 3));
    EXPECT_EQ(log.Lines(), (StringList{u"     ", u"    " + Formatted(DATE_SHORTDATE, false),
                                       u"    " + prefix.substr(2) + u"a b"}));
    // The settings stayed as they were.
    EXPECT_TRUE(log.InsertDate() && log.InsertTime());
}

TEST_F(RichLog, EmptyRowsAtTheEndGoButBlanksStay) {
    log.AddMsg(u"text");
    log.AddMsg(u"a\r\n\r\n\r\nb");
    log.Indent = 4;
    log.AddEmptyRow();
    log.Indent = 0;
    log.AddMsg(u"\r\n\r\n");
    EXPECT_EQ(log.Lines(), (StringList{u"text", u"a", u"", u"", u"b", u"     ", u"", u""}));
    log.RemoveLastEmptyRows();
    EXPECT_EQ(log.Lines(), (StringList{u"text", u"a", u"", u"", u"b", u"     "}));
    log.RemoveLastEmptyRows();
    EXPECT_EQ(log.Lines().size(), 6u);
}

TEST_F(RichLog, EmptyMessagesAddNothingButStillScroll) {
    MSG m;
    while (PeekMessageW(&m, log.Handle(), WM_VSCROLL, WM_VSCROLL, PM_REMOVE)) {
    }
    log.AddMsg(u"");
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_TRUE(PeekMessageW(&m, log.Handle(), WM_VSCROLL, WM_VSCROLL, PM_REMOVE));
    EXPECT_EQ(LOWORD(m.wParam), SB_BOTTOM);
    log.SetAutoScroll(false);
    log.AddMsg(u"x");
    EXPECT_FALSE(PeekMessageW(&m, log.Handle(), WM_VSCROLL, WM_VSCROLL, PM_REMOVE));
}

TEST_F(RichLog, BoldReturnsToRegular) {
    log.AddBold(u"bold");
    log.AddMsg(u"plain");
    EXPECT_TRUE(StyleAt(0).second);
    EXPECT_FALSE(StyleAt(6).second);
}

TEST_F(RichLog, FilesRoundTrip) {
    log.AddInfo(u"black");
    log.AddError(u"red \u00E9");
    const std::u16string rtf = dir + u"log.rtf";
    log.SaveAsRtf(rtf);
    EXPECT_EQ(test::ReadBytes(rtf).rfind("{\\rtf", 0), 0u);
    log.Clear();
    EXPECT_TRUE(log.LoadFromFile(rtf));
    EXPECT_EQ(log.Lines(), (StringList{u"black", u"red \u00E9"}));
    EXPECT_EQ(StyleAt(6).first, RGB(255, 0, 0));
    EXPECT_FALSE(log.LoadFromFile(dir + u"missing.rtf"));
    EXPECT_EQ(log.Lines().size(), 2u);

    const std::u16string txt = dir + u"log.txt";
    log.AppendToFile(txt);
    log.AppendToFile(txt);
    EXPECT_EQ(test::ReadBytes(txt), "black\r\nred \xC3\xA9\r\nblack\r\nred \xC3\xA9\r\n");

    test::WriteBytes(dir + u"plain.txt", "first\r\n\r\nsecond\n");
    log.Clear();
    EXPECT_TRUE(log.LoadFromFile(dir + u"plain.txt"));
    EXPECT_EQ(log.Lines().front(), u"first");
    log.Clear();
    log.AddFromFile(dir + u"plain.txt", lvWarnings);
    EXPECT_EQ(log.Lines(), (StringList{u"first", u"second"}));
    EXPECT_EQ(StyleAt(0).first, RGB(223, 88, 0));
    EXPECT_THROW(log.AddFromFile(dir + u"missing.txt", lvInfos), std::exception);
}

TEST_F(RichLog, VerbosityNames) {
    const std::u16string names[] = {u"Verbose",   u"Hints",    u"Info",
                                    u"Important", u"Warnings", u"Errors"};
    for (int i = 0; i < 6; ++i) {
        log.SetVerbosityAsInt(i + 1);
        EXPECT_EQ(log.VerbosityAsString(), names[i]);
        const int read = log.VerbosityAsInt();
        log.SetVerbosityAsInt(read);
        EXPECT_EQ(log.VerbosityAsInt(), i + 1);
    }
    EXPECT_EQ(VerbosityName(6), u"Invalid verbosity");
    EXPECT_EQ(VerbosityName(-1), u"Invalid verbosity");
}

TEST_F(RichLog, CopyAllPutsTheTextOnTheClipboard) {
    log.AddMsg(u"copy me");
    log.CopyAll();
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::u16string text = data ? U(static_cast<const wchar_t*>(GlobalLock(data))) : u"";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(text, u"copy me");
}
