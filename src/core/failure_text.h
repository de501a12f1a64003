#pragma once
// The one shape of a failure's message: what failed, then the system's reason for it.
#include <string>
#include <string_view>

namespace vp {

// The system's text for a code, as a message's end: without the line break and blanks the
// system ends it with; "System error <code>." when the system has no text for the code.
std::u16string SystemReasonText(std::u16string_view systemText, unsigned long code);
// "<what>: <reason>"; "<what>." when there is no reason to give.
std::u16string FailureText(std::u16string_view what, std::u16string_view reason);

} // namespace vp
