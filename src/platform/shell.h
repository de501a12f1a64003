#pragma once
// Work handed to the Windows shell and registry: documents and web pages, the Explorer,
// starting at log-on, shortcuts, and the busy cursor.
#include <cstdint>
#include <functional>
#include <string>

namespace vp {

namespace hooks {
// Stands in for ShellExecuteW (no owner window, no working folder); returns its result.
using ShellExecuteFn =
    std::function<std::intptr_t(const std::u16string& verb, const std::u16string& file,
                                const std::u16string& parameters, int showCmd)>;
// Stands in for SHOpenFolderAndSelectItems on the item made from path; returns an HRESULT.
using SelectInFolderFn = std::function<long(const std::u16string& path)>;

extern ShellExecuteFn ShellExec;
extern SelectInFolderFn SelectInFolder;
} // namespace hooks

// Opens a document or address with its default handler; a failure shows its error text
// when showErrors is set. True on success.
bool ShellOpen(const std::u16string& fileName, const std::u16string& parameters, bool showErrors,
               int showCmd);
// ShellExecuteW with no owner, no verb (the default action), no parameters and no folder;
// returns its result, above 32 on success.
std::intptr_t ShellExecuteDefault(const std::u16string& file, int showCmd);
// Opens a web page in the default browser; failures are shown, never raised.
void OpenWebAddress(const std::u16string& address);
// Shows the folder in the Explorer, or tells the user why it cannot.
void ExploreFolder(const std::u16string& folder);
// Shows the file or folder selected in its parent folder. True when the shell agreed.
bool ShowInExplorer(const std::u16string& path);

// The per-user Run key, below HKEY_CURRENT_USER.
inline constexpr char16_t kRunKey[] = u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Writes or removes exePath's entry in the Run key. False when the key could not be
// opened or written; never raises.
bool SetAutoStart(const std::u16string& exePath, bool enable);
void SetAutoStartSelf(bool enable);

// Saves a shortcut to target as name + ".lnk" on the desktop or in the start menu,
// replacing one of that name. Raises only when the shell-link object cannot be made.
void CreateShortcut(const std::u16string& name, const std::u16string& target, bool onDesktop);
void CreateSelfShortcut(const std::u16string& name, bool onDesktop);

// The hourglass over all of the program's windows. One BusyCursorOff ends any number
// of BusyCursorOn.
void BusyCursorOn();
void BusyCursorOff();
bool BusyCursorShown();

} // namespace vp
