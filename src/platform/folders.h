#pragma once
// Where the program keeps its files, and whether it runs for the first time.
#include <string>

namespace vp {

// The roaming application-data folder + AppName + "\"; not created here.
std::u16string DataFolder();
std::u16string IniFilePath();
// True when no INI file exists yet.
bool IsFirstRun();
// The folder of the running executable.
std::u16string AppFolder();
// The system folder with the given CSIDL number, with a trailing "\"; "" when the system
// cannot report it.
std::u16string SpecialFolder(int id, bool create);
std::u16string DocumentsFolder();
std::u16string DesktopFolder();
std::u16string StartMenuFolder();

} // namespace vp
