#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "app/frm_updater.h"
#include "app/main_form.h"
#include "core/errors.h"
#include "core/vendor.h"
#include "loopback_server.h"
#include "news_fixture.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "test_support.h"
#include "ui/window.h"

using namespace vp;
using namespace vp::ui;
using vp::test::LoopbackServer;
using vp::test::PumpUntil;

namespace {

class UpdatesPanel : public test::NewsFixture {
  protected:
    void TearDown() override {
        FreeUpdater();
        test::NewsFixture::TearDown();
    }
    TFrmUpdater& Open(const std::u16string& url) {
        CreateUpdater(url, tab, {.dataFolder = dir, .iniPath = IniPath()});
        return *FrmUpdater;
    }
    std::u16string Status() const { return FrmUpdater->lblStatus->Caption(); }
    // A check through the button, to its end.
    void CheckNow(TFrmUpdater& panel) {
        panel.btnCheckManually->Click();
        ASSERT_TRUE(PumpUntil([&] { return panel.btnCheckManually->Enabled(); }, 10000));
    }
    std::u16string RunningVersion() const { return AppVersionShort(); }

    TForm host{u"HostForm", {.caption = u"Updates panel test"}};
    TPageControl* pages =
        &host.Create<TPageControl>(host, u"Pages", {}, {.align = TAlign::alClient});
    TTabSheet* tab = &host.Create<TTabSheet>(*pages, u"tabUpdater", {}, {.caption = u"Updates"});
};

} // namespace

TEST_F(UpdatesPanel, StartsWithTheStoredNewsInsideTheTab) {
    test::WriteBytes(LocalCopy(), "!TAnnouncer\r\nc\r\n9999.0\r\n3\r\nStored news");
    TFrmUpdater& panel = Open(u"http://127.0.0.1/");
    EXPECT_EQ(panel.pgControl->Parent(), tab);
    EXPECT_EQ(GetParent(panel.pgControl->Handle()), tab->Handle());
    EXPECT_FALSE(IsWindowVisible(panel.Handle()));
    EXPECT_EQ(Status(), u".");
    EXPECT_EQ(panel.Log->Lines(), StringList{u"Stored news"});
    EXPECT_EQ(panel.lblVersion->Caption(),
              u"You are running version: " + RunningVersion() + u".  Online version: 9999.0");
    EXPECT_FALSE(panel.lblVersion->Transparent()); // a newer version is announced
    EXPECT_FALSE(panel.chkForceNewsFound->Visible());
    EXPECT_FALSE(panel.chkForceNewsFound->Checked());
    EXPECT_EQ(panel.pgControl->ActivePage(), panel.tabNews);
    // With the design values the box says "every time", and so does the announcer.
    EXPECT_TRUE(panel.radEveryTime->Checked());
    EXPECT_EQ(panel.Announcer->AutoCheckEvery, 0);
    EXPECT_FALSE(panel.spnInterval->Enabled());
    EXPECT_TRUE(panel.Announcer->ShowConnectFailure);

    try {
        CreateUpdater(u"http://127.0.0.1/", tab);
        ADD_FAILURE() << "a second panel";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Detail(), u"The updater was already created!");
    }
    FreeUpdater();
    try {
        CreateUpdater(u"http://127.0.0.1/", nullptr);
        ADD_FAILURE() << "a panel without a tab";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Detail(), u"The updater MUST be parented.");
    }
    EXPECT_EQ(FrmUpdater, nullptr);
}

