#include "ui/splitter.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/dpi.h"

namespace vp::ui {

namespace {
constexpr wchar_t kSplitterClass[] = L"VpSplitter";
}

TSplitter::TSplitter(const Placement& place, const CreateArgs& a)
    : TControl(place), minSize_(a.minSize) {
    RegisterWindowClass(kSplitterClass, nullptr, nullptr);
    erasesBackground_ = true;
    CreateControl(kSplitterClass, u"", WS_VISIBLE | WS_CLIPSIBLINGS);
    SetAlign(a.align);
}

TControl* TSplitter::Neighbour() const {
    if (!Parent())
        return nullptr;
    TControl* before = nullptr;
    for (TControl* c : Parent()->Controls()) {
        if (c == this)
            return before;
        if (c->Align() == Align() && c->Visible())
            before = c;
    }
    return nullptr;
}

int TSplitter::Position() const {
    return Vertical() ? Left() : Top();
}

void TSplitter::SetPosition(int position) {
    TControl* side = Neighbour();
    if (!side || !Parent())
        return;
    const int start = Vertical() ? side->Left() : side->Top();
    const int total = Vertical() ? Parent()->ClientWidth() : Parent()->ClientHeight();
    const int thickness = Vertical() ? Width() : Height();
    // Both sides keep their minimum, and a stored value from a larger screen still fits.
    const int lowest = start + Scale(minSize_);
    const int highest = std::max(lowest, total - thickness - Scale(minSize_));
    position = std::clamp(position, lowest, highest);
    if (Vertical())
        side->SetBounds(side->Left(), side->Top(), position - start, side->Height());
    else
        side->SetBounds(side->Left(), side->Top(), side->Width(), position - start);
    Parent()->Realign();
}

LRESULT TSplitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, Vertical() ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
    case WM_LBUTTONDOWN:
        dragging_ = true;
        dragOffset_ = Vertical() ? GET_X_LPARAM(lParam) : GET_Y_LPARAM(lParam);
        SetCapture(Handle());
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            MapWindowPoints(Handle(), Parent()->Handle(), &p, 1);
            SetPosition((Vertical() ? p.x : p.y) - dragOffset_);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (GetCapture() == Handle())
                ReleaseCapture();
        }
        return 0;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

} // namespace vp::ui
