#include "ui/kit_scanner.h"

#include <algorithm>

#include "platform/unique_handle.h"
#include "ui/events.h"
#include "ui/gdi.h"

namespace vp::ui {

namespace {
constexpr wchar_t kScannerClass[] = L"VpKITScanner";
constexpr UINT_PTR kScanTimer = 1;

Placement WithDefaultSize(Placement place) {
    if (place.bounds.width == 0 && place.bounds.height == 0) {
        place.bounds.width = 82;
        place.bounds.height = 12;
    }
    return place;
}

// BevelWidth nested one-pixel rectangles: top and left edges in one colour, bottom and
// right in the other.
void DrawFrame(HDC dc, RECT& r, TBevelCut cut, int width) {
    if (cut == bvNone)
        return;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF top = cut == bvLowered ? shadow : light;
    const COLORREF bottom = cut == bvLowered ? light : shadow;
    for (int i = 0; i < width && r.right > r.left && r.bottom > r.top; ++i) {
        FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, top);
        FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, top);
        FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottom);
        FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottom);
        InflateRect(&r, -1, -1);
    }
}
} // namespace

TKITScanner::TKITScanner(const Placement& place, const CreateArgs& a)
    : TControl(WithDefaultSize(place)), scanColor_(a.scanColor), scanMode_(a.scanMode),
      scanSpeed_(a.scanSpeed), howManyLeds_(ClampLedCount(a.howManyLeds)),
      bevelInner_(a.bevelInner), bevelOuter_(a.bevelOuter),
      bevelWidth_(std::clamp(a.bevelWidth, 0, 255)), colors_(ScanColors(a.scanColor)) {
    RegisterWindowClass(kScannerClass, nullptr, nullptr);
    SetHint(a.hint);
    SetColor(a.color);
    CreateControl(kScannerClass, u"", WS_VISIBLE);
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

TKITScanner::~TKITScanner() {
    SetScanning(false);
}

void TKITScanner::StartScanTimer() {
    StartTimer(kScanTimer, static_cast<UINT>(std::max(1, scanSpeed_)), [this] { ScanTimerTick(); });
}

void TKITScanner::SetScanning(bool scanning) {
    if (scanning == scanning_)
        return;
    scanning_ = scanning;
    if (scanning_)
        StartScanTimer();
    else
        StopTimer(kScanTimer);
}

void TKITScanner::SetScanColor(TScanColor scanColor) {
    if (scanColor == scanColor_)
        return;
    scanColor_ = scanColor;
    Repaint();
}

void TKITScanner::SetScanSpeed(int milliseconds) {
    if (milliseconds == scanSpeed_)
        return;
    scanSpeed_ = milliseconds;
    if (scanning_)
        StartScanTimer();
}

void TKITScanner::SetHowManyLeds(int count) {
    count = ClampLedCount(count);
    if (count == howManyLeds_)
        return;
    howManyLeds_ = count;
    Repaint();
}

void TKITScanner::SetBevelInner(TBevelCut cut) {
    if (cut == bevelInner_)
        return;
    bevelInner_ = cut;
    Repaint();
}

void TKITScanner::SetBevelOuter(TBevelCut cut) {
    if (cut == bevelOuter_)
        return;
    bevelOuter_ = cut;
    Repaint();
}

void TKITScanner::SetBevelWidth(int width) {
    width = std::clamp(width, 0, 255);
    if (width == bevelWidth_)
        return;
    bevelWidth_ = width;
    Repaint();
}

COLORREF TKITScanner::BackColor() const {
    return Color() == clDefault ? GetSysColor(COLOR_BTNFACE) : Color();
}

void TKITScanner::Repaint() {
    if (!Handle())
        return;
    {
        const UniqueWindowDC dc(Handle());
        if (!dc)
            return;
        DrawScanner(dc.Get());
    }
    // What the drawing above covered needs no second paint.
    ValidateRect(Handle(), nullptr);
}

void TKITScanner::DrawScanner(HDC dc) {
    border_ = ScannerBorder(bevelInner_, bevelOuter_, bevelWidth_);
    const TAlign align = Align();
    const bool mayResizeWidth =
        align == TAlign::alNone || align == TAlign::alLeft || align == TAlign::alRight;
    const int width = ClientWidth(), height = ClientHeight();
    layout_ = LayoutLeds(width, height, howManyLeds_, border_, mayResizeWidth);
    colors_ = ScanColors(scanColor_);
    lit_ = 0;
    if (layout_.width != width || layout_.height != height) {
        SetWindowPos(Handle(), nullptr, 0, 0, layout_.width, layout_.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (Parent() && align != TAlign::alNone)
            Parent()->Realign();
    }
    PaintTo(dc);
}

void TKITScanner::PaintTo(HDC target) const {
    RECT r{};
    GetClientRect(Handle(), &r);
    BufferedCanvas canvas(target, r.right, r.bottom);
    HDC dc = canvas.Dc();
    DrawFrame(dc, r, bevelOuter_, bevelWidth_);
    DrawFrame(dc, r, bevelInner_, bevelWidth_);
    FillSolid(dc, r, BackColor());
    for (int i = 1; i <= howManyLeds_ && layout_.ledW > 0; ++i) {
        const int x = layout_.ledX[static_cast<size_t>(i - 1)];
        FillSolid(dc, {x, layout_.top, x + layout_.ledW, layout_.bottom},
                  i == lit_ ? colors_.lit : colors_.unlit);
    }
}

void TKITScanner::ScanTimerTick() {
    led_ = StepLed(led_, scanMode_, howManyLeds_);
    lit_ = led_.pos >= 1 && led_.pos <= howManyLeds_ ? led_.pos : 0;
    if (const UniqueWindowDC dc(Handle()); dc)
        PaintTo(dc.Get());
    Raise(OnStep);
}

LRESULT TKITScanner::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        // The layout follows the size at the next full repaint.
        Invalidate(false);
        break;
    case WM_PAINT: {
        PaintGuard paint(Handle());
        DrawScanner(paint.Dc());
        return 0;
    }
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

} // namespace vp::ui
