#include "ui/velmor_spin_edit.h"

#include "core/errors.h"
#include "ui/events.h"

namespace vp::ui {

namespace {
TSpinEdit::CreateArgs BaseArgs(const TVelmorSpinEdit::CreateArgs& a) {
    return {.minValue = a.minValue,
            .maxValue = a.maxValue,
            .value = a.value,
            .increment = a.increment,
            .hint = a.hint,
            .onChange = a.onChange};
}
} // namespace

TVelmorSpinEdit::TVelmorSpinEdit(const Placement& place, const CreateArgs& args)
    : TSpinEdit(place, BaseArgs(args)), OnChanged(args.onChanged) {
    // The count-down runs from creation, as a platform timer does once made.
    SetDelay(args.delay);
    StartDelay();
}

TVelmorSpinEdit::~TVelmorSpinEdit() {
    StopTimer();
}

void TVelmorSpinEdit::SetDelay(int delay) {
    Assert(delay >= 0, u"cvSpinEdit", u"Delay must be 0 or more!");
    FDelay = delay;
    if (TimerActive())
        StartDelay();
}

void TVelmorSpinEdit::StopTimer() {
    Window::StopTimer(kTimerId);
}

void TVelmorSpinEdit::StartDelay() {
    if (FDelay > 0)
        StartTimer(kTimerId, static_cast<UINT>(FDelay), [this] { DelayElapsed(); });
    else
        StopTimer();
}

void TVelmorSpinEdit::Change() {
    if (FDelay > 0 && Handle())
        StartDelay(); // a fresh SetTimer on the same id begins the full delay anew
    TSpinEdit::Change();
}

void TVelmorSpinEdit::DelayElapsed() {
    StopTimer();
    if (MaxValue() != 0 && Value() > MaxValue())
        SetValue(MaxValue());
    if (MinValue() != 0 && Value() < MinValue())
        SetValue(MinValue());
    Raise(OnChanged);
}

} // namespace vp::ui
