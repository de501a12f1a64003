#include "ui/visual_style.h"

#include <commctrl.h>

#include <vector>

#include "platform/unique_handle.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/page_control.h"

namespace vp::ui {

namespace {

constexpr VisualStyle kAmethystKamri{
    .face = RGB(241, 236, 247),
    .text = RGB(44, 30, 62),
    .groupCaption = RGB(96, 52, 142),
    .buttonFace = RGB(228, 217, 242),
    .buttonHot = RGB(238, 230, 250),
    .buttonPressed = RGB(203, 184, 228),
    .buttonBorder = RGB(150, 118, 190),
    .buttonDefaultBorder = RGB(96, 52, 142),
    .buttonDown = RGB(120, 72, 170),
    .buttonDownText = RGB(255, 255, 255),
    .disabledText = RGB(158, 146, 172),
    .editBack = RGB(253, 251, 255),
    .tabActive = RGB(241, 236, 247),
    .tabInactive = RGB(222, 208, 238),
    .tabBorder = RGB(160, 132, 196),
    .tabAccent = RGB(120, 72, 170),
    .statusBack = RGB(229, 220, 240),
};

const VisualStyle* gStyle = nullptr;

void Frame(HDC dc, const RECT& r, COLORREF color) {
    const UniqueHBrush brush(CreateSolidBrush(color));
    FrameRect(dc, &r, brush.Get());
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
    const UniqueHBrush brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.Get());
}

} // namespace

bool ApplyVisualStyle(std::u16string_view name) {
    if (name != u"Amethyst Kamri")
        return false;
    gStyle = &kAmethystKamri;
    return true;
}

void RemoveVisualStyle() {
    gStyle = nullptr;
}

const VisualStyle* ActiveVisualStyle() {
    return gStyle;
}

LRESULT DrawStyledButton(const TControl& button, const NMCUSTOMDRAW& draw, bool down) {
    if (!gStyle || draw.dwDrawStage != CDDS_PREPAINT)
        return CDRF_DODEFAULT;
    const VisualStyle& s = *gStyle;
    HDC dc = draw.hdc;
    RECT r = draw.rc;
    const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
    const bool hot = (draw.uItemState & CDIS_HOT) != 0;
    const bool disabled = (draw.uItemState & CDIS_DISABLED) != 0;
    const bool focused = (draw.uItemState & CDIS_FOCUS) != 0;
    const bool isDefault =
        (GetWindowLongW(button.Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    // The corners show the parent's colour, so a button on the grey panel stays clean.
    Fill(dc, r, button.BackgroundColor());
    const COLORREF face = down      ? s.buttonDown
                          : pressed ? s.buttonPressed
                          : hot     ? s.buttonHot
                                    : s.buttonFace;
    {
        const UniqueHBrush brush(CreateSolidBrush(face));
        const UniqueHPen pen(
            CreatePen(PS_SOLID, isDefault || focused ? Scale(2) : 1,
                      isDefault || focused ? s.buttonDefaultBorder : s.buttonBorder));
        const SelectGuard selectBrush(dc, brush.Get());
        const SelectGuard selectPen(dc, pen.Get());
        const int round = Scale(6);
        RoundRect(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, round, round);
    }

    const std::u16string caption = button.Text();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? s.disabledText : down ? s.buttonDownText : s.text);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button.Handle(), WM_GETFONT, 0, 0)));
    RECT text = r;
    if (pressed)
        OffsetRect(&text, 0, 1);
    DrawTextW(dc, W(caption), -1, &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    return CDRF_SKIPDEFAULT;
}

void PaintStyledTabs(const TPageControl& tabs, HDC dc) {
    const VisualStyle& s = *gStyle;
    HWND hwnd = tabs.Handle();
    RECT client{};
    GetClientRect(hwnd, &client);
    Fill(dc, client, tabs.Parent() ? tabs.Parent()->BackgroundColor() : s.face);
    // The body: the area the tab control leaves to its pages, with a frame around it.
    RECT body = client;
    TabCtrl_AdjustRect(hwnd, FALSE, &body);
    InflateRect(&body, Scale(2), Scale(2));
    Fill(dc, body, s.face);
    Frame(dc, body, s.tabBorder);

    const int count = TabCtrl_GetItemCount(hwnd);
    const int selected = TabCtrl_GetCurSel(hwnd);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    for (int i = 0; i < count; ++i) {
        RECT r{};
        TabCtrl_GetItemRect(hwnd, i, &r);
        const bool active = i == selected;
        if (active) {
            // The active tab rises a little and opens into the body.
            r.top -= Scale(2);
            r.bottom = body.top + 1;
        }
        Fill(dc, r, active ? s.tabActive : s.tabInactive);
        Frame(dc, r, s.tabBorder);
        if (active) {
            RECT accent{r.left, r.top, r.right, r.top + Scale(3)};
            Fill(dc, accent, s.tabAccent);
            RECT open{r.left + 1, body.top, r.right - 1, body.top + 1};
            Fill(dc, open, s.tabActive);
        }
        wchar_t caption[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = 127;
        TabCtrl_GetItem(hwnd, i, &item);
        SetTextColor(dc, active ? s.groupCaption : s.text);
        RECT text = r;
        if (active)
            text.top += Scale(2);
        DrawTextW(dc, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
}

} // namespace vp::ui
