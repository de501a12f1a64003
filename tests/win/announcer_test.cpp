#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "app/announcer.h"
#include "core/errors.h"
#include "loopback_server.h"
#include "news_fixture.h"
#include "platform/version.h"

using namespace vp;
using vp::test::LoopbackServer;

namespace {

class Announcer : public test::NewsFixture {
  protected:
    std::unique_ptr<TAnnouncer> Make(const std::u16string& url, bool showFailure = true) {
        auto a = std::make_unique<TAnnouncer>(dir, IniPath());
        a->URL = url;
        a->ShowConnectFailure = showFailure;
        a->OnUpdateStart = [this] { ++starts; };
        return a;
    }
    int starts = 0;
};

const char16_t kFailure[] = u"Cannot check for news & updates!";

} // namespace

TEST_F(Announcer, NewsIsKeptInTheLocalCopyAndLastUpdateStored) {
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, test::kTaggedNews});
    auto a = Make(server.Url());
    EXPECT_EQ(a->LocalFile(), LocalCopy());
    EXPECT_EQ(a->News.Counter, 0);
    EXPECT_EQ(a->LastUpdate, 0);
    ASSERT_TRUE(a->GetNews());
    EXPECT_EQ(starts, 1);
    EXPECT_TRUE(a->HasNews);
    EXPECT_EQ(a->News.Counter, 5);
    EXPECT_EQ(a->News.AppVersion, u"9.1.0.0");
    EXPECT_EQ(a->News.NewsText, u"Hello\r\n\r\nWorld\r\n");
    EXPECT_EQ(a->LastUpdate, now);
    EXPECT_EQ(test::ReadBytes(LocalCopy()), test::kTaggedNews);
    EXPECT_TRUE(a->NewVerionFound());
    EXPECT_TRUE(effects.boxes.empty());
    a.reset();
    // Stored as a decimal number, to well under a second.
    EXPECT_NEAR(std::stod(ToUtf8(IniValue(u"Velmor Pasquill", u"LastUpdate"))), now, 1e-8);

    // The next start reads both back.
    auto again = Make(server.Url());
    EXPECT_NEAR(again->LastUpdate, now, 1e-8);
    EXPECT_EQ(again->News.Counter, 5);
    EXPECT_EQ(again->News.NewsText, u"Hello\r\n\r\nWorld\r\n");
}

