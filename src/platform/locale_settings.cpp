#include "platform/locale_settings.h"

#include <windows.h>

namespace vp {

namespace {

char16_t ReadDecimalSeparator() {
    wchar_t buf[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1 && buf[0] != 0)
        return static_cast<char16_t>(buf[0]);
    return u'.';
}

char16_t& Separator() {
    static char16_t separator = ReadDecimalSeparator();
    return separator;
}

} // namespace

char16_t LocaleDecimalSeparator() {
    return Separator();
}

void SetLocaleDecimalSeparator(char16_t separator) {
    Separator() = separator;
}

} // namespace vp
