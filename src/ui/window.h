#pragma once
// A thin HWND wrapper: the object arrives with WM_NCCREATE, lives in GWLP_USERDATA,
// and every message passes the error boundary, so no exception reaches Windows.
// Standard controls (classes this toolkit did not register) are subclassed instead,
// with the same boundary. Notifications that a child sends to its parent are handed
// back to the child's object first, so each control owns its behaviour.
#include <windows.h>

#include <functional>
#include <map>
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
    // Marks the window for repainting. Before the window exists it does nothing: a null
    // window would make InvalidateRect repaint every window on the screen.
    void Invalidate(bool erase = true) const;

    // The object behind a window of this toolkit, or null.
    static Window* FromHandle(HWND hwnd);

    // Message-based timers on this window; the tick runs inside the error boundary.
    void StartTimer(UINT_PTR id, UINT milliseconds, std::function<void()> tick);
    void StopTimer(UINT_PTR id);
    bool TimerRunning(UINT_PTR id) const { return timers_.count(id) != 0; }

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
                                    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE +
                                                                                 1));
    // Creates the window; a class of another window procedure is subclassed.
    void CreateHandle(const CreateArgs& args);

    // Handlers answer here; the default goes to DefWindowProc (DefSubclassProc when
    // subclassed).
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    // A notification this window raised, reflected from its parent (WM_COMMAND,
    // WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL, WM_VSCROLL).
    // Returns true when handled, with the answer for the parent in result.
    virtual bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
    std::map<UINT_PTR, std::function<void()>> timers_;
};

// Runs the message loop until WM_QUIT; returns its exit code. Each message first meets
// the accelerators of its top-level form, then dialog navigation (Tab between controls).
int RunMessageLoop();
// One message of the loop above; false when nothing was waiting. For tests.
bool ProcessPendingMessages();

// Hook for the loop: a top-level window's accelerator translation, set by the form layer.
using TranslateAcceleratorFn = bool (*)(HWND root, MSG& msg);
void SetAcceleratorTranslator(TranslateAcceleratorFn fn);
// Hook for the loop: sees every message before it is delivered (the hints watch the mouse).
using MessageObserverFn = void (*)(const MSG& msg);
void SetMessageObserver(MessageObserverFn fn);

} // namespace vp::ui
