#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <shellapi.h>
#include <shlobj.h>

#include <fstream>

#include "app/main_form.h"
#include "core/app_name.h"
#include "core/date_time.h"
#include "core/encoding.h"
#include "core/hotkey.h"
#include "core/temp_files.h"
#include "core/text.h"
#include "main_form_fixture.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/hooks.h"
#include "platform/locale.h"
#include "platform/shell.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/application.h"
#include "ui/dpi.h"

using namespace vp;
using namespace vp::ui;
using test::ClearClipboardNow;
using test::MainForm;
using test::ReadBytes;
using test::RemoveTree;
using test::SetClipboardWithFormats;

TEST_F(MainForm, ThreeCopiesGiveThreeEntriesEachSavedAtOnce) {
    SetClipboardText(u"  one\t");
    Open(true); // start-up collects what the clipboard holds
    EXPECT_TRUE(form->Monitoring());
    Copy(u"two");
    Copy(u"three");
    EXPECT_EQ(form->CollectedCount(), 3);
    EXPECT_EQ(Status(), u"Collected items: 3");
    EXPECT_EQ(Pad(), u"[Main category]\r\none\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(ReadBytes(dir + u"Main category.txt"),
              "\xEF\xBB\xBF[Main category]\r\none\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(ranges, (std::vector<int>{600, 600, 600}));
    EXPECT_TRUE(fx.tones.empty());
}

TEST_F(MainForm, DuplicatesByLineOrAnywhere) {
    struct Case {
        bool anywhere, ignore, beep;
        const char16_t* copy;
        bool added;
        const char16_t* status;
    };
    const Case cases[] = {
        {false, true, true, u"ABC", false, u"Duplicate item: ABC"},
        {false, true, true, u"cat", true, u"Collected items: 2"},
        {true, true, false, u"cat", false, u"Duplicate item: cat"},
        {false, false, true, u"abc", true, u"Collected items: 2"},
        {false, true, true, u"\u00C9T\u00C9", true, u"Collected items: 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.copy));
        RemoveTree(dir);
        fx.tones.clear();
        SetClipboardText(u"");
        Open();
        form->StartMonitoring(); // an empty clipboard: an empty entry
        form->mmoClipboard->SetText(u"abc\r\nconcatenate\r\n\u00E9t\u00E9\r\n");
        form->chkWeakDupe->SetChecked(c.anywhere);
        form->chkNoDuplicate->SetChecked(c.ignore);
        form->chkDuplicateBip->SetChecked(c.beep);
        const std::u16string before = Pad();
        Copy(c.copy);
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(Pad() != before, c.added);
        const bool duplicate = std::u16string(c.status).starts_with(u"Dup") || !c.ignore;
        EXPECT_EQ(!fx.tones.empty(), duplicate && c.beep);
        if (!fx.tones.empty())
            EXPECT_EQ(fx.tones[0].frequency, 700u);
    }
}

TEST_F(MainForm, DatePrefixSeparatorAndClearAfterCopy) {
    Open(true);
    form->chkDate->SetChecked(true);
    EXPECT_TRUE(form->chkWeakDupe->Checked()) << "whole lines never match with a date";
    form->chkWeakDupe->SetChecked(false);
    EXPECT_TRUE(form->chkWeakDupe->Checked());
    form->mmoSeparator->SetText(u"\r\n----");
    form->chkClearClpbrd->SetChecked(true);
    Copy(u"note");
    const std::u16string& sep = RegionalDateSeparator();
    EXPECT_EQ(Pad(), u"[Main category]\r\n\r\n03" + sep + u"05" + sep + u"2019 note\r\n----\r\n");
    EXPECT_FALSE(ClipboardOffersText());
    EXPECT_EQ(form->CollectedCount(), 2);
}

TEST_F(MainForm, OneDrawInSixHundredOpensTheVendorPageAndTheCaptureGoesOn) {
    std::vector<std::u16string> opened;
    hooks::ShellExec = [&](const std::u16string&, const std::u16string& file, const std::u16string&,
                           int) {
        opened.push_back(file);
        return std::intptr_t{42};
    };
    Open(true);
    hooks::Random = [](int) { return 3; };
    Copy(u"x");
    hooks::ShellExec = nullptr;
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], kVendorPageAddress);
    EXPECT_EQ(form->CollectedCount(), 2);
}

