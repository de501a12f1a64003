#include "app/main_form.h"

#include <algorithm>

#include "core/app_name.h"
#include "core/hotkey.h"
#include "platform/shell.h"
#include "ui/dpi.h"
#include "ui/hints.h"
#include "ui/layout.h"
#include "ui/velmor_path_edit.h"

namespace vp {

using namespace ui;

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
    const std::optional<CaptionGap> gap = MeasureCaptionGap(label.Handle(), label.Caption());
    if (!gap)
        return {label.Left(), label.Top(), 60, height};
    // The label keeps off the box it holds.
    SetWindowLongW(label.Handle(), GWL_STYLE,
                   GetWindowLongW(label.Handle(), GWL_STYLE) | WS_CLIPSIBLINGS);
    auto at96 = [](int px) { return MulDiv(px, 96, static_cast<int>(ScreenDpi())); };
    const int top = at96(label.Top() + label.Height() / 2) - height / 2;
    return {at96(label.Left() + gap->before), top, at96(gap->blanks), height};
}
} // namespace

void TMainForm::CreateSettingsTab() {
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
}

void TMainForm::btnDesktopShortcutClick() {
    CreateSelfShortcut(AppName, true);
}

void TMainForm::chkAutoStartUpClick() {
    SetAutoStartSelf(chkAutoStartUp->Checked());
}

void TMainForm::ApplicationEventsHint() {
    hints_->SetTooltipsEnabled(!radHintsOff->Checked());
    if (radHintsStatBar->Checked())
        StatBar->SetSimpleText(LongHint(hints_->Hint()));
}

void TMainForm::spnHideHintChange() {
    const int value = spnHideHint->Value();
    // A value half typed (below the range) waits for the rest.
    if (value == shownHideHint_ || value < spnHideHint->MinValue() ||
        value > spnHideHint->MaxValue())
        return;
    shownHideHint_ = value;
    hints_->SetHideAfter(static_cast<UINT>(value));
}

void TMainForm::spnOpacityChange() {
    const int value = spnOpacity->Value();
    // Nor does a half-typed opacity make the window vanish for a moment.
    if (value == shownOpacity_ || value < spnOpacity->MinValue() || value > spnOpacity->MaxValue())
        return;
    shownOpacity_ = value;
    SetOpacity(value);
}

void TMainForm::SetOpacity(int opacity) {
    opacity = std::clamp(opacity, 0, 255);
    const LONG exStyle = GetWindowLongW(Handle(), GWL_EXSTYLE);
    if (opacity < 255) {
        if (!(exStyle & WS_EX_LAYERED))
            SetWindowLongW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(opacity), LWA_ALPHA);
    } else if (exStyle & WS_EX_LAYERED) {
        SetWindowLongW(Handle(), GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
        RedrawWindow(Handle(), nullptr, nullptr,
                     RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

} // namespace vp
