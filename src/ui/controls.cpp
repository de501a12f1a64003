#include "ui/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "core/errors.h"
#include "core/hotkey.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/visual_style.h"

namespace vp::ui {

namespace {
constexpr wchar_t kPanelClass[] = L"VpPanel";
constexpr DWORD kContainerStyle = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
} // namespace

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(const Placement& place, const CreateArgs& a) : TControl(place), padding_(a.padding) {
    RegisterWindowClass(kPanelClass, nullptr, nullptr);
    erasesBackground_ = true;
    SetColor(a.color);
    SetHint(a.hint);
    CreateControl(kPanelClass, u"", kContainerStyle,
                  WS_EX_CONTROLPARENT | (a.border ? WS_EX_STATICEDGE : 0));
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

RECT TPanel::AlignArea() const {
    RECT r = TControl::AlignArea();
    InflateRect(&r, -Scale(padding_), -Scale(padding_));
    return r;
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(const Placement& place, const CreateArgs& a) : TControl(place) {
    paintsParentBackground_ = true;
    captionText_ = true;
    erasesBackground_ = true;
    SetColor(a.color);
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption, kContainerStyle | BS_GROUPBOX, WS_EX_CONTROLPARENT);
    if (a.boldCaption)
        SetFont(DefaultBoldFont());
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

RECT TGroupBox::AlignArea() const {
    RECT r = TControl::AlignArea();
    r.left += Scale(6);
    r.right -= Scale(6);
    r.top += Scale(18);
    r.bottom -= Scale(6);
    return r;
}

// ---------------------------------------------------------------- TButton

TButton::TButton(const Placement& place, const CreateArgs& a)
    : TControl(place), OnClick(a.onClick) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption,
                  WS_VISIBLE | WS_TABSTOP | (a.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
    if (a.isDefault && place.form)
        place.form->SetDefaultButton(this);
    // Enter on the default button arrives as a command without the button's handle.
    if (place.form)
        place.form->SetCommand(static_cast<UINT>(ControlId()), [this] { Click(); });
    if (a.action)
        SetAction(a.action);
}

TButton::~TButton() {
    if (action_)
        action_->RemoveClient(this);
    if (TForm* form = Owner())
        form->RemoveCommand(static_cast<UINT>(ControlId()));
}

void TButton::SetAction(TAction* action) {
    if (action_)
        action_->RemoveClient(this);
    action_ = action;
    if (action_) {
        action_->AddClient(this);
        ActionChanged();
    }
}

void TButton::ActionChanged() {
    if (!action_)
        return;
    SetCaption(action_->Caption());
    SetHint(action_->Hint());
    SetEnabled(action_->Enabled());
}

void TButton::Click() {
    if (action_) {
        action_->Execute();
    } else if (Enabled()) {
        Raise(OnClick);
    }
}

bool TButton::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    if (msg == WM_NOTIFY && ActiveVisualStyle() &&
        reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW) {
        result = DrawStyledButton(*this, *reinterpret_cast<NMCUSTOMDRAW*>(lParam));
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(const Placement& place, const CreateArgs& a) : TControl(place) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption,
                  WS_VISIBLE | WS_TABSTOP | (a.allowGrayed ? BS_AUTO3STATE : BS_AUTOCHECKBOX));
    SendMessageW(Handle(), BM_SETCHECK, a.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    OnClick = a.onClick; // the initial state raises nothing
}

TCheckBoxState TCheckBox::State() const {
    const LRESULT s = SendMessageW(Handle(), BM_GETCHECK, 0, 0);
    return s == BST_CHECKED ? cbChecked : s == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
}

void TCheckBox::SetState(TCheckBoxState state) {
    if (state == State())
        return;
    const WPARAM s = state == cbChecked  ? BST_CHECKED
                     : state == cbGrayed ? BST_INDETERMINATE
                                         : BST_UNCHECKED;
    if (state == cbGrayed && (GetWindowLongW(Handle(), GWL_STYLE) & 0xF) != BS_AUTO3STATE)
        SetWindowLongW(Handle(), GWL_STYLE,
                       (GetWindowLongW(Handle(), GWL_STYLE) & ~0xF) | BS_AUTO3STATE);
    SendMessageW(Handle(), BM_SETCHECK, s, 0);
    Raise(OnClick);
}

bool TCheckBox::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Raise(OnClick);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(const Placement& place, const CreateArgs& a) : TControl(place) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_BUTTONW, a.caption, WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON);
    if (a.checked)
        SetChecked(true);
    OnClick = a.onClick;
}

bool TRadioButton::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == Checked())
        return;
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked)
        return;
    if (Parent())
        for (TControl* sibling : Parent()->Controls())
            if (auto* radio = dynamic_cast<TRadioButton*>(sibling); radio && radio != this)
                SendMessageW(radio->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    Raise(OnClick);
}

