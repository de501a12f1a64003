#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "core/scope_exit.h"
#include "ui/events.h"

using namespace vp;
using namespace vp::ui;

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
