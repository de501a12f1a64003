#pragma once
// Helpers shared by the Windows tests: captured effects, scratch files and message pumps.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/hooks.h"
#include "platform/wstr.h"
#include "ui/window.h"

namespace vp::test {

// Captures what would have been shown or sounded, for the life of one test.

struct ShownBox {
    std::u16string text, caption;
    unsigned flags;
};

struct Tone {
    unsigned frequency, duration; // frequency 0: a silent pause
};

class CaptureEffects {
  public:
    CaptureEffects() {
        hooks::MessageBox = [this](const std::u16string& t, const std::u16string& c, unsigned f) {
            boxes.push_back({t, c, f});
            return 1;
        };
        hooks::Beep = [this](unsigned f, unsigned d) { tones.push_back({f, d}); };
        hooks::Sleep = [this](unsigned ms) { tones.push_back({0, ms}); };
    }
    ~CaptureEffects() {
        hooks::MessageBox = nullptr;
        hooks::Beep = nullptr;
        hooks::Sleep = nullptr;
    }
    std::vector<ShownBox> boxes;
    std::vector<Tone> tones;
};

// A file's bytes exactly as stored, without the program's own reading in between;
// "<missing>" when it cannot be opened, so a missing file fails a comparison readably.
inline std::string ReadBytes(const std::u16string& fileName) {
    HANDLE h =
        CreateFileW(W(fileName), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    bytes.resize(read);
    return bytes;
}

// Writes a fixture byte for byte, so encodings and marks are the test's own choice.
inline void WriteBytes(const std::u16string& fileName, const std::string& bytes) {
    HANDLE h = CreateFileW(W(fileName), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

// Deletes a folder (given with its trailing backslash) and all it holds. Read-only marks
// are cleared first: tests set them to make writes fail and must not leave debris behind.
inline void RemoveTree(const std::u16string& folder) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(W(folder + u"*"), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string name = U(fd.cFileName);
            if (name == u"." || name == u"..")
                continue;
            const std::u16string path = folder + name;
            SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + u"\\");
            else
                DeleteFileW(W(path));
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(W(folder));
}

// The system's folder for temporary files, with its trailing backslash.
inline std::u16string TempPath() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    return U(buffer, n);
}

// A name for a scratch folder in the temporary folder, not yet created. The process id and
// a counter keep tests and parallel runs apart; a name left over from an earlier run whose
// process had the same id is skipped.
inline std::u16string NewTempFolder(const std::u16string& prefix) {
    static unsigned serial = 0;
    const std::u16string base =
        TempPath() + prefix + U(std::to_wstring(GetCurrentProcessId()).c_str()) + u"_";
    for (;;) {
        const std::u16string folder = base + U(std::to_wstring(++serial).c_str()) + u"\\";
        if (GetFileAttributesW(W(folder)) == INVALID_FILE_ATTRIBUTES)
            return folder;
    }
}

// Delivers every message already waiting.
inline void Pump() {
    while (ui::ProcessPendingMessages()) {
    }
}

// Delivers messages until done() holds or the time runs out; true when done() held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

// Delivers messages for a while, resting between rounds; timers that fall due are served.
inline void PumpFor(DWORD ms, DWORD restMs = 5) {
    const DWORD start = GetTickCount();
    do {
        Pump();
        Sleep(restMs);
    } while (GetTickCount() - start < ms);
}

} // namespace vp::test
