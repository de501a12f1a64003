#include "platform/system_error.h"

#include <windows.h>

#include <cwchar>

#include "platform/wstr.h"

namespace vp {

std::u16string SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (n) {
        text = U(buffer, n);
    } else {
        wchar_t fallback[40];
        swprintf(fallback, 40, L"System error %lu.", static_cast<unsigned long>(code));
        text = U(fallback);
    }
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.pop_back();
    return text;
}

} // namespace vp
