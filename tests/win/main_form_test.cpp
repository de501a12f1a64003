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

namespace {

// The greeting of a first run, letter for letter.
constexpr char16_t kWelcome[] =
    u"Please visit our web site for more downloads.\r\nhttps://www.velmorpasquill.com";

// Puts text on the clipboard with extra registered formats holding a DWORD value.
void SetClipboardWithFormats(const std::u16string& text,
                             std::initializer_list<std::pair<const wchar_t*, DWORD>> formats) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(mem), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    for (auto [name, value] : formats) {
        HGLOBAL flag = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
        *static_cast<DWORD*>(GlobalLock(flag)) = value;
        GlobalUnlock(flag);
        SetClipboardData(RegisterClipboardFormatW(name), flag);
    }
    CloseClipboard();
}

// A window that counts the clipboard notifications it receives.
struct CountingViewer {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"viewer", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                nullptr, nullptr);
    int draws = 0, chainChanges = 0;
    CountingViewer() { SetWindowSubclass(hwnd, Proc, 1, reinterpret_cast<DWORD_PTR>(this)); }
    ~CountingViewer() {
        RemoveWindowSubclass(hwnd, Proc, 1);
        DestroyWindow(hwnd);
    }
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
        auto* self = reinterpret_cast<CountingViewer*>(ref);
        if (m == WM_DRAWCLIPBOARD) {
            ++self->draws;
            return 0;
        }
        if (m == WM_CHANGECBCHAIN) {
            ++self->chainChanges;
            return 0;
        }
        return DefSubclassProc(h, m, w, l);
    }
};

} // namespace

TEST_F(MainForm, StartUpMakesTheDefaultCategoriesAndSelectsTheFirst) {
    Open();
    const auto buttons = Buttons();
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[0]->Caption(), u"Main category");
    EXPECT_EQ(buttons[3]->Caption(), u"etc");
    EXPECT_EQ(buttons[1]->Hint(), dir + u"Category 2.txt");
    EXPECT_EQ(buttons[2]->Top(), Scale(25 + 2 * 22));
    EXPECT_EQ(buttons[0]->Width(), form->grpAuto->ClientWidth() - Scale(6));
    EXPECT_EQ(form->GetPressedButton(), buttons[0]);
    EXPECT_EQ(ReadBytes(dir + u"Main category.txt"), "[Main category]\r\n");
    EXPECT_EQ(Pad(), u"[Main category]\r\n");
    EXPECT_EQ(ReadBytes(dir + u"Categories.list"),
              "\xEF\xBB\xBFMain category\r\nCategory 2\r\nCategory 3\r\netc\r\n");
    EXPECT_FALSE(form->btnApplyCateg->Enabled());
    EXPECT_FALSE(form->Monitoring());
    EXPECT_EQ(form->Text(), u"Velmor Pasquill  v2.3.4") << "the test executable's version";
    EXPECT_EQ(form->PathBackup->Path(), dir + u" ClipboardItems backup.temp");
    EXPECT_EQ(form->btnMonitor->Action(), form->actToggleMonitor);
    EXPECT_EQ(form->DefaultButton(), form->btnMonitor);
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(MainForm, ListsInTheAnsiCodePageAndInUtf8BothRead) {
    CreateDirectoryW(W(dir), nullptr);
    { std::ofstream(W(dir + u"Categories.list"), std::ios::binary) << "Caf\xE9\r\n  notes  \r\n"; }
    Open();
    ASSERT_EQ(Buttons().size(), 2u);
    EXPECT_EQ(Buttons()[0]->Caption(), u"Caf\u00E9");
    EXPECT_EQ(Buttons()[1]->Hint(), dir + u"notes.txt");
    form.reset();
    // Written back with a mark, so names outside the code page survive.
    {
        std::ofstream(W(dir + u"Categories.list"), std::ios::binary)
            << "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\n";
    }
    Open();
    ASSERT_EQ(Buttons().size(), 1u);
    EXPECT_EQ(Buttons()[0]->Caption(), u"\u65E5\u672C");
    EXPECT_EQ(File(u"\u65E5\u672C.txt"), u"[\u65E5\u672C]\r\n");
}

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

