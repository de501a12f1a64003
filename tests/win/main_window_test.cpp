// The main window as the user meets it: menus, texts, hints, opacity, splitter, drops.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <map>

#include "core/encoding.h"
#include "core/scope_exit.h"
#include "main_form_fixture.h"
#include "platform/wstr.h"
#include "tray_support.h"
#include "ui/dpi.h"

using namespace vp;
using namespace vp::ui;
using vp::test::MainForm;

namespace {

struct MenuEntry {
    std::u16string text;
    bool separator;
};

std::vector<MenuEntry> MenuEntries(HMENU menu) {
    std::vector<MenuEntry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = 127;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
        entries.push_back({U(text), (mii.fType & MFT_SEPARATOR) != 0});
    }
    return entries;
}

// What the tooltip control itself holds, whatever its owner believes it set.
LRESULT TooltipDelay(HWND tooltip, WPARAM which) {
    return SendMessageW(tooltip, TTM_GETDELAYTIME, which, 0);
}

// Every caption and every hint on the window, with the component it belongs to. A button or
// menu item bound to an action shows the action's texts; they count once, at the action.
struct Texts {
    std::multimap<std::u16string, std::u16string> captions, hints;
};

Texts WindowTexts(TForm& form) {
    Texts t;
    for (size_t i = 0; i < form.ComponentCount(); ++i) {
        TComponent& c = form.Components(i);
        if (auto* action = dynamic_cast<TAction*>(&c)) {
            t.captions.emplace(action->Caption(), c.Name());
            t.hints.emplace(action->Hint(), c.Name());
        } else if (auto* item = dynamic_cast<TMenuItem*>(&c)) {
            if (!item->Action()) {
                t.captions.emplace(item->Caption(), c.Name());
                t.hints.emplace(item->Hint(), c.Name());
            }
        } else if (auto* sheet = dynamic_cast<TTabSheet*>(&c)) {
            t.captions.emplace(sheet->Caption(), c.Name());
        } else if (auto* control = dynamic_cast<TControl*>(&c)) {
            auto* button = dynamic_cast<TButton*>(control);
            if (button && button->Action())
                continue;
            t.captions.emplace(control->Text(), c.Name());
            t.hints.emplace(control->Hint(), c.Name());
        }
    }
    return t;
}

// Where each of the window's own texts goes: the component and the text, letter for letter.
struct Quoted {
    const char16_t* component;
    const char16_t* text;
};

const Quoted kCaptions[] = {
    {u"tabMain", u"Main"},
    {u"tabCategories", u"Categories"},
    {u"tabSettings", u"Settings"},
    {u"tabLicense", u"License"},
    {u"tabUpdater", u"Updates and news"},
    {u"tabAbout", u"About"},
    {u"grpAuto", u"Save to category:"},
    {u"grpPad", u"Collected text"},
    {u"lblLicense", u"By using this software you agree with our EULA"},
    {u"btnAgree", u"ok"},
    {u"inetLicenseAgreement", u"License Agreement"},
    {u"inetHome", u"Home page"},
    {u"lblAbout", u"This program enhances the Windows clipboard in a special way: it puts together "
                  u"all text fragments that you have copied to clipboard. Also, you can store the "
                  u"text fragments to individual categories."},
    {u"actToggleMonitor", u"Monitor clipboard"},
    {u"actSaveAs", u"Save as..."},
    {u"actSave", u"Save"},
    {u"actClearText", u"Clear text"},
    {u"actSortLines", u"Sort lines"},
    {u"mnuFile", u"&File"},
    {u"mnuExit2", u"E&xit"},
    {u"mnuCollectedtext", u"&Collected text"},
    {u"mnuOp", u"&Clipboard"},
    {u"mnuClearClipboard", u"Clear clipboard"},
    {u"mnuHelp", u"&Help"},
    {u"mnuProgramPage", u"&Home page"},
    {u"mnuCompanyPage", u"&Download similar software"},
    {u"mnuManual", u"&User manual"},
    {u"grpClpbrd", u"Clipboard"},
    {u"chkAutoMonitor", u"Auto monitor clipboard at start up"},
    {u"chkMonitorWarn", u"Beep when clipboard is not monitored"},
    {u"chkTrim", u"Trim spaces"},
    {u"chkDate", u"Add date before each line (YYYY/MM/DD)"},
    {u"chkClearClpbrd", u"Clear clipboard after copy"},
    {u"chkClearOnStart", u"Clear clipboard before start"},
    {u"lblCloseHotKey", u"'Monitor clipboard' global hotkey"},
    {u"grpDuplicate", u"Clipboard - duplicate text"},
    {u"chkWeakDupe", u"Search duplicate text everywhere"},
    {u"lblDuplicate", u"If a duplicate item is found:"},
    {u"chkNoDuplicate", u"Ignore it (don't add it again)"},
    {u"chkDuplicateBip", u"Make an beep"},
    {u"grpSystem", u"System"},
    {u"btnDesktopShortcut", u"Create desktop shortcut"},
    {u"chkAutoStartUp", u"Start at Windows start up"},
    {u"chkTrayIcon", u"Minimize to tray"},
    {u"lblOpacity", u"Opacity"},
    {u"grpSeparator", u"Separator:"},
    {u"GroupHelp", u"Help"},
    {u"radHintsOff", u"Turn off the embedded help system"},
    {u"radHintsTooltips", u"Show help as tool-tips"},
    {u"radHintsStatBar", u"Show help in status bar also"},
    {u"lblHintHide", u"Hide hint after                    milliseconds."},
    {u"grpInterface", u"Clipboard backup"},
    {u"chkBackup", u"Keep backup"},
    {u"PathBackup", u"File/Folder"},
};

