#pragma once
// Records what the program asks of the notification area, for the life of one test.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/notify_icon.h"
#include "platform/wstr.h"

namespace vp::test {

class TrayRecorder {
  public:
    struct Call {
        DWORD message;
        HWND window;
        HICON icon;
        std::u16string tip;
    };
    TrayRecorder() {
        hooks::NotifyIcon = [this](DWORD message, const NOTIFYICONDATAW& d) {
            calls.push_back({message, d.hWnd, d.hIcon, U(d.szTip)});
            if (message == NIM_ADD)
                shown = true;
            if (message == NIM_DELETE)
                shown = false;
            return true;
        };
    }
    ~TrayRecorder() { hooks::NotifyIcon = nullptr; }
    size_t Count(DWORD message) const {
        size_t n = 0;
        for (const auto& c : calls)
            n += c.message == message;
        return n;
    }
    std::vector<Call> calls;
    bool shown = false; // as the notification area would show it
};

} // namespace vp::test
