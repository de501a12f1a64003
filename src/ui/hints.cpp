#include "ui/hints.h"

#include <algorithm>

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

#include "core/errors.h"
#include "platform/messages.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/events.h"

namespace vp::ui {

namespace {
HintSystem* gActive = nullptr;
} // namespace

std::u16string ShortHint(const std::u16string& hint) {
    const size_t bar = hint.find(u'|');
    return bar == std::u16string::npos ? hint : hint.substr(0, bar);
}

std::u16string LongHint(const std::u16string& hint) {
    const size_t bar = hint.find(u'|');
    return bar == std::u16string::npos ? hint : hint.substr(bar + 1);
}

HintSystem::HintSystem(TForm& form) : form_(form) {
    CreateHandle({.className = TOOLTIPS_CLASSW,
                  .style = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                  .exStyle = WS_EX_TOPMOST,
                  .parent = form.Handle()});
    // Without a theme the tooltip takes our colour instead of the theme's.
    SetWindowTheme(Handle(), L"", L"");
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = form.Handle();
    ti.uId = 1;
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(Handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    // Long hints keep their line breaks.
    UpdateMaxTipWidth();
    // The platform's hint timing until the form sets its own.
    SetDelay(TTDT_INITIAL, 500);
    SetDelay(TTDT_RESHOW, 50);
    SetDelay(TTDT_AUTOPOP, 2500);
    gActive = this;
    SetMessageObserver(&HintSystem::Observe);
}

HintSystem::~HintSystem() {
    if (gActive == this) {
        gActive = nullptr;
        SetMessageObserver(nullptr);
    }
}

void HintSystem::Observe(const MSG& msg) {
    if (!gActive)
        return;
    try {
        switch (msg.message) {
        case WM_MOUSEMOVE:
            gActive->MouseOver(msg.hwnd);
            break;
        case WM_NCMOUSEMOVE:
            gActive->MouseOver(nullptr);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEWHEEL:
            // The user acts: the tooltip steps aside, as a tooltip does.
            gActive->CancelTooltip();
            break;
        }
    } catch (...) {
        ReportCurrentException();
    }
}

TControl* HintSystem::HintControl(HWND hwnd) {
    TControl* control = nullptr;
    for (HWND h = hwnd; h && !control; h = GetParent(h))
        control = dynamic_cast<TControl*>(Window::FromHandle(h));
    for (TControl* c = control; c; c = c->Parent())
        if (!c->Hint().empty())
            return c;
    return nullptr;
}

void HintSystem::SetHint(const std::u16string& hint) {
    if (hint == hint_)
        return;
    hint_ = hint;
    Raise(OnHint);
}

void HintSystem::AddWindow(HWND root) {
    windows_.push_back(root);
}

void HintSystem::RemoveWindow(HWND root) {
    std::erase(windows_, root);
    if (over_ && GetAncestor(over_, GA_ROOT) == root)
        MouseOver(nullptr);
}

void HintSystem::MouseOver(HWND hwnd) {
    if (hwnd) {
        const HWND root = GetAncestor(hwnd, GA_ROOT);
        if (root != form_.Handle() &&
            std::find(windows_.begin(), windows_.end(), root) == windows_.end())
            hwnd = nullptr;
    }
    if (hwnd == over_)
        return;
    over_ = hwnd;
    TControl* control = hwnd ? HintControl(hwnd) : nullptr;
    const std::u16string hint = control ? control->Hint() : std::u16string();
    // A handle, not the object: category buttons come and go while the mouse rests.
    const HWND controlHwnd = control ? control->Handle() : nullptr;
    const bool moved = controlHwnd != control_;
    control_ = controlHwnd;
    SetHint(hint);
    if (!moved)
        return;
    const bool wasShown = shown_;
    CancelTooltip();
    if (!control || !tooltipsEnabled_ || ShortHint(hint).empty())
        return;
    // Moving on from a tooltip that shows (or just hid) shows the next one almost at once.
    const bool quick = wasShown || GetTickCount() - lastHidden_ < 300;
    StartTimer(kShowTimer, Delay(quick ? TTDT_RESHOW : TTDT_INITIAL), [this] {
        StopTimer(kShowTimer);
        ShowTooltip();
    });
}

void HintSystem::ShowTooltip() {
    auto* control = dynamic_cast<TControl*>(Window::FromHandle(control_));
    if (!control || !tooltipsEnabled_ || !IsWindowVisible(form_.Handle()))
        return;
    const std::u16string text = ShortHint(control->Hint());
    if (text.empty())
        return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = form_.Handle();
    ti.uId = 1;
    ti.lpszText = const_cast<wchar_t*>(W(text));
    SendMessageW(Handle(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    POINT p{};
    GetCursorPos(&p);
    SendMessageW(Handle(), TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y + Scale(20)));
    SendMessageW(Handle(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    shown_ = true;
    // The one bound on how long a tooltip covers the control; it is not shown again until
    // the mouse reaches another control.
    StartTimer(kHideTimer, HideAfter(), [this] { CancelTooltip(); });
}

void HintSystem::CancelTooltip() {
    StopTimer(kShowTimer);
    StopTimer(kHideTimer);
    if (!shown_)
        return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = form_.Handle();
    ti.uId = 1;
    SendMessageW(Handle(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    shown_ = false;
    lastHidden_ = GetTickCount();
}

void HintSystem::SetTooltipsEnabled(bool enabled) {
    tooltipsEnabled_ = enabled;
    if (!enabled)
        CancelTooltip();
}

void HintSystem::UpdateMaxTipWidth() {
    SendMessageW(Handle(), TTM_SETMAXTIPWIDTH, 0, Scale(520));
}

void HintSystem::SetColor(COLORREF color) {
    SendMessageW(Handle(), TTM_SETTIPBKCOLOR, color, 0);
}

UINT HintSystem::Delay(DWORD which) const {
    return static_cast<UINT>(SendMessageW(Handle(), TTM_GETDELAYTIME, which, 0));
}

void HintSystem::SetDelay(DWORD which, UINT milliseconds) {
    // The control reads a signed word; a negative one would mean its default.
    const UINT ms = std::min(milliseconds, UINT{0x7FFF});
    SendMessageW(Handle(), TTM_SETDELAYTIME, which, MAKELPARAM(ms, 0));
}

void HintSystem::SetDelays(UINT showAfter, UINT moveAfter) {
    SetDelay(TTDT_INITIAL, showAfter);
    SetDelay(TTDT_RESHOW, moveAfter);
}

void HintSystem::SetHideAfter(UINT milliseconds) {
    SetDelay(TTDT_AUTOPOP, milliseconds);
    if (shown_)
        StartTimer(kHideTimer, HideAfter(), [this] { CancelTooltip(); });
}

} // namespace vp::ui
