// Saving the whole state of a window: about 60 keys of mixed kinds through one
// TVelmorIniFile into a real file, as the program does at shutdown.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/app_name.h"
#include "platform/ini_file.h"
#include "platform/wstr.h"

using namespace vp;

namespace {

const char16_t* const kChecks[] = {
    u"radHintsOff",
    u"radHintsTooltips",
    u"radHintsStatBar",
    u"chkAutoStartUp",
    u"chkTrayIcon",
    u"chkClearClpbrd",
    u"chkClearOnStart",
    u"chkAutoMonitor",
    u"chkMonitorWarn",
    u"chkTrim",
    u"chkDate",
    u"chkBackup",
    u"chkNoDuplicate",
    u"chkDuplicateBip",
    u"chkWeakDupe",
    u"mnuFile",
    u"mnuExit2",
    u"mnuCollectedtext",
    u"mnuSave",
    u"mnuSaveAs",
    u"N2",
    u"mnuClrMemo",
    u"mnuSortLines",
    u"mnuOp",
    u"mnuMonitor",
    u"mnuClearClipboard",
    u"mnuHelp",
    u"mnuProgramPage",
    u"mnuCompanyPage",
    u"mnuSeparatorOrder",
    u"mnuManual",
    u"mnuCopy",
    u"mnuClear",
    u"N3",
    u"mnuExit",
    u"actToggleMonitor",
    u"actSaveAs",
    u"actSave",
    u"actClearText",
    u"actSortLines",
};

void SaveWindowState(const std::u16string& path, int run, bool batched) {
    TVelmorIniFile ini(u"MainForm", path);
    if (batched)
        ini.BeginUpdate();
    const std::u16string s = u"QRT/Soft";
    ini.WriteInteger(s, u"MainForm-WindowState", 0);
    ini.WriteInteger(s, u"MainForm-Top", 120 + run);
    ini.WriteInteger(s, u"MainForm-Left", 200);
    ini.WriteInteger(s, u"MainForm-ClWidth", 780);
    ini.WriteInteger(s, u"MainForm-ClHeight", 560);
    ini.Write(u"FormFont", IniFont{u"Segoe UI", 1, 0, 9, 0});
    ini.WriteInteger(s, u"PageControl", run % 5);
    ini.WriteInteger(s, u"SplitterLeft", 180);
    ini.WriteInteger(s, u"spnHideHint", 7);
    ini.WriteInteger(s, u"spnOpacity", 255);
    ini.WriteInteger(s, u"hotMonitor", 0x4078);
    ini.WriteString(s, u"PathBackup",
                    u"C:\\Users\\someone\\Documents\\Velmor Pasquill\\backup.temp");
    for (const char16_t* name : kChecks)
        ini.WriteBool(s, name, (run + name[3]) % 2 == 0);
    if (batched)
        ini.EndUpdate();
}

} // namespace

int main() {
    AppName = kProgramName;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::u16string folder =
        U(temp) + u"vp-ini-bench-" + std::u16string(1, u'a' + GetCurrentProcessId() % 26) + u"\\";
    CreateDirectoryW(W(folder), nullptr);
    const std::u16string path = folder + u"Velmor Pasquill.ini";
    DeleteFileW(W(path));

    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    auto ms = [&](LONGLONG ticks) { return 1000.0 * static_cast<double>(ticks) / freq.QuadPart; };

    auto measure = [&](bool batched, const char* label) {
        DeleteFileW(W(path));
        const int runs = 10;
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            LARGE_INTEGER a, b;
            QueryPerformanceCounter(&a);
            SaveWindowState(path, run, batched);
            QueryPerformanceCounter(&b);
            times.push_back(ms(b.QuadPart - a.QuadPart));
        }
        HANDLE h =
            CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        std::string bytes(GetFileSize(h, nullptr), '\0');
        DWORD read = 0;
        ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(h);
        const auto keys = std::count(bytes.begin(), bytes.end(), '=');
        std::printf("ini %s: whole window state, %d keys, one TVelmorIniFile, real file\n", label,
                    static_cast<int>(keys));
        std::printf("ini %s: runs (first on a new file):", label);
        for (double t : times)
            std::printf(" %.2f", t);
        std::vector<double> sorted(times.begin() + 1, times.end());
        std::sort(sorted.begin(), sorted.end());
        std::printf(" ms\nini %s: later runs min %.2f, median %.2f, max %.2f ms (target < 50 ms)\n",
                    label, sorted.front(), sorted[sorted.size() / 2], sorted.back());
    };
    measure(true, "batched (BeginUpdate/EndUpdate)");
    measure(false, "file replaced per key");
    DeleteFileW(W(path));
    RemoveDirectoryW(W(folder));
    return 0;
}
