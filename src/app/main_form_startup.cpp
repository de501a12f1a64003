#include "app/main_form.h"

#include <commctrl.h>

#include <utility>

#include "app/category_button.h"
#include "app/frm_updater.h"
#include "core/errors.h"
#include "core/vendor.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/version.h"
#include "ui/form_state.h"
#include "ui/hints.h"
#include "ui/internet_label.h"
#include "ui/velmor_memo.h"
#include "ui/velmor_path_edit.h"

namespace vp {

using namespace ui;

namespace {

// Timer messages come after the paint messages: this one fires once the window is drawn.
constexpr UINT_PTR kUpdatesPanelTimer = 1;
// How often the selected category's file is looked at: one attribute query each time.
constexpr UINT_PTR kFileOnDiskTimer = 2;
constexpr UINT kFileOnDiskMilliseconds = 1000;

// Runs one start-up step; a failing step is reported and the next one still runs, so a
// broken category folder never keeps the window out of the viewer chain.
template <class F> void Step(F&& step) {
    try {
        step();
    } catch (...) {
        ReportCurrentException();
    }
}

} // namespace

void TMainForm::DeferredInit() {
    const bool firstRun = !FileExists(IniPath());
    Step([&] { EnsureFolderMsg(CategoriesFolder()); });
    // Saves cut short by a crash leave their temporary files behind.
    Step([&] { RemoveLeftoverTempFiles(CategoriesFolder()); });
    Step([&] { RemoveLeftoverTempFiles(DataFolderPath()); });
    PathBackup->SetPath(CategoriesFolder() + kBackupFileName);
    Step([&] {
        if (FileExists(CategoriesListPath()))
            mmoCategories->SetText(
                ReadTextFile(CategoriesListPath(), &knownVersions_[CategoriesListPath()]));
    });
    // Names that got no file are told once the window is up and collecting.
    holdCategoryReport_ = true;
    Step([&] { btnApplyCategClick(); });
    holdCategoryReport_ = false;
    Step([&] {
        const auto& controls = grpAuto->Controls();
        if (!controls.empty())
            if (auto* first = dynamic_cast<TCategoryButton*>(controls.front()))
                SelectCategory(*first);
    });
    Step([&] { LoadFormState(*this, ForcedIniPath()); });
    Step([&] { LoadFindSettings(); });
    Step([&] { FitFormToWorkArea(*this); });
    Step([&] {
        if (FileExists(SeparatorPath()))
            mmoSeparator->SetText(ReadTextFile(SeparatorPath(), &knownVersions_[SeparatorPath()]));
    });
    mmoSeparator->OnChange = [this] { separatorEdited_ = true; };
    Step([&] { RegisterMonitorHotKey(); });
    UpdateCaption();
    lblVersion->SetText(u"Version: " + AppVersionLabel());
    inetLicenseAgreement->SetLink(vendor::kLicenseAgreement);
    inetHome->SetLink(vendor::kDownloadPage);
    hints_->SetColor(RGB(144, 192, 192));
    hints_->SetDelays(350, 40);
    // A returning user's window is painted once, without the first-run page.
    if (!firstRun)
        HideLicensePage();
    Show(StartShowCommand());
    if (firstRun)
        ShowFirstRunPage();
    INISaved = false;
    if (options_.joinViewerChain)
        Step([&] { JoinViewerChain(); });
    Step([&] { chkAutoMonitorClick(); });
    // The updates panel (its rich edit, its settings) is not needed to see or use the
    // window: with a message loop it is made once the window has painted.
    if (options_.postDeferredInit)
        StartTimer(kFileOnDiskTimer, kFileOnDiskMilliseconds, [this] { ShowFileAsOnDisk(); });
    if (options_.postDeferredInit)
        StartTimer(kUpdatesPanelTimer, 1, [this] {
            StopTimer(kUpdatesPanelTimer);
            Step([&] { CreateUpdatesPanel(); });
        });
    else
        Step([&] { CreateUpdatesPanel(); });
    if (!heldCategoryReport_.empty())
        ShowError(std::exchange(heldCategoryReport_, {}));
}

void TMainForm::CreateUpdatesPanel() {
    CreateUpdater(vendor::kNewsFile, tabUpdater,
                  {.dataFolder = options_.dataFolder, .iniPath = ForcedIniPath()});
    FrmUpdater->GetNewsAuto(600);
}

void TMainForm::ReleaseUpdater() {
    // The panel's controls live in this window's tab: it saves them before they go.
    if (FrmUpdater && FrmUpdater->pgControl->Parent() == tabUpdater)
        FreeUpdater();
}

int TMainForm::StartShowCommand() const {
    switch (options_.showCommand) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        return options_.showCommand;
    default:
        return FormShowCommand(*this);
    }
}

