#include "ui/controls.h"

#include <commctrl.h>

#include <vector>

#include "core/hotkey.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/visual_style.h"

namespace vp::ui {

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(const Placement& place, const CreateArgs& a) : TControl(place), padding_(a.padding) {
    RegisterWindowClass(kPanelClass, nullptr, nullptr);
    erasesBackground_ = true;
    SetColor(a.color);
    SetHint(a.hint);
    CreateControl(kPanelClass, u"", kContainerStyle,
                  WS_EX_CONTROLPARENT | (a.border ? WS_EX_STATICEDGE : 0));
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

RECT TPanel::AlignArea() const {
    RECT r = TControl::AlignArea();
    InflateRect(&r, -Scale(padding_), -Scale(padding_));
    return r;
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(const Placement& place, const CreateArgs& a) : TControl(place) {
    paintsParentBackground_ = true;
    captionText_ = true;
    erasesBackground_ = true;
    SetColor(a.color);
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption, kContainerStyle | BS_GROUPBOX, WS_EX_CONTROLPARENT);
    if (a.boldCaption)
        SetFont(DefaultBoldFont());
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

RECT TGroupBox::AlignArea() const {
    RECT r = TControl::AlignArea();
    r.left += Scale(6);
    r.right -= Scale(6);
    r.top += Scale(18);
    r.bottom -= Scale(6);
    return r;
}

// ---------------------------------------------------------------- TButton

TButton::TButton(const Placement& place, const CreateArgs& a)
    : TControl(place), OnClick(a.onClick) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption,
                  WS_VISIBLE | WS_TABSTOP | (a.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
    if (a.isDefault && place.form)
        place.form->SetDefaultButton(this);
    // Enter on the default button arrives as a command without the button's handle.
    if (place.form)
        place.form->SetCommand(static_cast<UINT>(ControlId()), [this] { Click(); });
    if (a.action)
        SetAction(a.action);
}

TButton::~TButton() {
    if (action_)
        action_->RemoveClient(this);
    if (TForm* form = Owner())
        form->RemoveCommand(static_cast<UINT>(ControlId()));
}

void TButton::SetAction(TAction* action) {
    if (action_)
        action_->RemoveClient(this);
    action_ = action;
    if (action_) {
        action_->AddClient(this);
        ActionChanged();
    }
}

void TButton::ActionChanged() {
    if (!action_)
        return;
    SetCaption(action_->Caption());
    SetHint(action_->Hint());
    SetEnabled(action_->Enabled());
}

void TButton::Click() {
    if (action_) {
        action_->Execute();
    } else if (Enabled()) {
        Raise(OnClick);
    }
}

bool TButton::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    if (msg == WM_NOTIFY && ActiveVisualStyle() &&
        reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW) {
        result = DrawStyledButton(*this, *reinterpret_cast<NMCUSTOMDRAW*>(lParam));
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(const Placement& place, const CreateArgs& a) : TControl(place) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption,
                  WS_VISIBLE | WS_TABSTOP | (a.allowGrayed ? BS_AUTO3STATE : BS_AUTOCHECKBOX));
    SendMessageW(Handle(), BM_SETCHECK, a.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    OnClick = a.onClick; // the initial state raises nothing
}

TCheckBoxState TCheckBox::State() const {
    const LRESULT s = SendMessageW(Handle(), BM_GETCHECK, 0, 0);
    return s == BST_CHECKED ? cbChecked : s == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
}

void TCheckBox::SetState(TCheckBoxState state) {
    if (state == State())
        return;
    const WPARAM s = state == cbChecked  ? BST_CHECKED
                     : state == cbGrayed ? BST_INDETERMINATE
                                         : BST_UNCHECKED;
    if (state == cbGrayed && (GetWindowLongW(Handle(), GWL_STYLE) & 0xF) != BS_AUTO3STATE)
        SetWindowLongW(Handle(), GWL_STYLE,
                       (GetWindowLongW(Handle(), GWL_STYLE) & ~0xF) | BS_AUTO3STATE);
    SendMessageW(Handle(), BM_SETCHECK, s, 0);
    Raise(OnClick);
}

bool TCheckBox::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Raise(OnClick);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(const Placement& place, const CreateArgs& a) : TControl(place) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption, WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON);
    if (a.checked)
        SetChecked(true);
    OnClick = a.onClick;
}

bool TRadioButton::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == Checked())
        return;
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked)
        return;
    if (Parent())
        for (TControl* sibling : Parent()->Controls())
            if (auto* radio = dynamic_cast<TRadioButton*>(sibling); radio && radio != this)
                SendMessageW(radio->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    Raise(OnClick);
}

bool TRadioButton::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (Checked())
            Raise(OnClick);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(const Placement& place, const CreateArgs& a) : TControl(place), OnClick(a.onClick) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_STATICW, a.caption,
                  WS_VISIBLE | SS_NOTIFY | (a.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP));
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

bool TLabel::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        Raise(OnClick);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(const Placement& place, const CreateArgs& a) : TControl(place) {
    SetHint(a.hint);
    CreateControl(WC_EDITW, a.text,
                  WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (a.readOnly ? ES_READONLY : 0),
                  WS_EX_CLIENTEDGE);
    OnChange = a.onChange;
}

void TEdit::SetReadOnly(bool readOnly) {
    SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

bool TEdit::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        Raise(OnChange);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(const Placement& place, const CreateArgs& a) : TControl(place) {
    CreateControl(STATUSCLASSNAMEW, u"", WS_VISIBLE | (a.sizeGrip ? SBARS_SIZEGRIP : 0));
    // One part across the whole bar, so the window text is the shown text.
    int right = -1;
    SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    SetSimpleText(a.simpleText);
    if (const VisualStyle* style = ActiveVisualStyle())
        SendMessageW(Handle(), SB_SETBKCOLOR, 0, style->statusBack);
    SetAlign(TAlign::alBottom);
}

std::u16string TStatusBar::SimpleText() const {
    const auto length = LOWORD(SendMessageW(Handle(), SB_GETTEXTLENGTHW, 0, 0));
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    SendMessageW(Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return U(buffer.data(), length);
}

void TStatusBar::SetSimpleText(const std::u16string& text) {
    SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(text)));
}

bool TStatusBar::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- THotKey

THotKey::THotKey(const Placement& place, const CreateArgs& a) : TControl(place) {
    SetHint(a.hint);
    CreateControl(HOTKEY_CLASSW, u"", WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE);
    SetHotKey(a.hotKey);
    OnChange = a.onChange;
}

TShortCut THotKey::HotKey() const {
    return HotKeyValueToShortCut(static_cast<WORD>(SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0)));
}

void THotKey::SetHotKey(TShortCut hotKey) {
    SendMessageW(Handle(), HKM_SETHOTKEY, ShortCutToHotKeyValue(hotKey), 0);
}

bool THotKey::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        Raise(OnChange);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

} // namespace vp::ui
