#include "ui/dpi.h"

#include <map>
#include <string>
#include <tuple>

namespace vp::ui {

namespace {
struct FontHolder {
    HFONT font = nullptr;
    ~FontHolder() {
        if (font)
            DeleteObject(font);
    }
};

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

HFONT PointFont(const wchar_t* face, int points, bool bold) {
    static std::map<std::tuple<std::wstring, int, bool>, FontHolder> fonts;
    FontHolder& holder = fonts[{face, points, bold}];
    if (!holder.font) {
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(points, static_cast<int>(ScreenDpi()), 72);
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = CLEARTYPE_QUALITY;
        lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
        holder.font = CreateFontIndirectW(&lf);
    }
    return holder.font;
}

HFONT DefaultFont() {
    return PointFont(L"Arial", 9);
}

HFONT DefaultBoldFont() {
    return PointFont(L"Arial", 9, true);
}

} // namespace vp::ui
