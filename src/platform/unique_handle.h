#pragma once
// Move-only owners of Windows handles, in the manner of WIL's unique_any: one line
// declares each kind. Kinds whose "no handle" is null and kinds whose "no handle" is
// INVALID_HANDLE_VALUE are different types, so the two never mix.
//
//     UniqueHIcon icon(CreateIconIndirect(&info));
//     if (!icon) ThrowLastError(u"Cannot make the icon");
#include <windows.h>

#include <shellapi.h>

#include <utility>

namespace vp {

template <class Traits> class UniqueHandle {
  public:
    using Type = typename Traits::Type;
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Type Get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
    // Hands the handle over; this owner holds none afterwards.
    Type Release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    // For a call that hands a new handle out through a pointer; frees the one held first.
    Type* Put() noexcept {
        Reset();
        return &h_;
    }
    void Reset(Type h = Traits::Invalid()) noexcept {
        const Type old = std::exchange(h_, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

  private:
    Type h_ = Traits::Invalid();
};

template <class T, auto CloseFn> struct NullInvalidTraits {
    using Type = T;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { CloseFn(h); }
};

template <class T, auto CloseFn> struct InvalidValueTraits {
    using Type = T;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseFn(h); }
};

namespace detail {
inline void DeleteGdiObject(HGDIOBJ h) noexcept {
    DeleteObject(h);
}
} // namespace detail

// Kernel objects whose failure value is null (mutexes, events, processes).
using UniqueKernelHandle = UniqueHandle<NullInvalidTraits<HANDLE, CloseHandle>>;
// Files and find handles fail with INVALID_HANDLE_VALUE.
using UniqueHFile = UniqueHandle<InvalidValueTraits<HANDLE, CloseHandle>>;
using UniqueHFind = UniqueHandle<InvalidValueTraits<HANDLE, FindClose>>;
using UniqueHGlobal = UniqueHandle<NullInvalidTraits<HGLOBAL, GlobalFree>>;
using UniqueHKey = UniqueHandle<NullInvalidTraits<HKEY, RegCloseKey>>;
using UniqueHMenu = UniqueHandle<NullInvalidTraits<HMENU, DestroyMenu>>;
using UniqueHAccel = UniqueHandle<NullInvalidTraits<HACCEL, DestroyAcceleratorTable>>;
using UniqueHWnd = UniqueHandle<NullInvalidTraits<HWND, DestroyWindow>>;
using UniqueHIcon = UniqueHandle<NullInvalidTraits<HICON, DestroyIcon>>;
using UniqueHDrop = UniqueHandle<NullInvalidTraits<HDROP, DragFinish>>;
// A memory device context (CreateCompatibleDC); window DCs are released, not deleted.
using UniqueHDC = UniqueHandle<NullInvalidTraits<HDC, DeleteDC>>;
using UniqueHFont = UniqueHandle<NullInvalidTraits<HFONT, detail::DeleteGdiObject>>;
using UniqueHBitmap = UniqueHandle<NullInvalidTraits<HBITMAP, detail::DeleteGdiObject>>;
using UniqueHBrush = UniqueHandle<NullInvalidTraits<HBRUSH, detail::DeleteGdiObject>>;
using UniqueHPen = UniqueHandle<NullInvalidTraits<HPEN, detail::DeleteGdiObject>>;

// A window's device context (GetDC), released to the window it came from; null hwnd is
// the screen's.
class UniqueWindowDC {
  public:
    UniqueWindowDC() noexcept = default;
    explicit UniqueWindowDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    UniqueWindowDC(UniqueWindowDC&& other) noexcept
        : hwnd_(other.hwnd_), dc_(std::exchange(other.dc_, nullptr)) {}
    UniqueWindowDC& operator=(UniqueWindowDC&& other) noexcept {
        if (this != &other) {
            Reset();
            hwnd_ = other.hwnd_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    UniqueWindowDC(const UniqueWindowDC&) = delete;
    UniqueWindowDC& operator=(const UniqueWindowDC&) = delete;
    ~UniqueWindowDC() { Reset(); }

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void Reset() noexcept {
        if (HDC dc = std::exchange(dc_, nullptr))
            ReleaseDC(hwnd_, dc);
    }

  private:
    HWND hwnd_ = nullptr;
    HDC dc_ = nullptr;
};

} // namespace vp
