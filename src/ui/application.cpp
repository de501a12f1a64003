#include "ui/application.h"

#include "platform/wstr.h"
#include "ui/events.h"
#include "ui/private_messages.h"

namespace vp::ui {

namespace {
constexpr wchar_t kClassName[] = L"TApplication";
} // namespace

TApplication::TApplication(const std::u16string& title) {
    RegisterWindowClass(kClassName);
    // A tool window: the main window has the taskbar button, this one never does.
    CreateHandle({.className = kClassName,
                  .text = title,
                  .style = WS_POPUP,
                  .exStyle = WS_EX_TOOLWINDOW,
                  .x = 0,
                  .y = 0,
                  .width = 0,
                  .height = 0});
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SHOWWINDOW:
        // The request arrives as a show from the other process; answer it once the show
        // is done, and hide again.
        if (wParam)
            PostMessageW(Handle(), WM_SHOW_REQUEST, 0, 0);
        break;
    case WM_SHOW_REQUEST:
        ShowWindow(Handle(), SW_HIDE);
        Raise(OnShowRequest);
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

SingleInstanceLock::SingleInstanceLock(const std::u16string& name) {
    SetLastError(0);
    mutex_.Reset(CreateMutexW(nullptr, TRUE, W(name)));
    acquired_ = mutex_ && GetLastError() == 0;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (acquired_)
        ReleaseMutex(mutex_.Get());
}

bool ShowRunningInstance(const std::u16string& title) {
    HWND other = FindWindowW(kClassName, W(title));
    if (!other)
        return false;
    ShowWindow(other, SW_SHOW);
    return true;
}

} // namespace vp::ui
