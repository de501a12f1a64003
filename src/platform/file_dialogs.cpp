// The file and folder choosers of the file helpers.
#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <vector>

#include "core/paths.h"
#include "platform/com_ptr.h"
#include "platform/file_dialogs.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/version.h"
#include "platform/wstr.h"

namespace vp {

namespace {

bool BrowseWithFileDialog(std::u16string& path, const std::u16string& title, unsigned options) {
    ComScope com;
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(dialog.Put()))))
        return false;
    dialog->SetOptions(options);
    if (!path.empty()) {
        ComPtr<IShellItem> folder;
        if (SUCCEEDED(SHCreateItemFromParsingName(W(path), nullptr, IID_PPV_ARGS(folder.Put()))))
            dialog->SetDefaultFolder(folder.Get());
        dialog->SetFileName(W(path));
    }
    if (!title.empty())
        dialog->SetTitle(W(title));
    if (FAILED(dialog->Show(GetActiveWindow())))
        return false;
    ComPtr<IShellItem> item;
    if (FAILED(dialog->GetResult(item.Put())))
        return false;
    wchar_t* chosen = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &chosen)) || !chosen)
        return false;
    path = U(chosen);
    CoTaskMemFree(chosen);
    return true;
}

int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data)
        SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

bool BrowseClassic(std::u16string& path, const std::u16string& title) {
    ComScope com;
    // Rooted at the drive of the path.
    PIDLIST_ABSOLUTE root = nullptr;
    if (path.size() >= 2 && path[1] == u':') {
        const std::u16string drive = path.substr(0, 2) + u"\\";
        SHParseDisplayName(W(drive), nullptr, &root, 0, nullptr);
    }
    BROWSEINFOW info{};
    info.hwndOwner = GetActiveWindow();
    info.pidlRoot = root;
    info.lpszTitle = title.empty() ? nullptr : W(title);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(W(path));
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    bool ok = false;
    if (chosen) {
        wchar_t buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListW(chosen, buffer)) {
            path = U(buffer);
            ok = true;
        }
        CoTaskMemFree(chosen);
    }
    if (root)
        CoTaskMemFree(root);
    return ok;
}

// "Text|*.txt|All|*.*" as the dialog wants it: NUL separated, two NULs at the end.
std::u16string DialogFilter(const std::u16string& filter) {
    std::u16string out = filter;
    for (char16_t& c : out)
        if (c == u'|')
            c = u'\0';
    out.push_back(u'\0');
    out.push_back(u'\0');
    return out;
}

std::u16string RunFileDialog(bool save, const std::u16string& fileName,
                             const std::u16string& folder, const std::u16string& filter,
                             const std::u16string& defaultExt, const std::u16string& title,
                             DWORD flags) {
    std::vector<wchar_t> buffer(32768, L'\0');
    fileName.copy(reinterpret_cast<char16_t*>(buffer.data()),
                  std::min(fileName.size(), buffer.size() - 1));
    const std::u16string dialogFilter = DialogFilter(filter);
    std::u16string ext = defaultExt;
    if (!ext.empty() && ext[0] == u'.')
        ext.erase(0, 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter.empty() ? nullptr : W(dialogFilter);
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : W(folder);
    ofn.lpstrTitle = title.empty() ? nullptr : W(title);
    ofn.lpstrDefExt = ext.empty() ? nullptr : W(ext);
    ofn.Flags = flags;
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    return ok ? U(buffer.data()) : std::u16string();
}

} // namespace

bool BrowseForFolder(std::u16string& path, const std::u16string& title, unsigned options) {
    const bool chosen = WindowsMajorVersion() > 5 ? BrowseWithFileDialog(path, title, options)
                                                  : BrowseClassic(path, title);
    if (chosen)
        path = WithTrailingDelimiter(path);
    return chosen;
}

std::u16string PromptSaveFile(const std::u16string& fileName, const std::u16string& filter,
                              const std::u16string& defaultExt, const std::u16string& title) {
    const std::u16string folder = fileName.empty() ? DataFolder() : FolderOf(fileName, true);
    // A save dialog must accept a new name, so the path (not the file) has to exist.
    return RunFileDialog(true, fileName, folder, filter, defaultExt, title,
                         OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                             OFN_ENABLESIZING);
}

std::u16string PromptOpenFile(const std::u16string& fileName, const std::u16string& filter,
                              const std::u16string& defaultExt, const std::u16string& title) {
    const std::u16string folder = FolderExists(fileName) ? fileName : FolderOf(fileName, true);
    return RunFileDialog(false, fileName, folder, filter, defaultExt, title,
                         OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                             OFN_ENABLESIZING);
}

} // namespace vp
