#include "ui/spin_edit.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "core/int_text.h"
#include "ui/dpi.h"
#include "ui/events.h"

namespace vp::ui {

// ---------------------------------------------------------------- TSpinEdit

// The up-down control beside the box; its notifications come back here.
class TSpinEdit::Buttons : public Window {
  public:
    Buttons(TSpinEdit& owner, HWND parent) : owner_(owner) {
        CreateArgs a;
        a.className = UPDOWN_CLASSW;
        a.style = WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
        a.x = a.y = 0;
        a.width = Scale(14);
        a.height = Scale(20);
        a.parent = parent;
        CreateHandle(a);
        SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(owner.Handle()), 0);
        SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(INT_MIN / 2), INT_MAX / 2);
    }

  protected:
    bool HandleNotification(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS) {
            const int delta = reinterpret_cast<NMUPDOWN*>(lParam)->iDelta;
            owner_.SetValue(owner_.Value() + delta * owner_.increment_);
            result = TRUE; // the box holds the value, not the buttons
            return true;
        }
        if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
            result = 0;
            return true;
        }
        return false;
    }

  private:
    TSpinEdit& owner_;
};

TSpinEdit::TSpinEdit(const Placement& place, const CreateArgs& a)
    : TControl(place), minValue_(a.minValue), maxValue_(a.maxValue), increment_(a.increment) {
    SetHint(a.hint);
    CreateControl(WC_EDITW, u"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    // Narrow margins: a five-digit value fits a box in a label's gap.
    SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
    buttons_ = std::make_unique<Buttons>(*this, Parent()->Handle());
    SetValue(a.value);
    OnChange = a.onChange;
}

TSpinEdit::~TSpinEdit() = default;

void TSpinEdit::OnDpiChanged(UINT, UINT) {
    // The buttons took their width off the box: the box gets its whole width back, and the
    // buttons, at their new size, take theirs off again.
    SetBounds(Left(), Top(), Scale(place_.bounds.width), Height());
    SetWindowPos(buttons_->Handle(), nullptr, 0, 0, Scale(14), Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(buttons_->Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
}

int TSpinEdit::Clamp(int value) const {
    if (minValue_ == maxValue_)
        return value;
    return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

int TSpinEdit::Value() const {
    int32_t v = 0;
    return TryDecimalToInt32(Text(), v) ? v : minValue_;
}

void TSpinEdit::SetValue(int value) {
    SetText(IntToText(Clamp(value)));
}

void TSpinEdit::Change() {
    Raise(OnChange);
}

LRESULT TSpinEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KILLFOCUS) {
        const LRESULT result = DefaultHandler(msg, wParam, lParam);
        const int v = Value();
        if (Clamp(v) != v)
            SetValue(v);
        return result;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

bool TSpinEdit::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        Change();
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

} // namespace vp::ui
