#include "platform/clock.h"

#include <windows.h>

#include <random>

#include "core/date_time.h"
#include "core/errors.h"
#include "platform/hooks.h"

namespace vp {

namespace hooks {
NowFn Now;
RandomFn Random;
} // namespace hooks

namespace {
std::mt19937& Generator() {
    static std::mt19937 generator;
    return generator;
}
} // namespace

double NowDateTime() {
    if (hooks::Now)
        return hooks::Now();
    SYSTEMTIME t;
    GetLocalTime(&t);
    return EncodeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                          t.wMilliseconds);
}

void RandomizeFromClock() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<unsigned long long>(counter.QuadPart);
    std::seed_seq seed{static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32),
                       static_cast<unsigned>(GetTickCount())};
    Generator().seed(seed);
}

int RandomInt(int range) {
    Assert(range > 0, u"cRandom", u"Invalid random range!");
    if (hooks::Random)
        return hooks::Random(range);
    return std::uniform_int_distribution<int>(0, range - 1)(Generator());
}

} // namespace vp
