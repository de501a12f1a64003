#include "app/main_form.h"

#include <commctrl.h>

#include <optional>

#include "app/category_button.h"
#include "app/pad_view.h"
#include "core/scope_exit.h"
#include "core/text.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/locale.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "ui/busy_cursor.h"
#include "ui/velmor_memo.h"

namespace vp {

using namespace ui;

// ------------------------------------------------------------------ capture pipeline

namespace {

// From about this size on, the pad's edit control needs a noticeable moment for the text.
constexpr size_t kBusyCursorUnits = 64 * 1024;

} // namespace

void TMainForm::ColectClipboardData(const std::u16string& newEntry) {
    std::optional<BusyCursor> busy;
    if (newEntry.size() >= kBusyCursorUnits)
        busy.emplace();
    // The entry goes on top of what another program may have written meanwhile. A file
    // that cannot be looked at now is looked at again by the save, which reports it.
    reloadNote_.clear();
    DiskSync sync;
    if (const TCategoryButton* button = GetPressedButton()) {
        try {
            sync = SyncPadWithFile(button->Hint());
        } catch (...) {
        }
    }
    const ScopeExit forgetNote([this] { reloadNote_.clear(); });
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
    const ScopeExit forget([this] { padView_ = nullptr; });
    try {
        RunCapture(input, collectedCount_, *this);
    } catch (...) {
        if (!sync.recovery.empty())
            ShowRecoveryNotice(CurrentCategoryFile(), sync.recovery);
        throw;
    }
    if (!sync.recovery.empty())
        ShowRecoveryNotice(CurrentCategoryFile(), sync.recovery);
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
    std::u16string adjusted = AdjustLineBreaks(text);
    appending_ = true;
    const ScopeExit appended([this] { appending_ = false; });
    mmoClipboard->ReplaceSel(adjusted, false);
    pendingAppends_.push_back(std::move(adjusted));
}

void TMainForm::ClearClipboard() {
    EmptyClipboardOnce();
}

void TMainForm::SetStatus(const std::u16string& text) {
    StatBar->SetSimpleText(
        reloadNote_.empty() || text == reloadNote_ ? text : text + u" - " + reloadNote_);
}

void TMainForm::SavePad() {
    actSaveExecute();
}

} // namespace vp
