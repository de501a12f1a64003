#pragma once
// Owning pointer to a COM interface, and the COM apartment of one scope.
#include <objbase.h>

#include <utility>

namespace vp {

template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { Reset(); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Releases what is held and lends the slot to a function that hands out a reference.
    T** Put() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }

  private:
    T* p_ = nullptr;
};

// Joins the calling thread to a single-threaded apartment for this scope. A thread
// that is already in one (of either kind) keeps it.
class ComScope {
  public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }

  private:
    HRESULT hr_;
};

} // namespace vp