TEST_F(Announcer, CountersDecideAndForceAlwaysFindsNews) {
    struct Case {
        std::string body;
        bool force, news;
    };
    const Case cases[] = {
        {"5\r\nsame\r\nequal counter", false, false},
        {"4\r\nlower\r\nlower counter", false, false},
        {"4\r\nforced\r\nforced news", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        test::WriteBytes(LocalCopy(), "5\r\nold\r\nold news");
        LoopbackServer server(LoopbackServer::Mode::Respond, {200, c.body});
        auto a = Make(server.Url());
        ASSERT_EQ(a->News.Counter, 5);
        a->ForceNewsFound = c.force;
        ASSERT_TRUE(a->GetNews());
        EXPECT_EQ(a->HasNews, c.news);
        // The download replaces the news in memory every time, the local copy only with news.
        EXPECT_EQ(a->News.Comment, FromUtf8(c.body.substr(3, c.body.find("\r\n", 3) - 3)));
        EXPECT_EQ(test::ReadBytes(LocalCopy()), c.news ? c.body : "5\r\nold\r\nold news");
        EXPECT_EQ(a->LastUpdate, now);
    }
}

TEST_F(Announcer, FailedChecksChangeNothingAndSayWhy) {
    test::WriteBytes(LocalCopy(), "3\r\nkept\r\nkept news");
    CurrentInetLimits().totalMs = 1500;
    LoopbackServer errorPage(LoopbackServer::Mode::Respond, {404, "<html>Not Found</html>"});
    // A public network's sign-in page answers every address with status 200.
    LoopbackServer signIn(LoopbackServer::Mode::Respond,
                          {200, "<!DOCTYPE html>\r\n<html><title>Sign in</title></html>"});
    LoopbackServer noCounter(LoopbackServer::Mode::Respond,
                             {200, "!TAnnouncer\r\nc\r\n9.0\r\nnine\r\nnews"});
    LoopbackServer empty(LoopbackServer::Mode::Respond, {200, ""});
    LoopbackServer silent(LoopbackServer::Mode::Silent);
    LoopbackServer endless(LoopbackServer::Mode::Endless);
    const std::u16string unreachable =
        u"http://127.0.0.1:" + FromUtf8(std::to_string(LoopbackServer::UnusedPort())) + u"/n";
    struct Case {
        std::u16string url;
        std::u16string reason; // a part of the second line
    };
    const Case cases[] = {
        {errorPage.Url(), u"The server answered with HTTP status 404."},
        {signIn.Url(), u"The server sent a page that is not a news file."},
        {noCounter.Url(), u"The server sent a page that is not a news file."},
        {empty.Url(), u"The server sent an empty news file."},
        {silent.Url(), u""},
        {endless.Url(), u"1024 KB"},
        {unreachable, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.url));
        effects.boxes.clear();
        auto a = Make(c.url);
        a->LastUpdate = 42;
        ASSERT_FALSE(a->GetNews());
        EXPECT_FALSE(a->HasNews);
        EXPECT_EQ(a->LastUpdate, 42);
        EXPECT_EQ(a->News.Counter, 3);
        EXPECT_EQ(a->News.Comment, u"kept");
        EXPECT_EQ(test::ReadBytes(LocalCopy()), "3\r\nkept\r\nkept news");
        ASSERT_EQ(effects.boxes.size(), 1u);
        const std::u16string& text = effects.boxes[0].text;
        EXPECT_EQ(text.rfind(std::u16string(kFailure) + u"\r\n", 0), 0u) << ToUtf8(text);
        EXPECT_GT(text.size(), std::size(kFailure) + 2) << "a reason follows";
        EXPECT_NE(text.find(c.reason), std::u16string::npos) << ToUtf8(text);
        EXPECT_EQ(effects.boxes[0].caption, u"Velmor Pasquill - Error");
    }
    // Without ShowConnectFailure the failure is silent.
    effects.boxes.clear();
    auto quiet = Make(errorPage.Url(), false);
    EXPECT_FALSE(quiet->GetNews());
    EXPECT_TRUE(effects.boxes.empty());
}

TEST_F(Announcer, ErrorsOfTheCheckAreCaughtAndShown) {
    auto a = Make(u"");
    try {
        a->GetNews();
        ADD_FAILURE() << "no assertion";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Detail(), u"Updater URL is empty!");
    }
    a->URL = u"http://127.0.0.1:1/";
    a->OnUpdateStart = [] { throw Error(u"handler broke"); };
    EXPECT_FALSE(a->GetNews());
    ASSERT_EQ(effects.boxes.size(), 1u);
    EXPECT_EQ(effects.boxes[0].text, std::u16string(kFailure) + u"\r\nhandler broke");
}

