#include "ui/list_view.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/unique_handle.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/events.h"

namespace vp::ui {

TListView::TListView(const Placement& place, const CreateArgs& a)
    : TControl(place), markedColumn_(a.markedColumn) {
    SetHint(a.hint);
    CreateControl(WC_LISTVIEWW, u"",
                  WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                      LVS_OWNERDATA,
                  WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (size_t i = 0; i < a.columns.size(); ++i) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = Scale(a.columns[i].width);
        col.pszText = const_cast<wchar_t*>(W(a.columns[i].caption));
        col.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(Handle(), static_cast<int>(i), &col);
    }
    SetAlign(a.align);
}

void TListView::Clear() {
    rows_.clear();
    marks_.clear();
    ListView_SetItemCountEx(Handle(), 0, 0);
}

void TListView::AddRow(std::vector<std::u16string> texts, TTextMark mark) {
    rows_.push_back(std::move(texts));
    marks_.push_back(mark);
    if (!updating_)
        ListView_SetItemCountEx(Handle(), static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
}

int TListView::RowCount() const {
    return static_cast<int>(rows_.size());
}

std::u16string TListView::CellText(int row, int column) const {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size())
        return {};
    const auto& texts = rows_[static_cast<size_t>(row)];
    return column >= 0 && static_cast<size_t>(column) < texts.size()
               ? texts[static_cast<size_t>(column)]
               : std::u16string();
}

int TListView::Selected() const {
    return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
}

void TListView::SetSelected(int row) {
    ListView_SetItemState(Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(Handle(), row, FALSE);
}

void TListView::BeginUpdate() {
    updating_ = true;
}

void TListView::EndUpdate() {
    updating_ = false;
    ListView_SetItemCountEx(Handle(), static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
}

LRESULT TListView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETDLGCODE:
        // Enter belongs to the list, not to the window's default button.
        if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
            reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
            return TControl::HandleMessage(msg, wParam, lParam) | DLGC_WANTMESSAGE;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (const int row = Selected(); row >= 0)
                Raise(OnActivate, row);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r')
            return 0;
        break;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

bool TListView::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == LVN_GETDISPINFOW) {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
                lstrcpynW(item.pszText, W(CellText(item.iItem, item.iSubItem)), item.cchTextMax);
            result = 0;
            return true;
        }
        if (hdr->code == NM_DBLCLK) {
            const int row = reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem;
            if (row >= 0)
                Raise(OnActivate, row);
            result = 0;
            return true;
        }
        if (hdr->code == NM_CUSTOMDRAW && markedColumn_ >= 0) {
            result = CustomDraw(lParam);
            return true;
        }
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// The marked column is drawn in three pieces: before, the mark on the highlight colour, after.
LRESULT TListView::CustomDraw(LPARAM lParam) {
    NMLVCUSTOMDRAW& cd = *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
    switch (cd.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        break;
    default:
        return CDRF_DODEFAULT;
    }
    const int row = static_cast<int>(cd.nmcd.dwItemSpec);
    if (cd.iSubItem != markedColumn_ || row < 0 || static_cast<size_t>(row) >= marks_.size())
        return CDRF_DODEFAULT;
    const TTextMark mark = marks_[static_cast<size_t>(row)];
    const std::u16string text = CellText(row, markedColumn_);
    RECT cell{};
    ListView_GetSubItemRect(Handle(), row, markedColumn_, LVIR_LABEL, &cell);
    HDC dc = cd.nmcd.hdc;
    const bool selected = ListView_GetItemState(Handle(), row, LVIS_SELECTED) & LVIS_SELECTED;
    const bool focused = GetFocus() == Handle();
    const COLORREF back = GetSysColor(selected && focused ? COLOR_HIGHLIGHT
                                      : selected          ? COLOR_BTNFACE
                                                          : COLOR_WINDOW);
    const COLORREF fore = GetSysColor(selected && focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    {
        const UniqueHBrush brush(CreateSolidBrush(back));
        FillRect(dc, &cell, brush.Get());
    }
    const size_t start = std::min(mark.start, text.size());
    const size_t end = std::min(start + mark.length, text.size());
    // The measuring and the drawing both in the list's own font, whatever the DC holds now.
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    int x = cell.left + Scale(6);
    auto piece = [&](size_t from, size_t to, COLORREF color, COLORREF background) {
        if (from >= to)
            return;
        SIZE size{};
        GetTextExtentPoint32W(dc, W(text) + from, static_cast<int>(to - from), &size);
        RECT r{x, cell.top, std::min<LONG>(x + size.cx, cell.right), cell.bottom};
        if (background != CLR_NONE) {
            const UniqueHBrush brush(CreateSolidBrush(background));
            FillRect(dc, &r, brush.Get());
        }
        SetTextColor(dc, color);
        DrawTextW(dc, W(text) + from, static_cast<int>(to - from), &r,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        x += size.cx;
    };
    piece(0, start, fore, CLR_NONE);
    // The mark: dark text on a yellow marker, as a highlighter pen leaves it.
    piece(start, end, RGB(0, 0, 0), RGB(255, 230, 90));
    piece(end, text.size(), fore, CLR_NONE);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    return CDRF_SKIPDEFAULT;
}

} // namespace vp::ui
