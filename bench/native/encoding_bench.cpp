// Decoding and encoding a 10 MB text file against a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "core/encoding.h"

namespace {

constexpr size_t kSize = 10u << 20;

std::string Fill(const std::string& line) {
    std::string s;
    s.reserve(kSize + 128);
    while (s.size() + line.size() <= kSize)
        s += line;
    s.append(kSize - s.size(), 'x');
    return s;
}

// Prose with an accented letter or a symbol now and then, as a pad file mostly holds.
const std::string& ProseFile() {
    static const std::string bytes =
        Fill("Copied from the browser: the caf\xC3\xA9 opens at nine, tickets cost 12 euros.\r\n");
    return bytes;
}

// Dense non-ASCII: seven accented letters or symbols in every line.
const std::string& DenseFile() {
    static const std::string bytes = [] {
        std::string s;
        s.reserve(kSize + 128);
        const std::string line = "The quick brown fox jumps over the lazy dog, caf\xC3\xA9 "
                                 "cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                                 "e \xE2\x82\xAC 12.50\r\n";
        while (s.size() + line.size() <= kSize)
            s += line;
        s.append(kSize - s.size(), 'x');
        return s;
    }();
    return bytes;
}

const std::string& AsciiFile() {
    static const std::string bytes = [] {
        std::string s;
        const std::string line = "The quick brown fox jumps over the lazy dog, 0123456789.\r\n";
        while (s.size() + line.size() <= kSize)
            s += line;
        s.append(kSize - s.size(), 'x');
        return s;
    }();
    return bytes;
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSize);
}

// A fresh copy of the bytes, allocation included, as decoding and encoding also allocate.
void BM_PlainCopy(benchmark::State& state) {
    const std::string& src = DenseFile();
    for (auto _ : state) {
        std::string copy(src.size(), '\0');
        std::memcpy(copy.data(), src.data(), src.size());
        benchmark::DoNotOptimize(copy.data());
    }
    SetBytes(state);
}

// memcpy into a buffer that is already there: the floor.
void BM_MemcpyPreallocated(benchmark::State& state) {
    const std::string& src = DenseFile();
    std::string copy(src.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), src.data(), src.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

void BM_DecodeDenseFile(benchmark::State& state) {
    const std::string& src = DenseFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::DecodeText(src).data());
    SetBytes(state);
}

void BM_DecodeProseFile(benchmark::State& state) {
    const std::string& src = ProseFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::DecodeText(src).data());
    SetBytes(state);
}

void BM_EncodeProseFile(benchmark::State& state) {
    const std::u16string text = vp::DecodeText(ProseFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::EncodeText(text, true).data());
    SetBytes(state);
}

void BM_DecodeAsciiFile(benchmark::State& state) {
    const std::string& src = AsciiFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::DecodeText(src).data());
    SetBytes(state);
}

void BM_EncodeDenseFile(benchmark::State& state) {
    const std::u16string text = vp::DecodeText(DenseFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::EncodeText(text, true).data());
    SetBytes(state);
}

void BM_EncodeAsciiFile(benchmark::State& state) {
    const std::u16string text = vp::DecodeText(AsciiFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(vp::EncodeText(text, true).data());
    SetBytes(state);
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyPreallocated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeProseFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeProseFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeDenseFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeAsciiFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeDenseFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeAsciiFile)->Unit(benchmark::kMillisecond);

} // namespace
