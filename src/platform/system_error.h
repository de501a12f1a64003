#pragma once
// The system's reason for a failure.
#include <string>

namespace vp {

// The system's text for an error code (a Win32 error or an HRESULT).
std::u16string SystemMessage(unsigned long code);

} // namespace vp
