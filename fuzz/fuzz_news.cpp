// Parses any text as a news file, a version and a URL, and checks what the parsers
// promise: no crash, news lines that each end in CR LF, a counter that reads back the
// same, a version order that is strict, and URL pieces that put the URL back together.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/encoding.h"
#include "core/errors.h"
#include "core/int_text.h"
#include "core/news.h"
#include "core/url.h"

using namespace vp;

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

// The first byte picks how the rest becomes text: UTF-8, or raw UTF-16 units (which
// reaches NULs, lone surrogates and every code unit).
std::u16string Decode(const uint8_t* data, size_t size) {
    if (size == 0)
        return {};
    const bool raw = data[0] & 1;
    ++data;
    --size;
    if (!raw)
        return FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);
    return text;
}

void CheckNews(const std::u16string& text) {
    RNews news;
    news.LoadFrom(text);
    Check(news.NewsText.empty() || news.NewsText.ends_with(u"\r\n"));
    Check(news.NewsText.find(u'\0') == std::u16string::npos);
    Check(news.MagicNo.empty() || news.MagicNo.starts_with(u"!TAnnouncer"));
    Check(!news.MagicNo.empty() || news.AppVersion == u"?");
    const std::u16string head = news.HeadLine();
    Check(head.empty() || (head.ends_with(u"\r\n") && head.size() > 2));
    RNews again;
    again.LoadFrom(text);
    Check(again.Counter == news.Counter && again.NewsText == news.NewsText);
}

void CheckInteger(const std::u16string& text) {
    int32_t value = 0;
    if (TryStrToInt32(text, value)) {
        const std::string decimal = std::to_string(value);
        int32_t back = 1;
        Check(TryStrToInt32(std::u16string(decimal.begin(), decimal.end()), back));
        Check(back == value);
    }
}

void CheckVersions(const std::u16string& text) {
    const size_t cut = text.size() / 2;
    const std::u16string a = text.substr(0, cut), b = text.substr(cut);
    Check(!IsNewerVersion(a, a));
    Check(!(IsNewerVersion(a, b) && IsNewerVersion(b, a)));
}

void CheckUrl(const std::u16string& url) {
    if (url.empty()) {
        try {
            UrlServerPart(url);
            Check(false);
        } catch (const Error&) {
        }
        return;
    }
    const std::u16string server = UrlServerPart(url);
    Check(server + UrlObjectName(url) == url);
    Check(UrlObjectName(url).empty() || UrlObjectName(url)[0] == u'/');
    const int port = UrlPort(url);
    Check(port >= 0 && port <= 65535);
    const std::u16string host = UrlHost(url);
    Check(server.find(host) != std::u16string::npos);
    const std::u16string name = UrlServerName(url);
    Check(host.ends_with(name) && host.size() - name.size() <= 4);
    Check(url.starts_with(RemovePort(url)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = Decode(data, size);
    CheckNews(text);
    CheckInteger(text);
    CheckVersions(text);
    CheckUrl(text);
    return 0;
}
