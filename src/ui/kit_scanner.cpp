#include "ui/kit_scanner.h"
#include "ui/events.h"

#include <algorithm>

namespace vp::ui {

namespace {
constexpr wchar_t kScannerClass[] = L"VpKITScanner";
constexpr UINT_PTR kScanTimer = 1;
} // namespace

TKITScanner::TKITScanner(const Placement& place, const CreateArgs& a)
    : TControl(place), scanColor_(a.scanColor), scanSpeed_(a.scanSpeed),
      howManyLeds_(std::clamp(a.howManyLeds, 1, 100)) {
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

void TKITScanner::SetScanning(bool scanning) {
    if (scanning == scanning_)
        return;
    scanning_ = scanning;
    if (scanning_)
        StartTimer(kScanTimer, static_cast<UINT>(std::max(1, scanSpeed_)), [this] { Tick(); });
    else
        StopTimer(kScanTimer);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TKITScanner::SetScanColor(TScanColor scanColor) {
    if (scanColor == scanColor_)
        return;
    scanColor_ = scanColor;
    InvalidateRect(Handle(), nullptr, TRUE);
}

COLORREF TKITScanner::ScanColorValue() const {
    switch (scanColor_) {
    case scBlue:
        return 0xFF0000;
    case scGreen:
        return 0x00FF00;
    case scYellow:
        return 0x00FFFF;
    default:
        return 0x0000FF;
    }
}

void TKITScanner::SetScanSpeed(int milliseconds) {
    scanSpeed_ = milliseconds;
    // The count starts again at once with the new interval.
    if (scanning_)
        StartTimer(kScanTimer, static_cast<UINT>(std::max(1, scanSpeed_)), [this] { Tick(); });
}

void TKITScanner::SetHowManyLeds(int count) {
    count = std::clamp(count, 1, 100);
    if (count == howManyLeds_)
        return;
    howManyLeds_ = count;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TKITScanner::Tick() {
    Raise(OnStep);
}

LRESULT TKITScanner::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT r{};
        GetClientRect(Handle(), &r);
        FillRect(dc, &r, SolidBrush(BackgroundColor()));
        if (scanning_) {
            // A lit strip inside the frame of Color while monitoring.
            RECT inner = r;
            InflateRect(&inner, -1, -1);
            FillRect(dc, &inner, SolidBrush(ScanColorValue()));
        }
        EndPaint(Handle(), &ps);
        return 0;
    }
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

} // namespace vp::ui
