#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/errors.h"
#include "core/url.h"

using namespace vp;

TEST(Url, TakesAddressesApart) {
    struct Case {
        std::u16string url, serverPart, serverName;
        int port;
        std::u16string object;
    };
    const Case cases[] = {
        {u"http://www.host/dir/updater.bin", u"http://www.host", u"host", 0, u"/dir/updater.bin"},
        {u"HTTP://host:8080/a?b=1", u"HTTP://host:8080", u"host", 8080, u"/a?b=1"},
        {u"https://host", u"https://host", u"host", 0, u""},
        {u"host/page", u"host", u"host", 0, u"/page"},
        // Only a leading "www." goes, in any letter case.
        {u"http://WwW.host/", u"http://WwW.host", u"host", 0, u"/"},
        {u"http://my.www.host/x", u"http://my.www.host", u"my.www.host", 0, u"/x"},
        {u"https://host:443", u"https://host:443", u"host", 443, u""},
        // A colon in the path counts as the port colon; the server name keeps its host.
        {u"host/a:b", u"host", u"host", 0, u"/a:b"},
        {u"host/a:81", u"host", u"host", 81, u"/a:81"},
        {u"http://127.0.0.1:8080", u"http://127.0.0.1:8080", u"127.0.0.1", 8080, u""},
        // A trailing colon has no port.
        {u"http://host:", u"http://host:", u"host", 0, u""},
        // A number that no port can have is no port (never cut down to 16 bits).
        {u"http://host:65616/", u"http://host:65616", u"host", 0, u"/"},
        {u"http://host:-1/", u"http://host:-1", u"host", 0, u"/"},
        // The scheme is looked for at the start only.
        {u"ftp://host/x", u"ftp:", u"ftp", 0, u"//host/x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.url));
        EXPECT_EQ(UrlServerPart(c.url), c.serverPart);
        EXPECT_EQ(UrlServerName(c.url), c.serverName);
        EXPECT_EQ(UrlPort(c.url), c.port);
        EXPECT_EQ(UrlObjectName(c.url), c.object);
        EXPECT_EQ(UrlServerPart(c.url) + UrlObjectName(c.url), c.url);
    }
}

TEST(Url, RemovePortSkipsTheSchemeColon) {
    EXPECT_EQ(RemovePort(u"host:80"), u"host");
    EXPECT_EQ(RemovePort(u"http://host:80"), u"http://host");
    EXPECT_EQ(RemovePort(u"host"), u"host");
    EXPECT_EQ(UrlHost(u"https://www.host:99/p"), u"www.host");
}

TEST(Url, EmptyUrlIsAnError) {
    for (auto f :
         {+[] { UrlServerPart(u""); }, +[] { UrlServerName(u""); }, +[] { UrlObjectName(u""); }}) {
        try {
            f();
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), u"Empty URL.");
        }
    }
    EXPECT_EQ(UrlPort(u""), 0);
}

TEST(Url, HeaderBlockInItsFixedOrder) {
    const std::u16string tail =
        u"User-Agent: Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.9.0.10) "
        u"Gecko/2009042316 Firefox/3.0.10\r\n"
        u"Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
        u"Accept-Language: en-us,en;q=0.5\r\n"
        u"Accept-Charset: ISO-8859-1,utf-8;q=0.7,*;q=0.7\r\n"
        u"Keep-Alive: 300\r\n"
        u"Connection: keep-alive\r\n\r\n";
    EXPECT_EQ(RequestHeaderBlock(u""), tail);
    EXPECT_EQ(RequestHeaderBlock(u"http://ref/"), u"Referer: http://ref/\r\n" + tail);
}
