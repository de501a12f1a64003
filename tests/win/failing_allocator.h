#pragma once
// Allocation failures on demand: the test executable replaces the global operator new, so
// a call under test meets a real std::bad_alloc at each of its allocations in turn.
//
//     EachAllocationFails([&] { RemoveLeftoverTempFiles(dir); },
//                         [&] { EXPECT_EQ(Handles(), before); });
#include <functional>

namespace vp::test {

// The n-th allocation from now on (1: the next one) throws std::bad_alloc; 0 disarms.
void FailAllocation(long n);

// Runs call once for each of its allocations, that allocation failing, and then once with
// none failing; check runs after every round. Returns the rounds that threw bad_alloc.
int EachAllocationFails(const std::function<void()>& call, const std::function<void()>& check);

} // namespace vp::test