const Quoted kHints[] = {
    {u"actToggleMonitor", u"Monitor the clipboard and capture the text placed there"},
    {u"actSave", u"The program will automatically save the text when you \r\nswitch to a "
                 u"different category or you exit the program.\r\n"},
    {u"actClearText", u"Clear all collected text"},
    {u"grpPad", u"You can drag TXT files here"},
    {u"mmoClipboard", u"PAD\r\n(captured text)"},
    {u"chkAutoMonitor", u"Automatically starts to monitor the clipboard when the program starts."},
    {u"chkMonitorWarn", u"Makes a beep every time you use the clipboard (perform a COPY "
                        u"operation) but \rits content is not captured by Pasquill (because "
                        u"Pasquill is disabled)."},
    {u"chkTrim", u"Trim empty spaces at the ends of the collected text."},
    {u"chkClearClpbrd", u"If checked, copy clipboard content to Pad and clear the clipboard.\rIf "
                        u"unchecked, copy clipboard content to Pad and leave the text there so "
                        u"other applications can access it also."},
    {u"chkClearOnStart", u"Clear the clipboard when you press the MONITOR CLIPBOARD "
                         u"button.\r\r\r\nSo, any text already in clipboard will be lost."},
    {u"chkWeakDupe",
     u"Global duplicates\r\nIf checked, the program will look for the current clipboard "
     u"text\r\neverywhere in the whole captured text. \r\nUse it in conjunction with 'Trim "
     u"spaces' to increase the chance of finding duplicates.\r\n\r\nLine duplicates\r\nIf "
     u"unchecked, the program will declare the current piece of clipdoard text \r\nduplicate "
     u"only if it is identical with one of the captured lines.\r\n\r\nNotes:\r\n * The search "
     u"is case insensitive!\r\n * Searching for LINE duplicates (unckecked) does not work IF the "
     u"'Add date' feature is enabled!\r\n\r\n"},
    {u"chkNoDuplicate",
     u"Don't copy a text from clipboard if it exists already in 'Collected items'."},
    {u"chkDuplicateBip", u"Make an error beep if duplicate text was found. "},
    {u"btnDesktopShortcut", u"Create a shortcut to this program on desktop"},
    {u"chkAutoStartUp", u"the program will start at Windows' start-up"},
    {u"chkTrayIcon", u"Minimize to systray instead of taskbar"},
    {u"lblOpacity", u"Window's opacity/transparency"},
    {u"grpSeparator", u"Separate two captured strings using this separator"},
    {u"mmoSeparator", u"Separate the captured text using this separator"},
    {u"radHintsOff", u"Don't use the embeded help system. No pop-up will appear and no info will "
                     u"be displayed in status bar."},
    {u"radHintsTooltips", u"Show a hint when you hold the mouse cursor over an item (button, "
                          u"checkbox, etc)"},
    {u"radHintsStatBar", u"Show information about an item in status bar."},
    {u"lblHintHide", u"The hints will automatically disappear after this interval.\r\n\r\nIf you "
                     u"don''t have time to read the hints,\r\nplease increase this value with few "
                     u"seconds."},
};

