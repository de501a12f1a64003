#include "app/main_form.h"

#include <algorithm>

#include "core/app_name.h"
#include "platform/shell.h"

namespace vp {

using namespace ui;

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
