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
#include "platform/version.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/form_state.h"

namespace vp {

using namespace ui;

namespace {

constexpr COLORREF kMonitoringColor = RGB(3, 109, 12); // 814339
constexpr COLORREF kStoppedColor = RGB(255, 0, 0);     // 255

// Runs one start-up step; a failing step is reported and the next one still runs, so a
// broken category folder never keeps the window out of the viewer chain.
template <class F> void Step(F&& step) {
    try {
        step();
    } catch (...) {
        ReportCurrentException();
    }
}

std::u16string Decimal(size_t n) {
    std::u16string s;
    for (char c : std::to_string(n))
        s += static_cast<char16_t>(c);
    return s;
}

} // namespace

std::u16string WelcomeText() {
    return std::u16string(u"Please visit our web site for more downloads.\r\n") +
           vendor::kWebAddress;
}

// ------------------------------------------------------------------ TCategoryButton

TCategoryButton::TCategoryButton(const Placement& place, const CreateArgs& a)
    : TControl(place), OnClick(a.onClick) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption, WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX | BS_PUSHLIKE);
}

bool TCategoryButton::Down() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCategoryButton::SetDown(bool down) {
    if (down && Parent())
        for (TControl* sibling : Parent()->Controls())
            if (auto* other = dynamic_cast<TCategoryButton*>(sibling); other && other != this)
                SendMessageW(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(Handle(), BM_SETCHECK, down ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCategoryButton::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (OnClick) {
            auto handler = OnClick;
            handler();
        }
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ------------------------------------------------------------------ TClickGroupBox

LRESULT TClickGroupBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCHITTEST:
        // A group box lets clicks through to its parent; this one takes them.
        return HTCLIENT;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Handle()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONUP:
        if (OnClick) {
            auto handler = OnClick;
            handler();
        }
        return 0;
    }
    return TGroupBox::HandleMessage(msg, wParam, lParam);
}

// ------------------------------------------------------------------ the pad, read in place

// The pad's text without a copy: the edit control's own buffer, locked for reading.
// Released before the pad changes, since the control may then move its buffer.
class TMainForm::PadView {
  public:
    explicit PadView(TMemo& memo) {
        const size_t length = memo.TextLength();
        handle_ = reinterpret_cast<HLOCAL>(SendMessageW(memo.Handle(), EM_GETHANDLE, 0, 0));
        if (handle_)
            data_ = static_cast<const char16_t*>(LocalLock(handle_));
        if (data_) {
            view_ = {data_, length};
        } else {
            copy_ = memo.Text();
            view_ = copy_;
        }
    }
    ~PadView() { Release(); }
    PadView(const PadView&) = delete;
    PadView& operator=(const PadView&) = delete;
    std::u16string_view View() const { return view_; }
    void Release() {
        if (data_)
            LocalUnlock(handle_);
        data_ = nullptr;
        view_ = {};
    }

  private:
    HLOCAL handle_ = nullptr;
    const char16_t* data_ = nullptr;
    std::u16string copy_;
    std::u16string_view view_;
};

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
    pnlButtons = &Create<TPanel>(*pnlLeft, u"pnlButtons", {0, 0, 166, 176},
                                 {.color = RGB(211, 213, 218), .align = TAlign::alTop});
    Scanner = &Create<TKITScanner>(*pnlButtons, u"Scanner", {4, 4, 158, 14},
                                   {.howManyLeds = 12, .scanSpeed = 80, .scanColor = scRed});
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
        &Create<TGroupBox>(*tabSettings, u"grpSystem", {348, 8, 310, 86}, {.caption = u"System"});
    btnDesktopShortcut = &Create<TButton>(*grpSystem, u"btnDesktopShortcut", {10, 20, 180, 26},
                                          {.caption = u"Create desktop shortcut",
                                           .hint = u"Create a shortcut to this program on desktop",
                                           .onClick = [this] { btnDesktopShortcutClick(); }});
    chkAutoStartUp = &Create<TCheckBox>(*grpSystem, u"chkAutoStartUp", {10, 54, 290, 20},
                                        {.caption = u"Start at Windows start up",
                                         .hint = u"the program will start at Windows' start-up",
                                         .onClick = [this] { chkAutoStartUpClick(); }});

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
        *tabSettings, u"grpSeparator", {348, 102, 310, 140},
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
    btnAgree = &Create<TButton>(*tabLicense, u"btnAgree", {40, 100, 90, 27},
                                {.caption = u"ok", .onClick = [this] { btnAgreeClick(); }});

    // "About".
    lblAbout = &Create<TLabel>(
        *tabAbout, u"lblAbout", {20, 20, 620, 60},
        {.caption = u"This program enhances the Windows clipboard in a special way: it puts "
                    u"together all text fragments that you have copied to clipboard. Also, you "
                    u"can store the text fragments to individual categories.",
         .wordWrap = true});
    lblVersion = &Create<TLabel>(*tabAbout, u"lblVersion", {20, 100, 620, 20}, {});
}

