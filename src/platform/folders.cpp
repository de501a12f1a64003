#include "platform/folders.h"

#include <windows.h>

#include <shlobj.h>

#include "core/app_name.h"
#include "core/errors.h"
#include "core/paths.h"
#include "platform/files.h"
#include "platform/version.h"
#include "platform/wstr.h"

namespace vp {

std::u16string SpecialFolder(int id, bool create) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const int flags = id | (create ? CSIDL_FLAG_CREATE : 0);
    if (FAILED(SHGetFolderPathW(nullptr, flags, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return {};
    buffer[MAX_PATH] = 0;
    return WithTrailingDelimiter(U(buffer));
}

std::u16string DataFolder() {
    Assert(!HasInvalidFileNameChars(AppName), u"cIO", u"Invalid chars in AppName: " + AppName);
    return WithTrailingDelimiter(WithTrailingDelimiter(SpecialFolder(CSIDL_APPDATA, false)) +
                                 AppName);
}

std::u16string IniFilePath() {
    return DataFolder() + AppName + u".ini";
}

bool IsFirstRun() {
    return !FileExists(IniFilePath());
}

std::u16string AppFolder() {
    return FolderOf(ExecutablePath(), true);
}

std::u16string DocumentsFolder() {
    return SpecialFolder(CSIDL_PERSONAL, false);
}
std::u16string DesktopFolder() {
    return SpecialFolder(CSIDL_DESKTOPDIRECTORY, false);
}
std::u16string StartMenuFolder() {
    return SpecialFolder(CSIDL_STARTMENU, false);
}

} // namespace vp
