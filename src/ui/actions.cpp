#include "ui/actions.h"

#include <algorithm>

#include "core/errors.h"
#include "platform/system_error.h"
#include "platform/wstr.h"
#include "ui/events.h"

namespace vp::ui {

namespace {
std::u16string KeyName(UINT vk) {
    if (vk >= VK_F1 && vk <= VK_F24) {
        std::u16string n = u"F";
        for (char c : std::to_string(vk - VK_F1 + 1))
            n += static_cast<char16_t>(c);
        return n;
    }
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return std::u16string(1, static_cast<char16_t>(vk));
    switch (vk) {
    case VK_DELETE:
        return u"Del";
    case VK_INSERT:
        return u"Ins";
    case VK_HOME:
        return u"Home";
    case VK_END:
        return u"End";
    case VK_PRIOR:
        return u"PgUp";
    case VK_NEXT:
        return u"PgDn";
    case VK_UP:
        return u"Up";
    case VK_DOWN:
        return u"Down";
    case VK_LEFT:
        return u"Left";
    case VK_RIGHT:
        return u"Right";
    case VK_ESCAPE:
        return u"Esc";
    case VK_RETURN:
        return u"Enter";
    case VK_SPACE:
        return u"Space";
    case VK_TAB:
        return u"Tab";
    case VK_BACK:
        return u"BkSp";
    }
    wchar_t name[64] = {};
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    if (scan && GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) > 0)
        return U(name);
    return {};
}
} // namespace

std::u16string ShortCutToText(TShortCut shortCut) {
    const UINT vk = shortCut & 0xFF;
    if (!vk)
        return {};
    std::u16string text;
    if (shortCut & scCtrl)
        text += u"Ctrl+";
    if (shortCut & scShift)
        text += u"Shift+";
    if (shortCut & scAlt)
        text += u"Alt+";
    return text + KeyName(vk);
}

// ---------------------------------------------------------------- TAction

TAction::TAction(TForm& form, std::u16string name, const CreateArgs& a)
    : TComponent(&form, std::move(name)), OnExecute(a.onExecute), caption_(a.caption),
      hint_(a.hint), category_(a.category), shortCut_(a.shortCut), enabled_(a.enabled),
      checked_(a.checked), commandId_(form.NewCommandId()) {
    form.SetCommand(commandId_, [this] { Execute(); });
}

TAction::~TAction() {
    for (ActionClient* c : std::vector<ActionClient*>(clients_))
        c->ActionGone();
    Owner()->RemoveCommand(commandId_);
    Owner()->InvalidateAccelerators();
}

void TAction::SetCaption(std::u16string caption) {
    caption_ = std::move(caption);
    Changed();
}
void TAction::SetHint(std::u16string hint) {
    hint_ = std::move(hint);
    Changed();
}
void TAction::SetShortCut(TShortCut shortCut) {
    shortCut_ = shortCut;
    Owner()->InvalidateAccelerators();
    Changed();
}
void TAction::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed();
}
void TAction::SetChecked(bool checked) {
    checked_ = checked;
    Changed();
}

bool TAction::Execute() {
    if (!enabled_ || !OnExecute)
        return false;
    Raise(OnExecute);
    return true;
}

void TAction::AddClient(ActionClient* client) {
    if (std::find(clients_.begin(), clients_.end(), client) == clients_.end())
        clients_.push_back(client);
}

void TAction::RemoveClient(ActionClient* client) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void TAction::Changed() {
    for (ActionClient* c : clients_)
        c->ActionChanged();
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TForm& form, std::u16string name, HMENU menu, bool bar)
    : TComponent(&form, std::move(name)), menu_(menu), bar_(bar) {
    if (!menu_)
        ThrowLastError(u"Cannot create a menu");
}

TMenu::~TMenu() = default;

std::vector<TComponent*> TMenu::Dependents() const {
    return {items_.begin(), items_.end()};
}

TMenuItem& TMenu::Add(std::u16string name, const TMenuItemArgs& args) {
    TMenuItem& item = Owner()->CreateComponent<TMenuItem>(std::move(name), args);
    item.menu_ = this;
    items_.push_back(&item);
    item.Insert(menu_.Get());
    if (bar_ && Owner()->Handle())
        Owner()->MenuBarChanged(true);
    return item;
}

// ---------------------------------------------------------------- TMainMenu

TMainMenu::TMainMenu(TForm& form, std::u16string name, const CreateArgs& args)
    : TMenu(form, std::move(name), CreateMenu(), true) {
    if (args.attach)
        form.SetMenuBar(Handle());
}

TMainMenu::~TMainMenu() {
    if (Owner()->Handle() && GetMenu(Owner()->Handle()) == Handle())
        SetMenu(Owner()->Handle(), nullptr);
}

// ---------------------------------------------------------------- TPopupMenu

TPopupMenu::TPopupMenu(TForm& form, std::u16string name, const CreateArgs&)
    : TMenu(form, std::move(name), CreatePopupMenu(), false) {}

