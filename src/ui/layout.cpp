#include "ui/layout.h"

#include "platform/wstr.h"

namespace vp::ui {

std::optional<CaptionGap> MeasureCaptionGap(HWND window, const std::u16string& caption) {
    const size_t gap = caption.find(u"  ");
    const size_t gapEnd = caption.find_first_not_of(u' ', gap);
    if (gap == std::u16string::npos || gapEnd == std::u16string::npos)
        return std::nullopt;
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE before{}, blanks{}, blank{};
    GetTextExtentPoint32W(dc, W(caption), static_cast<int>(gap), &before);
    GetTextExtentPoint32W(dc, W(caption) + gap, static_cast<int>(gapEnd - gap), &blanks);
    GetTextExtentPoint32W(dc, L" ", 1, &blank);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return CaptionGap{before.cx, blanks.cx, blank.cx};
}

} // namespace vp::ui
