#include "ui/component.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "core/errors.h"
#include "platform/wstr.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/visual_style.h"

namespace vp::ui {

namespace {
constexpr wchar_t kNameProp[] = L"VpName";

struct BrushCache {
    std::map<COLORREF, UniqueHBrush> brushes;
};

void InitCommonControlClasses() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                                  ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                  ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

bool TranslateFormAccelerators(HWND root, MSG& msg) {
    auto* form = dynamic_cast<TForm*>(Window::FromHandle(root));
    return form && form->TranslateAccelerators(msg);
}
} // namespace

HBRUSH SolidBrush(COLORREF color) {
    static BrushCache cache;
    auto it = cache.brushes.find(color);
    if (it != cache.brushes.end())
        return it->second.Get();
    return cache.brushes.emplace(color, CreateSolidBrush(color)).first->second.Get();
}

// ---------------------------------------------------------------- TControl

TControl::TControl(const Placement& place)
    : TComponent(place.form == this ? nullptr : place.form, place.name), place_(place),
      parent_(place.parent) {
    if (parent_)
        parent_->children_.push_back(this);
}

TControl::~TControl() {
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (TControl* child : children_)
        child->parent_ = nullptr;
    if (Handle() && nameAtom_)
        RemovePropW(Handle(), kNameProp);
    if (nameAtom_)
        GlobalDeleteAtom(nameAtom_);
}

void TControl::SetParentControl(TControl& parent) {
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = &parent;
    parent.children_.push_back(this);
    ::SetParent(Handle(), parent.Handle());
    if (align_ != TAlign::alNone)
        parent.Realign();
}

std::vector<TComponent*> TControl::Dependents() const {
    return {children_.begin(), children_.end()};
}

void TControl::CreateControl(const wchar_t* className, const std::u16string& text, DWORD style,
                             DWORD exStyle) {
    Assert(parent_ && parent_->Handle(), u"Controls", u"A control needs a parent window.");
    if (place_.form)
        id_ = static_cast<int>(place_.form->NewCommandId());
    CreateArgs a;
    a.className = className;
    a.text = text;
    a.style = style | WS_CHILD;
    a.exStyle = exStyle;
    a.x = Scale(place_.bounds.left);
    a.y = Scale(place_.bounds.top);
    a.width = Scale(place_.bounds.width);
    a.height = Scale(place_.bounds.height);
    a.parent = parent_->Handle();
    a.menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_));
    CreateHandle(a);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
    if (!Name().empty()) {
        nameAtom_ = GlobalAddAtomW(W(Name()));
        SetPropW(Handle(), kNameProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(nameAtom_)));
    }
}