void ExpectOnceAt(const std::multimap<std::u16string, std::u16string>& texts, const Quoted& q) {
    const auto [first, last] = texts.equal_range(q.text);
    ASSERT_EQ(std::distance(first, last), 1)
        << "\"" << vp::ToUtf8(q.text) << "\" for " << vp::ToUtf8(q.component);
    EXPECT_EQ(first->second, q.component);
}

} // namespace

TEST_F(MainForm, MenuBarShowsFourMenusWithAccessKeysSeparatorsAndShortcuts) {
    Open();
    ShowWindow(form->Handle(), SW_SHOWNA);
    HMENU bar = GetMenu(form->Handle());
    ASSERT_NE(bar, nullptr);
    const auto top = MenuEntries(bar);
    ASSERT_EQ(top.size(), 4u);
    const char16_t* names[] = {u"&File", u"&Collected text", u"&Clipboard", u"&Help"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(top[i].text, names[i]);
        EXPECT_FALSE(top[i].separator) << "a menu name drawn as a separator shows nothing";
        RECT r{};
        ASSERT_TRUE(GetMenuItemRect(form->Handle(), bar, i, &r));
        EXPECT_GT(r.right - r.left, 10) << vp::ToUtf8(names[i]) << " has room for its name";
    }
    MENUBARINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetMenuBarInfo(form->Handle(), OBJID_MENU, 0, &info));
    EXPECT_GE(info.rcBar.bottom - info.rcBar.top, GetSystemMetrics(SM_CYMENU) - 1);

    auto items = [&](int i) {
        std::vector<std::u16string> texts;
        for (const auto& e : MenuEntries(GetSubMenu(bar, i)))
            texts.push_back(e.separator ? u"-" : e.text);
        return texts;
    };
    using Items = std::vector<std::u16string>;
    EXPECT_EQ(items(0), Items({u"E&xit"}));
    EXPECT_EQ(items(1),
              Items({u"Save\tCtrl+S", u"Save as...\tCtrl+Shift+S", u"-", u"Clear text\tCtrl+D",
                     u"Sort lines", u"-", u"&Find...\tCtrl+F", u"Find &next\tF3",
                     u"Find &previous\tShift+F3", u"Find in &all categories...\tCtrl+Shift+F"}));
    EXPECT_EQ(items(2), Items({u"Monitor clipboard\tF9", u"Clear clipboard\tCtrl+Del"}));
    EXPECT_EQ(items(3),
              Items({u"&Home page", u"&Download similar software", u"-", u"&User manual\tF1"}));

    // The items are bound: the monitor item follows its action's caption and runs it.
    form->actToggleMonitor->Execute();
    EXPECT_EQ(items(2)[0], u"Stop monitoring\tF9");
    SendMessageW(form->Handle(), WM_COMMAND, form->Find<TMenuItem>(u"mnuMonitor")->CommandId(), 0);
    EXPECT_FALSE(form->Monitoring());
}

TEST_F(MainForm, EveryQuotedTextAppearsOnceWhereItBelongs) {
    Open();
    const Texts texts = WindowTexts(*form);
    for (const Quoted& q : kCaptions)
        ExpectOnceAt(texts.captions, q);
    for (const Quoted& q : kHints)
        ExpectOnceAt(texts.hints, q);
    EXPECT_EQ(form->actToggleMonitor->Category(), u"Clipboard");
    for (TAction* a : {form->actSaveAs, form->actSave, form->actClearText, form->actSortLines})
        EXPECT_EQ(a->Category(), u"Pad");
    EXPECT_EQ(form->actSaveAs->Hint(), u"");
    EXPECT_EQ(form->actSortLines->Hint(), u"");
}

