#pragma once
// Guards for painting: one WM_PAINT, one selected GDI object, one off-screen canvas.
#include <windows.h>

#include "platform/unique_handle.h"

namespace vp::ui {

// BeginPaint and EndPaint around one WM_PAINT.
class PaintGuard {
  public:
    explicit PaintGuard(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    ~PaintGuard() { EndPaint(hwnd_, &ps_); }
    HDC Dc() const { return dc_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// An object selected into a device context until the scope ends.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Drawing goes to a bitmap the size of the target area, and the finished picture reaches
// the target in one copy when the scope ends, so no half-drawn frame is ever seen.
class BufferedCanvas {
  public:
    BufferedCanvas(HDC target, int width, int height);
    BufferedCanvas(const BufferedCanvas&) = delete;
    BufferedCanvas& operator=(const BufferedCanvas&) = delete;
    ~BufferedCanvas();
    // Where to draw; the target itself when no bitmap could be made.
    HDC Dc() const { return memory_ ? memory_.Get() : target_; }

  private:
    HDC target_;
    int width_, height_;
    UniqueHDC memory_;
    UniqueHBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

// Fills a rectangle with a colour, without making a brush.
void FillSolid(HDC dc, const RECT& r, COLORREF color);

} // namespace vp::ui
