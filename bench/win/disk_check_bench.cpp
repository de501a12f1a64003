// What the look at the category file before each save costs: one capture into a 1 MB pad,
// beside the attribute queries that look takes, the capture less them, and a capture that
// finds the file changed by another program and reloads it first.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench_clock.h"
#include "bench_form.h"
#include "core/encoding.h"
#include "core/file_version.h"
#include "core/int_text.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/wstr.h"

using namespace vp;

namespace {

// A capture looks three times: before it adds the entry, before its save, and once the new
// version is ready to go over the file.
constexpr int kQueriesPerCapture = 3;

} // namespace

int main() {
    const std::u16string dir = BenchFolder(u"vp_disk_check_bench");
    const auto owner = OpenCollectingForm(dir, u"unused.txt");
    TMainForm& form = *owner;
    auto& pad = *form.mmoClipboard;
    const std::u16string file = dir + u"Main category.txt";

    const std::u16string line = std::u16string(78, u'p') + u"\r\n";
    std::u16string text;
    while (text.size() + line.size() <= (1u << 20))
        text += line;
    pad.SetText(text);
    form.actSaveExecute();

    long long serial = 0;
    auto capture = [&] {
        SetClipboardText(u"entry number " + IntToText(++serial) + u" of the benchmark");
        const double t0 = Now();
        SendMessageW(form.Handle(), WM_DRAWCLIPBOARD, 0, 0);
        return Now() - t0;
    };
    std::vector<double> checked, reloaded, queries;
    for (int i = 0; i < 9; ++i)
        checked.push_back(capture());
    for (int i = 0; i < 9; ++i) {
        const double t0 = Now();
        for (int q = 0; q < 1000; ++q)
            if (!QueryFileStamp(file).exists)
                return 1;
        queries.push_back((Now() - t0) / 1000.0);
    }
    // The save hashes the bytes it writes, so that a rewrite of the same bytes is no change.
    std::vector<double> hashes;
    const std::string bytes = EncodeText(pad.Text(), true);
    uint64_t sink = 0;
    for (int i = 0; i < 9; ++i) {
        const double t0 = Now();
        sink ^= HashBytes(bytes);
        hashes.push_back(Now() - t0);
    }
    for (int i = 0; i < 5; ++i) {
        // Another program appends a line in place.
        HANDLE h = CreateFileW(W(file), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
        DWORD written = 0;
        WriteFile(h, "outside\r\n", 9, &written, nullptr);
        CloseHandle(h);
        reloaded.push_back(capture());
    }
    const double c = Median(checked), q = Median(queries) * kQueriesPerCapture, h = Median(hashes);
    std::printf("pad %zu units, 1 MB file\n", pad.TextLength());
    std::printf("%-52s %10.3f ms\n", "one capture, with the check", c);
    std::printf("%-52s %10.3f ms\n", "the check: 3 attribute queries", q);
    std::printf("%-52s %10.3f ms\n", "hashing the bytes the save writes", h);
    std::printf("%-52s %10.3f ms\n", "the same capture without the check (less both)", c - q - h);
    std::printf("%-52s %10.3f ms\n", "one capture after an outside append (reload first)",
                Median(reloaded));
    std::printf("entries collected: %d (expected %lld)%s\n", form.CollectedCount(), serial,
                sink == 1 ? " " : "");
    form.SaveBeforeExit();
    return 0;
}
