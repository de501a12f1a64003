// A small Win32 helper that end-to-end tests run inside the program's Wine prefix to
// reach into its windows and the clipboard. Controls are found by the name the
// program's toolkit gives them (window property "VpName", a global atom), or else
// by their caption.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/int_text.h"
#include "platform/wstr.h"
#include "ui/private_messages.h"

namespace {

using vp::FromUtf8;
using vp::ToUtf8;

void Print(const std::u16string& text) {
    const std::string utf8 = ToUtf8(text);
    fwrite(utf8.data(), 1, utf8.size(), stdout);
    fflush(stdout);
}

std::u16string Arg(const wchar_t* s) {
    return vp::U(s);
}

HWND WaitForWindow(const std::u16string& title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND w = FindWindowW(nullptr, vp::W(title)))
            return w;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

std::u16string TextOf(HWND w) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len))
        return {};
    std::vector<wchar_t> buffer(len + 2);
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 5000, &got);
    return vp::U(buffer.data(), got);
}

std::u16string NameOf(HWND w) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(w, L"VpName")));
    if (!atom)
        return {};
    wchar_t name[256];
    const UINT n = GlobalGetAtomNameW(atom, name, 256);
    return vp::U(name, n);
}

struct Search {
    std::u16string key;
    HWND byName = nullptr;
    HWND byCaption = nullptr;
};

BOOL CALLBACK Visit(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (!s->byName && NameOf(w) == s->key)
        s->byName = w;
    if (!s->byCaption) {
        wchar_t cls[64];
        GetClassNameW(w, cls, 64);
        // Captions only identify buttons and labels; an edit's text is its content.
        if ((lstrcmpiW(cls, L"Button") == 0 || lstrcmpiW(cls, L"Static") == 0) &&
            TextOf(w) == s->key)
            s->byCaption = w;
    }
    return TRUE;
}

HWND FindControl(HWND top, const std::u16string& key) {
    Search s{key};
    EnumChildWindows(top, Visit, reinterpret_cast<LPARAM>(&s));
    return s.byName ? s.byName : s.byCaption;
}

HWND FindByClass(HWND top, const wchar_t* cls) {
    return FindWindowExW(top, nullptr, cls, nullptr);
}

// A path box is a group box around its edit: text goes to and comes from that edit.
HWND EditOf(HWND c) {
    wchar_t cls[64];
    GetClassNameW(c, cls, 64);
    if (lstrcmpiW(cls, L"Edit") == 0)
        return c;
    HWND edit = FindWindowExW(c, nullptr, L"Edit", nullptr);
    return edit ? edit : c;
}

struct ClassSearch {
    const wchar_t* cls;
    HWND found = nullptr;
};

