#pragma once
// The hint system of one form: it follows the mouse over the form's controls (and the
// highlighted menu item), keeps the current hint, raises OnHint whenever that hint changes,
// and shows the short part of a control's hint as a tooltip.
//
//     hints.OnHint = [&] { status.SetSimpleText(LongHint(hints.Hint())); };
//     hints.SetTooltipsEnabled(false);          // hints keep flowing to OnHint
//
// A control without a hint of its own shows its parent's. A tooltip appears after a short
// pause, stays at most HideAfter milliseconds and does not come back before the mouse has
// moved to another control, so it never sits over what the user is looking at.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/component.h"

namespace vp::ui {

// The part of a hint before the first "|", and the part after it (the whole without one).
std::u16string ShortHint(const std::u16string& hint);
std::u16string LongHint(const std::u16string& hint);

class HintSystem : public Window {
  public:
    explicit HintSystem(TForm& form);
    ~HintSystem() override;

    const std::u16string& Hint() const { return hint_; }
    // Raises OnHint when the text differs from the current hint.
    void SetHint(const std::u16string& hint);
    std::function<void()> OnHint;

    // The mouse is over this window (one of the form's, or none): its control's hint becomes
    // the current one, and its tooltip is scheduled.
    void MouseOver(HWND hwnd);
    // Another top-level window of the program whose controls' hints this system shows too
    // (a tool window the form owns); removed before it goes.
    void AddWindow(HWND root);
    void RemoveWindow(HWND root);
    // The control whose hint is shown for a window: the nearest one of ours with a hint.
    static TControl* HintControl(HWND hwnd);

    bool TooltipsEnabled() const { return tooltipsEnabled_; }
    void SetTooltipsEnabled(bool enabled);
    bool TooltipShown() const { return shown_; }
    // True from the moment the mouse reaches a control until its tooltip shows or is dropped.
    bool TooltipPending() const { return TimerRunning(kShowTimer); }
    void CancelTooltip();

    // The colour and the delays are kept in the tooltip control itself, the one place the
    // show and hide timers read them from.
    void SetColor(COLORREF color);
    // Long hints wrap at a width that follows the DPI.
    void UpdateMaxTipWidth();
    // Pause before the first tooltip (initial), pause when moving on while one shows
    // (reshow), how long it stays (autopop).
    void SetDelays(UINT showAfter, UINT moveAfter);
    void SetHideAfter(UINT milliseconds);
    UINT HideAfter() const { return Delay(TTDT_AUTOPOP); }
    HWND Tooltip() const { return Handle(); }

  private:
    // Far from the tooltip control's own timer ids (1 to 3).
    static constexpr UINT_PTR kShowTimer = 0x5601, kHideTimer = 0x5602;
    static void Observe(const MSG& msg);
    void ShowTooltip();
    UINT Delay(DWORD which) const;
    void SetDelay(DWORD which, UINT milliseconds);
    TForm& form_;
    std::vector<HWND> windows_;
    std::u16string hint_;
    HWND over_ = nullptr;
    HWND control_ = nullptr;
    bool tooltipsEnabled_ = true;
    bool shown_ = false;
    DWORD lastHidden_ = 0;
};

} // namespace vp::ui
