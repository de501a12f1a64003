#include "ui/image.h"

#include "ui/gdi.h"

namespace vp::ui {

namespace {
constexpr wchar_t kImageClass[] = L"VpImage";
}

TImage::TImage(const Placement& place, const CreateArgs& a) : TControl(place) {
    RegisterWindowClass(kImageClass, nullptr, nullptr);
    SetHint(a.hint);
    CreateControl(kImageClass, u"", WS_VISIBLE);
}

void TImage::SetPicture(UniqueHIcon picture) {
    picture_ = std::move(picture);
    Invalidate();
}

LRESULT TImage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintGuard paint(Handle());
        RECT r{};
        GetClientRect(Handle(), &r);
        BufferedCanvas canvas(paint.Dc(), r.right, r.bottom);
        FillSolid(canvas.Dc(), r, BackgroundColor());
        if (picture_)
            DrawIconEx(canvas.Dc(), 0, 0, picture_.Get(), r.right, r.bottom, 0, nullptr, DI_NORMAL);
        return 0;
    }
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

} // namespace vp::ui
