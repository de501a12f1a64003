#include "app/main_form.h"

#include <commctrl.h>

#include <cstdlib>

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
#include "ui/splitter.h"

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
// Where a box goes that sits in the run of blanks inside a label's caption ("Hide hint
// after <box> milliseconds."): where the blanks begin, as wide as they are, at 96 DPI.
Bounds LabelGap(TLabel& label, int height) {
    const std::u16string caption = label.Caption();
    const size_t gap = caption.find(u"  ");
    const size_t gapEnd = caption.find_first_not_of(u' ', gap);
    if (gap == std::u16string::npos || gapEnd == std::u16string::npos)
        return {label.Left(), label.Top(), 60, height};
    HDC dc = GetDC(label.Handle());
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label.Handle(), WM_GETFONT, 0, 0)));
    SIZE before{}, blanks{};
    GetTextExtentPoint32W(dc, W(caption), static_cast<int>(gap), &before);
    GetTextExtentPoint32W(dc, W(caption) + gap, static_cast<int>(gapEnd - gap), &blanks);
    SelectObject(dc, old);
    ReleaseDC(label.Handle(), dc);
    // The label keeps off the box it holds.
    SetWindowLongW(label.Handle(), GWL_STYLE,
                   GetWindowLongW(label.Handle(), GWL_STYLE) | WS_CLIPSIBLINGS);
    auto at96 = [](int px) { return MulDiv(px, 96, static_cast<int>(ScreenDpi())); };
    const int top = at96(label.Top() + label.Height() / 2) - height / 2;
    return {at96(label.Left() + before.cx), top, at96(blanks.cx), height};
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
    SplitterLeft = &Create<TSplitter>(*tabMain, u"SplitterLeft", {166, 0, 2, 400},
                                      {.align = TAlign::alLeft, .minSize = 120});
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
    mmoClipboard->SetFont(PointFont(L"MS Sans Serif", 8));
    mmoClipboard->OnChange = [this] {
        padModified_ = true;
        if (!appending_)
            padEdited_ = true;
    };

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

    // "Settings": help, system, clipboard, backup, duplicates, separator. Made in the order
    // the settings file keeps them; placed in two columns and a row across the bottom.
    GroupHelp =
        &Create<TGroupBox>(*tabSettings, u"GroupHelp", {348, 236, 310, 116}, {.caption = u"Help"});
    radHintsOff = &Create<TRadioButton>(
        *GroupHelp, u"radHintsOff", {10, 18, 290, 20},
        {.caption = u"Turn off the embedded help system",
         .hint = u"Don't use the embeded help system. No pop-up will appear and no info will be "
                 u"displayed in status bar."});
    radHintsTooltips = &Create<TRadioButton>(
        *GroupHelp, u"radHintsTooltips", {10, 38, 290, 20},
        {.caption = u"Show help as tool-tips",
         .hint = u"Show a hint when you hold the mouse cursor over an item (button, checkbox, "
                 u"etc)"});
    radHintsStatBar =
        &Create<TRadioButton>(*GroupHelp, u"radHintsStatBar", {10, 58, 290, 20},
                              {.caption = u"Show help in status bar also",
                               .hint = u"Show information about an item in status bar.",
                               .checked = true});
    lblHintHide = &Create<TLabel>(
        *GroupHelp, u"lblHintHide", {10, 88, 290, 18},
        {.caption = u"Hide hint after                    milliseconds.",
         .hint = u"The hints will automatically disappear after this interval.\r\n\r\nIf you "
                 u"don''t have time to read the hints,\r\nplease increase this value with few "
                 u"seconds."});
    spnHideHint = &Create<TSpinEdit>(
        *GroupHelp, u"spnHideHint", LabelGap(*lblHintHide, 22),
        {.minValue = 800, .maxValue = 20000, .value = 4000, .increment = 100, .onChange = [this] {
             spnHideHintChange();
         }});
    KeepTabOrder({radHintsOff, radHintsTooltips, radHintsStatBar, spnHideHint, lblHintHide});

    grpSystem =
        &Create<TGroupBox>(*tabSettings, u"grpSystem", {348, 8, 310, 128}, {.caption = u"System"});
    btnDesktopShortcut = &Create<TButton>(*grpSystem, u"btnDesktopShortcut", {10, 20, 180, 26},
                                          {.caption = u"Create desktop shortcut",
                                           .hint = u"Create a shortcut to this program on desktop",
                                           .onClick = [this] { btnDesktopShortcutClick(); }});
    chkAutoStartUp = &Create<TCheckBox>(*grpSystem, u"chkAutoStartUp", {10, 52, 290, 20},
                                        {.caption = u"Start at Windows start up",
                                         .hint = u"the program will start at Windows' start-up",
                                         .onClick = [this] { chkAutoStartUpClick(); }});
    chkTrayIcon = &Create<TCheckBox>(*grpSystem, u"chkTrayIcon", {10, 74, 290, 20},
                                     {.caption = u"Minimize to tray",
                                      .hint = u"Minimize to systray instead of taskbar",
                                      .checked = true});
    lblOpacity = &Create<TLabel>(*grpSystem, u"lblOpacity", {10, 101, 60, 18},
                                 {.caption = u"Opacity", .hint = u"Window's opacity/transparency"});
    spnOpacity = &Create<TSpinEdit>(
        *grpSystem, u"spnOpacity", {72, 97, 64, 22},
        {.minValue = 30, .maxValue = 255, .value = 199, .increment = 3, .onChange = [this] {
             spnOpacityChange();
         }});
    KeepTabOrder({btnDesktopShortcut, chkAutoStartUp, chkTrayIcon, lblOpacity, spnOpacity});

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
    PathBackup = &Create<TVelmorPathEdit>(*grpInterface, u"PathBackup", {10, 44, 630, 41},
                                          {.inputType = TInputType::itFile});

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
        *tabSettings, u"grpSeparator", {348, 142, 310, 88},
        {.caption = u"Separator:", .hint = u"Separate two captured strings using this separator"});
    mmoSeparator = &Create<TMemo>(*grpSeparator, u"mmoSeparator", {0, 0, 300, 100},
                                  {.hint = u"Separate the captured text using this separator",
                                   .wordWrap = false,
                                   .hScroll = true,
                                   .vScroll = true,
                                   .align = TAlign::alClient});
    KeepTabOrder({grpClpbrd, grpDuplicate, grpSystem, grpSeparator, GroupHelp, grpInterface});

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
    imgAbout->SetPicture(AboutPicture());
    lblVersion = &Create<TLabel>(*tabAbout, u"lblVersion", {20, 200, 620, 20}, {});
    inetHome = &Create<TInternetLabel>(
        *tabAbout, u"inetHome", {20, 228, 200, 18},
        {.caption = u"Home page", .link = vendor::kDownloadPage, .underline = true});
    InternetLabel = &Create<TInternetLabel>(
        *tabAbout, u"InternetLabel", {20, 254, 60, 18},
        {.caption = u"www", .link = vendor::kWebAddress, .bold = true, .underline = true});
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

