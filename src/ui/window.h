#pragma once
// A thin HWND wrapper: the object arrives with WM_NCCREATE, lives in GWLP_USERDATA,
// and every message passes the error boundary, so no exception reaches Windows.
#include <windows.h>

#include <string>

namespace vp::ui {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }
    std::u16string Text() const;
    void SetText(const std::u16string& text);

protected:
    struct CreateArgs {
        const wchar_t* className = nullptr;
        std::u16string text;
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        HWND parent = nullptr;
        HMENU menu = nullptr;
    };
    // Registers className once per process with this toolkit's window procedure.
    static void RegisterWindowClass(const wchar_t* className, HICON icon = nullptr,
                                    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    void CreateHandle(const CreateArgs& args);

    // Handlers answer here; the default goes to DefWindowProc.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

} // namespace vp::ui
