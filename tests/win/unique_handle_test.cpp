#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <stdexcept>

#include "core/scope_exit.h"
#include "platform/unique_handle.h"
#include "ui/events.h"

using namespace vp;
using namespace vp::ui;

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

TEST(Events, RaiseCallsThroughACopyAndMuteEventRestoresTheHandler) {
    int calls = 0;
    std::function<void()> event;
    Raise(event); // no handler: nothing happens
    event = [&] {
        ++calls;
        event = nullptr; // a handler may clear its own event while it runs
    };
    Raise(event);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(event);

    event = [&] { ++calls; };
    try {
        MuteEvent quiet(event);
        Raise(event);
        throw std::runtime_error("fails while muted");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(calls, 1) << "muted";
    Raise(event);
    EXPECT_EQ(calls, 2) << "restored although the scope ended by an exception";

    int cleanups = 0;
    {
        ScopeExit done([&] { ++cleanups; });
        ScopeExit dropped([&] { ++cleanups; });
        dropped.Release();
    }
    EXPECT_EQ(cleanups, 1);
}
