#pragma once
// Clipboard helpers shared by the tests: an owner for what a test puts there, and another
// thread that holds the clipboard open for a while.
#include <windows.h>

#include <thread>

namespace vp::test {

// A message-only window that owns what a test puts on the clipboard.
struct OwnerWindow {
    HWND h = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ~OwnerWindow() { DestroyWindow(h); }
};

// Another thread opens the clipboard with its own window and holds it.
class ClipboardHolder {
  public:
    explicit ClipboardHolder(DWORD milliseconds) {
        HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([opened, milliseconds] {
            OwnerWindow own;
            const BOOL ok = OpenClipboard(own.h);
            SetEvent(opened);
            Sleep(milliseconds);
            if (ok)
                CloseClipboard();
        });
        WaitForSingleObject(opened, 5000);
        CloseHandle(opened);
    }
    ~ClipboardHolder() { thread_.join(); }

  private:
    std::thread thread_;
};

} // namespace vp::test
