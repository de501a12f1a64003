// Start to window and resident memory 3 s after start, of the program (a returning user:
// a first start runs before the measured ones) beside a bare window with an edit control.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "vp_version.h"

namespace {

struct Search {
    DWORD pid;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t text[128];
    if (pid == s->pid && IsWindowVisible(window) && GetWindowTextW(window, text, 128) &&
        std::wstring(text) == s->caption) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

struct Start {
    double toWindow = -1;    // ms from CreateProcess to a visible window that answers
    double workingSet = 0;   // MB, 3 s after start
    double privateBytes = 0; // MB, 3 s after start
};

Start Launch(const std::wstring& exe, const wchar_t* caption) {
    Start result;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    const double t0 = Now();
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        std::printf("cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        return result;
    }
    Search s{pi.dwProcessId, caption, nullptr};
    while (Now() - t0 < 30000) {
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
        DWORD_PTR answer = 0;
        if (s.found && SendMessageTimeoutW(s.found, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer))
            break;
        s.found = nullptr;
        Sleep(1);
    }
    if (s.found)
        result.toWindow = Now() - t0;
    const double wait = 3000 - (Now() - t0);
    if (wait > 0)
        Sleep(static_cast<DWORD>(wait));
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) {
        result.workingSet = static_cast<double>(pmc.WorkingSetSize) / 1048576.0;
        result.privateBytes = static_cast<double>(pmc.PagefileUsage) / 1048576.0;
    }
    if (s.found)
        PostMessageW(s.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.erase(folder.find_last_of(L'\\') + 1);
    const std::wstring program = folder + L"VelmorPasquill.exe";
    const std::wstring bare = folder + L"vp_win_bare_window.exe";
    const wchar_t* caption = L"Velmor Pasquill  v" VP_VERSION_SHORT;
    // Text left on the clipboard would be collected at every start and weigh on it.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    // The first start is a first run: it leaves the settings and categories behind.
    Launch(program, caption);
    Launch(bare, L"Bare window");
    std::vector<double> pt, pw, pp, bt, bw, bp;
    for (int i = 0; i < runs; ++i) {
        const Start p = Launch(program, caption);
        const Start b = Launch(bare, L"Bare window");
        pt.push_back(p.toWindow), pw.push_back(p.workingSet), pp.push_back(p.privateBytes);
        bt.push_back(b.toWindow), bw.push_back(b.workingSet), bp.push_back(b.privateBytes);
    }
    std::printf("%-22s %14s %14s %14s\n", "start (median of runs)", "to window ms", "resident MB",
                "private MB");
    std::printf("%-22s %14.0f %14.1f %14.1f\n", "program", Median(pt), Median(pw), Median(pp));
    std::printf("%-22s %14.0f %14.1f %14.1f\n", "bare window", Median(bt), Median(bw), Median(bp));
    std::printf("%-22s %14.2f %14.2f %14.2f\n", "ratio", Median(pt) / Median(bt),
                Median(pw) / Median(bw), Median(pp) / Median(bp));
    std::printf("(%d runs each, alternating, after one unmeasured start of each)\n", runs);
    return 0;
}
