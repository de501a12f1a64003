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
    pmTray = &CreateComponent<TMainMenu>(u"pmTray", {.popup = true});
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

} // namespace vp
