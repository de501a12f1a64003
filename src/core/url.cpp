#include "core/url.h"

#include "core/errors.h"
#include "core/int_text.h"
#include "core/text.h"

namespace vp {

namespace {

bool StartsNoCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

size_t SchemeLength(std::u16string_view url) {
    if (StartsNoCase(url, u"http://"))
        return 7;
    if (StartsNoCase(url, u"https://"))
        return 8;
    return 0;
}

// The port colon: the first ":", or the next one when the first belongs to "://".
size_t PortColon(std::u16string_view s) {
    size_t colon = s.find(u':');
    if (colon != std::u16string_view::npos && colon + 1 < s.size() && s[colon + 1] == u'/')
        colon = s.find(u':', colon + 1);
    return colon;
}

// The standard integer conversion. A number that no port can have counts as none, so the
// default port is used rather than the number cut down to 16 bits.
int PortNumber(std::u16string_view text) {
    const int32_t value = StrToInt32Def(text, 0);
    return value >= 1 && value <= 65535 ? value : 0;
}

} // namespace

std::u16string UrlServerPart(std::u16string_view url) {
    if (url.empty())
        throw Error(u"Empty URL.");
    const size_t slash = url.find(u'/', SchemeLength(url));
    return std::u16string(slash == std::u16string_view::npos ? url : url.substr(0, slash));
}

std::u16string UrlHost(std::u16string_view url) {
    const std::u16string server = UrlServerPart(url);
    return RemovePort(std::u16string_view(server).substr(SchemeLength(server)));
}

std::u16string UrlServerName(std::u16string_view url) {
    std::u16string host = UrlHost(url);
    if (StartsNoCase(host, u"www."))
        host.erase(0, 4);
    return host;
}

std::u16string UrlObjectName(std::u16string_view url) {
    return std::u16string(url.substr(UrlServerPart(url).size()));
}

std::u16string RemovePort(std::u16string_view s) {
    const size_t colon = PortColon(s);
    return std::u16string(colon == std::u16string_view::npos ? s : s.substr(0, colon));
}

int UrlPort(std::u16string_view url) {
    const size_t colon = PortColon(url);
    if (colon == std::u16string_view::npos)
        return 0;
    const std::u16string_view rest = url.substr(colon + 1);
    return PortNumber(rest.substr(0, rest.find(u'/')));
}

std::u16string RequestHeaderBlock(std::u16string_view referer) {
    std::u16string block;
    if (!referer.empty())
        block.append(u"Referer: ").append(referer).append(u"\r\n");
    block += u"User-Agent: Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.9.0.10) "
             u"Gecko/2009042316 Firefox/3.0.10\r\n"
             u"Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
             u"Accept-Language: en-us,en;q=0.5\r\n"
             u"Accept-Charset: ISO-8859-1,utf-8;q=0.7,*;q=0.7\r\n"
             u"Keep-Alive: 300\r\n"
             u"Connection: keep-alive\r\n"
             u"\r\n";
    return block;
}

} // namespace vp