// A highlighted menu item's hint is the current hint; a closed menu has none.
void TMainForm::MenuSelect(UINT item, UINT flags, HMENU menu) {
    if (!hints_)
        return;
    if (flags == 0xFFFF && !menu) {
        hints_->SetHint(u"");
        return;
    }
    UINT id = item;
    if (flags & MF_POPUP) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID;
        id = GetMenuItemInfoW(menu, item, TRUE, &mii) ? mii.wID : 0;
    }
    std::u16string hint;
    for (size_t i = 0; i < ComponentCount(); ++i)
        if (auto* mnu = dynamic_cast<TMenuItem*>(&Components(i)); mnu && mnu->CommandId() == id) {
            hint = mnu->Action() ? mnu->Action()->Hint() : mnu->Hint();
            break;
        }
    hints_->SetHint(hint);
}

// While the user drags the window, an edge within 7 pixels of the work area's edge joins it.
void TMainForm::SnapToWorkArea(WINDOWPOS& pos) const {
    if (pos.flags & SWP_NOMOVE)
        return;
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    const RECT proposed{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    if (!GetMonitorInfoW(MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    RECT now{};
    GetWindowRect(Handle(), &now);
    const int width = now.right - now.left, height = now.bottom - now.top;
    // Sizing moves an edge on purpose; only a move snaps.
    if (!(pos.flags & SWP_NOSIZE) && (pos.cx != width || pos.cy != height))
        return;
    const RECT& work = mi.rcWork;
    const int snap = Scale(7);
    if (std::abs(pos.x - work.left) <= snap)
        pos.x = work.left;
    else if (std::abs(pos.x + width - work.right) <= snap)
        pos.x = work.right - width;
    if (std::abs(pos.y - work.top) <= snap)
        pos.y = work.top;
    else if (std::abs(pos.y + height - work.bottom) <= snap)
        pos.y = work.bottom - height;
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
