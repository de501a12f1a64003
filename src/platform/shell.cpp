#include "platform/shell.h"

// windows.h must come before the shell headers.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "core/errors.h"
#include "core/paths.h"
#include "core/shell_errors.h"
#include "core/text.h"
#include "platform/com_ptr.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/messages.h"
#include "platform/system_error.h"
#include "platform/unique_handle.h"
#include "platform/version.h"
#include "platform/wstr.h"

namespace vp {

namespace hooks {
ShellExecuteFn ShellExec;
SelectInFolderFn SelectInFolder;
} // namespace hooks

namespace {

std::intptr_t RunShellExecute(const std::u16string& verb, const std::u16string& file,
                              const std::u16string& parameters, int showCmd) {
    if (hooks::ShellExec)
        return hooks::ShellExec(verb, file, parameters, showCmd);
    // Some handlers are shell extensions that expect an apartment on this thread.
    ComScope com;
    HINSTANCE result =
        ::ShellExecuteW(nullptr, verb.empty() ? nullptr : W(verb), W(file),
                        parameters.empty() ? nullptr : W(parameters), nullptr, showCmd);
    return reinterpret_cast<std::intptr_t>(result);
}

// The registry takes key paths relative to the root, without the leading "\".
std::u16string RunKeyPath() {
    return std::u16string(kRunKey).substr(1);
}

} // namespace

std::intptr_t ShellExecuteDefault(const std::u16string& file, int showCmd) {
    return RunShellExecute(u"", file, u"", showCmd);
}

bool ShellOpen(const std::u16string& fileName, const std::u16string& parameters, bool showErrors,
               int showCmd) {
    const std::intptr_t result = RunShellExecute(u"open", fileName, parameters, showCmd);
    const bool ok = result > 32;
    if (!ok && showErrors)
        ShowError(ShellErrorText(result));
    return ok;
}

void OpenWebAddress(const std::u16string& address) {
    ShellOpen(ReplaceAll(address, u"\"", u"%22"), u"", true, SW_SHOWNORMAL);
}

void ExploreFolder(const std::u16string& folder) {
    if (FolderExistsMsg(folder))
        RunShellExecute(u"explore", folder, u"", SW_SHOW);
}

bool ShowInExplorer(const std::u16string& path) {
    PIDLIST_ABSOLUTE item = ILCreateFromPathW(W(path));
    if (!item)
        return false;
    HRESULT hr;
    if (hooks::SelectInFolder) {
        hr = hooks::SelectInFolder(path);
    } else {
        ComScope com;
        hr = SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    }
    ILFree(item);
    return SUCCEEDED(hr);
}

bool SetAutoStart(const std::u16string& exePath, bool enable) {
    try {
        UniqueHKey run;
        const std::u16string name = NameWithoutExtension(exePath);
        if (enable) {
            if (RegCreateKeyExW(HKEY_CURRENT_USER, W(RunKeyPath()), 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, run.Put(), nullptr) != ERROR_SUCCESS)
                return false;
            const std::u16string data = u"\"" + exePath + u"\"";
            const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(char16_t));
            return RegSetValueExW(run.Get(), W(name), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(data.c_str()),
                                  bytes) == ERROR_SUCCESS;
        }
        if (RegOpenKeyExW(HKEY_CURRENT_USER, W(RunKeyPath()), 0, KEY_SET_VALUE, run.Put()) !=
            ERROR_SUCCESS)
            return false;
        // A value that is not there is already what was asked for.
        RegDeleteValueW(run.Get(), W(name));
        return true;
    } catch (...) {
        return false;
    }
}

void SetAutoStartSelf(bool enable) {
    SetAutoStart(ExecutablePath(), enable);
}

void CreateShortcut(const std::u16string& name, const std::u16string& target, bool onDesktop) {
    ComScope com;
    ComPtr<IShellLinkW> link;
    ThrowIfFailed(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.Put())),
        u"Cannot create a shortcut");
    ComPtr<IPersistFile> file;
    ThrowIfFailed(link->QueryInterface(IID_PPV_ARGS(file.Put())), u"Cannot create a shortcut");

    link->SetArguments(L"");
    link->SetPath(W(target));
    link->SetWorkingDirectory(W(AppFolder()));

    std::u16string folder;
    if (onDesktop) {
        folder = DesktopFolder();
    } else {
        folder = StartMenuFolder();
        CreateDirectoryW(W(folder), nullptr);
    }
    file->Save(W(folder + name + u".lnk"), FALSE);
}

void CreateSelfShortcut(const std::u16string& name, bool onDesktop) {
    CreateShortcut(name, ExecutablePath(), onDesktop);
}

namespace {
bool busyCursor = false;
}

void BusyCursorOn() {
    busyCursor = true;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void BusyCursorOff() {
    busyCursor = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    // Let the window under the pointer put back its own cursor at once.
    POINT p;
    if (!GetCursorPos(&p))
        return;
    HWND hwnd = WindowFromPoint(p);
    if (!hwnd || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId())
        return;
    const LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                 MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

bool BusyCursorShown() {
    return busyCursor;
}

} // namespace vp
