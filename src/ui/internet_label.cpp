#include "ui/internet_label.h"

#include "core/shell_errors.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "ui/dpi.h"
#include "ui/events.h"

namespace vp::ui {

TInternetLabel::TInternetLabel(const Placement& place, const CreateArgs& a)
    : TLabel(place, {.caption = a.caption, .hint = a.hint, .align = a.align}),
      linkHint_(a.linkHint), bold_(a.bold), underline_(a.underline) {
    OnClick = a.onClick;
    SetLink(a.link);
    ApplyFont();
}

void TInternetLabel::SetLink(std::u16string link) {
    link_ = std::move(link);
    if (linkHint_)
        SetHint(link_);
}

void TInternetLabel::SetVisited(bool visited) {
    visited_ = visited;
    SetFontColor(visited_ ? visitedColor_ : notVisitedColor_);
}

void TInternetLabel::SetVisitedColor(COLORREF color) {
    visitedColor_ = color;
    if (visited_ && !mouseOver_)
        SetFontColor(color);
}

void TInternetLabel::SetNotVisitedColor(COLORREF color) {
    notVisitedColor_ = color;
    if (!visited_ && !mouseOver_)
        SetFontColor(color);
}

void TInternetLabel::SetOverColor(COLORREF color) {
    overColor_ = color;
    if (mouseOver_)
        SetFontColor(color);
}

void TInternetLabel::SetAbout(bool show) {
    if (show)
        ShowMessageBox(u"Internet Label 2.0", u"", MB_OK);
}

void TInternetLabel::SetFontColor(COLORREF color) {
    fontColor_ = color;
    Invalidate();
}

void TInternetLabel::ApplyFont() {
    LOGFONTW lf{};
    GetObjectW(DefaultFont(), sizeof(lf), &lf);
    lf.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline_ ? TRUE : FALSE;
    UniqueHFont font(CreateFontIndirectW(&lf));
    if (!font)
        return;
    SetFont(font.Get());
    font_ = std::move(font); // the old font goes only once the label no longer uses it
}

void TInternetLabel::MouseEnter() {
    mouseOver_ = true;
    SetFontColor(overColor_);
    underline_ = true;
    ApplyFont();
    Raise(OnMouseEnter);
}

void TInternetLabel::MouseLeave() {
    mouseOver_ = false;
    underline_ = false;
    ApplyFont();
    SetFontColor(visited_ ? visitedColor_ : notVisitedColor_);
    Raise(OnMouseLeave);
}

bool TInternetLabel::CanActivate() {
    bool canActivate = !link_.empty();
    Raise(OnLinkActivating, *this, canActivate);
    return canActivate;
}

void TInternetLabel::Visit() {
    if (!CanActivate())
        return;
    const std::intptr_t result = ShellExecuteDefault(link_, SW_SHOWNORMAL);
    SetVisited(result > 32);
    // A click that seems to do nothing leaves the user guessing: say why.
    if (result <= 32)
        ShowError(u"The address could not be opened:\r\n" + link_ + u"\r\n\r\n" +
                  ShellErrorText(result));
}

LRESULT TInternetLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!mouseOver_) {
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&tme);
            MouseEnter();
        }
        break;
    case WM_MOUSELEAVE:
        if (mouseOver_)
            MouseLeave();
        return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return TLabel::HandleMessage(msg, wParam, lParam);
}

bool TInternetLabel::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_CTLCOLORSTATIC) {
        const bool handled = TLabel::HandleNotification(msg, wParam, lParam, result);
        SetTextColor(reinterpret_cast<HDC>(wParam), fontColor_);
        return handled;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        TLabel::HandleNotification(msg, wParam, lParam, result);
        Visit();
        return true;
    }
    return TLabel::HandleNotification(msg, wParam, lParam, result);
}

} // namespace vp::ui