TEST_F(UpdatesPanel, AManualCheckShowsTheNewsAndTheVersion) {
    test::WriteBytes(LocalCopy(), "1\r\nc\r\nold news");
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, test::kTaggedNews});
    TFrmUpdater& panel = Open(server.Url());
    int hasNews = 0;
    panel.OnHasNews = [&] { ++hasNews; };
    std::vector<std::u16string> seen;
    panel.Announcer->OnUpdateStart = [&] {
        panel.UpdateStart();
        seen.push_back(Status());
        EXPECT_FALSE(panel.btnCheckManually->Enabled());
    };
    EXPECT_THROW(panel.GetNewsAuto(-1), AssertionFailure);
    panel.GetNewsAuto(600);
    EXPECT_TRUE(panel.Timer->Enabled());
    EXPECT_EQ(panel.Timer->Interval(), 600000u);
    CheckNow(panel);
    EXPECT_EQ(seen, std::vector<std::u16string>{u"Checking for news..."});
    EXPECT_EQ(Status(), u"We have news for you!");
    EXPECT_EQ(panel.lblStatus->Color(), RGB(0, 207, 0));
    EXPECT_FALSE(panel.lblStatus->Transparent());
    EXPECT_EQ(panel.Log->Lines(), (StringList{u"Hello", u"", u"World"}));
    EXPECT_EQ(panel.lblVersion->Caption(),
              u"You are running version: " + RunningVersion() + u".  Online version: 9.1.0.0");
    EXPECT_EQ(hasNews, 1);
    EXPECT_TRUE(panel.btnCheckManually->Enabled());
    EXPECT_FALSE(BusyCursorShown());
    // The manual check cancelled the automatic one.
    EXPECT_FALSE(panel.Timer->Enabled());
}

TEST_F(UpdatesPanel, NoNewsKeepsTheLogAndFailuresShowRed) {
    test::WriteBytes(LocalCopy(), "5\r\nc\r\nold news");
    LoopbackServer same(LoopbackServer::Mode::Respond, {200, "!TAnnouncer\r\nc\r\n1.0\r\n5\r\nx"});
    TFrmUpdater& panel = Open(same.Url());
    CheckNow(panel);
    EXPECT_EQ(Status(), u"No news today.");
    EXPECT_TRUE(panel.lblStatus->Transparent());
    EXPECT_EQ(panel.Log->Lines(), StringList{u"old news"});
    EXPECT_EQ(panel.lblVersion->Caption(),
              u"You are running version: " + RunningVersion() + u".  Online version: 1.0");
    EXPECT_TRUE(panel.lblVersion->Transparent());

    LoopbackServer broken(LoopbackServer::Mode::Respond, {500, "<html>oops</html>"});
    panel.Announcer->URL = broken.Url();
    panel.chkShowConnectFail->SetChecked(false);
    EXPECT_FALSE(panel.Announcer->ShowConnectFailure);
    CheckNow(panel);
    EXPECT_EQ(Status(),
              u"Cannot check for news! Make sure this program is not blocked by your firewall!");
    EXPECT_EQ(panel.lblStatus->Color(), RGB(255, 64, 64));
    EXPECT_FALSE(panel.lblStatus->Transparent());
    EXPECT_TRUE(effects.boxes.empty());
    panel.chkShowConnectFail->SetChecked(true);
    CheckNow(panel);
    ASSERT_EQ(effects.boxes.size(), 1u);
    EXPECT_EQ(effects.boxes[0].text,
              u"Cannot check for news & updates!\r\nThe server answered with HTTP status 500.");
}

