#include "core/failure_text.h"

#include "core/int_text.h"

namespace vp {

std::u16string SystemReasonText(std::u16string_view systemText, unsigned long code) {
    while (!systemText.empty() &&
           (systemText.back() == u'\r' || systemText.back() == u'\n' || systemText.back() == u' '))
        systemText.remove_suffix(1);
    if (systemText.empty())
        return u"System error " + IntToText(static_cast<int64_t>(code)) + u".";
    return std::u16string(systemText);
}

std::u16string FailureText(std::u16string_view what, std::u16string_view reason) {
    std::u16string text(what);
    if (reason.empty())
        return text + u".";
    return text.append(u": ").append(reason);
}

} // namespace vp