void TMainForm::CreateLicensePage() {
    // "License": the first-run page.
    lblLicense = &Create<TLabel>(*tabLicense, u"lblLicense", {40, 60, 500, 20},
                                 {.caption = u"By using this software you agree with our EULA"});
    inetLicenseAgreement = &Create<TInternetLabel>(
        *tabLicense, u"inetLicenseAgreement", {40, 84, 200, 18},
        {.caption = u"License Agreement", .link = vendor::kLicenseAgreement});
    btnAgree = &Create<TButton>(*tabLicense, u"btnAgree", {40, 116, 90, 27},
                                {.caption = u"ok", .onClick = [this] { btnAgreeClick(); }});
}

void TMainForm::ShowFirstRunPage() {
    // A start minimised may have gone into the tray: the page must be seen.
    if (IsIconic(Handle()))
        BringToFront();
    // Every start before the first orderly exit is a first run, and the pad then holds
    // what earlier runs collected: the greeting goes only into a category made just now.
    const TCategoryButton* selected = GetPressedButton();
    if (!selected || madeThisRun_.count(selected->Hint()))
        mmoClipboard->SetText(WelcomeText());
    Step([&] { btnDesktopShortcutClick(); });
    tabLicense->SetTabVisible(true);
    PageControl->SetActivePage(tabLicense);
    tabSettings->SetTabVisible(false);
    tabCategories->SetTabVisible(false);
    tabMain->SetTabVisible(false);
    btnAgree->SetFocus();
}

void TMainForm::HideLicensePage() {
    // A page stored while the first-run page was up falls back to the pad.
    if (PageControl->ActivePage() == tabLicense)
        PageControl->SetActivePage(tabMain);
    tabLicense->SetTabVisible(false);
}

void TMainForm::btnAgreeClick() {
    tabMain->SetTabVisible(true);
    tabSettings->SetTabVisible(true);
    tabCategories->SetTabVisible(true);
    PageControl->SetActivePage(tabMain);
    tabLicense->SetTabVisible(false);
}

void TMainForm::SaveBeforeExit() {
    if (INISaved)
        return;
    INISaved = true;
    SaveEverything(true);
}

void TMainForm::SaveForVetoedSessionEnd() {
    if (INISaved)
        return;
    // Storing the geometry sets a maximised window to normal: this window stays in use.
    const bool zoomed = IsZoomed(Handle()) != FALSE;
    SaveEverything(false);
    if (zoomed && !IsZoomed(Handle()))
        ShowWindow(Handle(), SW_SHOWMAXIMIZED);
}

void TMainForm::SaveEverything(bool ending) {
    std::u16string failures;
    auto step = [&](auto&& work) {
        try {
            work();
        } catch (...) {
            if (!failures.empty())
                failures += u"\r\n\r\n";
            failures += ExceptionText(std::current_exception());
        }
    };
    if (ending)
        step([&] { actToggleMonitor->SetEnabled(false); });
    step([&] {
        try {
            actSaveExecute();
        } catch (...) {
            if (!padModified_)
                throw;
            // The last chance for the pad's edits: a recovery file beside the categories.
            const std::u16string failure = ExceptionText(std::current_exception());
            const std::u16string recovery = RecoverPad();
            throw Error(failure + (recovery.empty()
                                       ? u"\r\n\r\nThe pad's text could not be saved to a "
                                         u"recovery file either."
                                       : u"\r\n\r\nSo that nothing is lost, the pad's text was "
                                         u"saved to this file:\r\n" +
                                             recovery));
        }
    });
    if (ending) {
        step([&] { LeaveViewerChain(); });
        step([&] { UnregisterMonitorHotKey(); });
    }
    step([&] { SaveFormState(*this, ForcedIniPath()); });
    step([&] {
        EnsureFolder(DataFolderPath());
        // Another program's separator is kept; one the user also changed goes beside it.
        if (ChangedOnDisk(SeparatorPath())) {
            if (!separatorEdited_)
                return;
            const std::u16string recovery = WriteRecoveryFile(u"Separator", mmoSeparator->Text());
            throw Error(u"Another program changed \"" + SeparatorPath() + u"\"; it was kept. " +
                        (recovery.empty()
                             ? u"Your separator could not be saved elsewhere."
                             : u"Your separator was saved to this file:\r\n" + recovery));
        }
        knownVersions_[SeparatorPath()] =
            WriteTextFile(SeparatorPath(), mmoSeparator->Text(), true, false);
        // Saved: a later save of the same text over our own file needs no guard.
        separatorEdited_ = false;
    });
    // The end of a session may end the process before the panel is freed.
    step([&] {
        if (FrmUpdater && FrmUpdater->pgControl->Parent() == tabUpdater)
            FrmUpdater->SaveState();
    });
    step([&] { SaveFindSettings(); });
    if (!failures.empty())
        ShowError(failures);
}

} // namespace vp