TEST_F(UpdatesPanel, TheWindowAnswersWhileACheckRunsAndASecondClickStartsNone) {
    test::WriteBytes(LocalCopy(), "5\r\nc\r\nold news");
    CurrentInetLimits().totalMs = 3000;
    // A byte every 400 ms: no single wait ever times out.
    LoopbackServer server(LoopbackServer::Mode::Trickle, {200, std::string(100, 'n')}, 2);
    TFrmUpdater& panel = Open(server.Url());
    const DWORD start = GetTickCount();
    panel.btnCheckManually->Click();
    EXPECT_LT(GetTickCount() - start, 1000u) << "the click waited for the download";
    EXPECT_EQ(Status(), u"Checking for news...");
    EXPECT_EQ(panel.lblStatus->Color(), RGB(255, 120, 0));
    EXPECT_FALSE(panel.btnCheckManually->Enabled());
    panel.btnCheckManually->Click();
    panel.TimerTimer();

    // Another thread asks the window something while the test thread runs its loop.
    std::atomic<int> answered{0};
    std::thread asker([&] {
        for (HWND w : {host.Handle(), panel.Handle()}) {
            DWORD_PTR unused = 0;
            if (SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &unused))
                ++answered;
        }
    });
    EXPECT_TRUE(PumpUntil([&] { return answered == 2; }, 2000));
    asker.join();
    EXPECT_EQ(answered, 2);
    EXPECT_EQ(Status(), u"Checking for news...") << "the check ended too soon to tell";

    ASSERT_TRUE(PumpUntil([&] { return panel.btnCheckManually->Enabled(); }, 10000));
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 2900u);
    EXPECT_LT(took, 6000u);
    EXPECT_EQ(Status(),
              u"Cannot check for news! Make sure this program is not blocked by your firewall!");
    ASSERT_EQ(effects.boxes.size(), 1u);
    EXPECT_EQ(effects.boxes[0].text, u"Cannot check for news & updates!\r\nThe request did not "
                                     u"end within 3 seconds and was stopped.");
    EXPECT_EQ(panel.Announcer->News.NewsText, u"old news\r\n");
    EXPECT_EQ(panel.Log->Lines(), StringList{u"old news"});
    // Had the second click or the timer started a check, the server would see it now.
    PumpUntil([] { return false; }, 600);
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(UpdatesPanel, ClosingDuringACheckWaitsASecondAtMostAndSavesAsUsual) {
    WriteIni(u"[QRT/Soft]\r\n[Velmor Pasquill]\r\nLastUpdate=42\r\n");
    CurrentInetLimits().totalMs = 5000;
    LoopbackServer server(LoopbackServer::Mode::Trickle, {200, std::string(100, 'n')});
    auto form = std::make_unique<TMainForm>(MainFormOptions{.categoriesFolder = dir + u"cats\\",
                                                            .dataFolder = dir,
                                                            .postDeferredInit = false,
                                                            .joinViewerChain = false,
                                                            .quitOnDestroy = false});
    form->DeferredInit();
    ASSERT_NE(FrmUpdater, nullptr);
    FrmUpdater->Announcer->URL = server.Url();
    FrmUpdater->radEveryDay->SetChecked(true);
    FrmUpdater->spnInterval->SetValue(5);
    const DWORD start = GetTickCount();
    FrmUpdater->btnCheckManually->Click();
    ASSERT_TRUE(PumpUntil([&] { return !server.Requests().empty(); }));
    EXPECT_EQ(Status(), u"Checking for news...");
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    const DWORD took = GetTickCount() - start;
    EXPECT_EQ(FrmUpdater, nullptr);
    EXPECT_GE(took, 1000u) << "it did not wait for the download at all";
    EXPECT_LT(took, 2500u) << "closing waited for the download";
    EXPECT_EQ(IniValue(u"QRT/Soft", u"spnInterval"), u"5");
    EXPECT_EQ(std::stod(ToUtf8(IniValue(u"Velmor Pasquill", u"LastUpdate"))), 42.0);
    EXPECT_TRUE(effects.boxes.empty());
    form.reset();
    // The download left alone ends by itself and shows nothing.
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(effects.boxes.empty());
}

TEST_F(UpdatesPanel, TheTimerChecksOnceUnlessAlreadyCheckedToday) {
    WriteIni(u"[QRT/Soft]\r\nradEveryDay=1\r\nradEveryTime=0\r\n[Velmor Pasquill]\r\nLastUpdate=" +
             FromUtf8(std::to_string(now - 0.01)) + u"\r\n");
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, test::kTaggedNews}, 2);
    TFrmUpdater& panel = Open(server.Url());
    EXPECT_TRUE(panel.radEveryDay->Checked());
    EXPECT_EQ(panel.Announcer->AutoCheckEvery, 1);
    EXPECT_TRUE(panel.spnInterval->Enabled());
    panel.GetNewsAuto(0);
    ASSERT_TRUE(PumpUntil([&] { return Status() != u"."; }));
    EXPECT_EQ(Status(), u"The program has already checked the web for news today.");
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_FALSE(panel.Timer->Enabled());

    now += 1; // the next day
    panel.GetNewsAuto(0);
    ASSERT_TRUE(PumpUntil([&] { return Status() == u"We have news for you!"; }));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(panel.Announcer->LastUpdate, now);
}

