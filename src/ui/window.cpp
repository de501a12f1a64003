#include "ui/window.h"

#include <commctrl.h>

#include <algorithm>

#include "core/errors.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/system_error.h"
#include "platform/unique_handle.h"
#include "platform/wstr.h"

namespace vp::ui {

namespace {
constexpr wchar_t kObjectProp[] = L"VpWindow";
constexpr UINT_PTR kSubclassId = 0x5650; // "VP"
TranslateAcceleratorFn gTranslateAccelerator = nullptr;
MessageObserverFn gMessageObserver = nullptr;

// The child whose notification this message carries, if it is one of ours.
Window* NotificationSource(HWND self, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (d->CtlType != ODT_MENU)
            child = d->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (m->CtlType != ODT_MENU)
            child = GetDlgItem(self, static_cast<int>(wParam));
        break;
    }
    default:
        return nullptr;
    }
    if (!child || child == self)
        return nullptr;
    return Window::FromHandle(child);
}
} // namespace

Window::~Window() {
    if (hwnd_)
        for (const auto& t : timers_)
            KillTimer(hwnd_, t.first);
    timers_.clear();
    if (hwnd_) {
        // Destroyed once detached: its last messages find no half-destroyed object.
        const UniqueHWnd hwnd(hwnd_);
        Detach();
    }
}

void Window::Invalidate(bool erase) const {
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, erase);
}

std::u16string Window::Text() const {
    // Read straight into the result: a big pad is held once more, not twice.
    std::u16string text(static_cast<size_t>(std::max(0, GetWindowTextLengthW(hwnd_))), u'\0');
    const int got = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(text.data()),
                                   static_cast<int>(text.size()) + 1);
    text.resize(static_cast<size_t>(std::max(0, got)));
    return text;
}

void Window::SetText(const std::u16string& text) {
    SetWindowTextW(hwnd_, W(text));
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProp)) : nullptr;
}

void Window::StartTimer(UINT_PTR id, UINT milliseconds, std::function<void()> tick) {
    if (!hwnd_)
        throw Error(u"Cannot start a timer without a window.");
    if (!SetTimer(hwnd_, id, milliseconds, nullptr))
        ThrowLastError(u"Cannot start a timer");
    timers_[id] = std::move(tick);
}

void Window::StopTimer(UINT_PTR id) {
    if (timers_.erase(id) && hwnd_)
        KillTimer(hwnd_, id);
}

void Window::RegisterWindowClass(const wchar_t* className, HICON icon, HBRUSH background) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc))
        return;
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc))
        ThrowLastError(u"Cannot register the window class");
}

void Window::CreateHandle(const CreateArgs& a) {
    HWND hwnd = CreateWindowExW(a.exStyle, a.className, W(a.text), a.style, a.x, a.y, a.width,
                                a.height, a.parent, a.menu, GetModuleHandleW(nullptr), this);
    if (!hwnd)
        ThrowLastError(u"Cannot create a window");
    if (!hwnd_) {
        // A standard control: its own procedure never saw this object.
        Attach(hwnd);
        subclassed_ = true;
        SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
}

void Window::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProp, this);
}

void Window::Detach() {
    if (!hwnd_)
        return;
    RemovePropW(hwnd_, kObjectProp);
    if (subclassed_)
        RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
    else
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    subclassed_ = false;
    hwnd_ = nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(msg, wParam, lParam);
}

bool Window::HandleNotification(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT Window::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (subclassed_)
        return DefSubclassProc(hwnd_, msg, wParam, lParam);
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Window* source = NotificationSource(hwnd_, msg, wParam, lParam)) {
        LRESULT result = 0;
        if (source->HandleNotification(msg, wParam, lParam, result))
            return result;
    }
    if (msg == WM_TIMER) {
        auto it = timers_.find(wParam);
        if (it != timers_.end()) {
            auto tick = it->second; // the tick may stop or restart its own timer
            if (tick)
                tick();
            return 0;
        }
    }
    return HandleMessage(msg, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->Attach(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_SETCURSOR && BusyCursorShown()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    LRESULT result = msg == WM_NCCREATE ? TRUE : 0;
    try {
        result = self->Dispatch(msg, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
    }
    if (msg == WM_NCDESTROY)
        self->Detach();
    return result;
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR refData) {
    auto* self = reinterpret_cast<Window*>(refData);
    LRESULT result = 0;
    try {
        result = self->Dispatch(msg, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
    }
    if (msg == WM_NCDESTROY) {
        self->Detach();
        (void)hwnd;
    }
    return result;
}

void SetAcceleratorTranslator(TranslateAcceleratorFn fn) {
    gTranslateAccelerator = fn;
}

void SetMessageObserver(MessageObserverFn fn) {
    gMessageObserver = fn;
}

namespace {
void Deliver(MSG& msg) {
    if (gMessageObserver)
        gMessageObserver(msg);
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root) {
        if (gTranslateAccelerator && gTranslateAccelerator(root, msg))
            return;
        if (IsDialogMessageW(root, &msg))
            return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}
} // namespace

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        Deliver(msg);
    return static_cast<int>(msg.wParam);
}

bool ProcessPendingMessages() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    Deliver(msg);
    return true;
}

} // namespace vp::ui
