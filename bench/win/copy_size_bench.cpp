// One big copy collected into a small pad, against copy size, beside its floors in the same
// run and on the same display: a bare edit control like the pad taking the same text, and a
// bare write of the same text to a file.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench_clock.h"
#include "bench_form.h"
#include "core/app_name.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/hooks.h"
#include "platform/wstr.h"

using namespace vp;

namespace {

// Lines of 22 characters and CR LF: 2.4 MB is 100,000 lines.
std::u16string CopyText(size_t units, int serial) {
    std::u16string text;
    text.reserve(units + 24);
    char line[32];
    for (int n = 0; text.size() + 24 <= units; ++n) {
        std::snprintf(line, sizeof line, "copy %04d line %07d\r\n", serial % 10000, n);
        for (const char* p = line; *p; ++p)
            text += static_cast<char16_t>(*p);
    }
    return text;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The floor for the file: the text encoded and written once, nothing else.
double BareWrite(const std::u16string& path, const std::u16string& text) {
    const double t0 = Now();
    HANDLE h = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const int n = WideCharToMultiByte(CP_UTF8, 0, W(text.data()), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, W(text.data()), static_cast<int>(text.size()), bytes.data(), n,
                        nullptr, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return Now() - t0;
}

} // namespace

int main() {
    const std::u16string dir = BenchFolder(u"vp_copy_size_bench");
    const auto owner = OpenCollectingForm(dir, u"bare write.txt");
    TMainForm& form = *owner;
    auto& pad = *form.mmoClipboard;
    const std::u16string smallPad = u"[Main category]\r\nan earlier entry\r\n";

    // A bare edit control with the pad's styles, font and size, in a window of its own.
    RECT padRect{};
    GetWindowRect(pad.Handle(), &padRect);
    HWND bareWindow =
        CreateWindowExW(0, L"STATIC", L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        padRect.right - padRect.left + 40, padRect.bottom - padRect.top + 60,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND bare = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN |
                                    ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL |
                                    ES_NOHIDESEL,
                                0, 0, padRect.right - padRect.left, padRect.bottom - padRect.top,
                                bareWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bare, EM_SETLIMITTEXT, 0, 0);
    // The pad's own font: the control measures every line it takes in that font.
    SendMessageW(bare, WM_SETFONT, SendMessageW(pad.Handle(), WM_GETFONT, 0, 0), TRUE);

    struct Size {
        const char* label;
        size_t units;
        int runs;
    };
    const Size sizes[] = {{"100 KB", 100'000, 5},
                          {"1 MB", 1'000'000, 3},
                          {"2.4 MB", 2'400'000, 3},
                          {"10 MB", 10'000'000, 1}};
    std::printf("%-7s %12s %14s %12s %10s\n", "copy", "capture ms", "edit insert ms",
                "file write ms", "ratio");
    int serial = 0;
    for (const Size& size : sizes) {
        std::vector<double> captures, inserts, writes;
        for (int run = 0; run < size.runs; ++run) {
            const std::u16string text = CopyText(size.units, ++serial);

            pad.SetText(smallPad);
            Pump();
            SetClipboardText(text);
            double t0 = Now();
            SendMessageW(form.Handle(), WM_DRAWCLIPBOARD, 0, 0);
            captures.push_back(Now() - t0);
            Pump();

            SetWindowTextW(bare, W(smallPad));
            Pump();
            t0 = Now();
            const LRESULT end = SendMessageW(bare, WM_GETTEXTLENGTH, 0, 0);
            SendMessageW(bare, EM_SETSEL, end, end);
            SendMessageW(bare, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(W(text)));
            inserts.push_back(Now() - t0);
            Pump();

            writes.push_back(BareWrite(dir + u"bare write.txt", smallPad + text));
        }
        const double c = Median(captures), e = Median(inserts), w = Median(writes);
        std::printf("%-7s %12.1f %14.1f %12.1f %10.2f\n", size.label, c, e, w, c / e);
        std::fflush(stdout);
    }
    std::printf("ratio: capture / edit insert; entries collected: %d of %d\n",
                form.CollectedCount(), serial);
    pad.SetText(smallPad);
    // The last big copy must not reach whatever starts next in this prefix.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    form.SaveBeforeExit();
    DestroyWindow(bareWindow);
    DeleteFileW(W(dir + u"bare write.txt"));
    return 0;
}
