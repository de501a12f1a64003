#include <gtest/gtest.h>
#include <windows.h>

#include "core/app_name.h"
#include "core/encoding.h"
#include "core/errors.h"
#include "core/url.h"
#include "loopback_server.h"
#include "platform/files.h"
#include "platform/internet.h"
#include "test_support.h"

using namespace vp;
using vp::test::LoopbackServer;

namespace {

// Shortens the request time-outs for one test.
class ShortTimeouts {
  public:
    explicit ShortTimeouts(unsigned ms) : saved_(CurrentInetLimits()) {
        CurrentInetLimits().timeoutMs = ms;
    }
    ~ShortTimeouts() { CurrentInetLimits() = saved_; }

  private:
    InetLimits saved_;
};

std::string HeaderSection(const std::string& request) {
    return request.substr(0, request.find("\r\n\r\n") + 4);
}

} // namespace

TEST(Internet, SendsTheFixedHeaderBlockAndReadsTheBody) {
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, "5\r\nnote\r\nhello"});
    std::string body;
    InetResponse response;
    ASSERT_TRUE(InetRequest(server.Url("/dir/updater.bin?x=1"), u"http://ref.example/", body, u"",
                            false, &response));
    EXPECT_EQ(body, "5\r\nnote\r\nhello");
    EXPECT_EQ(response.status, 200u);
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string request = HeaderSection(server.Requests()[0]);
    EXPECT_EQ(request.rfind("GET /dir/updater.bin?x=1 HTTP/1.1\r\n", 0), 0u) << request;
    // The block arrives whole and in its order (its closing blank line ends the request).
    std::string block = ToUtf8(RequestHeaderBlock(u"http://ref.example/"));
    block.resize(block.size() - 2);
    EXPECT_NE(request.find(block), std::string::npos) << request;
    // Nothing from the cache: a plain request asks the server every time.
    EXPECT_EQ(kPlainRequestFlags & INTERNET_FLAG_RELOAD, static_cast<DWORD>(INTERNET_FLAG_RELOAD));
}

TEST(Internet, PostsItsDataAndReturnsErrorPagesAndEmptyBodies) {
    LoopbackServer page(LoopbackServer::Mode::Respond, {404, "<html>gone</html>"});
    InetResponse response;
    EXPECT_EQ(InetGetText(page.Url(), u"", &response), u"<html>gone</html>");
    EXPECT_EQ(response.status, 404u);

    LoopbackServer empty(LoopbackServer::Mode::Respond, {200, ""});
    EXPECT_EQ(InetGetText(empty.Url(), u"", &response), u"");
    EXPECT_EQ(response.status, 200u);
    EXPECT_TRUE(response.failure.empty());

    LoopbackServer post(LoopbackServer::Mode::Respond, {200, "ok"});
    std::string body;
    ASSERT_TRUE(InetRequest(post.Url(), u"", body, u"a=\u00E9", false));
    ASSERT_EQ(post.Requests().size(), 1u);
    EXPECT_EQ(post.Requests()[0].rfind("POST ", 0), 0u);
}

TEST(Internet, AnsiBodiesDecodeInTheAnsiCodePage) {
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, "caf\xE9"});
    EXPECT_EQ(InetGetText(server.Url(), u""), DecodeAnsi("caf\xE9"));
}

TEST(Internet, FailuresGiveFalseAndAReason) {
    std::string body = "stale";
    InetResponse response;
    const std::u16string url =
        u"http://127.0.0.1:" + FromUtf8(std::to_string(LoopbackServer::UnusedPort())) + u"/x";
    EXPECT_FALSE(InetRequest(url, u"", body, u"", false, &response));
    EXPECT_TRUE(body.empty());
    EXPECT_FALSE(response.failure.empty());
    EXPECT_EQ(InetGetText(url, u""), u"");
    EXPECT_THROW(InetGetText(u"", u""), Error);
}

TEST(Internet, ASilentServerTimesOut) {
    // Every request is bounded: 15 s for each of connect, send and receive, 1 MB of body.
    EXPECT_EQ(InetLimits{}.timeoutMs, 15000u);
    EXPECT_EQ(InetLimits{}.maxBody, 1u << 20);
    ShortTimeouts shorter(1500);
    LoopbackServer server(LoopbackServer::Mode::Silent);
    InetResponse response;
    const DWORD start = GetTickCount();
    EXPECT_EQ(InetGetText(server.Url(), u"", &response), u"");
    const DWORD took = GetTickCount() - start;
    EXPECT_LT(took, 12000u) << "the time-out was not applied";
    EXPECT_FALSE(response.failure.empty());
    EXPECT_EQ(CurrentInetLimits().timeoutMs, 1500u);
}

TEST(Internet, AnEndlessBodyStopsAtTheLimit) {
    ShortTimeouts shorter(5000);
    LoopbackServer server(LoopbackServer::Mode::Endless);
    std::string body;
    InetResponse response;
    EXPECT_FALSE(InetRequest(server.Url(), u"", body, u"", false, &response));
    EXPECT_TRUE(body.empty());
    EXPECT_NE(response.failure.find(u"1024 KB"), std::u16string::npos);
    EXPECT_EQ(CurrentInetLimits().maxBody, 1u << 20);
}

TEST(Internet, ConnectionTestAndItsMessages) {
    AppName = kProgramName;
    test::CaptureEffects effects;
    hooks::ConnectedState = [] { return false; };
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, "<html>up</html>"});
    EXPECT_EQ(TestInternetAccessMsg(server.Url()), -1);
    EXPECT_TRUE(server.Requests().empty()) << "no request without a connection";
    hooks::ConnectedState = [] { return true; };
    EXPECT_EQ(TestInternetAccessMsg(server.Url()), 1);
    LoopbackServer empty(LoopbackServer::Mode::Respond, {200, ""});
    EXPECT_EQ(TestInternetAccessMsg(empty.Url()), 0);
    hooks::ConnectedState = nullptr;
    ASSERT_EQ(effects.boxes.size(), 3u);
    EXPECT_EQ(effects.boxes[0].text,
              u"The computer cannot access the Internet. Please check your Internet connection.");
    EXPECT_EQ(effects.boxes[1].text, u"Successfully connected to Internet");
    EXPECT_EQ(effects.boxes[2].text,
              u"The program  cannot access the Internet. Please check your antivirus/firewall.");
    EXPECT_EQ(effects.boxes[0].caption, u"Velmor Pasquill");
}