namespace {
RECT WindowRectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    HWND parent = GetAncestor(hwnd, GA_PARENT);
    if (parent && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
} // namespace

int TControl::Left() const {
    return WindowRectInParent(Handle()).left;
}
int TControl::Top() const {
    return WindowRectInParent(Handle()).top;
}
int TControl::Width() const {
    const RECT r = WindowRectInParent(Handle());
    return r.right - r.left;
}
int TControl::Height() const {
    const RECT r = WindowRectInParent(Handle());
    return r.bottom - r.top;
}
int TControl::ClientWidth() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.right;
}
int TControl::ClientHeight() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.bottom;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TControl::Visible() const {
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetVisible(bool visible) {
    if (visible == Visible())
        return;
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
    if (parent_ && align_ != TAlign::alNone)
        parent_->Realign();
}

bool TControl::Enabled() const {
    return IsWindowEnabled(Handle()) != FALSE;
}
void TControl::SetEnabled(bool enabled) {
    EnableWindow(Handle(), enabled);
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void TControl::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

COLORREF TControl::BackgroundColor() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (c->color_ != clDefault)
            return c->color_;
    if (const VisualStyle* style = ActiveVisualStyle())
        return style->face;
    return GetSysColor(COLOR_BTNFACE);
}

void TControl::SetFont(HFONT font) {
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TControl::SetFocus() {
    ::SetFocus(Handle());
}
bool TControl::Focused() const {
    return Handle() && GetFocus() == Handle();
}

RECT TControl::AlignArea() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r;
}

void TControl::Realign() {
    if (!Handle())
        return;
    RECT area = AlignArea();
    auto place = [](TControl* c, int l, int t, int w, int h) {
        c->SetBounds(l, t, std::max(0, w), std::max(0, h));
    };
    // Top and bottom first, then left and right, then whatever fills the rest.
    for (TAlign pass :
         {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (TControl* c : children_) {
            if (c->align_ != pass || !c->Visible())
                continue;
            const int w = area.right - area.left, h = area.bottom - area.top;
            switch (pass) {
            case TAlign::alTop: {
                const int ch = c->Height();
                place(c, area.left, area.top, w, ch);
                area.top += ch;
                break;
            }
            case TAlign::alBottom: {
                const int ch = c->Height();
                place(c, area.left, area.bottom - ch, w, ch);
                area.bottom -= ch;
                break;
            }
            case TAlign::alLeft: {
                const int cw = c->Width();
                place(c, area.left, area.top, cw, h);
                area.left += cw;
                break;
            }
            case TAlign::alRight: {
                const int cw = c->Width();
                place(c, area.right - cw, area.top, cw, h);
                area.right -= cw;
                break;
            }
            default:
                place(c, area.left, area.top, w, h);
                break;
            }
        }
    }
}

namespace {
// A length that still is what the design gave at the old DPI takes the design's value at
// the new one; one changed since (by a splitter, a layout) scales by the ratio.
int Rescaled(int now, int design96, UINT oldDpi, UINT newDpi) {
    if (now == MulDiv(design96, static_cast<int>(oldDpi), 96))
        return MulDiv(design96, static_cast<int>(newDpi), 96);
    return MulDiv(now, static_cast<int>(newDpi), static_cast<int>(oldDpi));
}
} // namespace

void TControl::RescaleForDpi(UINT oldDpi, UINT newDpi) {
    // Inside out: a container lays out children that already have their new sizes.
    for (TControl* child : std::vector<TControl*>(children_))
        child->RescaleForDpi(oldDpi, newDpi);
    if (const auto font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)))
        if (const HFONT rescaled = FontForScreenDpi(font); rescaled != font)
            SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(rescaled), FALSE);
    if (parent_) {
        const Bounds& b = place_.bounds;
        SetBounds(Rescaled(Left(), b.left, oldDpi, newDpi), Rescaled(Top(), b.top, oldDpi, newDpi),
                  Rescaled(Width(), b.width, oldDpi, newDpi),
                  Rescaled(Height(), b.height, oldDpi, newDpi));
    }
    OnDpiChanged(oldDpi, newDpi);
    Realign();
    Invalidate();
}

LRESULT TControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        if (erasesBackground_) {
            RECT r{};
            GetClientRect(Handle(), &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, SolidBrush(BackgroundColor()));
            return 1;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = DefaultHandler(msg, wParam, lParam);
        if (!children_.empty())
            Realign();
        return result;
    }
    }
    return DefaultHandler(msg, wParam, lParam);
}

bool TControl::HandleNotification(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    const VisualStyle* style = ActiveVisualStyle();
    if ((msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) && paintsParentBackground_) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const COLORREF back = BackgroundColor();
        SetBkColor(dc, back);
        SetBkMode(dc, TRANSPARENT);
        if (style)
            SetTextColor(dc, captionText_ ? style->groupCaption : style->text);
        result = reinterpret_cast<LRESULT>(SolidBrush(back));
        return true;
    }
    if (msg == WM_CTLCOLOREDIT && style) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, style->editBack);
        SetTextColor(dc, style->text);
        result = reinterpret_cast<LRESULT>(SolidBrush(style->editBack));
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- TForm

TForm::TForm(std::u16string name, const CreateArgs& args)
    : TControl(Placement{this, nullptr, std::move(name), {}}), minWidth_(args.minWidth),
      minHeight_(args.minHeight) {
    InitCommonControlClasses();
    SetAcceleratorTranslator(TranslateFormAccelerators);
    RegisterWindowClass(args.className, args.icon, nullptr);
    erasesBackground_ = true;
    if (args.color != clDefault)
        SetColor(args.color);
    RECT r{0, 0, Scale(args.clientWidth), Scale(args.clientHeight)};
    AdjustWindowRectEx(&r, args.style, FALSE, args.exStyle);
    Window::CreateArgs a;
    a.className = args.className;
    a.text = args.caption;
    a.style = args.style | WS_CLIPCHILDREN;
    a.exStyle = args.exStyle;
    a.width = r.right - r.left;
    a.height = r.bottom - r.top;
    a.parent = args.ownerWindow;
    CreateHandle(a);
}

TForm::~TForm() {
    // Dependents were made after what they depend on: the reverse order frees them first.
    while (!components_.empty())
        components_.pop_back();
}

