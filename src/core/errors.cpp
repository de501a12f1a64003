#include "core/errors.h"

#include "core/encoding.h"

namespace vp {

Error::Error(std::u16string message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

AssertionFailure::AssertionFailure(const std::u16string& unit, const std::u16string& message)
    : Error(message + u" (" + unit + u")"), unit_(unit), detail_(message) {}

std::u16string MessageOf(const std::exception& e) {
    if (auto* err = dynamic_cast<const Error*>(&e))
        return err->Message();
    return FromUtf8(e.what());
}

} // namespace vp
