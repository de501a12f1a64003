#include "app/main_form.h"

#include <commctrl.h>

#include "app/resource_ids.h"
#include "core/app_name.h"
#include "core/categories.h"
#include "core/errors.h"
#include "core/hotkey.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/vendor.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/locale.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/unique_handle.h"
#include "platform/version.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/form_state.h"

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
    CreateControls();
    CreateMenus();
    CreateActions();
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
    // The tray icon shows images this window owns: it goes first, taking its icon along.
    Free(*TrayIcon);
    if (options_.application)
        options_.application->OnShowRequest = nullptr;
    LeaveViewerChain();
    hotKey_.Unregister();
}

namespace {
// Tab moves through the controls in the order they are seen, whatever the order they were
// made in (which the settings file follows).
void KeepTabOrder(std::initializer_list<TControl*> controls) {
    HWND after = HWND_TOP;
    for (TControl* c : controls) {
        SetWindowPos(c->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = c->Handle();
    }
}
} // namespace

void TMainForm::CreateControls() {
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

    // "Main": the left panel, then the pad.
    pnlLeft = &Create<TPanel>(*tabMain, u"pnlLeft", {0, 0, 166, 400},
                              {.color = RGB(211, 213, 218), .align = TAlign::alLeft});
    pnlButtons =
        &Create<TPanel>(*pnlLeft, u"pnlButtons", {0, 0, 166, 176},
                        {.color = RGB(211, 213, 218), .align = TAlign::alTop, .padding = 4});
    Scanner = &Create<TKITScanner>(*pnlButtons, u"Scanner", {4, 4, 158, 14},
                                   {.howManyLeds = 12,
                                    .scanSpeed = 80,
                                    .scanColor = scGreen,
                                    .bevelOuter = bvNone,
                                    .color = 0x0C6D03,
                                    .align = TAlign::alTop});
    btnMonitor =
        &Create<TButton>(*pnlButtons, u"btnMonitor", {8, 24, 150, 28}, {.isDefault = true});
    ButtonCLEAR = &Create<TButton>(*pnlButtons, u"ButtonCLEAR", {8, 56, 150, 25}, {});
    btnSave = &Create<TButton>(*pnlButtons, u"btnSave", {8, 85, 150, 25}, {});
    btnSaveAs = &Create<TButton>(*pnlButtons, u"btnSaveAs", {8, 114, 150, 25}, {});
    btnSort = &Create<TButton>(*pnlButtons, u"btnSort", {8, 143, 150, 25}, {});
    grpAuto = &Create<TClickGroupBox>(
        *pnlLeft, u"grpAuto", {0, 176, 166, 200},
        {.caption = u"Save to category:",
         .color = RGB(190, 214, 200),
         .align = TAlign::alClient,
         .hint = u"Every time the program captures text from clipboard it will\rautomatically "
                 u"save it to the selected category.\r\n\r\rPress a button to select a "
                 u"category.\r\r\nIn the 'Categories' tab you can to create up to 10000 "
                 u"categories."});
    grpAuto->OnClick = [this] { grpAutoClick(); };
    grpPad = &Create<TGroupBox>(*tabMain, u"grpPad", {170, 0, 400, 400},
                                {.caption = u"Collected text",
                                 .align = TAlign::alClient,
                                 .hint = u"You can drag TXT files here",
                                 .boldCaption = true});
    mmoClipboard = &Create<TVelmorMemo>(*grpPad, u"mmoClipboard", {0, 0, 300, 300},
                                        {.hint = u"PAD\r\n(captured text)",
                                         .wordWrap = false,
                                         .hScroll = true,
                                         .vScroll = true,
                                         .align = TAlign::alClient});
    mmoClipboard->SetFont(DefaultFont());
    mmoClipboard->OnChange = [this] { padModified_ = true; };

    // "Categories".
    lblCategories = &Create<TLabel>(
        *tabCategories, u"lblCategories", {8, 8, 600, 34},
        {.caption = u"To create/delete a category, enter/delete its name in the box "
                    u"bellow.\r\nThe following characters are not accepted: * ? % \\ / \"",
         .wordWrap = true});
    mmoCategories = &Create<TVelmorMemo>(*tabCategories, u"mmoCategories", {8, 48, 320, 420},
                                         {.text = JoinLines(DefaultCategoryLines()),
                                          .hint = u"Enter your categories here - one per row",
                                          .wordWrap = false,
                                          .vScroll = true});
    mmoCategories->OnChange = [this] { mmoCategoriesChange(); };
    btnApplyCateg =
        &Create<TButton>(*tabCategories, u"btnApplyCateg", {8, 476, 90, 27},
                         {.caption = u"Apply", .onClick = [this] { btnApplyCategClick(); }});
    btnApplyCateg->SetEnabled(false);

    // "Settings": system, clipboard, backup, duplicates, separator.
    grpSystem =
        &Create<TGroupBox>(*tabSettings, u"grpSystem", {348, 8, 310, 108}, {.caption = u"System"});
    btnDesktopShortcut = &Create<TButton>(*grpSystem, u"btnDesktopShortcut", {10, 20, 180, 26},
                                          {.caption = u"Create desktop shortcut",
                                           .hint = u"Create a shortcut to this program on desktop",
                                           .onClick = [this] { btnDesktopShortcutClick(); }});
    chkAutoStartUp = &Create<TCheckBox>(*grpSystem, u"chkAutoStartUp", {10, 54, 290, 20},
                                        {.caption = u"Start at Windows start up",
                                         .hint = u"the program will start at Windows' start-up",
                                         .onClick = [this] { chkAutoStartUpClick(); }});
    chkTrayIcon = &Create<TCheckBox>(*grpSystem, u"chkTrayIcon", {10, 78, 290, 20},
                                     {.caption = u"Minimize to tray",
                                      .hint = u"Minimize to systray instead of taskbar",
                                      .checked = true});

    grpClpbrd =
        &Create<TGroupBox>(*tabSettings, u"grpClpbrd", {8, 8, 330, 222}, {.caption = u"Clipboard"});
    chkClearClpbrd = &Create<TCheckBox>(
        *grpClpbrd, u"chkClearClpbrd", {10, 108, 310, 20},
        {.caption = u"Clear clipboard after copy",
         .hint = u"If checked, copy clipboard content to Pad and clear the clipboard.\rIf "
                 u"unchecked, copy clipboard content to Pad and leave the text there so other "
                 u"applications can access it also."});
    chkClearOnStart = &Create<TCheckBox>(
        *grpClpbrd, u"chkClearOnStart", {10, 130, 310, 20},
        {.caption = u"Clear clipboard before start",
         .hint = u"Clear the clipboard when you press the MONITOR CLIPBOARD button.\r\r\r\nSo, "
                 u"any text already in clipboard will be lost."});
    chkAutoMonitor = &Create<TCheckBox>(
        *grpClpbrd, u"chkAutoMonitor", {10, 20, 310, 20},
        {.caption = u"Auto monitor clipboard at start up",
         .hint = u"Automatically starts to monitor the clipboard when the program starts.",
         .checked = true,
         .onClick = [this] { chkAutoMonitorClick(); }});
    chkMonitorWarn = &Create<TCheckBox>(
        *grpClpbrd, u"chkMonitorWarn", {10, 42, 310, 20},
        {.caption = u"Beep when clipboard is not monitored",
         .hint = u"Makes a beep every time you use the clipboard (perform a COPY operation) but "
                 u"\rits content is not captured by Pasquill (because Pasquill is disabled).",
         .checked = true});
    chkTrim = &Create<TCheckBox>(*grpClpbrd, u"chkTrim", {10, 64, 310, 20},
                                 {.caption = u"Trim spaces",
                                  .hint = u"Trim empty spaces at the ends of the collected text.",
                                  .checked = true});
    chkDate = &Create<TCheckBox>(*grpClpbrd, u"chkDate", {10, 86, 310, 20},
                                 {.caption = u"Add date before each line (YYYY/MM/DD)",
                                  .onClick = [this] { DisableLineDuplicates(); }});
    lblCloseHotKey = &Create<TLabel>(*grpClpbrd, u"lblCloseHotKey", {10, 160, 310, 18},
                                     {.caption = u"'Monitor clipboard' global hotkey"});
    hotMonitor = &Create<THotKey>(
        *grpClpbrd, u"hotMonitor", {10, 182, 180, 24},
        {.hotKey = kDefaultMonitorShortCut, .onChange = [this] { hotMonitorChange(); }});
    KeepTabOrder({chkAutoMonitor, chkMonitorWarn, chkTrim, chkDate, chkClearClpbrd, chkClearOnStart,
                  lblCloseHotKey, hotMonitor});

    grpInterface = &Create<TGroupBox>(*tabSettings, u"grpInterface", {8, 356, 650, 96},
                                      {.caption = u"Clipboard backup"});
    chkBackup = &Create<TCheckBox>(
        *grpInterface, u"chkBackup", {10, 20, 300, 20},
        {.caption = u"Keep backup",
         .hint = u"All text in clipboard will be constantly written to a temporary file, EVEN "
                 u"if the 'Monitor clipboard' function is disabled!\r\r\nIf you accidentally "
                 u"delete some text, you can recover it from here.\n\r\nNote: the file may "
                 u"become large in time so it is recommend it to delete it every 6-12 months."});
    PathBackup =
        &Create<TVelmorPathEdit>(*grpInterface, u"PathBackup", {10, 44, 630, 41},
                                 {.inputType = TInputType::itFile, .showCreateBtn = false});

    grpDuplicate = &Create<TGroupBox>(*tabSettings, u"grpDuplicate", {8, 236, 330, 112},
                                      {.caption = u"Clipboard - duplicate text"});
    lblDuplicate = &Create<TLabel>(*grpDuplicate, u"lblDuplicate", {10, 44, 310, 18},
                                   {.caption = u"If a duplicate item is found:"});
    chkNoDuplicate = &Create<TCheckBox>(
        *grpDuplicate, u"chkNoDuplicate", {22, 64, 300, 20},
        {.caption = u"Ignore it (don't add it again)",
         .hint = u"Don't copy a text from clipboard if it exists already in 'Collected items'.",
         .checked = true});
    chkDuplicateBip =
        &Create<TCheckBox>(*grpDuplicate, u"chkDuplicateBip", {22, 86, 300, 20},
                           {.caption = u"Make an beep",
                            .hint = u"Make an error beep if duplicate text was found. ",
                            .checked = true});
    chkWeakDupe = &Create<TCheckBox>(
        *grpDuplicate, u"chkWeakDupe", {10, 20, 310, 20},
        {.caption = u"Search duplicate text everywhere",
         .hint =
             u"Global duplicates\r\nIf checked, the program will look for the current clipboard "
             u"text\r\neverywhere in the whole captured text. \r\nUse it in conjunction with "
             u"'Trim spaces' to increase the chance of finding duplicates.\r\n\r\nLine "
             u"duplicates\r\nIf unchecked, the program will declare the current piece of "
             u"clipdoard text \r\nduplicate only if it is identical with one of the captured "
             u"lines.\r\n\r\nNotes:\r\n * The search is case insensitive!\r\n * Searching for "
             u"LINE duplicates (unckecked) does not work IF the 'Add date' feature is "
             u"enabled!\r\n\r\n",
         .onClick = [this] { DisableLineDuplicates(); }});
    KeepTabOrder({chkWeakDupe, lblDuplicate, chkNoDuplicate, chkDuplicateBip});

    grpSeparator = &Create<TGroupBox>(
        *tabSettings, u"grpSeparator", {348, 124, 310, 118},
        {.caption = u"Separator:", .hint = u"Separate two captured strings using this separator"});
    mmoSeparator = &Create<TMemo>(*grpSeparator, u"mmoSeparator", {0, 0, 300, 100},
                                  {.hint = u"Separate the captured text using this separator",
                                   .wordWrap = false,
                                   .hScroll = true,
                                   .vScroll = true,
                                   .align = TAlign::alClient});
    KeepTabOrder({grpClpbrd, grpDuplicate, grpSystem, grpSeparator, grpInterface});

    // "License": the first-run page.
    lblLicense = &Create<TLabel>(*tabLicense, u"lblLicense", {40, 60, 500, 20},
                                 {.caption = u"By using this software you agree with our EULA"});
    inetLicenseAgreement = &Create<TInternetLabel>(
        *tabLicense, u"inetLicenseAgreement", {40, 84, 200, 18},
        {.caption = u"License Agreement", .link = vendor::kLicenseAgreement});
    btnAgree = &Create<TButton>(*tabLicense, u"btnAgree", {40, 116, 90, 27},
                                {.caption = u"ok", .onClick = [this] { btnAgreeClick(); }});

    // "About".
    lblAbout = &Create<TLabel>(
        *tabAbout, u"lblAbout", {20, 20, 620, 60},
        {.caption = u"This program enhances the Windows clipboard in a special way: it puts "
                    u"together all text fragments that you have copied to clipboard. Also, you "
                    u"can store the text fragments to individual categories.",
         .wordWrap = true});
    imgAbout = &Create<TImage>(*tabAbout, u"imgAbout", {20, 92, 96, 96});
    imgAbout->SetPicture(UniqueHIcon(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ABOUT),
                                      IMAGE_ICON, Scale(96), Scale(96), LR_DEFAULTCOLOR))));
    lblVersion = &Create<TLabel>(*tabAbout, u"lblVersion", {20, 200, 620, 20}, {});
    inetHome = &Create<TInternetLabel>(
        *tabAbout, u"inetHome", {20, 228, 200, 18},
        {.caption = u"Home page", .link = vendor::kDownloadPage, .underline = true});
    InternetLabel = &Create<TInternetLabel>(
        *tabAbout, u"InternetLabel", {20, 254, 60, 18},
        {.caption = u"www", .link = vendor::kWebAddress, .bold = true, .underline = true});
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
    TrayIcon->HideIcon();
    if (options_.quitOnDestroy)
        PostQuitMessage(0);
}

void TMainForm::mnuExitClick() {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
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
        // Whether or not the session really ends, this is the last safe moment.
        SaveBeforeExit();
        // The process may end without another message: no icon stays behind. A session
        // that goes on keeps the icon, the only way back to a window in the tray.
        if (wParam)
            TrayIcon->HideIcon();
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
    }
    return TForm::HandleMessage(msg, wParam, lParam);
}

} // namespace vp
