// A small Win32 helper that end-to-end tests run inside the program's Wine prefix
// to reach into its windows: wait for a window, close it, read its texts.
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/encoding.h"
#include "platform/wstr.h"

namespace {

void Print(const std::u16string& text) {
    const std::string utf8 = vp::ToUtf8(text);
    fwrite(utf8.data(), 1, utf8.size(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

HWND WaitForWindow(const wchar_t* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND w = FindWindowW(nullptr, title)) return w;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

int Usage() {
    fputs("usage: vp_driver wait TITLE [MS] | close TITLE [MS]\n", stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return Usage();
    const std::wstring cmd = argv[1];
    const wchar_t* title = argv[2];
    const DWORD timeout = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 20000;
    if (cmd == L"wait") {
        HWND w = WaitForWindow(title, timeout);
        if (!w) return 1;
        Print(u"found");
        return 0;
    }
    if (cmd == L"close") {
        HWND w = WaitForWindow(title, timeout);
        if (!w) return 1;
        PostMessageW(w, WM_CLOSE, 0, 0);
        const DWORD start = GetTickCount();
        while (IsWindow(w)) {
            if (GetTickCount() - start > timeout) return 1;
            Sleep(50);
        }
        Print(u"closed");
        return 0;
    }
    return Usage();
}