void TPopupMenu::Popup(int x, int y) {
    HWND owner = Owner()->Handle();
    // The menu closes again when the user clicks elsewhere only if its owner is in front.
    SetForegroundWindow(owner);
    TrackPopupMenu(Handle(), TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TForm& form, std::u16string name, const CreateArgs& a)
    : TComponent(&form, std::move(name)), OnClick(a.onClick), caption_(a.caption), hint_(a.hint),
      shortCut_(a.shortCut), enabled_(a.enabled), checked_(a.checked),
      commandId_(form.NewCommandId()) {
    form.SetCommand(commandId_, [this] { Click(); });
    if (a.action) {
        action_ = a.action;
        action_->AddClient(this);
    }
}

TMenuItem::~TMenuItem() {
    if (action_)
        action_->RemoveClient(this);
    if (parentMenu_)
        DeleteMenu(parentMenu_, commandId_, MF_BYCOMMAND);
    if (subMenu_ && !parentMenu_)
        DestroyMenu(subMenu_);
    if (menu_) {
        auto& v = menu_->items_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        if (menu_->bar_ && Owner()->Handle())
            Owner()->MenuBarChanged(true);
    }
    Owner()->RemoveCommand(commandId_);
    Owner()->InvalidateAccelerators();
}

std::vector<TComponent*> TMenuItem::Dependents() const {
    return {items_.begin(), items_.end()};
}

TMenuItem& TMenuItem::Add(std::u16string name, const CreateArgs& args) {
    if (!subMenu_) {
        subMenu_ = CreatePopupMenu();
        if (!subMenu_)
            ThrowLastError(u"Cannot create a menu");
        if (parentMenu_) {
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_SUBMENU;
            mii.hSubMenu = subMenu_;
            SetMenuItemInfoW(parentMenu_, commandId_, FALSE, &mii);
        }
    }
    TMenuItem& item = Owner()->CreateComponent<TMenuItem>(std::move(name), args);
    items_.push_back(&item);
    item.Insert(subMenu_);
    return item;
}

void TMenuItem::Insert(HMENU parentMenu) {
    parentMenu_ = parentMenu;
    // The text goes in with the item: Wine turns a string item inserted without one into a
    // separator for good, and the menu bar then shows an empty strip.
    const std::u16string text = MenuText();
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_FTYPE;
    mii.wID = commandId_;
    mii.fType = IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
    if (!IsSeparator()) {
        mii.fMask |= MIIM_STRING;
        mii.dwTypeData = const_cast<wchar_t*>(W(text));
    }
    if (subMenu_) {
        mii.fMask |= MIIM_SUBMENU;
        mii.hSubMenu = subMenu_;
    }
    if (!InsertMenuItemW(parentMenu, GetMenuItemCount(parentMenu), TRUE, &mii))
        ThrowLastError(u"Cannot add a menu item");
    Update();
}

std::u16string TMenuItem::Caption() const {
    return action_ ? action_->Caption() : caption_;
}
TShortCut TMenuItem::ShortCut() const {
    return action_ ? action_->ShortCut() : shortCut_;
}
bool TMenuItem::Enabled() const {
    return action_ ? action_->Enabled() : enabled_;
}
bool TMenuItem::Checked() const {
    return action_ ? action_->Checked() : checked_;
}

void TMenuItem::SetCaption(std::u16string caption) {
    if (action_)
        action_->SetCaption(std::move(caption));
    else
        caption_ = std::move(caption);
    Update();
}
void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (action_)
        action_->SetShortCut(shortCut);
    else
        shortCut_ = shortCut;
    Owner()->InvalidateAccelerators();
    Update();
}
void TMenuItem::SetEnabled(bool enabled) {
    if (action_)
        action_->SetEnabled(enabled);
    else
        enabled_ = enabled;
    Update();
}
void TMenuItem::SetChecked(bool checked) {
    if (action_)
        action_->SetChecked(checked);
    else
        checked_ = checked;
    Update();
}

void TMenuItem::SetAction(TAction* action) {
    if (action_)
        action_->RemoveClient(this);
    action_ = action;
    if (action_)
        action_->AddClient(this);
    Owner()->InvalidateAccelerators();
    Update();
}

void TMenuItem::Click() {
    if (action_)
        action_->Execute();
    else if (enabled_)
        Raise(OnClick);
}

void TMenuItem::ActionChanged() {
    Update();
}
void TMenuItem::ActionGone() {
    action_ = nullptr;
    Update();
}

std::u16string TMenuItem::MenuText() const {
    std::u16string text = Caption();
    if (const TShortCut sc = ShortCut())
        text += u"\t" + ShortCutToText(sc);
    return text;
}

void TMenuItem::Update() {
    if (!parentMenu_ || IsSeparator())
        return;
    const std::u16string text = MenuText();
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    // The type again, so that an item that got its text only now is no separator.
    mii.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    mii.fType = MFT_STRING;
    mii.dwTypeData = const_cast<wchar_t*>(W(text));
    mii.fState = (Enabled() ? MFS_ENABLED : MFS_DISABLED) | (Checked() ? MFS_CHECKED : 0);
    SetMenuItemInfoW(parentMenu_, commandId_, FALSE, &mii);
    if (menu_ && menu_->bar_ && Owner()->Handle())
        Owner()->MenuBarChanged(false);
}

// ---------------------------------------------------------------- TTimer

TTimer::TTimer(TForm& form, std::u16string name, const CreateArgs& a)
    : TComponent(&form, std::move(name)), OnTimer(a.onTimer), window_(a.window ? a.window : &form),
      interval_(a.interval) {
    SetEnabled(a.enabled);
}

TTimer::~TTimer() {
    window_->StopTimer(reinterpret_cast<UINT_PTR>(this));
}

void TTimer::SetInterval(UINT interval) {
    interval_ = interval;
    if (enabled_)
        Restart();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled_)
        Restart();
    else
        window_->StopTimer(reinterpret_cast<UINT_PTR>(this));
}

void TTimer::Restart() {
    window_->StopTimer(reinterpret_cast<UINT_PTR>(this));
    if (interval_ == 0)
        return; // a zero interval never fires
    window_->StartTimer(reinterpret_cast<UINT_PTR>(this), interval_, [this] { Raise(OnTimer); });
}

} // namespace vp::ui
