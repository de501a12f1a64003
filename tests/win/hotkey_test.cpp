#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <set>

#include "core/date_time.h"
#include "core/hotkey.h"
#include "platform/clock.h"
#include "platform/hooks.h"
#include "platform/hotkey.h"
#include "platform/locale.h"

using namespace vp;

namespace {
struct Window {
    HWND h = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ~Window() { DestroyWindow(h); }
};
} // namespace

TEST(MonitorHotKeyTest, RegistersUnderTheNamedAtomAndCleansUp) {
    Window first, second;
    const uint16_t shortCut = kShortCutCtrl | kShortCutAlt | kShortCutShift | 0x7B; // F12
    {
        MonitorHotKey hotKey;
        hotKey.Register(first.h, shortCut);
        ASSERT_NE(hotKey.Id(), 0);
        EXPECT_TRUE(hotKey.IsRegistered());
        EXPECT_TRUE(hotKey.IsHotKey(hotKey.Id()));
        EXPECT_FALSE(hotKey.IsHotKey(hotKey.Id() + 1));
        wchar_t name[64] = {};
        GlobalGetAtomNameW(hotKey.Id(), name, 64);
        EXPECT_STREQ(name, L"hotStartMonitor");

        // The same combination held elsewhere is not an error; it just never fires.
        MonitorHotKey other;
        other.Register(second.h, shortCut);
        EXPECT_FALSE(other.IsRegistered());
        other.Unregister();

        // Registering again (a changed hotkey) releases the old combination first.
        hotKey.Register(first.h, kShortCutCtrl | 0x7A);
        EXPECT_TRUE(hotKey.IsRegistered());
        other.Register(second.h, shortCut);
        EXPECT_TRUE(other.IsRegistered());
    }
    EXPECT_EQ(GlobalFindAtomW(L"hotStartMonitor"), 0);
    EXPECT_TRUE(RegisterHotKey(first.h, 1, kModControl | kModAlt | kModShift, 0x7B));
    UnregisterHotKey(first.h, 1);
}

TEST(MonitorHotKeyTest, ClearedHotKeyRegistersNothing) {
    Window w;
    MonitorHotKey hotKey;
    hotKey.Register(w.h, 0);
    EXPECT_FALSE(hotKey.IsRegistered());
    hotKey.Unregister();
    EXPECT_EQ(hotKey.Id(), 0);
}

TEST(ClockAndDraw, HooksReplaceTheClockAndTheDraw) {
    const double now = NowDateTime();
    const CivilDate today = DecodeDate(now);
    SYSTEMTIME t;
    GetLocalTime(&t);
    EXPECT_EQ(today, (CivilDate{t.wYear, t.wMonth, t.wDay}));

    hooks::Now = [] { return EncodeDate(2019, 3, 5); };
    hooks::Random = [](int range) { return range - 1; };
    EXPECT_EQ(NowDateTime(), EncodeDate(2019, 3, 5));
    EXPECT_EQ(RandomInt(600), 599);
    hooks::Now = nullptr;
    hooks::Random = nullptr;

    RandomizeFromClock();
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int draw = RandomInt(6);
        ASSERT_GE(draw, 0);
        ASSERT_LT(draw, 6);
        seen.insert(draw);
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(ClockAndDraw, RegionalDateSeparatorIsReadOnceAndKept) {
    const std::u16string& separator = RegionalDateSeparator();
    EXPECT_FALSE(separator.empty());
    EXPECT_EQ(&RegionalDateSeparator(), &separator);
    wchar_t buffer[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, buffer, 16);
    EXPECT_EQ(separator, std::u16string(reinterpret_cast<const char16_t*>(buffer)));
}