TEST_F(MainForm, SettingsStartFromTheirDefaults) {
    form = std::make_unique<TMainForm>(MainFormOptions{.categoriesFolder = dir,
                                                       .dataFolder = DataDir(),
                                                       .postDeferredInit = false,
                                                       .joinViewerChain = false,
                                                       .quitOnDestroy = false});
    struct Check {
        TCheckBox* box;
        bool checked;
    };
    for (auto [box, checked] : {Check{form->chkAutoMonitor, true},
                                {form->chkMonitorWarn, true},
                                {form->chkTrim, true},
                                {form->chkDate, false},
                                {form->chkClearClpbrd, false},
                                {form->chkClearOnStart, false},
                                {form->chkWeakDupe, false},
                                {form->chkNoDuplicate, true},
                                {form->chkDuplicateBip, true},
                                {form->chkAutoStartUp, false},
                                {form->chkTrayIcon, true},
                                {form->chkBackup, false}})
        EXPECT_EQ(box->Checked(), checked) << vp::ToUtf8(box->Name());
    EXPECT_FALSE(form->radHintsOff->Checked());
    EXPECT_FALSE(form->radHintsTooltips->Checked());
    EXPECT_TRUE(form->radHintsStatBar->Checked());
    struct Spin {
        TSpinEdit* spin;
        int value, min, max, step;
    };
    for (auto s :
         {Spin{form->spnOpacity, 199, 30, 255, 3}, {form->spnHideHint, 4000, 800, 20000, 100}}) {
        EXPECT_EQ(s.spin->Value(), s.value);
        EXPECT_EQ(s.spin->MinValue(), s.min);
        EXPECT_EQ(s.spin->MaxValue(), s.max);
        EXPECT_EQ(s.spin->Increment(), s.step);
    }
    EXPECT_EQ(form->mmoSeparator->Text(), u"");
    // The shown values take effect only once changed: the design opacity and the platform's
    // hint pause hold until then.
    BYTE alpha = 0;
    ASSERT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, nullptr);
    EXPECT_EQ(alpha, 252);
    EXPECT_EQ(TooltipDelay(form->Hints().Tooltip(), TTDT_AUTOPOP), 2500);
}

TEST_F(MainForm, OpacityBelow255BlendsAnd255SwitchesLayeringOff) {
    Open();
    auto alpha = [&]() -> int {
        if (!(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED))
            return -1;
        BYTE a = 0;
        GetLayeredWindowAttributes(form->Handle(), nullptr, &a, nullptr);
        return a;
    };
    form->spnOpacity->SetValue(255);
    EXPECT_EQ(alpha(), -1) << "fully opaque: no layering at all";
    form->spnOpacity->SetValue(30);
    EXPECT_EQ(alpha(), 30);
    form->spnOpacity->SetText(u"2"); // the first digit of "255", typed
    EXPECT_EQ(alpha(), 30) << "a value still being typed never makes the window vanish";
    form->spnOpacity->SetText(u"255");
    EXPECT_EQ(alpha(), -1);
    form->spnOpacity->SetValue(199);
    EXPECT_EQ(alpha(), 199);
}