bool TRadioButton::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (Checked())
            Raise(OnClick);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(const Placement& place, const CreateArgs& a) : TControl(place), OnClick(a.onClick) {
    paintsParentBackground_ = true;
    SetHint(a.hint);
    CreateControl(WC_STATICW, a.caption,
                  WS_VISIBLE | SS_NOTIFY | (a.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP));
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

bool TLabel::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        Raise(OnClick);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(const Placement& place, const CreateArgs& a) : TControl(place) {
    SetHint(a.hint);
    CreateControl(WC_EDITW, a.text,
                  WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (a.readOnly ? ES_READONLY : 0),
                  WS_EX_CLIENTEDGE);
    OnChange = a.onChange;
}

void TEdit::SetReadOnly(bool readOnly) {
    SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

bool TEdit::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        Raise(OnChange);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(const Placement& place, const CreateArgs& a) : TControl(place) {
    SetHint(a.hint);
    DWORD style = WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!a.wordWrap || a.hScroll)
        style |= ES_AUTOHSCROLL;
    if (a.hScroll)
        style |= WS_HSCROLL;
    if (a.vScroll)
        style |= WS_VSCROLL;
    if (!a.hideSelection)
        style |= ES_NOHIDESEL;
    if (a.readOnly)
        style |= ES_READONLY;
    CreateControl(WC_EDITW, u"", style, WS_EX_CLIENTEDGE);
    // The default limit would silently drop text beyond 32 K characters.
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
    if (a.font)
        SetFont(a.font);
    if (!a.text.empty())
        SetText(a.text);
    OnChange = a.onChange;
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

void TMemo::SetText(const std::u16string& text) {
    SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(text)));
}

size_t TMemo::TextLength() const {
    return static_cast<size_t>(GetWindowTextLengthW(Handle()));
}

void TMemo::RaiseChange() {
    Raise(OnChange);
}

LRESULT TMemo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT) {
        const auto* given = reinterpret_cast<const char16_t*>(lParam);
        const std::u16string_view view = given ? std::u16string_view(given) : std::u16string_view();
        const std::optional<std::u16string> prepared = PrepareText(view);
        const std::u16string_view incoming = prepared ? std::u16string_view(*prepared) : view;
        if (incoming.size() == TextLength() && HoldsText(incoming))
            return TRUE;
        ++changeSuppressed_;
        LRESULT result = 0;
        try {
            result = DefaultHandler(msg, wParam,
                                    prepared ? reinterpret_cast<LPARAM>(W(*prepared)) : lParam);
        } catch (...) {
            --changeSuppressed_;
            throw;
        }
        --changeSuppressed_;
        RaiseChange();
        return result;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

bool TMemo::HoldsText(std::u16string_view text) const {
    if (auto handle = reinterpret_cast<HLOCAL>(SendMessageW(Handle(), EM_GETHANDLE, 0, 0)))
        if (const auto* data = static_cast<const char16_t*>(LocalLock(handle))) {
            const bool same = std::u16string_view(data, TextLength()) == text;
            LocalUnlock(handle);
            return same;
        }
    return Text() == text;
}

bool TMemo::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        if (!changeSuppressed_)
            RaiseChange();
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

int TMemo::LineStart(int index) const {
    return static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, static_cast<WPARAM>(index), 0));
}

