#include <gtest/gtest.h>
#include <windows.h>

#include "platform/unique_handle.h"

using namespace vp;

TEST(UniqueHandle, OwnsOneHandleAndClosesItOnceWhenMoved) {
    UniqueKernelHandle a(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(a);
    const HANDLE raw = a.Get();
    UniqueKernelHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), raw);
    b.Reset();
    EXPECT_FALSE(b);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "closed when the owner let go";
    // The file kind takes INVALID_HANDLE_VALUE as "none" and never closes it.
    UniqueHFile none(CreateFileW(L"Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(none);
    EXPECT_EQ(none.Get(), INVALID_HANDLE_VALUE);
}

TEST(UniqueHandle, TheWindowKindsFreeTheirHandles) {
    UniqueHWnd window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    const HWND hwnd = window.Get();
    {
        UniqueWindowDC dc(hwnd);
        ASSERT_TRUE(dc);
        EXPECT_EQ(WindowFromDC(dc.Get()), hwnd) << "the DC of the window asked for";
        const HDC raw = dc.Get();
        UniqueWindowDC moved(std::move(dc));
        EXPECT_FALSE(dc);
        EXPECT_EQ(moved.Get(), raw);
        moved.Reset();
        EXPECT_FALSE(moved);
        EXPECT_EQ(WindowFromDC(raw), nullptr) << "released to its window";
    }
    EXPECT_TRUE(UniqueWindowDC(nullptr)) << "the screen's";

    ACCEL entry{FVIRTKEY | FCONTROL, 'S', 1};
    UniqueHAccel table(CreateAcceleratorTableW(&entry, 1));
    ASSERT_TRUE(table);
    const HACCEL rawTable = table.Get();
    EXPECT_EQ(CopyAcceleratorTableW(rawTable, nullptr, 0), 1);
    table.Reset();
    EXPECT_EQ(CopyAcceleratorTableW(rawTable, nullptr, 0), 0) << "destroyed";

    window.Reset();
    EXPECT_FALSE(IsWindow(hwnd)) << "destroyed";
}

TEST(UniqueHandle, ARegistryKeyComesThroughPutAndCloses) {
    const wchar_t* path = L"Software\\Velmor Pasquill Tests\\UniqueHandle";
    UniqueHKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_TRUE(key);
    const HKEY first = key.Get();
    EXPECT_EQ(RegQueryInfoKeyW(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    // Put frees the key held before it hands out the place for the next.
    HKEY* slot = key.Put();
    EXPECT_FALSE(key);
    EXPECT_NE(RegQueryInfoKeyW(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, slot), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    key.Reset();
    RegDeleteKeyW(HKEY_CURRENT_USER, path);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Velmor Pasquill Tests");
}
