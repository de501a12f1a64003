// "Find next" in a 50 M-unit pad, end to end (the pad read in place, the match selected and
// scrolled to), beside the edit control's own select-and-scroll to the same place, its
// floor; then "Find in all categories" over 100 category files of 1 MB each.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/frm_find_all.h"
#include "bench_clock.h"
#include "bench_form.h"
#include "platform/files.h"
#include "platform/wstr.h"

using namespace vp;

namespace {

std::u16string Lines(size_t units, const std::u16string& line) {
    std::u16string text;
    text.reserve(units);
    while (text.size() + line.size() <= units)
        text += line;
    return text;
}

void FindNext(TMainForm& form) {
    const std::u16string needle = u"the needle at the end";
    std::u16string text =
        Lines(50u << 20, u"a caf\u00E9 line of the pad, as copied from a web page\r\n");
    const size_t at = text.size() - 1000;
    text.replace(at, needle.size(), needle);
    form.mmoClipboard->SetText(text);
    text.clear();
    text.shrink_to_fit();
    HWND edit = form.mmoClipboard->Handle();
    std::vector<double> floor, exact, folded;
    for (int round = 0; round < 5; ++round) {
        form.mmoClipboard->SetSel(0, 0);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        double t0 = Now();
        form.mmoClipboard->SetSel(at, at + needle.size());
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        floor.push_back(Now() - t0);
        for (bool matchCase : {true, false}) {
            form.mmoClipboard->SetSel(0, 0);
            SendMessageW(edit, EM_SCROLLCARET, 0, 0);
            form.SetSearch(needle, matchCase, false);
            t0 = Now();
            form.actFindNext->Execute();
            (matchCase ? exact : folded).push_back(Now() - t0);
            if (form.mmoClipboard->SelStart() != at)
                std::printf("(the match was not selected)\n");
        }
    }
    std::printf("pad of %zu units, match %zu units from the end (median of 5)\n",
                form.mmoClipboard->TextLength(), form.mmoClipboard->TextLength() - at);
    std::printf("  edit control: select and scroll (floor) %8.1f ms\n", Median(floor));
    std::printf("  Find next, match case                   %8.1f ms  (%.2fx the floor)\n",
                Median(exact), Median(exact) / Median(floor));
    std::printf("  Find next, any case                     %8.1f ms  (%.2fx the floor)\n",
                Median(folded), Median(folded) / Median(floor));
}

int FindAll() {
    const std::u16string dir = BenchFolder(u"vp_find_all_bench");
    constexpr int kFiles = 100;
    std::u16string list;
    const std::u16string body =
        Lines(1u << 20, u"a line of text collected from a page, word after word\r\n");
    EnsureFolder(dir);
    for (int i = 0; i < kFiles; ++i) {
        const std::u16string name =
            u"Category " + std::u16string(1, u'A' + i / 26) + std::u16string(1, u'a' + i % 26);
        list += name + u"\r\n";
        // 1 MB of UTF-8 on disk, with ten matches spread through it.
        std::u16string text = body;
        for (size_t k = 1; k <= 10; ++k)
            text.replace(k * (text.size() / 11), 6, u"needle");
        WriteTextFile(dir + name + u".txt", text, true, false);
    }
    WriteTextFile(dir + u"Categories.list", list, true, true);
    auto form = OpenBenchForm(dir);
    form->SetSearch(u"needle", false, false);
    std::vector<double> times;
    size_t rows = 0;
    for (int round = 0; round < 4; ++round) {
        const double t0 = Now();
        form->actFindAll->Execute();
        form->FindAllWindow()->WaitUntilDone();
        times.push_back(Now() - t0);
        rows = form->FindAllWindow()->Rows().size();
    }
    const double cold = times.front();
    times.erase(times.begin());
    std::printf("%d category files of 1 MB, %zu matches listed\n", kFiles, rows);
    std::printf("  first search (files cold in this process) %8.1f ms\n", cold);
    std::printf("  warm, median of 3                         %8.1f ms, %.2f ms a file\n",
                Median(times), Median(times) / kFiles);
    // The same without a match: the reading and the search, no list to fill.
    form->FindAllWindow()->SetSearch(u"absent text", false, false);
    std::vector<double> none;
    for (int round = 0; round < 3; ++round) {
        const double t0 = Now();
        form->FindAllCategories();
        form->FindAllWindow()->WaitUntilDone();
        none.push_back(Now() - t0);
    }
    std::printf("  warm, a text found nowhere                %8.1f ms, %.2f ms a file\n",
                Median(none), Median(none) / kFiles);
    // What one file costs before any search: the program's own reading and decoding.
    std::vector<double> reads;
    size_t units = 0;
    for (int i = 0; i < 10; ++i) {
        const double t0 = Now();
        units = ReadTextFile(dir + u"Category Ab.txt").size();
        reads.push_back(Now() - t0);
    }
    std::printf("  of which reading one file (%zu units)    %8.2f ms\n", units, Median(reads));
    form.reset();
    return 0;
}

} // namespace

int main() {
    {
        const std::u16string dir = BenchFolder(u"vp_find_next_bench");
        const auto form = OpenCollectingForm(dir, u"Main category.txt");
        form->Show(SW_SHOW);
        FindNext(*form);
        form->mmoClipboard->Clear();
    }
    std::fflush(stdout);
    return FindAll();
}
