#pragma once
// A spin edit with a second, delayed change notification: OnChanged follows once the
// value has rested for Delay milliseconds, and at that moment the value is pulled back
// inside its non-zero bounds. OnChange still fires at every change.
#include <functional>
#include <string>

#include "ui/spin_edit.h"

namespace vp::ui {

class TVelmorSpinEdit : public TSpinEdit {
  public:
    struct CreateArgs {
        int minValue = 0, maxValue = 100, value = 0, increment = 1;
        std::u16string hint;
        std::function<void()> onChange;
        int delay = 1200; // milliseconds; 0 switches the delayed notification off
        std::function<void()> onChanged;
    };
    TVelmorSpinEdit(const Placement& place, const CreateArgs& args);
    ~TVelmorSpinEdit() override;
    std::u16string ClassName() const override { return u"TVelmorSpinEdit"; }

    int Delay() const { return FDelay; }
    // Must be 0 or more. Restarts a running count-down with the new interval.
    void SetDelay(int delay);
    // No delayed notification follows until the next change.
    void StopTimer();
    bool TimerActive() const { return TimerRunning(kTimerId); }
    std::function<void()> OnChanged;

  protected:
    void Change() override;

  private:
    static constexpr UINT_PTR kTimerId = 0x5E1D;
    void StartDelay();
    void DelayElapsed();
    int FDelay = 1200;
};

} // namespace vp::ui
