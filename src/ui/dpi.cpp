#include "ui/dpi.h"

namespace vp::ui {

namespace {
struct FontHolder {
    HFONT font = nullptr;
    ~FontHolder() {
        if (font)
            DeleteObject(font);
    }
};

HFONT MakeMessageFont(bool bold) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    LOGFONTW lf{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        lf = ncm.lfMessageFont;
    } else {
        lf.lfHeight = -12;
        lstrcpynW(lf.lfFaceName, L"Segoe UI", LF_FACESIZE);
    }
    if (bold)
        lf.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&lf);
}
} // namespace

UINT ScreenDpi() {
    static const UINT dpi = [] {
        HDC dc = GetDC(nullptr);
        const int d = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc)
            ReleaseDC(nullptr, dc);
        return static_cast<UINT>(d > 0 ? d : 96);
    }();
    return dpi;
}

int Scale(int value96) {
    return MulDiv(value96, static_cast<int>(ScreenDpi()), 96);
}

HFONT DefaultFont() {
    static FontHolder holder;
    if (!holder.font)
        holder.font = MakeMessageFont(false);
    return holder.font;
}

HFONT DefaultBoldFont() {
    static FontHolder holder;
    if (!holder.font)
        holder.font = MakeMessageFont(true);
    return holder.font;
}

} // namespace vp::ui