BOOL CALLBACK VisitClass(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<ClassSearch*>(lp);
    wchar_t cls[64];
    GetClassNameW(w, cls, 64);
    if (lstrcmpiW(cls, s->cls) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND FindDescendantByClass(HWND top, const wchar_t* cls) {
    ClassSearch s{cls};
    EnumChildWindows(top, VisitClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Tab captions live in the program's memory: TCM_GETITEM is not marshalled between
// processes, so the item and its text buffer are placed in the program's address space.
std::vector<std::u16string> TabCaptions(HWND tab, int* selected) {
    std::vector<std::u16string> captions;
    DWORD pid = 0;
    GetWindowThreadProcessId(tab, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return captions;
    constexpr int kChars = 256;
    const SIZE_T size = sizeof(TCITEMW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote) {
        auto* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TCITEMW));
        const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = remoteText;
            item.cchTextMax = kChars;
            const wchar_t empty = 0;
            WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
            WriteProcessMemory(process, remoteText, &empty, sizeof(empty), nullptr);
            SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote));
            wchar_t text[kChars + 1] = {};
            ReadProcessMemory(process, remoteText, text, kChars * sizeof(wchar_t), nullptr);
            captions.push_back(vp::U(text));
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    if (selected)
        *selected = static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    return captions;
}

struct TitleCount {
    std::u16string title;
    int count = 0;
};

BOOL CALLBACK CountTitle(HWND w, LPARAM lp) {
    auto* c = reinterpret_cast<TitleCount*>(lp);
    if (IsWindowVisible(w) && TextOf(w) == c->title)
        ++c->count;
    return TRUE;
}

bool WaitUntil(DWORD timeoutMs, auto condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

bool SetClipboard(const std::u16string& text, const std::vector<std::u16string>& privateFormats) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
            auto* p = static_cast<wchar_t*>(GlobalLock(mem));
            memcpy(p, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(mem);
            for (const auto& f : privateFormats) {
                UINT fmt = RegisterClipboardFormatW(vp::W(f));
                HGLOBAL flag = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
                *static_cast<DWORD*>(GlobalLock(flag)) = 0;
                GlobalUnlock(flag);
                SetClipboardData(fmt, flag);
            }
            SetClipboardData(CF_UNICODETEXT, mem);
            CloseClipboard();
            return true;
        }
        Sleep(20);
    }
    return false;
}

std::u16string ReadUtf8File(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return FromUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
}

// A message box: a dialog of the class #32770 with that caption.
HWND FindBox(const std::u16string& caption) {
    return FindWindowW(L"#32770", vp::W(caption));
}

int Usage() {
    fputs("usage: vp_driver COMMAND ...\n"
          "  wait TITLE [MS]            wait for a top-level window\n"
          "  close TITLE [MS]           post WM_CLOSE and wait until it is gone\n"
          "  get TITLE CONTROL          print a control's text (UTF-8)\n"
          "  sel TITLE CONTROL          print an edit box's selection: start end\n"
          "  status TITLE               print the status bar's text\n"
          "  click TITLE CONTROL        click a button\n"
          "  checked TITLE CONTROL      print 1 or 0\n"
          "  settext TITLE CONTROL TEXT set a control's text\n"
          "  setclip TEXT | setclip-file UTF8FILE\n"
          "  setclip-private FORMAT TEXT\n"
          "  holdclip MS                keep the clipboard open for MS\n"
          "  tabs TITLE                 the visible tab captions, one a line\n"
          "  tab TITLE                  the active tab's caption\n"
          "  rect TITLE                 print left top width height\n"
          "  move TITLE X Y W H         move and size the window\n"
          "  minimize TITLE             minimise as the title bar button does\n"
          "  iconic TITLE               print 1 when minimised, else 0\n"
          "  visible TITLE              print 1 when shown, else 0 (also when minimised)\n"
          "  trayclick                  click the program's tray icon as the shell reports it\n"
          "  trayicon                   print 1 when the shell holds the program's tray icon\n"
          "  count TITLE                visible top-level windows with that title\n"
          "  dpi TITLE FROM TO          WM_DPICHANGED from one DPI to another, the\n"
          "                             window's rectangle scaled alike\n"
          "  endsession TITLE [veto]    end-of-logon messages, without closing; veto: the\n"
          "                             session goes on after all (WM_ENDSESSION FALSE)\n"
          "  hotkey TITLE CONTROL [HK]  print or set a hotkey box (HKM_ value)\n"
          "  getclip                    print the clipboard's text, or nothing\n"
          "  setclip-hold TEXT MS       set the clipboard, then keep it open for MS\n"
          "  setclip-series PREFIX FROM COUNT MS  PREFIX FROM, PREFIX FROM+1... MS apart\n"
          "  acp                        print the ANSI code page\n"
          "  box CAPTION [MS]           wait for a message box, print its text\n"
          "  answer CAPTION ID          press a message box's button (1 OK, 6 Yes, 7 No)\n"
          "  lock FILE MS               hold a file open, sharing nothing, for MS\n"
          "  suspended EXE MS           start EXE suspended, print its process id, end it\n"
          "                             after MS\n",
          stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return Usage();
    const std::wstring cmd = argv[1];
    auto top = [&](DWORD timeout = 20000) { return WaitForWindow(Arg(argv[2]), timeout); };
    auto control = [&]() -> HWND {
        HWND t = top();
        if (!t)
            return nullptr;
        return FindControl(t, Arg(argv[3]));
    };
    if (cmd == L"wait" && argc >= 3) {
        if (!top(argc > 3 ? _wtoi(argv[3]) : 20000))
            return 1;
        Print(u"found\n");
        return 0;
    }
    if (cmd == L"close" && argc >= 3) {
        const DWORD timeout = argc > 3 ? _wtoi(argv[3]) : 20000;
        HWND w = top(timeout);
        if (!w)
            return 1;
        PostMessageW(w, WM_CLOSE, 0, 0);
        const DWORD start = GetTickCount();
        while (IsWindow(w)) {
            if (GetTickCount() - start > timeout)
                return 1;
            Sleep(50);
        }
        Print(u"closed\n");
        return 0;
    }
    if (cmd == L"get" && argc >= 4) {
        HWND c = control();
        if (!c)
            return 1;
        Print(TextOf(EditOf(c)));
        return 0;
    }
    if (cmd == L"sel" && argc >= 4) {
        HWND c = control();
        if (!c)
            return 1;
        DWORD start = 0, end = 0;
        SendMessageW(EditOf(c), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        Print(vp::IntToText(start) + u" " + vp::IntToText(end) + u"\n");
        return 0;
    }
    if (cmd == L"status" && argc >= 3) {
        HWND t = top();
        HWND bar = t ? FindByClass(t, STATUSCLASSNAMEW) : nullptr;
        if (!bar)
            return 1;
        Print(TextOf(bar));
        return 0;
    }
    if (cmd == L"click" && argc >= 4) {
        HWND c = control();
        if (!c)
            return 1;
        // Posted, so that a message box the click opens cannot block the driver.
        PostMessageW(c, BM_CLICK, 0, 0);
        return 0;
    }
    if (cmd == L"checked" && argc >= 4) {
        HWND c = control();
        if (!c)
            return 1;
        Print(SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? u"1\n" : u"0\n");
        return 0;
    }
    if (cmd == L"settext" && argc >= 5) {
        HWND c = control();
        if (!c)
            return 1;
        std::u16string text = Arg(argv[4]);
        SendMessageW(EditOf(c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(vp::W(text)));
        return 0;
    }
    if (cmd == L"setclip" && argc >= 3)
        return SetClipboard(Arg(argv[2]), {}) ? 0 : 1;
    if (cmd == L"setclip-file" && argc >= 3)
        return SetClipboard(ReadUtf8File(argv[2]), {}) ? 0 : 1;
    if (cmd == L"setclip-private" && argc >= 4)
        return SetClipboard(Arg(argv[3]), {Arg(argv[2])}) ? 0 : 1;
    if (cmd == L"getclip") {
        if (!OpenClipboard(nullptr))
            return 1;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
                Print(vp::U(p));
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return 0;
    }
    if (cmd == L"setclip-hold" && argc >= 4) {
        if (!SetClipboard(Arg(argv[2]), {}))
            return 1;
        // Opened again at once: the program hears of the change while it is held.
        if (!OpenClipboard(nullptr))
            return 1;
        Sleep(_wtoi(argv[3]));
        CloseClipboard();
        return 0;
    }
    if (cmd == L"setclip-series" && argc >= 6) {
        const int from = _wtoi(argv[3]), count = _wtoi(argv[4]), pause = _wtoi(argv[5]);
        for (int i = from; i < from + count; ++i) {
            SetClipboard(Arg(argv[2]) + vp::U(std::to_wstring(i).c_str()), {});
            Sleep(pause);
        }
        return 0;
    }
    if (cmd == L"acp") {
        printf("%u\n", GetACP());
        return 0;
    }
    if (cmd == L"box" && argc >= 3) {
        HWND box = nullptr;
        if (!WaitUntil(argc > 3 ? _wtoi(argv[3]) : 10000,
                       [&] { return (box = FindBox(Arg(argv[2]))) != nullptr; }))
            return 1;
        // The message is the static control with the id 0xFFFF.
        Print(TextOf(GetDlgItem(box, 0xFFFF)) + u"\n");
        return 0;
    }
    if (cmd == L"answer" && argc >= 4) {
        HWND box = FindBox(Arg(argv[2]));
        if (!box)
            return 1;
        const int id = _wtoi(argv[3]);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
        return WaitUntil(5000, [&] { return !IsWindow(box); }) ? 0 : 1;
    }
    if (cmd == L"lock" && argc >= 4) {
        HANDLE h = CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return 1;
        Print(u"locked\n");
        Sleep(_wtoi(argv[3]));
        CloseHandle(h);
        return 0;
    }
    if (cmd == L"holdclip" && argc >= 3) {
        if (!OpenClipboard(nullptr))
            return 1;
        Sleep(_wtoi(argv[2]));
        CloseClipboard();
        return 0;
    }
    if ((cmd == L"tabs" || cmd == L"tab") && argc >= 3) {
        HWND t = top();
        HWND tab = t ? FindDescendantByClass(t, WC_TABCONTROLW) : nullptr;
        if (!tab)
            return 1;
        int selected = -1;
        const auto captions = TabCaptions(tab, &selected);
        if (cmd == L"tab") {
            if (selected < 0 || selected >= static_cast<int>(captions.size()))
                return 1;
            Print(captions[selected] + u"\n");
            return 0;
        }
        for (const auto& caption : captions)
            Print(caption + u"\n");
        return 0;
    }
    if (cmd == L"select" && argc >= 4) {
        // Picks a tab by its caption.
        HWND t = top();
        HWND tab = t ? FindDescendantByClass(t, WC_TABCONTROLW) : nullptr;
        if (!tab)
            return 1;
        int selected = -1;
        const auto captions = TabCaptions(tab, &selected);
        for (size_t i = 0; i < captions.size(); ++i) {
            if (captions[i] != Arg(argv[3]))
                continue;
            // As a click on the tab: the program hears of the change.
            PostMessageW(tab, TCM_SETCURFOCUS, i, 0);
            return 0;
        }
        return 1;
    }
    if (cmd == L"savedlg" && argc >= 4) {
        // Fills in the file name of a save dialog titled argv[2] and presses Save.
        HWND dlg = WaitForWindow(Arg(argv[2]), 20000);
        if (!dlg)
            return 1;
        Sleep(500);
        HWND edit = GetDlgItem(dlg, 0x47c); // cmb13, the file name box
        if (HWND inner = edit ? FindWindowExW(edit, nullptr, L"Edit", nullptr) : nullptr)
            edit = inner;
        if (!edit)
            edit = GetDlgItem(dlg, 0x480); // edt1
        if (!edit)
            return 1;
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
        PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
        return 0;
    }
    if (cmd == L"canceldlg" && argc >= 3) {
        HWND dlg = WaitForWindow(Arg(argv[2]), 20000);
        if (!dlg)
            return 1;
        Sleep(500);
        PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
        return 0;
    }
    if (cmd == L"drop" && argc >= 4) {
        // Drops the files argv[3..] onto the window, as Explorer does.
        HWND t = top();
        if (!t)
            return 1;
        std::wstring names;
        for (int i = 3; i < argc; ++i) {
            names += argv[i];
            names += L'\0';
        }
        names += L'\0';
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                  sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
        auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
        GlobalUnlock(mem);
        return PostMessageW(t, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0) ? 0 : 1;
    }
    if (cmd == L"layered" && argc >= 3) {
        HWND t = top();
        if (!t)
            return 1;
        BYTE alpha = 255;
        DWORD flags = 0;
        const bool layered = (GetWindowLongW(t, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        if (layered)
            GetLayeredWindowAttributes(t, nullptr, &alpha, &flags);
        Print(layered ? u"layered " + vp::U(std::to_wstring(alpha).c_str()) + u"\n" : u"opaque\n");
        return 0;
    }
    if (cmd == L"rect" && argc >= 3) {
        HWND t = top();
        RECT r{};
        if (!t || !GetWindowRect(t, &r))
            return 1;
        printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == L"move" && argc >= 7) {
        HWND t = top();
        if (!t)
            return 1;
        return SetWindowPos(t, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]),
                            _wtoi(argv[6]), SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    }
    if (cmd == L"dpi" && argc >= 5) {
        // As the system tells a window that moved to a monitor of another scale.
        HWND t = top();
        RECT r{};
        if (!t || !GetWindowRect(t, &r))
            return 1;
        const int from = _wtoi(argv[3]), to = _wtoi(argv[4]);
        RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, to, from),
                       r.top + MulDiv(r.bottom - r.top, to, from)};
        // The rectangle is read in the program's memory: the message carries no copy of it.
        DWORD pid = 0;
        GetWindowThreadProcessId(t, &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        if (!process)
            return 1;
        void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE,
                                      PAGE_READWRITE);
        const bool written =
            remote && WriteProcessMemory(process, remote, &suggested, sizeof(RECT), nullptr);
        DWORD_PTR ignored = 0;
        const bool sent = written && SendMessageTimeoutW(t, WM_DPICHANGED, MAKEWPARAM(to, to),
                                                         reinterpret_cast<LPARAM>(remote),
                                                         SMTO_ABORTIFHUNG, 10000, &ignored);
        if (remote)
            VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        CloseHandle(process);
        return sent ? 0 : 1;
    }
    if (cmd == L"minimize" && argc >= 3) {
        HWND t = top();
        if (!t)
            return 1;
        PostMessageW(t, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return WaitUntil(5000, [&] { return IsIconic(t) || !IsWindowVisible(t); }) ? 0 : 1;
    }
    if (cmd == L"iconic" && argc >= 3) {
        HWND t = top();
        if (!t)
            return 1;
        Print(IsIconic(t) ? u"1\n" : u"0\n");
        return 0;
    }
    if (cmd == L"visible" && argc >= 3) {
        HWND t = top();
        if (!t)
            return 1;
        Print(IsWindowVisible(t) ? u"1\n" : u"0\n");
        return 0;
    }
    if (cmd == L"trayclick") {
        // The tray icon's own window and callback message.
        HWND tray = FindWindowW(L"VpTrayIcon", nullptr);
        if (!tray)
            return 1;
        PostMessageW(tray, vp::ui::WM_TRAY_ICON, 1, WM_LBUTTONUP);
        return 0;
    }
    if (cmd == L"trayicon") {
        // The shell changes only an icon it holds: a change of nothing asks whether it is
        // there without touching it.
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = FindWindowW(L"VpTrayIcon", nullptr);
        data.uID = 1;
        if (!data.hWnd)
            return 1;
        Print(Shell_NotifyIconW(NIM_MODIFY, &data) ? u"1\n" : u"0\n");
        return 0;
    }
    if (cmd == L"suspended" && argc >= 4) {
        // A copy of a program that runs, as far as anyone can tell, and does nothing.
        std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(argv[2], commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                            nullptr, nullptr, &si, &pi))
            return 1;
        printf("%lu\n", pi.dwProcessId);
        fflush(stdout);
        Sleep(_wtoi(argv[3]));
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return 0;
    }
    if (cmd == L"count" && argc >= 3) {
        TitleCount c{Arg(argv[2])};
        EnumWindows(CountTitle, reinterpret_cast<LPARAM>(&c));
        printf("%d\n", c.count);
        return 0;
    }
    if (cmd == L"endsession" && argc >= 3) {
        HWND t = top();
        if (!t)
            return 1;
        DWORD_PTR agreed = 0;
        if (!SendMessageTimeoutW(t, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &agreed))
            return 1;
        DWORD_PTR ignored = 0;
        const bool vetoed = argc >= 4 && std::wstring(argv[3]) == L"veto";
        if (!SendMessageTimeoutW(t, WM_ENDSESSION, vetoed ? FALSE : TRUE, 0, SMTO_ABORTIFHUNG,
                                 10000, &ignored))
            return 1;
        Print(agreed ? u"agreed\n" : u"refused\n");
        return 0;
    }
    if (cmd == L"hotkey" && argc >= 4) {
        HWND c = control();
        if (!c)
            return 1;
        if (argc >= 5) {
            // As a keystroke in the box would: the value changes, then the owner hears of it.
            SendMessageW(c, HKM_SETHOTKEY, _wtoi(argv[4]), 0);
            SendMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), EN_CHANGE),
                         reinterpret_cast<LPARAM>(c));
            return 0;
        }
        printf("%d\n", static_cast<int>(SendMessageW(c, HKM_GETHOTKEY, 0, 0) & 0xFFFF));
        return 0;
    }
    return Usage();
}