TEST_F(MainForm, HintsFollowTheHelpModes) {
    Open();
    HintSystem& hints = form->Hints();
    auto over = [&](TControl* c) {
        hints.MouseOver(nullptr);
        hints.MouseOver(c->Handle());
    };
    // Status bar mode, the default: the long hint replaces the capture message, and a
    // control without a hint empties the bar.
    form->StatBar->SetSimpleText(u"Collected items: 1");
    over(form->chkTrim);
    EXPECT_EQ(form->StatBar->SimpleText(), u"Trim empty spaces at the ends of the collected text.");
    EXPECT_TRUE(hints.TooltipPending());
    over(form->btnApplyCateg);
    EXPECT_EQ(form->StatBar->SimpleText(), u"");
    EXPECT_FALSE(hints.TooltipPending());
    // A control without a hint shows its parent's; a category button its file.
    ASSERT_EQ(form->chkDate->Hint(), u"");
    ASSERT_EQ(form->chkDate->Parent(), form->grpClpbrd);
    form->grpClpbrd->SetHint(u"the group's hint");
    over(form->chkDate);
    EXPECT_EQ(form->StatBar->SimpleText(), u"the group's hint");
    EXPECT_TRUE(hints.TooltipPending()) << "the parent's tooltip too";
    over(Buttons()[0]);
    EXPECT_EQ(form->StatBar->SimpleText(), dir + u"Main category.txt");
    form->chkDate->SetHint(u"short|the long part");
    over(form->chkDate);
    EXPECT_EQ(form->StatBar->SimpleText(), u"the long part");

    // Tooltips only: the status bar keeps the capture message.
    form->radHintsTooltips->SetChecked(true);
    form->StatBar->SetSimpleText(u"Collected items: 2");
    over(form->chkTrim);
    EXPECT_EQ(form->StatBar->SimpleText(), u"Collected items: 2");
    EXPECT_TRUE(hints.TooltipPending());

    // Off: no tooltip after the next hint change, and the status bar is left alone.
    form->radHintsOff->SetChecked(true);
    over(form->chkDuplicateBip);
    EXPECT_FALSE(hints.TooltipPending());
    EXPECT_FALSE(hints.TooltipShown());
    EXPECT_EQ(form->StatBar->SimpleText(), u"Collected items: 2");

    // Menu items give their hints too, and a closed menu none.
    form->radHintsStatBar->SetChecked(true);
    SendMessageW(form->Handle(), WM_MENUSELECT,
                 MAKEWPARAM(form->Find<TMenuItem>(u"mnuClrMemo")->CommandId(), MF_HILITE),
                 reinterpret_cast<LPARAM>(GetMenu(form->Handle())));
    EXPECT_EQ(form->StatBar->SimpleText(), u"Clear all collected text");
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(form->StatBar->SimpleText(), u"");
}

TEST_F(MainForm, ATooltipWaitsItsPauseHidesAfterTheHideDelayAndStaysHiddenOverTheSameControl) {
    Open();
    ShowWindow(form->Handle(), SW_SHOWNA);
    HintSystem& hints = form->Hints();
    const HWND tooltip = hints.Tooltip();
    EXPECT_EQ(TooltipDelay(tooltip, TTDT_INITIAL), 350);
    EXPECT_EQ(TooltipDelay(tooltip, TTDT_RESHOW), 40) << "moving on between controls";
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTIPBKCOLOR, 0, 0), 12632208) << "RGB(144, 192, 192)";
    form->spnHideHint->SetValue(800);
    EXPECT_EQ(TooltipDelay(tooltip, TTDT_AUTOPOP), 800);
    // Only the moves below count, not wherever the real pointer happens to be.
    SetMessageObserver(nullptr);
    const DWORD start = GetTickCount();
    hints.MouseOver(form->chkTrim->Handle());
    while (!hints.TooltipShown() && GetTickCount() - start < 5000) {
        while (ProcessPendingMessages()) {
        }
        Sleep(5);
    }
    ASSERT_TRUE(hints.TooltipShown());
    // A timer never fires early, so this holds under any load; the margin is for the tick.
    EXPECT_GE(GetTickCount() - start, 350u - 20u) << "not before the pause the control holds";
    test::PumpFor(900, 10);
    EXPECT_FALSE(hints.TooltipShown()) << "gone after 800 ms";
    // The mouse moves on inside the same control: the hint does not come back.
    hints.MouseOver(form->chkTrim->Handle());
    test::PumpFor(600, 10);
    EXPECT_FALSE(hints.TooltipShown());
    EXPECT_FALSE(hints.TooltipPending());
}

TEST_F(MainForm, SplitterSharesTheMainTabAndItsPlaceComesBack) {
    WriteIni(u"[QRT/Soft]\r\nSplitterLeft=250\r\n");
    Open();
    EXPECT_EQ(form->pnlLeft->Width(), 250);
    EXPECT_EQ(form->SplitterLeft->Left(), 250);
    EXPECT_EQ(form->grpPad->Left(), 250 + form->SplitterLeft->Width());
    form->SplitterLeft->SetPosition(5);
    EXPECT_EQ(form->pnlLeft->Width(), Scale(120)) << "the panel keeps its minimum";
    form->SplitterLeft->SetPosition(200);
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_NE(ReadTextFile(IniPath()).find(u"SplitterLeft=200\r\n"), std::u16string::npos);
}