TEST_F(MainForm, ReadOnlyCategoryFileKeepsTheEntryForTheNextSave) {
    Open(true);
    const std::u16string file = dir + u"Main category.txt";
    SetFileAttributesW(W(file), FILE_ATTRIBUTE_READONLY);
    Copy(u"pending");
    ASSERT_EQ(fx.boxes.size(), 1u) << "the general error report";
    EXPECT_EQ(form->CollectedCount(), 2);
    EXPECT_NE(Pad().find(u"pending"), std::u16string::npos);
    EXPECT_EQ(ReadBytes(file), "\xEF\xBB\xBF[Main category]\r\n\r\n");
    SetFileAttributesW(W(file), FILE_ATTRIBUTE_NORMAL);
    Copy(u"later");
    EXPECT_EQ(File(u"Main category.txt"), u"[Main category]\r\n\r\npending\r\nlater\r\n");
}

TEST_F(MainForm, NoCategoryFolderReportsNoCategorySelected) {
    CreateDirectoryW(W(dir), nullptr);
    std::ofstream(W(dir + u"plainfile")) << "x";
    Open(true, dir + u"plainfile\\categories\\");
    ASSERT_GE(fx.boxes.size(), 1u);
    EXPECT_NE(fx.boxes[0].text.find(u"Cannot create folder: "), std::u16string::npos);
    fx.boxes.clear();
    Copy(u"orphan");
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_NE(fx.boxes[0].text.find(u"No category selected!"), std::u16string::npos);
    EXPECT_NE(Pad().find(u"orphan"), std::u16string::npos);
}

TEST_F(MainForm, UnusualTextsArriveWhole) {
    Open(true);
    form->chkTrim->SetChecked(false);
    form->chkWeakDupe->SetChecked(true);
    // Bare breaks become CR LF; a NUL ends the text; characters beyond the BMP stay.
    SetClipboardWithFormats(std::u16string(u"a\rb\nc\0hidden", 13), {});
    SendMessageW(form->Handle(), WM_DRAWCLIPBOARD, 0, 0);
    Copy(u"\U0001F600 smile");
    EXPECT_EQ(Pad(), u"[Main category]\r\n\r\na\r\nb\r\nc\r\n\U0001F600 smile\r\n");
    EXPECT_EQ(ReadBytes(dir + u"Main category.txt"),
              "\xEF\xBB\xBF[Main category]\r\n\r\na\r\nb\r\nc\r\n\xF0\x9F\x98\x80 smile\r\n");

    std::u16string big(10 * 1024 * 1024, u'x');
    for (size_t i = 100; i < big.size(); i += 100)
        big[i] = u'\n';
    Copy(big);
    EXPECT_EQ(form->CollectedCount(), 4);
    EXPECT_GT(form->mmoClipboard->TextLength(), big.size());
    EXPECT_GT(ReadBytes(dir + u"Main category.txt").size(), big.size());
}

// The pad's change notice comes while the text goes in: the cursor seen there is the one a
// user sees over the window during the capture.
TEST_F(MainForm, ABigCopyShowsTheWaitCursorWhileItIsCollected) {
    Open(true);
    const int32_t collected = form->CollectedCount();
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW), wait = LoadCursorW(nullptr, IDC_WAIT);
    HCURSOR during = nullptr;
    form->mmoClipboard->OnChange = [&] { during = GetCursor(); };
    SetCursor(arrow);
    std::u16string big;
    while (big.size() < 200'000)
        big += u"a line of a big copy\r\n";
    Copy(big);
    EXPECT_EQ(during, wait);
    EXPECT_EQ(GetCursor(), arrow);
    Copy(u"a small copy");
    EXPECT_EQ(during, arrow);
    EXPECT_EQ(form->CollectedCount(), collected + 2);
}
