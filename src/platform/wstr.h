#pragma once
// The one bridge between the program's UTF-16 strings and the wide Win32 API.
#include <string>
#include <string_view>

namespace vp {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be UTF-16");

inline const wchar_t* W(const std::u16string& s) {
    return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline wchar_t* W(char16_t* s) {
    return reinterpret_cast<wchar_t*>(s);
}
inline std::u16string U(const wchar_t* s) {
    return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline std::u16string U(const wchar_t* s, size_t n) {
    return std::u16string(reinterpret_cast<const char16_t*>(s), n);
}

} // namespace vp
