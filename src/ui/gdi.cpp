#include "ui/gdi.h"

namespace vp::ui {

BufferedCanvas::BufferedCanvas(HDC target, int width, int height)
    : target_(target), width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        return;
    memory_.Reset(CreateCompatibleDC(target));
    bitmap_.Reset(CreateCompatibleBitmap(target, width, height));
    if (!memory_ || !bitmap_) {
        memory_.Reset();
        return;
    }
    old_ = SelectObject(memory_.Get(), bitmap_.Get());
}

BufferedCanvas::~BufferedCanvas() {
    if (!memory_)
        return;
    BitBlt(target_, 0, 0, width_, height_, memory_.Get(), 0, 0, SRCCOPY);
    SelectObject(memory_.Get(), old_);
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    const COLORREF old = SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

} // namespace vp::ui