TEST_F(Announcer, ALockedOrBrokenLocalCopyGivesClearedNews) {
    test::WriteBytes(LocalCopy(), "7\r\nc\r\nlocked");
    {
        HANDLE h = CreateFileW(W(LocalCopy()), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        auto a = Make(u"http://127.0.0.1/");
        CloseHandle(h);
        EXPECT_EQ(a->News.Counter, 0);
        EXPECT_EQ(a->News.AppVersion, u"?");
        EXPECT_TRUE(effects.boxes.empty());
    }
    // A copy that is there and free, but whose read fails: its path is longer than the
    // program reads files from.
    std::u16string deep = dir;
    while (deep.size() < 252) {
        deep += std::u16string(std::min<size_t>(40, 252 - deep.size()), u'd') + u"\\";
        ASSERT_TRUE(CreateDirectoryW(W(deep), nullptr));
    }
    const std::u16string copy = deep + u"OnlineNews";
    test::WriteBytes(copy, "!TAnnouncer\r\nc\r\n9999.0\r\n7\r\nunreadable");
    ASSERT_TRUE(FileExists(copy));
    ASSERT_FALSE(FileIsLocked(copy));
    auto broken = std::make_unique<TAnnouncer>(deep, IniPath());
    ASSERT_EQ(effects.boxes.size(), 1u);
    EXPECT_EQ(effects.boxes[0].text,
              u"Cannot open " + copy + u"\r\nDraxil blocked by overzealous antivirus?");
    EXPECT_EQ(effects.boxes[0].caption, u"Velmor Pasquill - Error");
    EXPECT_EQ(broken->News.Counter, 0);
    EXPECT_EQ(broken->News.AppVersion, u"?");
    EXPECT_TRUE(broken->News.NewsText.empty());
    EXPECT_TRUE(broken->News.MagicNo.empty());
    broken.reset();
    effects.boxes.clear();

    // A NUL shows as its symbol, as in every file the program reads; a news file
    // without a version announces none.
    test::WriteBytes(LocalCopy(), std::string("8\r\nc\r\nseen\0unseen", 17));
    auto a = Make(u"http://127.0.0.1/");
    EXPECT_EQ(a->News.Counter, 8);
    EXPECT_EQ(a->News.NewsText, u"seen\u2400unseen\r\n");
    EXPECT_FALSE(a->NewVerionFound());
}

TEST_F(Announcer, ANulInTheDownloadShowsAsTheLocalCopyReadsBack) {
    const char raw[] = "!TAnnouncer\r\nc\r\n1.0\r\n9\r\nseen\0unseen\r\nmore";
    const std::string body(raw, sizeof(raw) - 1);
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, body});
    auto a = Make(server.Url());
    ASSERT_TRUE(a->GetNews());
    EXPECT_TRUE(a->HasNews);
    EXPECT_EQ(a->News.NewsText, u"seen\u2400unseen\r\nmore\r\n");
    a.reset();
    auto again = Make(server.Url());
    EXPECT_EQ(again->News.NewsText, u"seen\u2400unseen\r\nmore\r\n");
    EXPECT_EQ(again->News.Counter, 9);
}

TEST_F(Announcer, ScheduleFollowsTheIntervalAndTheClock) {
    WriteIni(u"[Velmor Pasquill]\r\nLastUpdate=" +
             FromUtf8(std::to_string(EncodeDateTime(2026, 12, 9, 23, 59, 0, 0))) + u"\r\n");
    auto a = Make(u"http://127.0.0.1/");
    now = EncodeDateTime(2026, 12, 10, 0, 1, 0, 0);
    a->AutoCheckEvery = 1;
    EXPECT_TRUE(a->IsTimeToCheckAgain());
    a->AutoCheckEvery = 2;
    EXPECT_FALSE(a->IsTimeToCheckAgain());
    a->ForceNewsFound = true;
    EXPECT_TRUE(a->IsTimeToCheckAgain());
    a->ForceNewsFound = false;
    a->AutoCheckEvery = 0;
    EXPECT_TRUE(a->IsTimeToCheckAgain());
    a->AutoCheckEvery = -1;
    EXPECT_FALSE(a->IsTimeToCheckAgain());
}

TEST_F(Announcer, VersionsCompareByNumbers) {
    auto a = Make(u"http://127.0.0.1/");
    const std::u16string running = AppVersionFull();
    a->News.AppVersion = running;
    EXPECT_FALSE(a->NewVerionFound());
    a->News.AppVersion = u"?";
    EXPECT_FALSE(a->NewVerionFound());
    a->News.AppVersion = u"9999.0";
    EXPECT_TRUE(a->NewVerionFound());
}
