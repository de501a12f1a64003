// The memory a save of a 50 M-unit pad needs beside the pad itself: WriteTextFile, which
// encodes a piece at a time, and then the whole text encoded at once, as saves did before.
// Both write the same bytes; each figure is the growth of the peak working set.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

#include "bench_clock.h"
#include "core/app_name.h"
#include "core/encoding.h"
#include "platform/files.h"
#include "platform/wstr.h"

using namespace vp;

namespace {} // namespace

int main() {
    AppName = kProgramName;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::u16string dir = U(temp) + u"vp_save_memory_bench\\";
    EnsureFolder(dir);
    const std::u16string line = u"a caf\u00E9 line of the pad, as copied from a web page\r\n";
    std::u16string text;
    text.reserve(50u << 20);
    while (text.size() + line.size() <= (50u << 20))
        text += line;
    const double base = PeakMB();
    std::printf("pad text %zu units (%.0f MB as UTF-16); peak working set %.1f MB\n", text.size(),
                static_cast<double>(text.size() * 2) / 1048576.0, base);

    WriteTextFile(dir + u"pieces.txt", text, true, true);
    const double pieces = PeakMB();
    std::printf("WriteTextFile, a piece at a time:   peak grows by %6.1f MB\n", pieces - base);

    {
        const std::string bytes = EncodeText(text, true);
        HANDLE h = CreateFileW(W(dir + u"whole.txt"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                               nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    std::printf("the whole text encoded at once:     peak grows by %6.1f MB\n", PeakMB() - pieces);
    const bool same = ReadTextFile(dir + u"pieces.txt") == ReadTextFile(dir + u"whole.txt");
    std::printf("the two files read back %s\n", same ? "the same" : "DIFFERENTLY");
    DeleteFileW(W(dir + u"pieces.txt"));
    DeleteFileW(W(dir + u"whole.txt"));
    RemoveDirectoryW(W(dir));
    return 0;
}
