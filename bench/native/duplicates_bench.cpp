// The duplicate test over a 10 MB pad, against a plain case-sensitive search of the
// same bytes. The entry is absent, so every search reads the whole pad.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/duplicates.h"
#include "core/text.h"

namespace {

const std::u16string& Pad() {
    static const std::u16string pad = [] {
        const char16_t* words[] = {u"the",  u"Clipboard", u"text", u"of",     u"a",
                                   u"line", u"Entry",     u"and",  u"copied", u"pad",
                                   u"café", u"Window",    u"to",   u"se",     u"é"};
        std::mt19937 rng(42);
        std::u16string text;
        const size_t units = 10u * 1024 * 1024 / sizeof(char16_t);
        size_t lineLength = 0;
        while (text.size() < units) {
            text += words[rng() % std::size(words)];
            lineLength += 6;
            if (lineLength > 60 + rng() % 40) {
                text += u"\r\n";
                lineLength = 0;
            } else {
                text += u' ';
            }
        }
        text.resize(units);
        return text;
    }();
    return pad;
}

constexpr std::u16string_view kEntry = u"the entry nobody copied before";

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Pad().size() * sizeof(char16_t)));
}

void BM_PlainFind(benchmark::State& state) {
    const std::u16string_view pad = Pad();
    for (auto _ : state)
        benchmark::DoNotOptimize(pad.find(kEntry));
    SetBytes(state);
}

void BM_Anywhere(benchmark::State& state) {
    const std::u16string_view pad = Pad();
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::ContainsNoCase(pad, kEntry));
    SetBytes(state);
}

void BM_WholeLine(benchmark::State& state) {
    const std::u16string_view pad = Pad();
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::HasEqualLine(pad, kEntry));
    SetBytes(state);
}

// The general-purpose helper, for comparison.
void BM_PosNoCase(benchmark::State& state) {
    const std::u16string_view pad = Pad();
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::PosNoCase(kEntry, pad));
    SetBytes(state);
}

BENCHMARK(BM_PlainFind)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Anywhere)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PosNoCase)->Unit(benchmark::kMillisecond);

} // namespace
