#include "app/main_form.h"

#include <commctrl.h>

#include <optional>

#include "app/pad_view.h"
#include "app/resource_ids.h"
#include "core/app_name.h"
#include "core/categories.h"
#include "core/errors.h"
#include "core/hotkey.h"
#include "core/paths.h"
#include "core/scope_exit.h"
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
#include "ui/busy_cursor.h"
#include "ui/dpi.h"
#include "ui/form_state.h"

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

} // namespace vp
