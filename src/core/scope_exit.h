#pragma once
// Runs a piece of clean-up when the scope ends, however it ends.
//
//     auto restore = ScopeExit([&] { SelectObject(dc, old); });
#include <utility>

namespace vp {

template <class F> class [[nodiscard]] ScopeExit {
  public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() {
        if (armed_)
            f_();
    }
    // The clean-up is no longer wanted.
    void Release() { armed_ = false; }

  private:
    F f_;
    bool armed_ = true;
};

} // namespace vp
