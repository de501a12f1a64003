#include "app/main_form.h"

#include <commctrl.h>

#include "app/category_button.h"
#include "core/vendor.h"
#include "platform/clipboard.h"
#include "platform/shell.h"
#include "platform/unique_handle.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/hints.h"
#include "ui/image.h"
#include "ui/internet_label.h"
#include "ui/kit_scanner.h"
#include "ui/splitter.h"
#include "ui/velmor_memo.h"

namespace vp {

using namespace ui;

void TMainForm::CreateMainTab() {
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
}

void TMainForm::CreateAboutPage() {
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
    // The tray icon's menu (right click).
    pmTray = &CreateComponent<TPopupMenu>(u"pmTray");
    pmTray->Add(u"mnuCopy", {.caption = u"&Copy collected text",
                             .hint = u"Put the collected text on the clipboard",
                             .onClick = [this] { mnuCopyClick(); }});
    pmTray->Add(u"mnuClear", {});
    pmTray->Add(u"N3", {.caption = u"-"});
    pmTray->Add(u"mnuExit", {.caption = u"&Exit", .onClick = [this] { mnuExitClick(); }});
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
    bind(u"mnuClear", actClearText);
}

void TMainForm::DropFiles(HDROP drop) {
    const UniqueHDrop release(drop);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[MAX_PATH] = {};
        if (DragQueryFileW(drop, i, path, MAX_PATH) == 0)
            continue;
        SetText(U(path));
        mmoClipboard->LoadFromFile(U(path));
    }
}

void TMainForm::mnuCopyClick() {
    const std::u16string text = mmoClipboard->Text();
    // The program's own copy comes back as a clipboard change: it is not collected again.
    ownCopy_ = text;
    SetClipboardText(text);
}

void TMainForm::actClearTextExecute() {
    mmoClipboard->Clear();
}

void TMainForm::actSortLinesExecute() {
    mmoClipboard->SortLines();
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

} // namespace vp
