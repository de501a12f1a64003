#include "core/version_text.h"

namespace vp {

namespace {
std::u16string Num(uint32_t n) {
    std::u16string s;
    do {
        s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
    } while (n);
    return s;
}
} // namespace

std::u16string VersionShortText(const std::optional<FileVersion>& v) {
    if (!v)
        return u"0";
    return Num(v->ms >> 16) + u"." + Num(v->ms & 0xFFFF) + u"." + Num(v->ls >> 16);
}

std::u16string VersionFullText(const std::optional<FileVersion>& v) {
    if (!v)
        return u"0";
    return VersionShortText(v) + u"." + Num(v->ls & 0xFFFF);
}

std::u16string VersionLabelText(const std::optional<FileVersion>& v) {
    return u" v" + VersionShortText(v);
}

} // namespace vp
