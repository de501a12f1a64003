#pragma once
// The system's reason for a failure, and the one way to raise a failure with it: every
// message reads "<what>: <the system's text>".
//
//     if (!RegisterClassExW(&wc)) ThrowLastError(u"Cannot register the window class");
#include <string>

namespace vp {

// The system's text for an error code (a Win32 error or an HRESULT).
std::u16string SystemMessage(unsigned long code);

// Raise vp::Error; ThrowLastError with GetLastError's code. Code 0 (the system gives no
// reason) leaves what alone.
[[noreturn]] void ThrowLastError(const std::u16string& what);
[[noreturn]] void ThrowSystemError(const std::u16string& what, unsigned long code);
// hr is an HRESULT; raises only when it is a failure.
void ThrowIfFailed(long hr, const std::u16string& what);

} // namespace vp
