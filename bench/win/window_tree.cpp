// The start-up floor of the program's own window tree: the classes, styles, extended styles and
// rectangles the start-up benchmark read from the running program, made in the same order and
// shown, with no text, no fonts and no logic. Classes the system does not know (the program's
// own) become plain windows. The tree comes from a file in the temporary folder.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

// Written by the start-up benchmark; the name is its too.
constexpr wchar_t kTreeFile[] = L"vp_window_tree.txt";

struct Node {
    int parent = -1;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int alpha = 255;
    std::wstring className;
};

LRESULT CALLBACK Plain(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

// One line a window: parent index, style, extended style (hex), x, y, width, height, the
// opacity of a layered window, a tab and the class.
std::vector<Node> ReadTree(const wchar_t* path) {
    std::vector<Node> nodes;
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nodes;
    std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD got = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &got, nullptr);
    CloseHandle(file);
    text.resize(got / sizeof(wchar_t));
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find(L'\n', at);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = text.substr(at, end - at);
        at = end + 1;
        Node n;
        wchar_t* p = const_cast<wchar_t*>(line.c_str());
        n.parent = static_cast<int>(std::wcstol(p, &p, 10));
        n.style = std::wcstoul(p, &p, 16);
        n.exStyle = std::wcstoul(p, &p, 16);
        n.x = static_cast<int>(std::wcstol(p, &p, 10));
        n.y = static_cast<int>(std::wcstol(p, &p, 10));
        n.width = static_cast<int>(std::wcstol(p, &p, 10));
        n.height = static_cast<int>(std::wcstol(p, &p, 10));
        n.alpha = static_cast<int>(std::wcstol(p, &p, 10));
        if (*p == L'\t')
            n.className = p + 1;
        if (!n.className.empty() && n.parent < static_cast<int>(nodes.size()))
            nodes.push_back(std::move(n));
    }
    return nodes;
}

void EnsureClass(const std::wstring& name, HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (GetClassInfoExW(nullptr, name.c_str(), &wc) || GetClassInfoExW(instance, name.c_str(), &wc))
        return;
    // The rich edit control is the system's too, once its library is loaded.
    if (name.rfind(L"RICHEDIT", 0) == 0 && LoadLibraryW(L"Msftedit.dll") &&
        GetClassInfoExW(nullptr, name.c_str(), &wc))
        return;
    wc = {sizeof(wc)};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Plain;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
}

} // namespace

int main() {
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    lstrcatW(path, kTreeFile);
    const std::vector<Node> nodes = ReadTree(path);
    if (nodes.empty() || nodes.front().parent != -1)
        return 1;
    // The program's own look-up of the common controls, with the same classes.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_HOTKEY_CLASS |
                                              ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    std::vector<HWND> made;
    made.reserve(nodes.size());
    for (const Node& n : nodes) {
        EnsureClass(n.className, instance);
        const HWND parent = n.parent >= 0 ? made[static_cast<size_t>(n.parent)] : nullptr;
        // The top window is shown once its children are made, as the program does.
        const DWORD style = parent ? n.style : n.style & ~WS_VISIBLE;
        const HWND window = CreateWindowExW(n.exStyle, n.className.c_str(), L"", style, n.x, n.y,
                                            n.width, n.height, parent, nullptr, instance, nullptr);
        // A layered window stays invisible until its opacity is set.
        if (window && (n.exStyle & WS_EX_LAYERED))
            SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(n.alpha), LWA_ALPHA);
        made.push_back(window);
    }
    if (!made.front())
        return 1;
    ShowWindow(made.front(), SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
