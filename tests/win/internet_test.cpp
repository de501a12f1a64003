#include <gtest/gtest.h>
#include <windows.h>

#include "core/app_name.h"
#include "core/encoding.h"
#include "core/errors.h"
#include "core/url.h"
#include "loopback_server.h"
#include "platform/ansi.h"
#include "platform/internet.h"
#include "test_support.h"

using namespace vp;
using vp::test::LoopbackServer;

namespace {

// Shortens the whole request's deadline for one test.
class ShortDeadline {
  public:
    explicit ShortDeadline(unsigned ms) : saved_(CurrentInetLimits()) {
        CurrentInetLimits().totalMs = ms;
    }
    ~ShortDeadline() { CurrentInetLimits() = saved_; }

  private:
    InetLimits saved_;
};

// Records each request the client is about to open; lets it go on unless told otherwise.
class SeenRequests {
  public:
    explicit SeenRequests(bool letThrough) {
        hooks::InetRequestOpening = [this, letThrough](const InetRequestInfo& info) {
            seen.push_back(info);
            return letThrough;
        };
    }
    ~SeenRequests() { hooks::InetRequestOpening = nullptr; }
    std::vector<InetRequestInfo> seen;
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
}

TEST(Internet, NothingComesFromTheCache) {
    // An answer that any cache would keep for an hour.
    LoopbackServer server(LoopbackServer::Mode::Respond,
                          {200, "7\r\nc\r\nnews",
                           "Cache-Control: public, max-age=3600\r\n"
                           "Last-Modified: Mon, 07 Dec 2026 10:00:00 GMT\r\n"},
                          2);
    const std::u16string url = server.Url("/cached/updater.bin");
    EXPECT_EQ(InetGetText(url, u""), u"7\r\nc\r\nnews");
    EXPECT_EQ(InetGetText(url, u""), u"7\r\nc\r\nnews");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u) << "the second answer came from the cache";
    for (const auto& r : requests)
        EXPECT_EQ(r.rfind("GET /cached/updater.bin HTTP/1.1\r\n", 0), 0u) << r;
}

TEST(Internet, PlainAndSecureRequestsTakeTheirPortsAndFlags) {
    SeenRequests hook(false);
    std::string body;
    InetResponse response;
    // Stopped by the hook before anything is opened: nothing leaves for port 443 or 80.
    EXPECT_FALSE(InetRequest(u"https://www.127.0.0.1/secure?x=1", u"", body, u"", true, &response));
    EXPECT_FALSE(response.failure.empty());
    EXPECT_EQ(InetGetText(u"https://127.0.0.1/secure", u""), u"");
    EXPECT_FALSE(InetRequest(u"http://127.0.0.1:8080/a", u"", body, u"p", true));
    ASSERT_EQ(hook.seen.size(), 3u);
    EXPECT_EQ(hook.seen[0].server, u"127.0.0.1");
    EXPECT_EQ(hook.seen[0].port, 443);
    EXPECT_EQ(hook.seen[0].verb, u"GET");
    EXPECT_EQ(hook.seen[0].object, u"/secure?x=1");
    EXPECT_EQ(hook.seen[0].flags,
              static_cast<DWORD>(INTERNET_FLAG_SECURE | INTERNET_FLAG_KEEP_CONNECTION));
    // The scheme does not choose the kind: the text fetch is always plain.
    EXPECT_EQ(hook.seen[1].port, 80);
    EXPECT_EQ(hook.seen[1].flags, static_cast<DWORD>(INTERNET_FLAG_RELOAD | 3));
    EXPECT_EQ(hook.seen[2].port, 8080);
    EXPECT_EQ(hook.seen[2].verb, u"POST");
    EXPECT_EQ(hook.seen[2].flags, static_cast<DWORD>(0x00C00000));
}

TEST(Internet, ASecureRequestDoesNotSpeakPlainHttp) {
    ShortDeadline shorter(3000);
    SeenRequests hook(true);
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, "plain"});
    std::string body;
    EXPECT_FALSE(InetRequest(server.Url("/s"), u"", body, u"", true));
    EXPECT_TRUE(body.empty());
    ASSERT_EQ(hook.seen.size(), 1u);
    EXPECT_EQ(hook.seen[0].port, server.Port());
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    // The connection opens with a TLS handshake record, not with the request line.
    ASSERT_FALSE(requests[0].empty());
    EXPECT_EQ(requests[0][0], '\x16') << requests[0];
    EXPECT_EQ(requests[0].find("GET "), std::string::npos) << requests[0];
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
    // The whole request ends within 20 s, however its time is spent.
    EXPECT_EQ(InetLimits{}.totalMs, 20000u);
    ShortDeadline shorter(1500);
    LoopbackServer server(LoopbackServer::Mode::Silent);
    InetResponse response;
    const DWORD start = GetTickCount();
    EXPECT_EQ(InetGetText(server.Url(), u"", &response), u"");
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 1400u);
    EXPECT_LT(took, 4000u) << "the deadline was not kept";
    EXPECT_EQ(response.failure, u"The request did not end within 2 seconds and was stopped.");
}

TEST(Internet, ATricklingServerIsStoppedAtTheWholeRequestsDeadline) {
    // A byte every 400 ms keeps every single wait short: only the sum of the waits is
    // bounded, to the deadline and not to the 3 s of each of the phases.
    struct Case {
        const char* what;
        bool bodyOnly;
    };
    for (const Case c : {Case{"the status line and headers", false}, Case{"the body", true}}) {
        SCOPED_TRACE(c.what);
        ShortDeadline shorter(3000);
        LoopbackServer server(LoopbackServer::Mode::Trickle,
                              {200, std::string(200, 'n'), "", 400, c.bodyOnly});
        std::string body;
        InetResponse response;
        const DWORD start = GetTickCount();
        EXPECT_FALSE(InetRequest(server.Url(), u"", body, u"", false, &response));
        const DWORD took = GetTickCount() - start;
        EXPECT_GE(took, 2900u);
        EXPECT_LT(took, 5000u) << "the phases' waits added up";
        EXPECT_TRUE(body.empty());
        EXPECT_EQ(response.failure, u"The request did not end within 3 seconds and was stopped.");
        EXPECT_GE(server.BytesSent(), 3u) << "the server trickled";
    }
}

TEST(Internet, AnEndlessBodyStopsAtTheLimit) {
    LoopbackServer server(LoopbackServer::Mode::Endless);
    std::string body;
    InetResponse response;
    EXPECT_FALSE(InetRequest(server.Url(), u"", body, u"", false, &response));
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(response.failure, u"The server sent more than 1024 KB; the download was stopped.");
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
