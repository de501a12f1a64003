#include "ui/tray_icon.h"

#include <algorithm>

#include "platform/notify_icon.h"
#include "ui/events.h"

namespace vp::ui {

namespace {
constexpr wchar_t kTrayClass[] = L"VpTrayIcon";
constexpr UINT kIconId = 1;
constexpr UINT_PTR kCycleTimer = 1;

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}
} // namespace

TCoolTrayIcon::TCoolTrayIcon(TForm& form, std::u16string name, const CreateArgs& a)
    : TComponent(&form, std::move(name)), OnClick(a.onClick), PopupMenu(a.popupMenu),
      icons_(a.icons), hint_(a.hint), iconIndex_(a.iconIndex), cycleIcons_(a.cycleIcons),
      cycleInterval_(a.cycleInterval) {
    RegisterWindowClass(kTrayClass, nullptr, nullptr);
    // A hidden top-level window: a message-only one would miss the "TaskbarCreated"
    // broadcast.
    CreateHandle({.className = kTrayClass,
                  .text = u"",
                  .style = WS_POPUP,
                  .exStyle = WS_EX_TOOLWINDOW,
                  .x = 0,
                  .y = 0,
                  .width = 0,
                  .height = 0});
}

TCoolTrayIcon::~TCoolTrayIcon() {
    HideIcon();
}

HICON TCoolTrayIcon::CurrentIcon() const {
    if (!icons_ || icons_->empty())
        return nullptr;
    const size_t i =
        static_cast<size_t>(std::clamp(iconIndex_, 0, static_cast<int>(icons_->size()) - 1));
    return (*icons_)[i].Get();
}

void TCoolTrayIcon::Notify(DWORD message) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Handle();
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = CurrentIcon();
    const size_t n = std::min(hint_.size(), std::size(data.szTip) - 1);
    std::copy_n(hint_.begin(), n, data.szTip);
    ShellNotifyIcon(message, data);
}

void TCoolTrayIcon::ShowIcon() {
    if (visible_)
        return;
    visible_ = true;
    Notify(NIM_ADD);
    UpdateTimer();
}

void TCoolTrayIcon::HideIcon() {
    if (!visible_)
        return;
    visible_ = false;
    UpdateTimer();
    Notify(NIM_DELETE);
}

void TCoolTrayIcon::SetIconIndex(int index) {
    if (index == iconIndex_)
        return;
    iconIndex_ = index;
    if (visible_)
        Notify(NIM_MODIFY);
}

void TCoolTrayIcon::IconsChanged() {
    if (visible_)
        Notify(NIM_MODIFY);
}

void TCoolTrayIcon::SetCycleIcons(bool cycle) {
    cycleIcons_ = cycle;
    UpdateTimer();
}

void TCoolTrayIcon::SetIconHint(std::u16string hint) {
    hint_ = std::move(hint);
    if (visible_)
        Notify(NIM_MODIFY);
}

// The animation costs nothing while nobody can see it.
void TCoolTrayIcon::UpdateTimer() {
    const bool run = visible_ && cycleIcons_ && icons_ && icons_->size() > 1;
    if (run && !TimerRunning(kCycleTimer)) {
        StartTimer(kCycleTimer, cycleInterval_,
                   [this] { SetIconIndex((iconIndex_ + 1) % static_cast<int>(icons_->size())); });
    } else if (!run) {
        StopTimer(kCycleTimer);
    }
}

LRESULT TCoolTrayIcon::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kCallbackMessage) {
        if (LOWORD(lParam) == WM_LBUTTONUP) {
            Raise(OnClick);
        } else if (LOWORD(lParam) == WM_RBUTTONUP && PopupMenu) {
            POINT p{};
            GetCursorPos(&p);
            PopupMenu->Popup(p.x, p.y);
        }
        return 0;
    }
    if (msg == TaskbarCreatedMessage() && msg != 0) {
        // Explorer started again with an empty notification area.
        if (visible_)
            Notify(NIM_ADD);
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

} // namespace vp::ui