TEST_F(UpdatesPanel, RadioButtonsAndTheIntervalBoxSetTheInterval) {
    TFrmUpdater& panel = Open(u"http://127.0.0.1/");
    panel.radEveryDay->SetChecked(true);
    EXPECT_TRUE(panel.spnInterval->Enabled());
    EXPECT_EQ(panel.Announcer->AutoCheckEvery, 1);
    panel.spnInterval->SetValue(7);
    EXPECT_EQ(panel.Announcer->AutoCheckEvery, 7);
    panel.radEveryTime->SetChecked(true);
    EXPECT_EQ(panel.Announcer->AutoCheckEvery, 0);
    EXPECT_FALSE(panel.spnInterval->Enabled());
    EXPECT_EQ(panel.spnInterval->Value(), 1);
    panel.chkForceNewsFound->SetChecked(true);
    EXPECT_TRUE(panel.Announcer->ForceNewsFound);
    panel.radEveryDay->SetChecked(true);
    panel.spnInterval->SetValue(4);
    panel.pgControl->SetActivePage(panel.tabSettings);
    FreeUpdater();

    // The settings come back, and the announcer follows them at once.
    const std::u16string keys[] = {u"pgControl",   u"chkShowConnectFail", u"chkForceNewsFound",
                                   u"radEveryDay", u"spnInterval",        u"radEveryTime"};
    const std::u16string values[] = {u"1", u"1", u"1", u"1", u"4", u"0"};
    for (size_t i = 0; i < std::size(keys); ++i)
        EXPECT_EQ(IniValue(u"QRT/Soft", keys[i]), values[i]) << ToUtf8(keys[i]);
    // In the file, in creation order.
    const std::string ini = test::ReadBytes(IniPath());
    size_t at = 0;
    for (const auto& key : keys) {
        const size_t found = ini.find("\r\n" + ToUtf8(key) + "=", at);
        ASSERT_NE(found, std::string::npos) << ToUtf8(key);
        at = found + 1;
    }
    EXPECT_NE(ini.find("FrmUpdater-Top="), std::string::npos);

    TFrmUpdater& again = Open(u"http://127.0.0.1/");
    EXPECT_EQ(again.pgControl->ActivePage(), again.tabSettings);
    EXPECT_TRUE(again.radEveryDay->Checked());
    EXPECT_EQ(again.spnInterval->Value(), 4);
    EXPECT_EQ(again.Announcer->AutoCheckEvery, 4);
    // The hidden test switch can be turned on through the settings file only.
    EXPECT_TRUE(again.chkForceNewsFound->Checked());
    EXPECT_TRUE(again.Announcer->ForceNewsFound);
    EXPECT_FALSE(again.chkForceNewsFound->Visible());
    FreeUpdater();

    WriteIni(u"[QRT/Soft]\r\nradEveryDay=0\r\nspnInterval=9\r\nradEveryTime=1\r\n");
    TFrmUpdater& everyTime = Open(u"http://127.0.0.1/");
    EXPECT_EQ(everyTime.Announcer->AutoCheckEvery, 0);
    EXPECT_EQ(everyTime.spnInterval->Value(), 1);

    // With "every time" chosen, a new interval is set back to 1 once: setting the box
    // raises its change handler again, which must not set it anew (on Windows the two
    // would call each other until the stack ran out; Wine stops them at 33 levels).
    int changes = 0;
    auto handler = everyTime.spnInterval->OnChange;
    everyTime.spnInterval->OnChange = [&] {
        ++changes;
        handler();
    };
    everyTime.spnInterval->SetValue(5);
    EXPECT_EQ(everyTime.spnInterval->Value(), 1);
    EXPECT_LE(changes, 2);
}