namespace {
// A source that renders its text on request and reports one more change while it does, as
// Wine does for a copy made on the X side.
struct LateRenderer {
    static inline HWND form = nullptr;
    static inline int renders = 0;
    static inline std::u16string text;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != WM_RENDERFORMAT || wParam != CF_UNICODETEXT)
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        if (renders++ == 0)
            SendMessageW(form, WM_DRAWCLIPBOARD, 0, 0);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
        std::copy_n(text.c_str(), text.size() + 1, static_cast<char16_t*>(GlobalLock(data)));
        GlobalUnlock(data);
        if (!SetClipboardData(CF_UNICODETEXT, data))
            GlobalFree(data);
        return 0;
    }
};
} // namespace

TEST_F(MainForm, AChangeReportedWhileTheClipboardIsReadWaitsForThatRead) {
    SetClipboardText(u"first");
    Open(true);
    WNDCLASSW wc{};
    wc.lpfnWndProc = LateRenderer::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VpLateRenderer";
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    LateRenderer::form = form->Handle();
    LateRenderer::text = u"rendered late";
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();

    SendMessageW(form->Handle(), WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_GE(LateRenderer::renders, 1);
    // The held change reads the same text again: a duplicate, not an empty entry.
    EXPECT_EQ(Pad(), u"[Main category]\r\nfirst\r\nrendered late\r\n");
    EXPECT_EQ(form->CollectedCount(), 2);
    EXPECT_TRUE(fx.boxes.empty());
    DestroyWindow(owner);
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

TEST_F(MainForm, MonitoringOffBeepsAndBacksUpPrivateCopiesLeaveNoTrace) {
    Open();
    CountingViewer next;
    // The viewer that joined before the window is the window's next viewer.
    HWND previous = SetClipboardViewer(next.hwnd);
    form->JoinViewerChain();
    EXPECT_EQ(form->NextViewer(), next.hwnd);
    form->chkBackup->SetChecked(true);
    const int before = next.draws;
    fx.tones.clear();
    // Joined to the chain, the window hears of every change the system reports.
    auto change = [](auto put) {
        put();
        while (ProcessPendingMessages()) {
        }
    };

    change([] { SetClipboardText(u" kept as copied "); });
    EXPECT_EQ(fx.tones.size(), 1u);
    EXPECT_EQ(fx.tones[0].frequency, 400u);
    EXPECT_EQ(fx.tones[0].duration, 30u);
    EXPECT_EQ(Pad(), u"[Main category]\r\n");
    EXPECT_EQ(ReadBytes(dir + u" ClipboardItems backup.temp"), "\r\n kept as copied ");

    for (auto format : {std::pair<const wchar_t*, DWORD>{L"Clipboard Viewer Ignore", 1},
                        {L"ExcludeClipboardContentFromMonitorProcessing", 1},
                        {L"CanIncludeInClipboardHistory", 0}}) {
        change([&] { SetClipboardWithFormats(u"secret", {format}); });
    }
    form->StartMonitoring(); // a private copy on the clipboard is not collected either
    change([] { SetClipboardWithFormats(u"secret", {{L"CanIncludeInClipboardHistory", 0}}); });
    EXPECT_EQ(fx.tones.size(), 1u);
    EXPECT_EQ(Pad().find(u"secret"), std::u16string::npos);
    EXPECT_EQ(ReadBytes(dir + u" ClipboardItems backup.temp"), "\r\n kept as copied ");
    EXPECT_GE(next.draws - before, 5) << "every notification is passed on";

    // A change of the chain: our next viewer leaves, then some other window does.
    SendMessageW(form->Handle(), WM_CHANGECBCHAIN, 0x1234, 0);
    EXPECT_EQ(next.chainChanges, 1);
    form->LeaveViewerChain();
    ChangeClipboardChain(next.hwnd, previous);
}

TEST_F(MainForm, ChainChangeForTheNextViewerReplacesIt) {
    Open();
    CountingViewer a, b;
    HWND previous = SetClipboardViewer(a.hwnd);
    form->JoinViewerChain();
    ASSERT_EQ(form->NextViewer(), a.hwnd);
    SendMessageW(form->Handle(), WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(a.hwnd),
                 reinterpret_cast<LPARAM>(b.hwnd));
    EXPECT_EQ(form->NextViewer(), b.hwnd);
    EXPECT_EQ(a.chainChanges + b.chainChanges, 0);
    form->LeaveViewerChain();
    ChangeClipboardChain(a.hwnd, previous);
}

TEST_F(MainForm, ToggleStatesWelcomeTextAndClearOnStart) {
    Open();
    form->mmoClipboard->SetText(kWelcome);
    form->chkClearOnStart->SetChecked(true);
    SetClipboardText(u"already there");
    form->actToggleMonitor->Execute();
    EXPECT_TRUE(form->Scanner->Scanning());
    EXPECT_EQ(form->Scanner->Color(), COLORREF{814339});
    EXPECT_EQ(form->Scanner->ScanColor(), scGreen);
    EXPECT_EQ(form->btnMonitor->Caption(), u"Stop monitoring");
    EXPECT_EQ(Pad(), u"");
    EXPECT_FALSE(ClipboardOffersText()) << "emptied instead of captured";
    EXPECT_EQ(form->CollectedCount(), 0);

    // F9, through the window's accelerators.
    MSG msg{form->mmoClipboard->Handle(), WM_KEYDOWN, VK_F9, 0};
    EXPECT_TRUE(form->TranslateAccelerators(msg));
    EXPECT_FALSE(form->Monitoring());
    EXPECT_EQ(form->Scanner->Color(), COLORREF{255});
    EXPECT_EQ(form->actToggleMonitor->Caption(), u"Monitor clipboard");
}

TEST_F(MainForm, GlobalHotKeyTogglesAndFollowsTheSetting) {
    Open();
    const ATOM id = form->HotMonitorID();
    ASSERT_NE(id, 0);
    SendMessageW(form->Handle(), WM_HOTKEY, id + 1, 0);
    EXPECT_FALSE(form->Monitoring());
    SendMessageW(form->Handle(), WM_HOTKEY, id, 0);
    EXPECT_TRUE(form->Monitoring());
    form->hotMonitor->SetHotKey(scCtrl | scShift | VK_F11);
    form->hotMonitor->OnChange(); // what the control reports when the user edits it
    ASSERT_NE(form->HotMonitorID(), 0);
    SendMessageW(form->Handle(), WM_HOTKEY, form->HotMonitorID(), 0);
    EXPECT_FALSE(form->Monitoring());
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

TEST_F(MainForm, UnwritableBackupIsReportedAndTheCaptureKept) {
    Open(true);
    std::ofstream(W(dir + u"plainfile")) << "x";
    form->chkBackup->SetChecked(true);
    form->PathBackup->SetPath(dir + u"plainfile\\backup.temp");
    Copy(u"kept");
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_NE(fx.boxes[0].text.find(u"backup file"), std::u16string::npos);
    EXPECT_NE(fx.boxes[0].text.find(dir + u"plainfile\\backup.temp"), std::u16string::npos);
    EXPECT_NE(File(u"Main category.txt").find(u"kept"), std::u16string::npos);
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

TEST_F(MainForm, SwitchingCategoriesSavesEditsFirst) {
    Open(true);
    Copy(u"in main");
    const auto buttons = Buttons();
    form->OnSelectCategory(*buttons[1]);
    EXPECT_EQ(form->GetPressedButton(), buttons[1]);
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_EQ(Pad(), u"[Category 2]\r\n");
    form->mmoClipboard->SetText(u"typed by hand\r\n");
    form->OnSelectCategory(*buttons[0]);
    EXPECT_EQ(File(u"Category 2.txt"), u"typed by hand\r\n") << "edits are not thrown away";
    EXPECT_NE(Pad().find(u"in main"), std::u16string::npos);
    // Clicking the selected one again keeps edits too.
    form->mmoClipboard->SetText(u"edited main\r\n");
    form->OnSelectCategory(*buttons[0]);
    EXPECT_EQ(Pad(), u"edited main\r\n");

    // Apply: edits saved, the list rebuilt, the last category selected.
    form->mmoClipboard->SetText(u"edited again\r\n");
    form->mmoCategories->SetText(u"  Main category \r\n\r\na/b:c\r\n");
    EXPECT_TRUE(form->btnApplyCateg->Enabled());
    form->btnApplyCateg->Click();
    EXPECT_FALSE(form->btnApplyCateg->Enabled());
    EXPECT_EQ(File(u"Main category.txt"), u"edited again\r\n");
    EXPECT_EQ(File(u"Category 2.txt"), u"typed by hand\r\n") << "a removed category keeps its file";
    EXPECT_EQ(form->mmoCategories->Text(), u"Main category\r\na/b:c\r\n");
    ASSERT_EQ(Buttons().size(), 2u);
    EXPECT_EQ(Buttons()[1]->Caption(), u"a_b_c");
    EXPECT_EQ(form->GetPressedButton(), Buttons()[1]);
    EXPECT_EQ(Pad(), u"[a/b:c]\r\n");

    // A blank editor gives the one category "My clipboard"; its single button stays down.
    form->mmoCategories->SetText(u"   \r\n");
    form->btnApplyCateg->Click();
    ASSERT_EQ(Buttons().size(), 1u);
    EXPECT_EQ(form->mmoCategories->Text(), u"My clipboard\r\n");
    form->mmoClipboard->SetText(u"kept\r\n");
    form->OnSelectCategory(*Buttons()[0]);
    EXPECT_TRUE(Buttons()[0]->Down());
    EXPECT_EQ(Pad(), u"kept\r\n");
}

TEST_F(MainForm, ClickOnTheCategoryGroupShowsTheEditorTab) {
    Open();
    SendMessageW(form->grpAuto->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 150));
    EXPECT_EQ(form->PageControl->ActivePage(), form->tabCategories);
}

TEST_F(MainForm, CloseSavesThePadOnce) {
    Open();
    form->mmoClipboard->SetText(u"unsaved\r\n");
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(File(u"Main category.txt"), u"unsaved\r\n");
    EXPECT_FALSE(form->actToggleMonitor->Enabled());
    EXPECT_EQ(form->HotMonitorID(), 0);
}

namespace {
std::vector<std::u16string> VisibleTabs(const TPageControl& pages) {
    std::vector<std::u16string> tabs;
    for (int i = 0; i < pages.PageCount(); ++i)
        if (pages.Pages(i).TabVisible())
            tabs.push_back(pages.Pages(i).Caption());
    return tabs;
}

// The names stored in the control section, in file order, window geometry left out.
std::vector<std::u16string> StoredControlKeys(const std::u16string& ini) {
    std::vector<std::u16string> keys;
    bool inSection = false;
    for (const std::u16string& line : TextToStringList(ini)) {
        if (line.starts_with(u"[")) {
            inSection = line == u"[QRT/Soft]";
            continue;
        }
        const size_t eq = line.find(u'=');
        if (inSection && eq != std::u16string::npos && !line.starts_with(u"MainForm-") &&
            !line.starts_with(u"FrmUpdater-"))
            keys.push_back(line.substr(0, eq));
    }
    return keys;
}
} // namespace

TEST_F(MainForm, FirstRunShowsTheLicensePageUntilOk) {
    const std::u16string shortcut = DesktopFolder() + u"Velmor Pasquill.lnk";
    DeleteFileW(W(shortcut));
    Start();
    using Tabs = std::vector<std::u16string>;
    EXPECT_EQ(VisibleTabs(*form->PageControl), (Tabs{u"License", u"Updates and news", u"About"}));
    EXPECT_EQ(form->PageControl->ActivePage(), form->tabLicense);
    EXPECT_EQ(Pad(), kWelcome);
    EXPECT_TRUE(FileExists(shortcut));
    EXPECT_EQ(form->lblVersion->Text(), u"Version:  v2.3.4");

    form->btnAgreeClick();
    EXPECT_EQ(VisibleTabs(*form->PageControl),
              (Tabs{u"Main", u"Categories", u"Settings", u"Updates and news", u"About"}));
    EXPECT_EQ(form->PageControl->ActivePage(), form->tabMain);
    DeleteFileW(W(shortcut));
}

TEST_F(MainForm, LaterRunsHideTheLicenseEvenWhenItWasTheStoredPage) {
    WriteIni(u"[QRT/Soft]\r\nPageControl=3\r\n");
    Open();
    EXPECT_FALSE(form->tabLicense->TabVisible());
    EXPECT_EQ(form->PageControl->ActivePage(), form->tabMain);
    EXPECT_EQ(Pad(), u"[Main category]\r\n");
}

TEST_F(MainForm, ShutdownStoresEveryControlInOrderAndTheSeparator) {
    Open();
    form->chkTrim->SetChecked(false);
    form->mmoSeparator->SetText(u"-- \u00E9t\u00E9 --");
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    // Every key of the main window, in the order the settings file has always had them.
    const std::vector<std::u16string> expected = {u"PageControl",
                                                  u"SplitterLeft",
                                                  u"radHintsOff",
                                                  u"radHintsTooltips",
                                                  u"radHintsStatBar",
                                                  u"spnHideHint",
                                                  u"chkAutoStartUp",
                                                  u"chkTrayIcon",
                                                  u"spnOpacity",
                                                  u"chkClearClpbrd",
                                                  u"chkClearOnStart",
                                                  u"chkAutoMonitor",
                                                  u"chkMonitorWarn",
                                                  u"chkTrim",
                                                  u"chkDate",
                                                  u"hotMonitor",
                                                  u"chkBackup",
                                                  u"PathBackup",
                                                  u"chkNoDuplicate",
                                                  u"chkDuplicateBip",
                                                  u"chkWeakDupe",
                                                  u"mnuFile",
                                                  u"mnuExit2",
                                                  u"mnuCollectedtext",
                                                  u"mnuSave",
                                                  u"mnuSaveAs",
                                                  u"N2",
                                                  u"mnuClrMemo",
                                                  u"mnuSortLines",
                                                  u"mnuOp",
                                                  u"mnuMonitor",
                                                  u"mnuClearClipboard",
                                                  u"mnuHelp",
                                                  u"mnuProgramPage",
                                                  u"mnuCompanyPage",
                                                  u"mnuSeparatorOrder",
                                                  u"mnuManual",
                                                  u"mnuCopy",
                                                  u"mnuClear",
                                                  u"N3",
                                                  u"mnuExit",
                                                  u"actToggleMonitor",
                                                  u"actSaveAs",
                                                  u"actSave",
                                                  u"actClearText",
                                                  u"actSortLines"};
    // The updates panel saves its own after the main window's.
    std::vector<std::u16string> withPanel = expected;
    withPanel.insert(withPanel.end(), {u"pgControl", u"chkShowConnectFail", u"chkForceNewsFound",
                                       u"radEveryDay", u"spnInterval", u"radEveryTime"});
    const std::u16string ini = ReadTextFile(IniPath());
    EXPECT_EQ(StoredControlKeys(ini), withPanel);
    EXPECT_NE(ini.find(u"chkTrim=0"), std::u16string::npos);
    EXPECT_NE(ini.find(u"MainForm-ClWidth="), std::u16string::npos);
    EXPECT_EQ(ReadBytes(DataDir() + u"Separator.data"), "-- \xC3\xA9t\xC3\xA9 --");
}

TEST_F(MainForm, StartUpRestoresStoredOptionsAndToleratesBadValues) {
    WriteIni(u"garbage without equals\r\n[QRT/Soft]\r\nchkTrim=0\r\nchkDate=1\r\n"
             u"chkNoDuplicate=\r\nhotMonitor=99999\r\nPathBackup=C:\\kept\\backup.txt\r\n"
             u"PageControl=2\r\nMainForm-Top=5000\r\nMainForm-Left=-300\r\n");
    EnsureFolder(DataDir());
    WriteTextFile(DataDir() + u"Separator.data", u"=====", true, false);
    Open();
    EXPECT_FALSE(form->chkTrim->Checked());
    EXPECT_TRUE(form->chkDate->Checked());
    EXPECT_TRUE(form->chkWeakDupe->Checked()) << "the date option's click handler ran";
    EXPECT_FALSE(form->chkNoDuplicate->Checked()) << "an empty value reads as unchecked";
    EXPECT_EQ(form->hotMonitor->HotKey(), TShortCut{16504}) << "Ctrl+F9";
    EXPECT_EQ(form->PathBackup->Path(), u"C:\\kept\\backup.txt");
    EXPECT_EQ(form->PageControl->ActivePage(), form->tabSettings);
    EXPECT_EQ(form->mmoSeparator->Text(), u"=====");
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(form->Left(), 0);
    EXPECT_LE(form->Top(), work.bottom - work.top - 10);
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(MainForm, ShutdownGoesOnAfterAFailingStepAndReportsOnce) {
    Open();
    form->mmoClipboard->SetText(u"unsaved\r\n");
    form->mmoSeparator->SetText(u"~~");
    SetFileAttributesW(W(dir + u"Main category.txt"), FILE_ATTRIBUTE_READONLY);
    SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, 0);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_NE(fx.boxes[0].text.find(u"Main category.txt"), std::u16string::npos);
    // The pad's edits live on in a recovery file that the report names.
    const std::u16string recovery = dir + u"Recovered - Main category - 2019-03-05 10.20.00.txt";
    EXPECT_NE(fx.boxes[0].text.find(recovery), std::u16string::npos);
    EXPECT_EQ(ReadBytes(recovery), "\xEF\xBB\xBFunsaved\r\n");
    EXPECT_EQ(form->HotMonitorID(), 0);
    EXPECT_TRUE(FileExists(IniPath()));
    EXPECT_EQ(ReadBytes(DataDir() + u"Separator.data"), "~~");

    // Whichever event comes next, the save does not run again.
    SetFileAttributesW(W(dir + u"Main category.txt"), FILE_ATTRIBUTE_NORMAL);
    form->mmoSeparator->SetText(u"later");
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(ReadBytes(DataDir() + u"Separator.data"), "~~");
}

TEST_F(MainForm, AVetoedEndOfSessionSavesAndLeavesTheProgramAsItWas) {
    Open(true);
    CountingViewer next;
    HWND previous = SetClipboardViewer(next.hwnd);
    form->JoinViewerChain();
    const ATOM hotKey = form->HotMonitorID();
    ASSERT_NE(hotKey, 0);
    form->mmoClipboard->SetText(u"typed\r\n");
    form->mmoSeparator->SetText(u"~~");
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    SendMessageW(form->Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(fx.boxes.empty());
    EXPECT_TRUE(IsZoomed(form->Handle())) << "the settings are written, the window stays";
    EXPECT_EQ(ReadBytes(dir + u"Main category.txt"), "\xEF\xBB\xBFtyped\r\n");
    EXPECT_TRUE(FileExists(IniPath()));
    EXPECT_EQ(ReadBytes(DataDir() + u"Separator.data"), "~~");

    // Still collecting: in the chain, the hotkey and the toggle live, monitoring on.
    EXPECT_FALSE(form->IsINISaved());
    EXPECT_EQ(GetClipboardViewer(), form->Handle());
    EXPECT_EQ(form->HotMonitorID(), hotKey);
    EXPECT_TRUE(form->actToggleMonitor->Enabled());
    EXPECT_TRUE(form->Monitoring());
    EXPECT_TRUE(form->Scanner->Scanning());
    const int draws = next.draws;
    SetClipboardText(u"after the veto");
    while (ProcessPendingMessages()) {
    }
    EXPECT_NE(Pad().find(u"after the veto"), std::u16string::npos) << "the system's notice";
    EXPECT_GT(next.draws, draws) << "and passed on";

    // The real end saves again, and then for good.
    form->mmoSeparator->SetText(u"at exit");
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ReadBytes(DataDir() + u"Separator.data"), "at exit");
    EXPECT_NE(ReadTextFile(dir + u"Main category.txt").find(u"after the veto"),
              std::u16string::npos);
    EXPECT_EQ(form->HotMonitorID(), 0);
    EXPECT_EQ(GetClipboardViewer(), next.hwnd);
    ChangeClipboardChain(next.hwnd, previous);
}

TEST_F(MainForm, ReadOnlySettingsFileAtShutdownShowsNothing) {
    Open();
    SetFileAttributesW(W(IniPath()), FILE_ATTRIBUTE_READONLY);
    form->mmoSeparator->SetText(u"still written");
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(fx.boxes.empty());
    EXPECT_EQ(ReadBytes(IniPath()), "[QRT/Soft]\r\n");
    EXPECT_EQ(ReadBytes(DataDir() + u"Separator.data"), "still written");
    SetFileAttributesW(W(IniPath()), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainForm, AutoStartFollowsTheCheckBox) {
    Open();
    auto runValue = [] {
        wchar_t data[1024] = {};
        DWORD size = sizeof(data);
        const LSTATUS status =
            RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                         L"vp_win_tests", RRF_RT_REG_SZ, nullptr, data, &size);
        return status == ERROR_SUCCESS ? U(data) : u"<none>";
    };
    form->chkAutoStartUp->SetChecked(true);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(runValue(), u"\"" + U(exe) + u"\"");
    form->chkAutoStartUp->SetChecked(false);
    EXPECT_EQ(runValue(), u"<none>");
}

TEST_F(MainForm, ASecondStartFindsTheFirstAndBringsItsWindowBack) {
    TApplication application(u"Velmor Pasquill test instance");
    form = std::make_unique<TMainForm>(MainFormOptions{.categoriesFolder = dir,
                                                       .dataFolder = DataDir(),
                                                       .application = &application,
                                                       .postDeferredInit = false,
                                                       .joinViewerChain = false,
                                                       .quitOnDestroy = false});
    EXPECT_EQ(application.Title(), AppName);
    application.SetTitle(u"Velmor Pasquill test instance");
    ShowWindow(form->Handle(), SW_SHOWMINIMIZED);
    {
        SingleInstanceLock first(u"Velmor Pasquill test lock");
        EXPECT_TRUE(first.Acquired());
        SingleInstanceLock second(u"Velmor Pasquill test lock");
        EXPECT_FALSE(second.Acquired());
    }
    EXPECT_TRUE(SingleInstanceLock(u"Velmor Pasquill test lock").Acquired()) << "released";
    ASSERT_TRUE(ShowRunningInstance(u"Velmor Pasquill test instance"));
    while (ProcessPendingMessages()) {
    }
    EXPECT_FALSE(IsIconic(form->Handle()));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(IsWindowVisible(application.Handle())) << "the application window hides again";
    EXPECT_FALSE(ShowRunningInstance(u"no such instance"));
}

TEST_F(MainForm, NulCharactersShowAsASymbolAndNothingAfterThemIsLost) {
    CreateDirectoryW(W(dir), nullptr);
    const char category[] = "before nul\r\nx\r\n\0\r\ny\r\nafter nul\r\n";
    test::WriteBytes(dir + u"Main category.txt", std::string(category, sizeof category - 1));
    EnsureFolder(DataDir());
    test::WriteBytes(DataDir() + u"Separator.data", std::string("-\0-", 3));
    Open();
    const std::u16string shown = u"before nul\r\nx\r\n\u2400\r\ny\r\nafter nul\r\n";
    EXPECT_EQ(Pad(), shown);
    EXPECT_EQ(form->mmoSeparator->Text(), u"-\u2400-");
    form->actSaveExecute(); // what every capture does
    EXPECT_EQ(File(u"Main category.txt"), shown);

    // A dropped file the same way.
    test::WriteBytes(dir + u"dropped.txt", std::string("one\0two", 7));
    const std::wstring path = std::wstring(W(dir + u"dropped.txt"));
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL drop = GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(),
           path.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(Pad(), u"one\u2400two");
}

TEST_F(MainForm, EveryNameThatCanBeAFileGetsItsButtonTheOthersOneShortMessage) {
    CreateDirectoryW(W(dir), nullptr);
    // A folder where a category file should go: that name cannot have its file.
    CreateDirectoryW(W(dir + u"blocked.txt"), nullptr);
    const std::u16string longName(250, u'L');
    std::u16string list = u"first\r\nblocked\r\n" + longName + u"\r\nCON\r\na<b>c|d\r\n   \r\n";
    for (int i = 0; i < 294; ++i)
        list += u"name " + U(std::to_wstring(i).c_str()) + u"\r\n";
    WriteTextFile(dir + u"Categories.list", list, true, true);
    bool visibleAtTheBox = false;
    hooks::MessageBox = [&](const std::u16string& t, const std::u16string& c, unsigned f) {
        visibleAtTheBox = form && IsWindowVisible(form->Handle());
        fx.boxes.push_back({t, c, f});
        return 1;
    };
    Open();
    const auto buttons = Buttons();
    ASSERT_EQ(buttons.size(), 298u) << "all but the blocked name";
    EXPECT_EQ(buttons[0]->Caption(), u"first");
    EXPECT_EQ(buttons[1]->Caption(), std::u16string(19, u'L'));
    EXPECT_EQ(buttons[1]->Hint().size(), 259u);
    EXPECT_EQ(File(buttons[1]->Hint().substr(dir.size())), u"[" + longName + u"]\r\n");
    EXPECT_EQ(buttons[2]->Hint(), dir + u"_CON.txt");
    EXPECT_EQ(buttons[3]->Hint(), dir + u"a_b_c_d.txt");
    EXPECT_EQ(buttons.back()->Caption(), u"name 293");
    EXPECT_TRUE(FileExists(dir + u"name 293.txt"));
    EXPECT_EQ(form->GetPressedButton(), buttons[0]);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_TRUE(visibleAtTheBox) << "the message waits for the window";
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Error");
    EXPECT_NE(fx.boxes[0].text.find(u"\r\nblocked\r\n"), std::u16string::npos);
    for (const auto& line : TextToStringList(fx.boxes[0].text))
        EXPECT_LE(line.size(), 120u) << ToUtf8(line);
    // The user's lines stay, the unusable one included.
    const std::u16string saved = File(u"Categories.list");
    EXPECT_NE(saved.find(u"\r\nblocked\r\n" + longName + u"\r\n"), std::u16string::npos);
    EXPECT_EQ(TextToStringList(saved).size(), 299u);
}

TEST_F(MainForm, AnUnwritableCategoryNeverTrapsTheUser) {
    Open();
    const std::u16string main = dir + u"Main category.txt";
    const std::u16string recovery = dir + u"Recovered - Main category - 2019-03-05 10.20.00.txt";
    form->mmoClipboard->SetText(u"typed, not saved\r\n");
    SetFileAttributesW(W(main), FILE_ATTRIBUTE_READONLY);
    form->OnSelectCategory(*Buttons()[1]);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[1]) << "switched";
    EXPECT_EQ(Pad(), u"[Category 2]\r\n");
    EXPECT_EQ(ReadBytes(recovery), "\xEF\xBB\xBFtyped, not saved\r\n");
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Warning");
    EXPECT_NE(fx.boxes[0].text.find(recovery), std::u16string::npos);
    EXPECT_EQ(ReadBytes(main), "[Main category]\r\n");

    // Held open by another program: Apply goes through, the edits go to a second file.
    form->mmoClipboard->SetText(u"more typing\r\n");
    const std::u16string second = dir + u"Category 2.txt";
    HANDLE held = CreateFileW(W(second), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    form->mmoCategories->SetText(u"Main category\r\nCategory 2\r\nnew one\r\n");
    form->btnApplyCateg->Click();
    EXPECT_EQ(Buttons().size(), 3u);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[2]);
    EXPECT_EQ(File(u"Recovered - Category 2 - 2019-03-05 10.20.00.txt"), u"more typing\r\n");
    // A category that cannot be read is not selected: the pad never goes into a file
    // whose text it does not hold.
    form->mmoClipboard->SetText(u"kept in new one\r\n");
    fx.boxes.clear();
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Buttons()[1]->Handle()));
    EXPECT_EQ(form->GetPressedButton(), Buttons()[2]);
    EXPECT_EQ(fx.boxes.size(), 1u) << "the reading error";
    EXPECT_EQ(File(u"new one.txt"), u"kept in new one\r\n");
    CloseHandle(held);

    // Nowhere to put a recovery file: the user decides, and "No" keeps everything.
    form->mmoClipboard->SetText(u"last edits\r\n");
    SetFileAttributesW(W(dir + u"new one.txt"), FILE_ATTRIBUTE_READONLY);
    const std::u16string name = u"Recovered - new one - 2019-03-05 10.20.00.txt";
    ASSERT_TRUE(CreateDirectoryW(W(dir + name), nullptr));
    ASSERT_TRUE(CreateDirectoryW(W(DataDir() + name), nullptr));
    int answer = IDNO;
    hooks::MessageBox = [&](const std::u16string& t, const std::u16string& c, unsigned f) {
        fx.boxes.push_back({t, c, f});
        return answer;
    };
    fx.boxes.clear();
    form->OnSelectCategory(*Buttons()[0]);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].flags & MB_YESNO, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(form->GetPressedButton(), Buttons()[2]);
    EXPECT_EQ(Pad(), u"last edits\r\n");
    answer = IDYES;
    form->OnSelectCategory(*Buttons()[0]);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[0]);
    SetFileAttributesW(W(dir + u"new one.txt"), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(W(main), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainForm, StartUpRemovesLeftoverTempFilesOnly) {
    EnsureFolder(dir);
    EnsureFolder(DataDir());
    for (const auto& folder : {dir, DataDir()}) {
        test::WriteBytes(folder + TempFileName(0xFFFFFFF0u, 1), "half a save");
        test::WriteBytes(folder + u"~vp1-1.tmp.keep", "mine");
    }
    Open();
    for (const auto& folder : {dir, DataDir()}) {
        EXPECT_FALSE(FileExists(folder + TempFileName(0xFFFFFFF0u, 1)));
        EXPECT_EQ(ReadBytes(folder + u"~vp1-1.tmp.keep"), "mine");
    }
}

TEST_F(MainForm, CopiesArrivingWhileTheRecoveryMessageIsUpAreKeptToo) {
    Open(true);
    SetFileAttributesW(W(dir + u"Main category.txt"), FILE_ATTRIBUTE_READONLY);
    Copy(u"waiting");
    bool copied = false;
    hooks::MessageBox = [&](const std::u16string& t, const std::u16string& c, unsigned f) {
        fx.boxes.push_back({t, c, f});
        if (c == u"Velmor Pasquill - Warning" && !copied) {
            copied = true;
            Copy(u"arrived meanwhile");
        }
        return 1;
    };
    form->OnSelectCategory(*Buttons()[1]);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[1]);
    EXPECT_NE(File(u"Recovered - Main category - 2019-03-05 10.20.00.txt").find(u"waiting"),
              std::u16string::npos);
    EXPECT_NE(File(u"Recovered - Main category - 2019-03-05 10.20.00 (2).txt")
                  .find(u"waiting\r\narrived meanwhile"),
              std::u16string::npos);
    SetFileAttributesW(W(dir + u"Main category.txt"), FILE_ATTRIBUTE_NORMAL);
}
