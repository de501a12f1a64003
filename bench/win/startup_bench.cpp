// Start to window and resident memory 3 s after start, of the program (a returning user:
// a first start runs before the measured ones) beside two floors: the program's own window
// tree made bare (read from the running program, see window_tree.cpp) and a bare window with
// an edit control.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "vp_version.h"

namespace {

// The window a start waits for: its caption, or (the tree has no text) its class.
struct Target {
    std::wstring caption;
    std::wstring className;
};

struct Search {
    DWORD pid;
    const Target* target;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != s->pid || !IsWindowVisible(window))
        return TRUE;
    wchar_t text[256];
    const bool match = s->target->caption.empty()
                           ? GetClassNameW(window, text, 256) && s->target->className == text
                           : GetWindowTextW(window, text, 256) && s->target->caption == text;
    if (!match)
        return TRUE;
    s->found = window;
    return FALSE;
}

BOOL CALLBACK AddChild(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// The window and all its children (parents before children, siblings in z order, which is
// the order they were made in), one line each as window_tree.cpp reads them.
std::wstring DescribeTree(HWND top) {
    std::vector<HWND> windows{top};
    EnumChildWindows(top, AddChild, reinterpret_cast<LPARAM>(&windows));
    std::map<HWND, int> index;
    std::wstring text;
    int count = 0;
    for (HWND w : windows) {
        const HWND parent = w == top ? nullptr : GetAncestor(w, GA_PARENT);
        const auto p = index.find(parent);
        if (w != top && p == index.end())
            continue;
        RECT r{};
        GetWindowRect(w, &r);
        if (parent)
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        wchar_t className[256] = {};
        GetClassNameW(w, className, 256);
        // A layered window shows only with its opacity set: that is part of the tree.
        BYTE alpha = 255;
        DWORD flags = 0;
        if (!(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED) ||
            !GetLayeredWindowAttributes(w, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
            alpha = 255;
        wchar_t line[512];
        std::swprintf(line, 512, L"%d %lx %lx %ld %ld %ld %ld %d\t%ls\n", parent ? p->second : -1,
                      static_cast<unsigned long>(GetWindowLongW(w, GWL_STYLE)),
                      static_cast<unsigned long>(GetWindowLongW(w, GWL_EXSTYLE)), r.left, r.top,
                      r.right - r.left, r.bottom - r.top, alpha, className);
        index[w] = count++;
        text += line;
    }
    return text;
}

struct Start {
    double toWindow = -1;    // ms from CreateProcess to a visible window that answers
    double workingSet = 0;   // MB, 3 s after start
    double privateBytes = 0; // MB, 3 s after start
};

// whileUp sees the window just before it is closed.
Start Launch(const std::wstring& exe, const Target& target,
             const std::function<void(HWND)>& whileUp = {}) {
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
    Search s{pi.dwProcessId, &target, nullptr};
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
    if (s.found && whileUp)
        whileUp(s.found);
    if (s.found)
        PostMessageW(s.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

bool WriteTree(const std::wstring& path, const std::wstring& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const bool ok = WriteFile(file, text.data(), size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.erase(folder.find_last_of(L'\\') + 1);
    const std::wstring program = folder + L"VelmorPasquill.exe";
    const std::wstring treeExe = folder + L"vp_win_window_tree.exe";
    const std::wstring bareExe = folder + L"vp_win_bare_window.exe";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring treeFile = std::wstring(temp) + L"vp_window_tree.txt";
    const Target main{.caption = L"Velmor Pasquill  v" VP_VERSION_SHORT};
    const Target bare{.caption = L"Bare window"};
    Target tree;
    // Text left on the clipboard would be collected at every start and weigh on it.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    // The first start is a first run: it leaves the settings and categories behind. The
    // second, a returning user's, is the one whose windows the tree copies.
    Launch(program, main);
    int windows = 0;
    Launch(program, main, [&](HWND top) {
        const std::wstring text = DescribeTree(top);
        windows = static_cast<int>(std::count(text.begin(), text.end(), L'\n'));
        wchar_t className[256] = {};
        GetClassNameW(top, className, 256);
        tree.className = className;
        if (!WriteTree(treeFile, text))
            std::printf("cannot write %ls\n", treeFile.c_str());
    });
    // Without a tree its starts would only wait out the time limit.
    const bool haveTree = !tree.className.empty();
    if (!haveTree)
        std::printf("the program's window tree was not read: its row is left empty\n");
    if (haveTree)
        Launch(treeExe, tree);
    Launch(bareExe, bare);
    std::vector<double> pt, pw, pp, tt, tw, tp, bt, bw, bp;
    for (int i = 0; i < runs; ++i) {
        const Start p = Launch(program, main);
        const Start t = haveTree ? Launch(treeExe, tree) : Start{};
        const Start b = Launch(bareExe, bare);
        pt.push_back(p.toWindow), pw.push_back(p.workingSet), pp.push_back(p.privateBytes);
        tt.push_back(t.toWindow), tw.push_back(t.workingSet), tp.push_back(t.privateBytes);
        bt.push_back(b.toWindow), bw.push_back(b.workingSet), bp.push_back(b.privateBytes);
    }
    DeleteFileW(treeFile.c_str());
    std::printf("%-26s %14s %14s %14s\n", "start (median of runs)", "to window ms", "resident MB",
                "private MB");
    std::printf("%-26s %14.0f %14.1f %14.1f\n", "program", Median(pt), Median(pw), Median(pp));
    std::printf("%-26s %14.0f %14.1f %14.1f\n", "its window tree", Median(tt), Median(tw),
                Median(tp));
    std::printf("%-26s %14.0f %14.1f %14.1f\n", "bare window", Median(bt), Median(bw), Median(bp));
    std::printf("%-26s %14.2f %14.2f %14.2f\n", "program / window tree", Median(pt) / Median(tt),
                Median(pw) / Median(tw), Median(pp) / Median(tp));
    std::printf("%-26s %14.2f %14.2f %14.2f\n", "program / bare window", Median(pt) / Median(bt),
                Median(pw) / Median(bw), Median(pp) / Median(bp));
    std::printf("(%d runs each, alternating, after one unmeasured start of each; the tree: %d "
                "windows)\n",
                runs, windows);
    return 0;
}