TEST_F(UpdatesPanel, ConnectionTestReportsWhatItFound) {
    LoopbackServer server(LoopbackServer::Mode::Respond, {200, "<html>up</html>"});
    TFrmUpdater& panel = Open(u"http://127.0.0.1/");
    panel.TestPage = server.Url("/");
    hooks::ConnectedState = [] { return true; };
    panel.btnTestInternet->Click();
    hooks::ConnectedState = nullptr;
    ASSERT_EQ(effects.boxes.size(), 1u);
    EXPECT_EQ(effects.boxes[0].text, u"Successfully connected to Internet");
    EXPECT_FALSE(BusyCursorShown());
}

TEST_F(UpdatesPanel, WithAMessageLoopItComesOnceTheWindowIsUp) {
    WriteIni(u"[QRT/Soft]\r\n");
    auto form = std::make_unique<TMainForm>(MainFormOptions{.categoriesFolder = dir + u"cats\\",
                                                            .dataFolder = dir,
                                                            .joinViewerChain = false,
                                                            .quitOnDestroy = false});
    // One message at a time, to see the window as it was when the panel came.
    bool shownWithoutPanel = false, paintPendingAtPanel = true;
    const DWORD start = GetTickCount();
    while (!FrmUpdater && GetTickCount() - start < 5000) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        const bool paintPending = GetUpdateRect(form->Handle(), nullptr, FALSE);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (IsWindowVisible(form->Handle()) && !FrmUpdater)
            shownWithoutPanel = true;
        if (FrmUpdater)
            paintPendingAtPanel = paintPending;
    }
    ASSERT_NE(FrmUpdater, nullptr);
    EXPECT_TRUE(shownWithoutPanel);
    EXPECT_FALSE(paintPendingAtPanel);
    EXPECT_EQ(FrmUpdater->pgControl->Parent(), form->tabUpdater);
    EXPECT_TRUE(FrmUpdater->Timer->Enabled());
    form.reset();
    EXPECT_EQ(FrmUpdater, nullptr);
    EXPECT_TRUE(effects.boxes.empty());
}

TEST_F(UpdatesPanel, TheMainWindowShowsItAndSavesItLast) {
    WriteIni(u"[QRT/Soft]\r\n");
    auto form = std::make_unique<TMainForm>(MainFormOptions{.categoriesFolder = dir + u"cats\\",
                                                            .dataFolder = dir,
                                                            .postDeferredInit = false,
                                                            .joinViewerChain = false,
                                                            .quitOnDestroy = false});
    form->DeferredInit();
    ASSERT_NE(FrmUpdater, nullptr);
    EXPECT_EQ(FrmUpdater->pgControl->Parent(), form->tabUpdater);
    EXPECT_EQ(FrmUpdater->Announcer->URL, vendor::kNewsFile);
    EXPECT_TRUE(FrmUpdater->Timer->Enabled());
    EXPECT_EQ(FrmUpdater->Timer->Interval(), 600000u);
    FrmUpdater->radEveryDay->SetChecked(true);
    FrmUpdater->spnInterval->SetValue(5);
    FrmUpdater->Announcer->LastUpdate = now;

    // The end of the session saves the panel too, while it is still there.
    SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(IniValue(u"QRT/Soft", u"spnInterval"), u"5");
    EXPECT_FALSE(IniValue(u"Velmor Pasquill", u"LastUpdate").empty());
    ASSERT_NE(FrmUpdater, nullptr);

    FrmUpdater->spnInterval->SetValue(6);
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(FrmUpdater, nullptr);
    EXPECT_EQ(IniValue(u"QRT/Soft", u"spnInterval"), u"6");
    EXPECT_TRUE(effects.boxes.empty());
}
