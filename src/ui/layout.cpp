#include "ui/layout.h"

#include "platform/unique_handle.h"
#include "platform/wstr.h"
#include "ui/gdi.h"

namespace vp::ui {

std::optional<CaptionGap> MeasureCaptionGap(HWND window, const std::u16string& caption) {
    const size_t gap = caption.find(u"  ");
    const size_t gapEnd = caption.find_first_not_of(u' ', gap);
    if (gap == std::u16string::npos || gapEnd == std::u16string::npos)
        return std::nullopt;
    const UniqueWindowDC dc(window);
    const SelectGuard font(dc.Get(),
                           reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE before{}, blanks{}, blank{};
    GetTextExtentPoint32W(dc.Get(), W(caption), static_cast<int>(gap), &before);
    GetTextExtentPoint32W(dc.Get(), W(caption) + gap, static_cast<int>(gapEnd - gap), &blanks);
    GetTextExtentPoint32W(dc.Get(), L" ", 1, &blank);
    return CaptionGap{before.cx, blanks.cx, blank.cx};
}

} // namespace vp::ui
