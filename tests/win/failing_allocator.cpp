#include "failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> countdown{0};
} // namespace

void* operator new(std::size_t size) {
    if (countdown.load(std::memory_order_relaxed) > 0 && --countdown == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vp::test {

void FailAllocation(long n) {
    countdown = n;
}

int EachAllocationFails(const std::function<void()>& call, const std::function<void()>& check) {
    int failed = 0;
    for (long n = 1;; ++n) {
        bool threw = false;
        FailAllocation(n);
        try {
            call();
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        FailAllocation(0);
        check();
        if (!threw)
            return failed;
        ++failed;
    }
}

} // namespace vp::test
