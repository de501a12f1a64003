// Appending 1 KB at the end of pads of growing size: the cost should follow the
// appended text, not the pad.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/velmor_memo.h"

using namespace vp::ui;

int main() {
    TForm form(u"BenchForm", {.caption = u"Pad append benchmark"});
    auto& memo = form.Create<TVelmorMemo>(form, u"mmoClipboard", {0, 0, 500, 300},
                                          {.wordWrap = false, .hScroll = true});
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    auto now = [] {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        return t.QuadPart;
    };
    const std::u16string entry(1022, u'e'); // + CR LF = 1 KB of text
    for (size_t megabytes : {1u, 10u, 50u}) {
        std::u16string pad;
        pad.reserve(megabytes * 1024 * 1024);
        const std::u16string line = std::u16string(78, u'p') + u"\r\n";
        while (pad.size() + line.size() <= megabytes * 1024 * 1024)
            pad += line;
        const auto t0 = now();
        memo.SetText(pad);
        const auto t1 = now();
        constexpr int kAppends = 20;
        for (int i = 0; i < kAppends; ++i)
            memo.AddLine(entry);
        const auto t2 = now();
        std::printf(
            "pad %3zu MB: set %8.1f ms, append 1 KB %8.3f ms each (%d appends)\n", megabytes,
            1000.0 * static_cast<double>(t1 - t0) / static_cast<double>(freq.QuadPart),
            1000.0 * static_cast<double>(t2 - t1) / static_cast<double>(freq.QuadPart) / kAppends,
            kAppends);
        std::fflush(stdout);
    }
    return 0;
}