int TMemo::LineCount() const {
    const int count = static_cast<int>(SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0));
    // The empty line after a final break is no line of the list.
    const int lastStart = LineStart(count - 1);
    if (lastStart >= 0 && SendMessageW(Handle(), EM_LINELENGTH, lastStart, 0) == 0)
        return count - 1;
    return count;
}

std::u16string TMemo::Line(int index) const {
    const int start = LineStart(index);
    if (index < 0 || start < 0)
        throw Error(u"List index out of bounds (" + [&] {
            std::u16string n;
            for (char c : std::to_string(index))
                n += static_cast<char16_t>(c);
            return n;
        }() + u")");
    const int length = static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
    std::vector<wchar_t> buffer(static_cast<size_t>(std::max(length, 1)) + 1);
    *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(std::min(length, 0xFFFF));
    if (length > 0xFFFF) {
        // EM_GETLINE takes its size in one WORD: read long lines from the text.
        return Text().substr(static_cast<size_t>(start), static_cast<size_t>(length));
    }
    const LRESULT got = SendMessageW(Handle(), EM_GETLINE, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(buffer.data()));
    return U(buffer.data(), static_cast<size_t>(got));
}

void TMemo::SetLine(int index, const std::u16string& text) {
    const int start = LineStart(index);
    if (index < 0 || start < 0)
        return;
    const int length = static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
    SetSel(static_cast<size_t>(start), static_cast<size_t>(start + length));
    ReplaceSel(text, false);
}

void TMemo::DeleteLine(int index) {
    const int start = LineStart(index);
    if (index < 0 || start < 0)
        return;
    int end = LineStart(index + 1);
    if (end < 0)
        end = start + static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
    SetSel(static_cast<size_t>(start), static_cast<size_t>(end));
    ReplaceSel(u"", false);
}

void TMemo::AddLine(const std::u16string& text) {
    const size_t length = TextLength();
    // The last line's length tells whether the text ends with a break.
    const bool endsWithBreak = length == 0 || SendMessageW(Handle(), EM_LINELENGTH, length, 0) == 0;
    SetSel(length, length);
    ReplaceSel(endsWithBreak ? text + u"\r\n" : u"\r\n" + text, false);
}

StringList TMemo::Lines() const {
    return TextToStringList(Text());
}

void TMemo::SetLines(const StringList& lines) {
    std::u16string text;
    size_t total = 0;
    for (const auto& l : lines)
        total += l.size() + 2;
    text.reserve(total);
    for (const auto& l : lines) {
        text += l;
        text += u"\r\n";
    }
    SetText(text);
}

size_t TMemo::SelStart() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start;
}

size_t TMemo::SelLength() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return end - start;
}

void TMemo::SetSel(size_t start, size_t end) {
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void TMemo::SelectAll() {
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

std::u16string TMemo::SelText() const {
    const size_t start = SelStart(), length = SelLength();
    if (!length)
        return {};
    return Text().substr(start, length);
}

void TMemo::ReplaceSel(const std::u16string& text, bool canUndo) {
    SendMessageW(Handle(), EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(W(text)));
}

void TMemo::SetReadOnly(bool readOnly) {
    SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

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
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT r{};
        GetClientRect(Handle(), &r);
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
        HGDIOBJ old = SelectObject(mem, bitmap);
        PaintStyledTabs(*this, mem);
        BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bitmap);
        DeleteDC(mem);
        EndPaint(Handle(), &ps);
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

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(const Placement& place, const CreateArgs& a) : TControl(place) {
    CreateControl(STATUSCLASSNAMEW, u"", WS_VISIBLE | (a.sizeGrip ? SBARS_SIZEGRIP : 0));
    // One part across the whole bar, so the window text is the shown text.
    int right = -1;
    SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    SetSimpleText(a.simpleText);
    if (const VisualStyle* style = ActiveVisualStyle())
        SendMessageW(Handle(), SB_SETBKCOLOR, 0, style->statusBack);
    SetAlign(TAlign::alBottom);
}

std::u16string TStatusBar::SimpleText() const {
    const auto length = LOWORD(SendMessageW(Handle(), SB_GETTEXTLENGTHW, 0, 0));
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    SendMessageW(Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return U(buffer.data(), length);
}

void TStatusBar::SetSimpleText(const std::u16string& text) {
    SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(text)));
}

bool TStatusBar::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- THotKey

THotKey::THotKey(const Placement& place, const CreateArgs& a) : TControl(place) {
    SetHint(a.hint);
    CreateControl(HOTKEY_CLASSW, u"", WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE);
    SetHotKey(a.hotKey);
    OnChange = a.onChange;
}

TShortCut THotKey::HotKey() const {
    return HotKeyValueToShortCut(static_cast<WORD>(SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0)));
}

