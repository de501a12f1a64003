// The pad search over 100 MB of UTF-16 text, against the library's own search and a plain
// scan of the same bytes. The needle is absent, so every search reads the whole text.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "core/search.h"

namespace {

const std::u16string& Text() {
    static const std::u16string text = [] {
        const char16_t* words[] = {u"the",  u"Clipboard", u"text", u"of",     u"a",
                                   u"line", u"Entry",     u"and",  u"copied", u"pad",
                                   u"café", u"Window",    u"to",   u"se",     u"é"};
        std::mt19937 rng(7);
        std::u16string t;
        const size_t units = 100u * 1024 * 1024 / sizeof(char16_t);
        t.reserve(units + 16);
        size_t lineLength = 0;
        while (t.size() < units) {
            t += words[rng() % std::size(words)];
            lineLength += 6;
            if (lineLength > 60 + rng() % 40) {
                t += u"\r\n";
                lineLength = 0;
            } else {
                t += u' ';
            }
        }
        t.resize(units);
        return t;
    }();
    return text;
}

constexpr std::u16string_view kNeedle = u"the entry nobody copied before";

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Text().size() * sizeof(char16_t)));
}

void BM_U16StringViewFind(benchmark::State& state) {
    const std::u16string_view text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(text.find(kNeedle));
    SetBytes(state);
}

// The floor: one pass over the bytes looking for a byte that is not there.
void BM_PlainByteScan(benchmark::State& state) {
    const std::u16string& text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(std::memchr(text.data(), 0x7F, text.size() * sizeof(char16_t)));
    SetBytes(state);
}

void BM_FindMatchCase(benchmark::State& state) {
    const std::u16string_view text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::FindMatch(text, kNeedle, 0, {.matchCase = true}));
    SetBytes(state);
}

void BM_FindFoldedCase(benchmark::State& state) {
    const std::u16string_view text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::FindMatch(text, kNeedle, 0, {}));
    SetBytes(state);
}

void BM_FindFoldedWholeWordBackward(benchmark::State& state) {
    const std::u16string_view text = Text();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vp::FindMatch(text, kNeedle, text.size(), {.wholeWord = true, .backward = true}));
    SetBytes(state);
}

} // namespace

BENCHMARK(BM_PlainByteScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_U16StringViewFind)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindFoldedCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindFoldedWholeWordBackward)->Unit(benchmark::kMillisecond);
