// From a clipboard change to the category file written, for pads of growing size, beside
// the time merely to write a file of the pad's size; and the peak memory at the end.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench_clock.h"
#include "bench_form.h"
#include "core/app_name.h"
#include "core/int_text.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/hooks.h"
#include "platform/wstr.h"

using namespace vp;

namespace {

// Peak figures so far; the first call, once the pad is full, shows the control's own share.
void PrintPeak(const char* when) {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc)))
        std::printf("%s: peak working set %.1f MB, peak pagefile usage %.1f MB\n", when,
                    static_cast<double>(pmc.PeakWorkingSetSize) / 1048576.0,
                    static_cast<double>(pmc.PeakPagefileUsage) / 1048576.0);
}
} // namespace

int main() {
    const std::u16string dir = BenchFolder(u"vp_capture_bench");
    const auto owner = OpenCollectingForm(dir, u"plain write.txt");
    TMainForm& form = *owner;
    auto& pad = *form.mmoClipboard;

    const std::u16string line = std::u16string(78, u'p') + u"\r\n";
    struct Size {
        const char* label;
        size_t units;
    };
    const Size sizes[] = {
        {"1 KB", 1024}, {"1 MB", 1u << 20}, {"10 MB", 10u << 20}, {"50 MB", 50u << 20}};
    std::printf("%-6s %-10s %12s %12s %8s\n", "pad", "mode", "capture ms", "write ms", "ratio");
    long long serial = 0;
    for (const Size& size : sizes) {
        // Grow the pad at its end, a chunk at a time: cheap, unlike setting a huge text.
        std::u16string chunk;
        while (chunk.size() + line.size() <= (1u << 20))
            chunk += line;
        while (pad.TextLength() + line.size() <= size.units) {
            const size_t room = size.units - pad.TextLength();
            std::u16string piece =
                chunk.substr(0, std::min(chunk.size(), room / line.size() * line.size()));
            if (piece.empty())
                break;
            const size_t end = pad.TextLength();
            pad.SetSel(end, end);
            pad.ReplaceSel(piece, false);
        }
        if (&size == &sizes[std::size(sizes) - 1])
            PrintPeak("pad filled, before its writes and captures");
        // The same text straight from the control's buffer: no copy of the bench's own
        // weighs on the peak memory below.
        std::vector<double> writes;
        for (int i = 0; i < 5; ++i) {
            const size_t length = pad.TextLength();
            auto handle = reinterpret_cast<HLOCAL>(SendMessageW(pad.Handle(), EM_GETHANDLE, 0, 0));
            const auto* text = static_cast<const char16_t*>(LocalLock(handle));
            const double t0 = Now();
            WriteTextFile(dir + u"plain write.txt", {text, length}, true, true);
            writes.push_back(Now() - t0);
            LocalUnlock(handle);
        }
        for (bool anywhere : {false, true}) {
            form.chkWeakDupe->SetChecked(anywhere);
            std::vector<double> captures;
            for (int i = 0; i < 5; ++i) {
                SetClipboardText(u"entry number " + IntToText(++serial) + u" of the benchmark");
                const double t0 = Now();
                SendMessageW(form.Handle(), WM_DRAWCLIPBOARD, 0, 0);
                captures.push_back(Now() - t0);
            }
            const double c = Median(captures), w = Median(writes);
            std::printf("%-6s %-10s %12.2f %12.2f %8.2f\n", size.label,
                        anywhere ? "anywhere" : "whole-line", c, w, c / w);
            std::fflush(stdout);
        }
    }
    std::printf("entries collected: %d (expected %lld)\n", form.CollectedCount(), serial);
    std::printf("pad %zu units\n", pad.TextLength());
    PrintPeak("at the end");
    form.SaveBeforeExit();
    DeleteFileW(W(dir + u"plain write.txt"));
    return 0;
}
