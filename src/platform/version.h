#pragma once
// The running program's version resource and the version of Windows.
#include <windows.h>

#include <string>

namespace vp {

bool ReadFixedFileInfo(const std::u16string& fileName, VS_FIXEDFILEINFO& info);
// Version texts of any executable; the App* forms read the running one, anew each call.
std::u16string FileVersionFull(const std::u16string& fileName);
std::u16string FileVersionShort(const std::u16string& fileName);
std::u16string FileVersionLabel(const std::u16string& fileName);
std::u16string AppVersionFull();
std::u16string AppVersionShort();
std::u16string AppVersionLabel();
// The running executable's full path.
std::u16string ExecutablePath();

void WindowsVersion(int& major, int& minor);
int WindowsMajorVersion();
bool IsVistaOrLater();

} // namespace vp
