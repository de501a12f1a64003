#include "app/main_form.h"

#include <commctrl.h>

#include <cstdlib>

#include "app/frm_find_all.h"
#include "app/resource_ids.h"
#include "core/app_name.h"
#include "core/paths.h"
#include "core/vendor.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/unique_handle.h"
#include "platform/version.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/hints.h"
#include "ui/image.h"
#include "ui/private_messages.h"

namespace vp {

using namespace ui;

std::u16string WelcomeText() {
    return std::u16string(u"Please visit our web site for more downloads.\r\n") +
           vendor::kWebAddress;
}

// ------------------------------------------------------------------ TMainForm

TMainForm::TMainForm(MainFormOptions options)
    : TForm(u"MainForm",
            {.className = L"TMainForm",
             .caption = AppName,
             .clientWidth = 673,
             .clientHeight = 656,
             .minWidth = 500,
             .minHeight = 550,
             .icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON))}),
      options_(std::move(options)) {
    // The order of creation is the key order of the settings file.
    CreatePages();
    CreateMainTab();
    CreateCategoriesTab();
    CreateSettingsTab();
    CreateLicensePage();
    CreateAboutPage();
    CreateMenus();
    CreateActions();
    CreateFindCommands();
    hints_ = std::make_unique<HintSystem>(*this);
    hints_->OnHint = [this] { ApplicationEventsHint(); };
    // The design opacity, until the opacity box is changed.
    SetOpacity(252);
    CreateTrayIcon();
    StopMonitoring();
    UpdateCaption();
    FormCreate();
}

void TMainForm::FormCreate() {
    if (options_.application) {
        options_.application->SetTitle(AppName);
        options_.application->OnShowRequest = [this] { BringToFront(); };
    }
    DragAcceptFiles(Handle(), TRUE);
    if (options_.postDeferredInit)
        PostMessageW(Handle(), WM_DEFERRED_INIT, 0, 0);
    RandomizeFromClock();
}

TMainForm::~TMainForm() {
    if (findDialog_ && IsWindow(findDialog_))
        DestroyWindow(findDialog_);
    if (frmFindAll_ && hints_)
        hints_->RemoveWindow(frmFindAll_->Handle());
    frmFindAll_.reset();
    ReleaseUpdater();
    // The tray icon shows images this window owns: it goes first, taking its icon along.
    Free(*TrayIcon);
    if (options_.application)
        options_.application->OnShowRequest = nullptr;
    LeaveViewerChain();
    hotKey_.Unregister();
}

void TMainForm::CreatePages() {
    StatBar = &Create<TStatusBar>(*this, u"StatBar", {}, {.simpleText = vendor::kWebAddress});
    PageControl = &Create<TPageControl>(*this, u"PageControl", {}, {.align = TAlign::alClient});
    tabMain = &Create<TTabSheet>(*PageControl, u"tabMain", {}, {.caption = u"Main"});
    tabCategories =
        &Create<TTabSheet>(*PageControl, u"tabCategories", {}, {.caption = u"Categories"});
    tabSettings = &Create<TTabSheet>(*PageControl, u"tabSettings", {}, {.caption = u"Settings"});
    tabLicense = &Create<TTabSheet>(*PageControl, u"tabLicense", {}, {.caption = u"License"});
    tabUpdater =
        &Create<TTabSheet>(*PageControl, u"tabUpdater", {}, {.caption = u"Updates and news"});
    tabAbout = &Create<TTabSheet>(*PageControl, u"tabAbout", {}, {.caption = u"About"});
}

UniqueHIcon TMainForm::AboutPicture() const {
    return UniqueHIcon(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ABOUT),
                                      IMAGE_ICON, Scale(96), Scale(96), LR_DEFAULTCOLOR)));
}

void TMainForm::OnDpiChanged(UINT, UINT) {
    imgAbout->SetPicture(AboutPicture());
    LoadTrayImages();
    TrayIcon->IconsChanged();
    auto icon = [](int size) {
        return UniqueHIcon(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON),
                                          IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    UniqueHIcon small = icon(SmallIconSize()), big = icon(Scale(32));
    if (small)
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    if (big)
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    // The window no longer shows the old ones.
    smallIcon_ = std::move(small);
    bigIcon_ = std::move(big);
    hints_->UpdateMaxTipWidth();
    LayoutCategoryButtons();
}

void TMainForm::UpdateCaption() {
    SetText(AppName + u" " + AppVersionLabel());
}

std::u16string TMainForm::DataFolderPath() const {
    return options_.dataFolder.empty() ? DataFolder() : WithTrailingDelimiter(options_.dataFolder);
}

std::u16string TMainForm::IniPath() const {
    return options_.dataFolder.empty() ? IniFilePath() : DataFolderPath() + AppName + u".ini";
}

std::u16string TMainForm::ForcedIniPath() const {
    return options_.dataFolder.empty() ? u"" : IniPath();
}

std::u16string TMainForm::SeparatorPath() const {
    return DataFolderPath() + u"Separator.data";
}

void TMainForm::FormClose() {
    SaveBeforeExit();
}

void TMainForm::FormDestroy() {
    SaveBeforeExit();
    ReleaseUpdater();
    TrayIcon->HideIcon();
    if (options_.quitOnDestroy)
        PostQuitMessage(0);
}

void TMainForm::mnuExitClick() {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == findMessage_ && findMessage_ != 0) {
        OnFindMessage(*reinterpret_cast<const FINDREPLACEW*>(lParam));
        return 0;
    }
    switch (msg) {
    case WM_DEFERRED_INIT:
        DeferredInit();
        return 0;
    case WM_DRAWCLIPBOARD:
        OnDrawClipboard();
        return 0;
    case WM_CHANGECBCHAIN:
        OnChangeCbChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_HOTKEY:
        if (hotKey_.IsHotKey(wParam))
            actToggleMonitorExecute();
        return 0;
    case WM_DROPFILES:
        DropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        FormClose();
        break;
    case WM_ENDSESSION:
        // The process may end without another message: this is the last safe moment, and
        // no icon stays behind. A session that goes on finds the program as it was, the
        // icon included (the only way back to a window in the tray).
        if (wParam) {
            SaveBeforeExit();
            TrayIcon->HideIcon();
        } else {
            SaveForVetoedSessionEnd();
        }
        return 0;
    case WM_DESTROY:
        FormDestroy();
        break;
    case WM_SIZE: {
        const LRESULT result = TForm::HandleMessage(msg, wParam, lParam);
        LayoutCategoryButtons();
        if (wParam == SIZE_MINIMIZED && IsWindowVisible(Handle()))
            ApplicationEventsMinimize();
        return result;
    }
    case WM_MENUSELECT:
        MenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_ACTIVATEAPP:
        if (!wParam && hints_)
            hints_->CancelTooltip();
        // Back from another program, which may have changed the file.
        if (wParam)
            ShowFileAsOnDisk();
        break;
    case WM_ENTERSIZEMOVE:
        sizeMove_ = true;
        break;
    case WM_EXITSIZEMOVE:
        sizeMove_ = false;
        break;
    case WM_WINDOWPOSCHANGING:
        if (sizeMove_)
            SnapToWorkArea(*reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    }
    return TForm::HandleMessage(msg, wParam, lParam);
}

} // namespace vp
