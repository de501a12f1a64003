#pragma once
// One move-only owner for every kind of system handle. A kind is a traits struct that
// names the handle type, its invalid value and how to close it:
//
//     struct HInternetTraits { using Type = HINTERNET; static Type Invalid() ...; static void
//     Close(Type) ...; }; using UniqueHInternet = UniqueHandle<HInternetTraits>;
#include <utility>

namespace vp {

template <class Traits> class UniqueHandle {
  public:
    using Type = typename Traits::Type;
    UniqueHandle() = default;
    explicit UniqueHandle(Type h) : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Type Get() const { return h_; }
    bool Valid() const { return h_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }
    Type Release() { return std::exchange(h_, Traits::Invalid()); }
    void Reset(Type h = Traits::Invalid()) {
        if (Valid())
            Traits::Close(h_);
        h_ = h;
    }

  private:
    Type h_ = Traits::Invalid();
};

} // namespace vp
