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
