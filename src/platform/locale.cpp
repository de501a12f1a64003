#include "platform/locale.h"

#include <windows.h>

#include <optional>

namespace vp {

namespace {

std::optional<std::u16string>& Separator() {
    static std::optional<std::u16string> separator;
    return separator;
}

std::u16string ReadDateSeparator() {
    wchar_t buffer[16] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, buffer, 16);
    if (n <= 1)
        return u"/";
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), n - 1);
}

} // namespace

void FreezeRegionalSettings() {
    Separator() = ReadDateSeparator();
}

const std::u16string& RegionalDateSeparator() {
    if (!Separator())
        FreezeRegionalSettings();
    return *Separator();
}

} // namespace vp