void TForm::CheckNewName(const std::u16string& name) const {
    if (!name.empty() && FindComponent(name))
        throw Error(u"A component named \"" + name + u"\" already exists.");
}

void TForm::Adopt(std::unique_ptr<TComponent> component) {
    if (dynamic_cast<ShortCutSource*>(component.get()))
        accelDirty_ = true;
    components_.push_back(std::move(component));
}

TComponent* TForm::FindComponent(std::u16string_view name) const {
    if (name.empty())
        return nullptr;
    for (const auto& c : components_)
        if (c->Name() == name)
            return c.get();
    return nullptr;
}

void TForm::Free(TComponent& component) {
    std::vector<TComponent*> doomed{&component};
    for (size_t i = 0; i < doomed.size(); ++i)
        for (TComponent* d : doomed[i]->Dependents())
            doomed.push_back(d);
    // Free in reverse creation order so nothing outlives what it hangs on.
    for (auto it = components_.end(); it != components_.begin();) {
        --it;
        if (std::find(doomed.begin(), doomed.end(), it->get()) != doomed.end()) {
            if (defaultButton_ == it->get())
                defaultButton_ = nullptr;
            std::unique_ptr<TComponent> gone = std::move(*it);
            it = components_.erase(it);
            gone.reset();
        }
    }
    accelDirty_ = true;
}

void TForm::Show(int showCommand) {
    if (std::exchange(menuBarStale_, false))
        DrawMenuBar(Handle());
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
}

void TForm::MenuBarChanged(bool itemsChanged) {
    if (itemsChanged || IsWindowVisible(Handle()))
        DrawMenuBar(Handle());
    else
        menuBarStale_ = true;
}

void TForm::SetMenuBar(HMENU menu) {
    ::SetMenu(Handle(), menu);
    DrawMenuBar(Handle());
}

void TForm::SetCommand(UINT id, std::function<void()> handler) {
    commands_[id] = std::move(handler);
}

void TForm::RemoveCommand(UINT id) {
    commands_.erase(id);
}

HACCEL TForm::AcceleratorTable() {
    if (!accelDirty_)
        return accel_.Get();
    accelDirty_ = false;
    accel_.Reset();
    std::vector<ACCEL> entries;
    for (const auto& c : components_) {
        auto* source = dynamic_cast<ShortCutSource*>(c.get());
        if (!source)
            continue;
        const TShortCut sc = source->AcceleratorShortCut();
        if (!(sc & 0xFF))
            continue;
        ACCEL a{};
        a.fVirt = FVIRTKEY;
        if (sc & scShift)
            a.fVirt |= FSHIFT;
        if (sc & scCtrl)
            a.fVirt |= FCONTROL;
        if (sc & scAlt)
            a.fVirt |= FALT;
        a.key = sc & 0xFF;
        a.cmd = static_cast<WORD>(source->AcceleratorCommand());
        entries.push_back(a);
    }
    if (!entries.empty())
        accel_.Reset(CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size())));
    return accel_.Get();
}

bool TForm::TranslateAccelerators(MSG& msg) {
    HACCEL table = AcceleratorTable();
    return table && TranslateAcceleratorW(Handle(), table, &msg) != 0;
}

LRESULT TForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (lParam == 0) {
            auto it = commands_.find(LOWORD(wParam));
            if (it != commands_.end()) {
                auto handler = it->second;
                if (handler)
                    handler();
                return 0;
            }
        }
        break;
    case DM_GETDEFID:
        if (defaultButton_ && defaultButton_->Handle())
            return MAKELRESULT(defaultButton_->ControlId(), DC_HASDEFID);
        return 0;
    case WM_DPICHANGED: {
        // The window moved to a monitor of another scale, or the scale changed: the system
        // leaves all of it to the program and suggests the window's new rectangle.
        const UINT oldDpi = ScreenDpi(), newDpi = LOWORD(wParam);
        if (newDpi && newDpi != oldDpi) {
            SetScreenDpi(newDpi);
            RescaleForDpi(oldDpi, newDpi);
        }
        if (const auto* r = reinterpret_cast<const RECT*>(lParam))
            SetWindowPos(Handle(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        return 0;
    }
    case WM_GETMINMAXINFO: {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
        if (minWidth_)
            mmi->ptMinTrackSize.x = Scale(minWidth_);
        if (minHeight_)
            mmi->ptMinTrackSize.y = Scale(minHeight_);
        return 0;
    }
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

} // namespace vp::ui