void TMainForm::CreateMenus() {
    MainMenu = &CreateComponent<TMainMenu>(u"MainMenu");
    auto& file = MainMenu->Add(u"mnuFile", {.caption = u"&File"});
    file.Add(u"mnuExit2", {.caption = u"E&xit", .onClick = [this] { mnuExitClick(); }});
    auto& pad = MainMenu->Add(u"mnuCollectedtext", {.caption = u"&Collected text"});
    pad.Add(u"mnuSave", {});
    pad.Add(u"mnuSaveAs", {});
    pad.Add(u"N2", {.caption = u"-"});
    pad.Add(u"mnuClrMemo", {});
    pad.Add(u"mnuSortLines", {});
    auto& clip = MainMenu->Add(u"mnuOp", {.caption = u"&Clipboard"});
    clip.Add(u"mnuMonitor", {});
    clip.Add(u"mnuClearClipboard", {.caption = u"Clear clipboard",
                                    .shortCut = static_cast<TShortCut>(scCtrl | VK_DELETE),
                                    .onClick = [this] { mnuClearClipboardClick(); }});
    auto& help = MainMenu->Add(u"mnuHelp", {.caption = u"&Help"});
    help.Add(u"mnuProgramPage",
             {.caption = u"&Home page", .onClick = [] { OpenWebAddress(vendor::kHomePage); }});
    help.Add(u"mnuCompanyPage", {.caption = u"&Download similar software",
                                 .onClick = [] { OpenWebAddress(vendor::kProductListPage); }});
    help.Add(u"mnuSeparatorOrder", {.caption = u"-"});
    help.Add(u"mnuManual", {.caption = u"&User manual", .shortCut = VK_F1, .onClick = [] {
                                OpenWebAddress(vendor::kUserManualPage);
                            }});
}

