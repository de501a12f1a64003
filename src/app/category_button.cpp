#include "app/category_button.h"

#include <commctrl.h>

#include "ui/events.h"
#include "ui/visual_style.h"

namespace vp {

using namespace ui;

// ------------------------------------------------------------------ TCategoryButton

TCategoryButton::TCategoryButton(const Placement& place, const CreateArgs& a)
    : TControl(place), OnClick(a.onClick) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption, WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX | BS_PUSHLIKE);
}

bool TCategoryButton::Down() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCategoryButton::SetDown(bool down) {
    if (down && Parent())
        for (TControl* sibling : Parent()->Controls())
            if (auto* other = dynamic_cast<TCategoryButton*>(sibling); other && other != this)
                SendMessageW(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(Handle(), BM_SETCHECK, down ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCategoryButton::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Raise(OnClick);
        result = 0;
        return true;
    }
    if (msg == WM_NOTIFY && ActiveVisualStyle() &&
        reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW) {
        result = DrawStyledButton(*this, *reinterpret_cast<NMCUSTOMDRAW*>(lParam), Down());
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ------------------------------------------------------------------ TClickGroupBox

LRESULT TClickGroupBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCHITTEST:
        // A group box lets clicks through to its parent; this one takes them.
        return HTCLIENT;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Handle()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONUP:
        Raise(OnClick);
        return 0;
    }
    return TGroupBox::HandleMessage(msg, wParam, lParam);
}

} // namespace vp
