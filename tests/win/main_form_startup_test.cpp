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
using test::CountingViewer;
using test::kWelcome;
using test::MainForm;
using test::ReadBytes;
using test::RemoveTree;

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
