#include "ui/page_control.h"

#include <commctrl.h>

#include <algorithm>

#include "core/errors.h"
#include "platform/wstr.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/gdi.h"
#include "ui/visual_style.h"

namespace vp::ui {

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(const Placement& place, const CreateArgs& a)
    : TControl(place), OnChange(a.onChange) {
    SetHint(a.hint);
    CreateControl(WC_TABCONTROLW, u"", kContainerStyle | WS_TABSTOP, WS_EX_CONTROLPARENT);
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

// A tab for pages_[page] at position index of the tab row; the new tab's position.
int TPageControl::InsertTab(HWND tab, int index, size_t page) const {
    const std::u16string caption = pages_[page]->Caption();
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(W(caption));
    item.lParam = static_cast<LPARAM>(page);
    return TabCtrl_InsertItem(tab, index, &item);
}

void TPageControl::AddPage(TTabSheet* page) {
    pages_.push_back(page);
    if (!active_ && page->TabVisible())
        active_ = page;
    HWND tab = Handle();
    if (!tab || !page->Handle())
        return SyncTabs();
    // A new page comes last: its tab goes at the end and only it is placed, unless the
    // tab row changed the page area. Rebuilding every tab for each page made the window's
    // creation grow with the square of the pages.
    auto area = [tab] {
        RECT r{};
        GetClientRect(tab, &r);
        TabCtrl_AdjustRect(tab, FALSE, &r);
        return r;
    };
    const RECT before = area();
    if (page->TabVisible()) {
        const int index = InsertTab(tab, TabCtrl_GetItemCount(tab), pages_.size() - 1);
        if (page == active_)
            TabCtrl_SetCurSel(tab, index);
    }
    const RECT r = area();
    if (!EqualRect(&before, &r))
        LayoutPages();
    else
        SetWindowPos(page->Handle(), nullptr, r.left, r.top, std::max(0L, r.right - r.left),
                     std::max(0L, r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(page->Handle(), page == active_ ? SW_SHOWNA : SW_HIDE);
}

void TPageControl::RemovePage(TTabSheet* page) {
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    if (active_ == page) {
        active_ = nullptr;
        for (TTabSheet* p : pages_)
            if (p->TabVisible()) {
                active_ = p;
                break;
            }
    }
    SyncTabs();
}

int TPageControl::ActivePageIndex() const {
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i] == active_)
            return static_cast<int>(i);
    return -1;
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount())
        return;
    SetActivePage(pages_[static_cast<size_t>(index)]);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && (!page->TabVisible() || &page->PageControl() != this))
        return;
    Activate(page);
}

void TPageControl::Activate(TTabSheet* page) {
    active_ = page;
    SyncTabs();
}

void TPageControl::TabVisibilityChanged(TTabSheet* page) {
    if (page == active_ && !page->TabVisible()) {
        // The next sheet with a visible tab takes over, else the one before.
        const auto at = std::find(pages_.begin(), pages_.end(), page);
        TTabSheet* next = nullptr;
        for (auto it = at + 1; it != pages_.end() && !next; ++it)
            if ((*it)->TabVisible())
                next = *it;
        for (auto it = at; it != pages_.begin() && !next;)
            if ((*--it)->TabVisible())
                next = *it;
        active_ = next;
    } else if (!active_ && page->TabVisible()) {
        active_ = page;
    }
    SyncTabs();
}

void TPageControl::SyncTabs() {
    HWND tab = Handle();
    if (!tab)
        return;
    TabCtrl_DeleteAllItems(tab);
    int tabIndex = 0, selected = -1;
    for (size_t i = 0; i < pages_.size(); ++i) {
        TTabSheet* p = pages_[i];
        if (!p->TabVisible())
            continue;
        InsertTab(tab, tabIndex, i);
        if (p == active_)
            selected = tabIndex;
        ++tabIndex;
    }
    TabCtrl_SetCurSel(tab, selected);
    LayoutPages();
    for (TTabSheet* p : pages_)
        if (p->Handle())
            ShowWindow(p->Handle(), p == active_ ? SW_SHOWNA : SW_HIDE);
}

void TPageControl::LayoutPages() {
    RECT r{};
    GetClientRect(Handle(), &r);
    TabCtrl_AdjustRect(Handle(), FALSE, &r);
    for (TTabSheet* p : pages_)
        if (p->Handle())
            SetWindowPos(p->Handle(), nullptr, r.left, r.top, std::max(0L, r.right - r.left),
                         std::max(0L, r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TPageControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (ActiveVisualStyle() && (msg == WM_PAINT || msg == WM_ERASEBKGND)) {
        if (msg == WM_ERASEBKGND)
            return 1;
        // Drawn off screen first, so switching tabs never flickers.
        const PaintGuard paint(Handle());
        RECT r{};
        GetClientRect(Handle(), &r);
        const BufferedCanvas canvas(paint.Dc(), r.right, r.bottom);
        PaintStyledTabs(*this, canvas.Dc());
        return 0;
    }
    if (msg == WM_SIZE) {
        const LRESULT result = DefaultHandler(msg, wParam, lParam);
        LayoutPages();
        return result;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

bool TPageControl::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) {
        const int sel = TabCtrl_GetCurSel(Handle());
        TCITEMW item{};
        item.mask = TCIF_PARAM;
        if (sel >= 0 && TabCtrl_GetItem(Handle(), sel, &item)) {
            const auto index = static_cast<size_t>(item.lParam);
            if (index < pages_.size() && pages_[index] != active_) {
                Activate(pages_[index]);
                Raise(OnChange);
            }
        }
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TTabSheet

namespace {
TPageControl* AsPageControl(TControl* parent) {
    auto* pc = dynamic_cast<TPageControl*>(parent);
    Assert(pc != nullptr, u"Controls", u"A tab sheet belongs on a page control.");
    return pc;
}
} // namespace

TTabSheet::TTabSheet(const Placement& place, const CreateArgs& a)
    : TControl(place), pageControl_(AsPageControl(place.parent)), caption_(a.caption),
      tabVisible_(a.tabVisible) {
    RegisterWindowClass(kPanelClass, nullptr, nullptr);
    erasesBackground_ = true;
    SetColor(a.color);
    CreateControl(kPanelClass, u"", WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT);
    pageControl_->AddPage(this);
}

TTabSheet::~TTabSheet() {
    pageControl_->RemovePage(this);
}

int TTabSheet::PageIndex() const {
    for (int i = 0; i < pageControl_->PageCount(); ++i)
        if (&pageControl_->Pages(i) == this)
            return i;
    return -1;
}

void TTabSheet::SetCaption(std::u16string caption) {
    caption_ = std::move(caption);
    pageControl_->SyncTabs();
}

void TTabSheet::SetTabVisible(bool visible) {
    if (visible == tabVisible_)
        return;
    tabVisible_ = visible;
    pageControl_->TabVisibilityChanged(this);
}

} // namespace vp::ui