void THotKey::SetHotKey(TShortCut hotKey) {
    SendMessageW(Handle(), HKM_SETHOTKEY, ShortCutToHotKeyValue(hotKey), 0);
}

bool THotKey::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        Raise(OnChange);
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- TSpinEdit

bool ParseInteger(const std::u16string& text, int& value) {
    size_t i = 0, n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    while (n > i && text[n - 1] == u' ')
        --n;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    if (i >= n)
        return false;
    long long v = 0;
    for (; i < n; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        v = v * 10 + (text[i] - u'0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    value = static_cast<int>(v);
    return true;
}

// The up-down control beside the box; its notifications come back here.
class TSpinEdit::Buttons : public Window {
  public:
    Buttons(TSpinEdit& owner, HWND parent) : owner_(owner) {
        CreateArgs a;
        a.className = UPDOWN_CLASSW;
        a.style = WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
        a.x = a.y = 0;
        a.width = Scale(14);
        a.height = Scale(20);
        a.parent = parent;
        CreateHandle(a);
        SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(owner.Handle()), 0);
        SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(INT_MIN / 2), INT_MAX / 2);
    }

  protected:
    bool HandleNotification(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS) {
            const int delta = reinterpret_cast<NMUPDOWN*>(lParam)->iDelta;
            owner_.SetValue(owner_.Value() + delta * owner_.increment_);
            result = TRUE; // the box holds the value, not the buttons
            return true;
        }
        if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
            result = 0;
            return true;
        }
        return false;
    }

  private:
    TSpinEdit& owner_;
};

TSpinEdit::TSpinEdit(const Placement& place, const CreateArgs& a)
    : TControl(place), minValue_(a.minValue), maxValue_(a.maxValue), increment_(a.increment) {
    SetHint(a.hint);
    CreateControl(WC_EDITW, u"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    // Narrow margins: a five-digit value fits a box in a label's gap.
    SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
    buttons_ = std::make_unique<Buttons>(*this, Parent()->Handle());
    SetValue(a.value);
    OnChange = a.onChange;
}

TSpinEdit::~TSpinEdit() = default;

void TSpinEdit::OnDpiChanged(UINT, UINT) {
    // The buttons took their width off the box: the box gets its whole width back, and the
    // buttons, at their new size, take theirs off again.
    SetBounds(Left(), Top(), Scale(place_.bounds.width), Height());
    SetWindowPos(buttons_->Handle(), nullptr, 0, 0, Scale(14), Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(buttons_->Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
}

int TSpinEdit::Clamp(int value) const {
    if (minValue_ == maxValue_)
        return value;
    return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

int TSpinEdit::Value() const {
    int v = 0;
    return ParseInteger(Text(), v) ? v : minValue_;
}

void TSpinEdit::SetValue(int value) {
    std::u16string text;
    for (char c : std::to_string(Clamp(value)))
        text += static_cast<char16_t>(c);
    SetText(text);
}

void TSpinEdit::Change() {
    Raise(OnChange);
}

LRESULT TSpinEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KILLFOCUS) {
        const LRESULT result = DefaultHandler(msg, wParam, lParam);
        const int v = Value();
        if (Clamp(v) != v)
            SetValue(v);
        return result;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

bool TSpinEdit::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        Change();
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

} // namespace vp::ui
