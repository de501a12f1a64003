#include "platform/system_error.h"

#include <windows.h>

#include "core/errors.h"
#include "core/failure_text.h"
#include "platform/wstr.h"

namespace vp {

std::u16string SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::u16string text = n ? U(buffer, n) : std::u16string();
    if (buffer)
        LocalFree(buffer);
    return SystemReasonText(text, code);
}

void ThrowLastError(const std::u16string& what) {
    ThrowSystemError(what, GetLastError());
}

void ThrowSystemError(const std::u16string& what, unsigned long code) {
    throw Error(FailureText(what, code ? SystemMessage(code) : std::u16string()));
}

void ThrowIfFailed(long hr, const std::u16string& what) {
    if (FAILED(hr))
        ThrowSystemError(what, static_cast<unsigned long>(hr));
}

} // namespace vp
