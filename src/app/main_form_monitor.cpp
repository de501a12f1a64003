#include "app/main_form.h"

#include <commctrl.h>

#include <utility>

#include "core/errors.h"
#include "core/scope_exit.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "ui/kit_scanner.h"
#include "ui/velmor_memo.h"
#include "ui/velmor_path_edit.h"

namespace vp {

using namespace ui;

namespace {

constexpr COLORREF kMonitoringColor = RGB(3, 109, 12); // 814339
constexpr COLORREF kStoppedColor = RGB(255, 0, 0);     // 255

} // namespace

// ------------------------------------------------------------------ clipboard monitor

void TMainForm::OnDrawClipboard() {
    if (fetching_) {
        // Reading the clipboard lets sent messages in while the data is rendered: a second
        // read now would close the clipboard under the running one, which would then take
        // an empty text. The change is handled once that read is done.
        changedWhileFetching_ = true;
    } else {
        HandleClipboardChange();
    }
    // The next viewer hears of the change whatever happened here.
    if (nextViewer_)
        SendMessageW(nextViewer_, WM_DRAWCLIPBOARD, 0, 0);
}

void TMainForm::HandleClipboardChange() {
    // Each round reads what the clipboard holds by then; the bound keeps a source that
    // reports a change at every read from holding the window.
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        try {
            const ClipboardText clip = FetchClipboardHoldingChanges();
            if (clip.offered) {
                const bool ownCopy = ownCopy_ && *ownCopy_ == clip.text;
                ownCopy_.reset();
                // A private copy (a password) leaves no trace: no capture, beep or backup.
                if (!clip.isPrivate) {
                    try {
                        if (ownCopy) {
                            // already in the pad
                        } else if (Monitoring()) {
                            ColectClipboardData(clip.text);
                        } else if (chkMonitorWarn->Checked()) {
                            BeepTone(400, 30);
                        }
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
        if (!std::exchange(changedWhileFetching_, false))
            break;
    }
}

ClipboardText TMainForm::FetchClipboardHoldingChanges() {
    fetching_ = true;
    const ScopeExit done([this] { fetching_ = false; });
    return FetchClipboard(kClipboardAttempts);
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

bool TMainForm::Monitoring() const {
    return Scanner->Scanning();
}

void TMainForm::StartMonitoring() {
    if (Monitoring())
        return;
    Scanner->SetColor(kMonitoringColor);
    Scanner->SetScanColor(scGreen);
    Scanner->SetScanning(true);
    Scanner->SetVisible(true);
    TrayIcon->SetIconIndex(0);
    TrayIcon->SetCycleIcons(true);
    actToggleMonitor->SetCaption(u"Stop monitoring");
    const std::u16string welcome = WelcomeText();
    if (mmoClipboard->TextLength() == welcome.size() && mmoClipboard->Text() == welcome)
        mmoClipboard->Clear();
    if (chkClearOnStart->Checked()) {
        EmptyClipboardOnce();
        return;
    }
    const ClipboardText clip = FetchClipboardHoldingChanges();
    if (!clip.isPrivate)
        ColectClipboardData(clip.text);
    if (std::exchange(changedWhileFetching_, false))
        HandleClipboardChange();
}

void TMainForm::StopMonitoring() {
    Scanner->SetColor(kStoppedColor);
    Scanner->SetScanColor(scRed);
    Scanner->SetScanning(false);
    TrayIcon->SetCycleIcons(false);
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

} // namespace vp
