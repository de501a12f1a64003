#include "ui/window.h"

#include <vector>

#include "core/errors.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/wstr.h"

namespace vp::ui {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

std::u16string Window::Text() const {
    const int n = GetWindowTextLengthW(hwnd_);
    std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1);
    const int got = GetWindowTextW(hwnd_, buffer.data(), n + 1);
    return U(buffer.data(), static_cast<size_t>(got));
}

void Window::SetText(const std::u16string& text) { SetWindowTextW(hwnd_, W(text)); }

void Window::RegisterWindowClass(const wchar_t* className, HICON icon, HBRUSH background) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return;
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
    if (!RegisterClassExW(&wc)) throw Error(u"Cannot register the window class.");
}

void Window::CreateHandle(const CreateArgs& a) {
    HWND hwnd = CreateWindowExW(a.exStyle, a.className, W(a.text), a.style, a.x, a.y, a.width,
                                a.height, a.parent, a.menu, GetModuleHandleW(nullptr), this);
    if (!hwnd) throw Error(u"Cannot create a window.");
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(msg, wParam, lParam);
}

LRESULT Window::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_SETCURSOR && BusyCursorShown()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    try {
        const LRESULT result = self->HandleMessage(msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    } catch (...) {
        ReportCurrentException();
        if (msg == WM_NCDESTROY) self->hwnd_ = nullptr;
        return msg == WM_NCCREATE ? TRUE : 0;
    }
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace vp::ui