// The actions come last, as the settings file keeps them; buttons and menu items made
// before them are bound here.
void TMainForm::CreateActions() {
    actToggleMonitor = &CreateComponent<TAction>(
        u"actToggleMonitor", {.caption = u"Monitor clipboard",
                              .hint = u"Monitor the clipboard and capture the text placed there",
                              .category = u"Clipboard",
                              .shortCut = VK_F9,
                              .onExecute = [this] { actToggleMonitorExecute(); }});
    actSaveAs =
        &CreateComponent<TAction>(u"actSaveAs", {.caption = u"Save as...",
                                                 .category = u"Pad",
                                                 .shortCut = scCtrl | scShift | 'S',
                                                 .onExecute = [this] { actSaveAsExecute(); }});
    actSave = &CreateComponent<TAction>(
        u"actSave", {.caption = u"Save",
                     .hint = u"The program will automatically save the text when you \r\nswitch "
                             u"to a different category or you exit the program.\r\n",
                     .category = u"Pad",
                     .shortCut = scCtrl | 'S',
                     .onExecute = [this] { actSaveExecute(); }});
    actClearText = &CreateComponent<TAction>(u"actClearText",
                                             {.caption = u"Clear text",
                                              .hint = u"Clear all collected text",
                                              .category = u"Pad",
                                              .shortCut = scCtrl | 'D',
                                              .onExecute = [this] { actClearTextExecute(); }});
    actSortLines = &CreateComponent<TAction>(
        u"actSortLines", {.caption = u"Sort lines", .category = u"Pad", .onExecute = [this] {
                              actSortLinesExecute();
                          }});
    btnMonitor->SetAction(actToggleMonitor);
    ButtonCLEAR->SetAction(actClearText);
    btnSave->SetAction(actSave);
    btnSaveAs->SetAction(actSaveAs);
    btnSort->SetAction(actSortLines);
    auto bind = [this](const char16_t* name, TAction* action) {
        Find<TMenuItem>(name)->SetAction(action);
    };
    bind(u"mnuSave", actSave);
    bind(u"mnuSaveAs", actSaveAs);
    bind(u"mnuClrMemo", actClearText);
    bind(u"mnuSortLines", actSortLines);
    bind(u"mnuMonitor", actToggleMonitor);
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

void TMainForm::DeferredInit() {
    const bool firstRun = !FileExists(IniPath());
    Step([&] { EnsureFolderMsg(CategoriesFolder()); });
    PathBackup->SetPath(CategoriesFolder() + kBackupFileName);
    Step([&] {
        if (FileExists(CategoriesListPath()))
            mmoCategories->SetText(ReadTextFile(CategoriesListPath()));
    });
    Step([&] { btnApplyCategClick(); });
    Step([&] {
        const auto& controls = grpAuto->Controls();
        if (!controls.empty())
            if (auto* first = dynamic_cast<TCategoryButton*>(controls.front()))
                SelectCategory(*first);
    });
    Step([&] { LoadFormState(*this, ForcedIniPath()); });
    Step([&] { FitFormToWorkArea(*this); });
    Step([&] {
        if (FileExists(SeparatorPath()))
            mmoSeparator->SetText(ReadTextFile(SeparatorPath()));
    });
    Step([&] { RegisterMonitorHotKey(); });
    UpdateCaption();
    lblVersion->SetText(u"Version: " + AppVersionLabel());
    Show(StartShowCommand());
    if (firstRun)
        ShowFirstRunPage();
    else
        HideLicensePage();
    INISaved = false;
    if (options_.joinViewerChain)
        Step([&] { JoinViewerChain(); });
    Step([&] { chkAutoMonitorClick(); });
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

void TMainForm::ShowFirstRunPage() {
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
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
    step([&] { actToggleMonitor->SetEnabled(false); });
    step([&] { actSaveExecute(); });
    step([&] { LeaveViewerChain(); });
    step([&] { UnregisterMonitorHotKey(); });
    step([&] { SaveFormState(*this, ForcedIniPath()); });
    step([&] {
        EnsureFolder(DataFolderPath());
        WriteTextFile(SeparatorPath(), mmoSeparator->Text(), true, false);
    });
    if (!failures.empty())
        ShowError(failures);
}

void TMainForm::DropFiles(HDROP drop) {
    struct Release {
        HDROP drop;
        ~Release() { DragFinish(drop); }
    } release{drop};
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[MAX_PATH] = {};
        if (DragQueryFileW(drop, i, path, MAX_PATH) == 0)
            continue;
        SetText(U(path));
        mmoClipboard->LoadFromFile(U(path));
    }
}

void TMainForm::FormClose() {
    SaveBeforeExit();
}

void TMainForm::FormDestroy() {
    SaveBeforeExit();
    if (options_.quitOnDestroy)
        PostQuitMessage(0);
}

void TMainForm::mnuExitClick() {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TMainForm::btnDesktopShortcutClick() {
    CreateSelfShortcut(AppName, true);
}

void TMainForm::chkAutoStartUpClick() {
    SetAutoStartSelf(chkAutoStartUp->Checked());
}

void TMainForm::BringToFront() {
    if (!IsWindowVisible(Handle()))
        ShowWindow(Handle(), SW_SHOW);
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
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
        return 0;
    case WM_DESTROY:
        FormDestroy();
        break;
    case WM_SIZE: {
        const LRESULT result = TForm::HandleMessage(msg, wParam, lParam);
        LayoutCategoryButtons();
        return result;
    }
    }
    return TForm::HandleMessage(msg, wParam, lParam);
}

// ------------------------------------------------------------------ capture pipeline

void TMainForm::ColectClipboardData(const std::u16string& newEntry) {
    const std::u16string separator = mmoSeparator->Text();
    PadView pad(*mmoClipboard);
    CaptureInput input;
    input.entry = newEntry;
    input.pad = pad.View();
    input.options = {.trim = chkTrim->Checked(),
                     .anywhere = chkWeakDupe->Checked(),
                     .ignoreDuplicate = chkNoDuplicate->Checked(),
                     .duplicateBeep = chkDuplicateBip->Checked(),
                     .datePrefix = chkDate->Checked(),
                     .clearClipboard = chkClearClpbrd->Checked(),
                     .separator = separator};
    input.draw = RandomInt(kVendorPageDrawRange);
    input.now = input.options.datePrefix ? NowDateTime() : 0;
    input.dateSeparator = RegionalDateSeparator();
    padView_ = &pad;
    struct Reset {
        PadView*& p;
        ~Reset() { p = nullptr; }
    } reset{padView_};
    RunCapture(input, collectedCount_, *this);
}

void TMainForm::DisableLineDuplicates() {
    if (chkDate->Checked())
        chkWeakDupe->SetChecked(true);
}

void TMainForm::OpenVendorPage() {
    OpenWebAddress(kVendorPageAddress);
}

void TMainForm::BeepAlarm() {
    vp::BeepAlarm();
}

void TMainForm::AppendToPad(std::u16string_view text) {
    if (padView_)
        padView_->Release();
    const size_t end = mmoClipboard->TextLength();
    mmoClipboard->SetSel(end, end);
    // A bare CR or LF from the source would be no line break in the pad or its file.
    mmoClipboard->ReplaceSel(AdjustLineBreaks(text), false);
}

void TMainForm::ClearClipboard() {
    EmptyClipboardOnce();
}

void TMainForm::SetStatus(const std::u16string& text) {
    StatBar->SetSimpleText(text);
}

void TMainForm::SavePad() {
    actSaveExecute();
}

// ------------------------------------------------------------------ clipboard monitor

void TMainForm::OnDrawClipboard() {
    try {
        if (ClipboardOffersText()) {
            const ClipboardText clip = FetchClipboard(kClipboardAttempts);
            // A private copy (a password) leaves no trace: no capture, beep or backup.
            if (!clip.isPrivate) {
                try {
                    if (Monitoring())
                        ColectClipboardData(clip.text);
                    else if (chkMonitorWarn->Checked())
                        BeepTone(400, 30);
                } catch (...) {
                    ReportCurrentException();
                }
                if (chkBackup->Checked())
                    AppendBackup(clip.text);
            }
        }
    } catch (...) {
        ReportCurrentException();
    }
    // The next viewer hears of the change whatever happened here.
    if (nextViewer_)
        SendMessageW(nextViewer_, WM_DRAWCLIPBOARD, 0, 0);
}

void TMainForm::OnChangeCbChain(HWND leaving, HWND next) {
    if (leaving == nextViewer_)
        nextViewer_ = next;
    else if (nextViewer_)
        SendMessageW(nextViewer_, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(leaving),
                     reinterpret_cast<LPARAM>(next));
}

void TMainForm::JoinViewerChain() {
    if (inChain_)
        return;
    inChain_ = true;
    nextViewer_ = SetClipboardViewer(Handle());
}

void TMainForm::LeaveViewerChain() {
    if (!inChain_)
        return;
    inChain_ = false;
    ChangeClipboardChain(Handle(), nextViewer_);
    nextViewer_ = nullptr;
}

void TMainForm::AppendBackup(const std::u16string& text) {
    const std::u16string path = PathBackup->Path();
    try {
        WriteTextFile(path, u"\r\n" + text, false, false);
    } catch (const Error& e) {
        throw Error(u"The clipboard text could not be added to the backup file:\r\n" + path +
                    u"\r\n\r\n" + e.Message());
    }
}

void TMainForm::StartMonitoring() {
    if (Monitoring())
        return;
    Scanner->SetColor(kMonitoringColor);
    Scanner->SetScanColor(scGreen);
    Scanner->SetScanning(true);
    Scanner->SetVisible(true);
    actToggleMonitor->SetCaption(u"Stop monitoring");
    const std::u16string welcome = WelcomeText();
    if (mmoClipboard->TextLength() == welcome.size() && mmoClipboard->Text() == welcome)
        mmoClipboard->Clear();
    if (chkClearOnStart->Checked()) {
        EmptyClipboardOnce();
        return;
    }
    const ClipboardText clip = FetchClipboard(kClipboardAttempts);
    if (!clip.isPrivate)
        ColectClipboardData(clip.text);
}

void TMainForm::StopMonitoring() {
    Scanner->SetColor(kStoppedColor);
    Scanner->SetScanColor(scRed);
    Scanner->SetScanning(false);
    actToggleMonitor->SetCaption(u"Monitor clipboard");
}

void TMainForm::actToggleMonitorExecute() {
    if (Monitoring())
        StopMonitoring();
    else
        StartMonitoring();
}

void TMainForm::chkAutoMonitorClick() {
    if (chkAutoMonitor->Checked())
        StartMonitoring();
}

void TMainForm::RegisterMonitorHotKey() {
    hotKey_.Register(Handle(), hotMonitor->HotKey());
}

void TMainForm::UnregisterMonitorHotKey() {
    hotKey_.Unregister();
}

void TMainForm::hotMonitorChange() {
    UnregisterMonitorHotKey();
    RegisterMonitorHotKey();
}

void TMainForm::mnuClearClipboardClick() {
    EmptyClipboardOnce();
}

// ------------------------------------------------------------------ categories

std::u16string TMainForm::CategoriesFolder() const {
    if (!options_.categoriesFolder.empty())
        return options_.categoriesFolder;
    return DocumentsFolder() + AppName + u"\\";
}

std::u16string TMainForm::CategoriesListPath() const {
    return CategoriesFolder() + std::u16string(kCategoriesListName);
}

void TMainForm::btnApplyCategClick() {
    btnApplyCateg->SetEnabled(false);
    const std::u16string folder = CategoriesFolder();
    if (!EnsureFolderMsg(folder))
        return;
    // The buttons are about to go; edits in the pad go to the category they belong to.
    SavePadIfModified();
    const CategoriesPlan plan = PlanApply(mmoCategories->Text(), folder);
    const auto controls = grpAuto->Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        Free(**it);
    {
        // Cleaning the editor is not an edit of the user's.
        const auto handler = mmoCategories->OnChange;
        mmoCategories->OnChange = nullptr;
        mmoCategories->SetText(plan.editorText);
        mmoCategories->OnChange = handler;
    }
    std::vector<TCategoryButton*> buttons;
    for (size_t i = 0; i < plan.categories.size(); ++i) {
        const CategoryPlan& c = plan.categories[i];
        if (!FileExists(c.path)) {
            WriteTextFile(c.path, c.newFileText, true, c.newFileWithBOM);
            madeThisRun_.insert(c.path);
        }
        auto& button =
            Create<TCategoryButton>(*grpAuto, u"btnCategory" + Decimal(i),
                                    {kCategoryButtonLeft, CategoryButtonTop(static_cast<int>(i)),
                                     160, kCategoryButtonHeight},
                                    {.caption = c.caption, .hint = c.path});
        TCategoryButton* self = &button;
        button.OnClick = [this, self] { OnSelectCategory(*self); };
        buttons.push_back(self);
    }
    LayoutCategoryButtons();
    // A list in the 8-bit code page would lose names outside it.
    WriteTextFile(CategoriesListPath(), plan.listText, true, true);
    if (!buttons.empty())
        SelectCategory(*buttons[plan.selected]);
}

void TMainForm::LayoutCategoryButtons() {
    if (!grpAuto)
        return;
    int index = 0;
    const int width = grpAuto->ClientWidth() - Scale(2 * kCategoryButtonLeft);
    for (TControl* c : grpAuto->Controls())
        if (dynamic_cast<TCategoryButton*>(c))
            c->SetBounds(Scale(kCategoryButtonLeft), Scale(CategoryButtonTop(index++)),
                         width > 0 ? width : 0, Scale(kCategoryButtonHeight));
}

void TMainForm::OnSelectCategory(TCategoryButton& button) {
    if (!SelectReloadsPad(grpAuto->Controls().size())) {
        button.SetDown(true);
        return;
    }
    SelectCategory(button);
}

void TMainForm::SavePadIfModified() {
    if (padModified_ && GetPressedButton())
        actSaveExecute();
}

void TMainForm::SelectCategory(TCategoryButton& button) {
    SavePadIfModified();
    button.SetDown(true);
    const std::u16string path = button.Hint();
    if (FileExists(path)) {
        mmoClipboard->SetText(ReadTextFile(path));
        padModified_ = false;
    }
    mmoClipboard->ScrollAtEnd();
}

TCategoryButton* TMainForm::GetPressedButton() const {
    const auto& controls = grpAuto->Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (auto* b = dynamic_cast<TCategoryButton*>(*it); b && b->Down())
            return b;
    return nullptr;
}

std::u16string TMainForm::CurrentCategoryFile() const {
    const TCategoryButton* button = GetPressedButton();
    Assert(button != nullptr, u"FormMain", u"No category selected!");
    return button->Hint();
}

void TMainForm::actSaveExecute() {
    const std::u16string path = CurrentCategoryFile();
    PadView pad(*mmoClipboard);
    WriteTextFile(path, pad.View(), true, true);
    padModified_ = false;
}

void TMainForm::actSaveAsExecute() {
    const std::u16string name =
        PromptSaveFile(CurrentCategoryFile(), u"TXT file|*.TXT", u"txt", u"Save as...");
    if (name.empty()) {
        SetStatus(u"File not saved!");
        return;
    }
    PadView pad(*mmoClipboard);
    WriteTextFile(name, pad.View(), true, true);
    SetStatus(u"File saved as: " + name);
}

void TMainForm::actClearTextExecute() {
    mmoClipboard->Clear();
}

void TMainForm::actSortLinesExecute() {
    mmoClipboard->SortLines();
}

void TMainForm::grpAutoClick() {
    PageControl->SetActivePage(tabCategories);
}

void TMainForm::mmoCategoriesChange() {
    btnApplyCateg->SetEnabled(true);
}

} // namespace vp