TEST_F(MainForm, SortAndClearChangeOnlyThePad) {
    Open(true);
    Copy(u"pear");
    Copy(u"apple");
    const std::u16string saved = File(u"Main category.txt");
    const int count = form->CollectedCount();
    form->actSortLines->Execute();
    EXPECT_LT(Pad().find(u"apple"), Pad().find(u"pear"));
    form->actClearText->Execute();
    EXPECT_EQ(Pad(), u"");
    EXPECT_EQ(File(u"Main category.txt"), saved) << "neither saves";
    EXPECT_EQ(form->CollectedCount(), count);
}

TEST_F(MainForm, DroppedFilesLoadOneAfterTheOtherAndTheCaptionShowsTheLast) {
    Open();
    const std::u16string first = dir + u"first.txt", second = dir + u"second.txt";
    WriteTextFile(first, u"one", true, true);
    WriteTextFile(second, u"two", true, true);
    const std::u16string names = first + u'\0' + dir + u"missing.txt" + u'\0' + second + u'\0';
    auto drop = [&](const std::u16string& list) {
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                  sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
        auto* d = static_cast<DROPFILES*>(GlobalLock(mem));
        d->pFiles = sizeof(DROPFILES);
        d->fWide = TRUE;
        memcpy(d + 1, list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(mem);
        SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    };
    drop(names);
    EXPECT_EQ(Pad(), u"two");
    EXPECT_EQ(form->Text(), second);
    drop(dir + u"missing.txt" + u'\0');
    EXPECT_EQ(Pad(), u"two") << "a file that cannot be read leaves the pad";
    EXPECT_EQ(form->Text(), dir + u"missing.txt");
}

TEST_F(MainForm, EdgesSnapToTheWorkAreaOnlyWhileTheUserMovesTheWindow) {
    Open();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SendMessageW(form->Handle(), WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(form->Handle(), nullptr, work.left + 6, work.top + 4, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(form->Left(), work.left);
    EXPECT_EQ(form->Top(), work.top);
    SetWindowPos(form->Handle(), nullptr, work.left + 9, work.top + 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(form->Left(), work.left + 9) << "8 pixels away is too far";
    SendMessageW(form->Handle(), WM_EXITSIZEMOVE, 0, 0);
    SetWindowPos(form->Handle(), nullptr, work.left + 3, work.top + 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(form->Left(), work.left + 3) << "the program's own placing is left alone";
}

TEST_F(MainForm, TheTrayMenuCopiesThePadWithoutCollectingItAgain) {
    Open(true);
    Copy(u"only line");
    const std::u16string pad = Pad();
    form->Find<TMenuItem>(u"mnuCopy")->Click();
    EXPECT_EQ(FetchClipboardText(5), pad);
    SendMessageW(form->Handle(), WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_EQ(Pad(), pad);
    Copy(u"next");
    EXPECT_EQ(Pad(), pad + u"next\r\n") << "later copies are collected as before";
}

namespace {

struct Geometry {
    int left, top, width, height;
    bool operator==(const Geometry&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Geometry& g) {
    return os << g.left << "," << g.top << " " << g.width << "x" << g.height;
}

Geometry GeometryOf(const TControl& c) {
    return {c.Left(), c.Top(), c.Width(), c.Height()};
}

LONG FontHeight(const TControl& c) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c.Handle(), WM_GETFONT, 0, 0)), sizeof(lf),
               &lf);
    return lf.lfHeight;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return 0;
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bm.bmWidth;
}

// Where the buttons of a spin box end, in the box's parent.
int UpDownRight(const TControl& box) {
    HWND parent = GetParent(box.Handle());
    for (HWND w = FindWindowExW(parent, nullptr, UPDOWN_CLASSW, nullptr); w;
         w = FindWindowExW(parent, w, UPDOWN_CLASSW, nullptr))
        if (reinterpret_cast<HWND>(SendMessageW(w, UDM_GETBUDDY, 0, 0)) == box.Handle()) {
            RECT r{};
            GetWindowRect(w, &r);
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
            return r.right;
        }
    return -1;
}

} // namespace

TEST_F(MainForm, AnotherDpiRescalesTheWindowAndTheOldOneRestoresIt) {
    test::TrayRecorder tray;
    Open();
    form->Show(SW_SHOWNOACTIVATE);
    form->TrayIcon->ShowIcon();
    const int start = static_cast<int>(ScreenDpi());
    const int other = start == 144 ? 96 : 144;
    // A failure on the way leaves the other tests at the DPI they started with.
    const ScopeExit restore([&] { SetScreenDpi(static_cast<UINT>(start)); });
    auto at = [](int value96, int dpi) { return MulDiv(value96, dpi, 96); };
    auto design = [&](int l, int t, int w, int h, int dpi) {
        return Geometry{at(l, dpi), at(t, dpi), at(w, dpi), at(h, dpi)};
    };
    // Controls where the design put them, in their containers' client coordinates.
    struct Placed {
        TControl* control;
        int l, t, w, h;
    };
    const Placed placed[] = {{form->btnSave, 8, 85, 150, 25},
                             {form->chkTrim, 10, 64, 310, 20},
                             {form->hotMonitor, 10, 182, 180, 24},
                             {form->grpDuplicate, 8, 236, 330, 112},
                             {form->btnApplyCateg, 8, 476, 90, 27}};
    TControl* everyKind[] = {form->pnlLeft,      form->Scanner,     form->grpAuto,
                             form->mmoClipboard, form->spnOpacity,  form->PathBackup,
                             form->grpPad,       form->PageControl, form->StatBar};
    std::map<TControl*, Geometry> before;
    for (TControl* c : everyKind)
        before[c] = GeometryOf(*c);
    // The buttons close the box, overlapping its border by a few pixels of the system's.
    const int overlap = at(72 + 64, start) - UpDownRight(*form->spnOpacity);
    ASSERT_GE(overlap, 0);
    ASSERT_LE(overlap, 3);
    for (const Placed& p : placed) {
        ASSERT_EQ(GeometryOf(*p.control), design(p.l, p.t, p.w, p.h, start))
            << ToUtf8(p.control->Name());
        before[p.control] = GeometryOf(*p.control);
    }
    RECT original{};
    GetWindowRect(form->Handle(), &original);

    // The system suggests the window's new rectangle with the new DPI.
    RECT suggested{original.left, original.top,
                   original.left + MulDiv(original.right - original.left, other, start),
                   original.top + MulDiv(original.bottom - original.top, other, start)};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(other, other),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    GetWindowRect(form->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested))
        << now.left << "," << now.top << " " << now.right << "," << now.bottom;
    for (const Placed& p : placed)
        EXPECT_EQ(GeometryOf(*p.control), design(p.l, p.t, p.w, p.h, other))
            << ToUtf8(p.control->Name());
    EXPECT_EQ(form->pnlLeft->Width(), at(166, other));
    EXPECT_EQ(form->Scanner->Height(), at(14, other));
    EXPECT_EQ(UpDownRight(*form->spnOpacity), at(72 + 64, other) - overlap) << "its buttons";
    EXPECT_EQ(FontHeight(*form->btnSave), -MulDiv(9, other, 72));
    EXPECT_EQ(FontHeight(*form->grpPad), -MulDiv(9, other, 72));
    EXPECT_EQ(FontHeight(*form->mmoClipboard), -MulDiv(8, other, 72));
    EXPECT_EQ(FontHeight(*form->StatBar), -MulDiv(9, other, 72));
    ASSERT_FALSE(tray.calls.empty());
    EXPECT_EQ(IconWidth(tray.calls.back().icon), MulDiv(16, other, 96)) << "the tray icon";

    // Back on the first monitor, everything is where and as large as it was.
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(start, start),
                 reinterpret_cast<LPARAM>(&original));
    EXPECT_EQ(static_cast<int>(ScreenDpi()), start);
    GetWindowRect(form->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &original));
    for (const auto& [control, geometry] : before)
        EXPECT_EQ(GeometryOf(*control), geometry) << ToUtf8(control->Name());
    EXPECT_EQ(FontHeight(*form->btnSave), -MulDiv(9, start, 72));
    EXPECT_EQ(FontHeight(*form->mmoClipboard), -MulDiv(8, start, 72));
    EXPECT_EQ(IconWidth(tray.calls.back().icon), MulDiv(16, start, 96));
    EXPECT_EQ(UpDownRight(*form->spnOpacity), at(72 + 64, start) - overlap);
}
