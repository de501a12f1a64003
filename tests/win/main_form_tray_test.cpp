#include <gtest/gtest.h>
#include <windows.h>

#include "app/main_form.h"
#include "core/app_name.h"
#include "platform/files.h"
#include "test_support.h"
#include "tray_support.h"
#include "ui/image.h"
#include "ui/internet_label.h"

using namespace vp;
using namespace vp::ui;

namespace {

class MainFormTray : public ::testing::Test {
  protected:
    test::CaptureEffects fx;
    test::TrayRecorder tray;
    std::u16string dir = test::NewTempFolder(u"vp_tray_");
    std::unique_ptr<TMainForm> form;

    void SetUp() override {
        AppName = kProgramName;
        EnsureFolder(dir + u"data\\");
        WriteTextFile(dir + u"data\\Velmor Pasquill.ini", u"[QRT/Soft]\r\n", true, false);
        form = std::make_unique<TMainForm>(MainFormOptions{.categoriesFolder = dir,
                                                           .dataFolder = dir + u"data\\",
                                                           .postDeferredInit = false,
                                                           .joinViewerChain = false,
                                                           .quitOnDestroy = false});
        form->chkAutoMonitor->SetChecked(false);
        form->DeferredInit();
    }
    void TearDown() override {
        form.reset();
        test::RemoveTree(dir);
    }
    HWND Window() const { return form->Handle(); }
    void ClickTrayIcon() {
        SendMessageW(form->TrayIcon->CallbackWindow(), TCoolTrayIcon::kCallbackMessage, 1,
                     WM_LBUTTONUP);
    }
};

} // namespace

TEST_F(MainFormTray, MinimisingGoesToTheTrayAndAClickBringsTheWindowBack) {
    EXPECT_FALSE(tray.shown) << "no icon while the window is up";
    ShowWindow(Window(), SW_MINIMIZE);
    EXPECT_TRUE(tray.shown);
    EXPECT_FALSE(IsWindowVisible(Window())) << "no taskbar button beside the icon";
    ASSERT_FALSE(tray.calls.empty());
    EXPECT_EQ(tray.calls[0].tip, u"Velmor Pasquill");
    EXPECT_EQ(form->TrayIcon->IconIndex(), 6) << "the seventh image while not monitoring";

    ClickTrayIcon();
    EXPECT_FALSE(tray.shown);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_FALSE(IsIconic(Window()));
}

TEST_F(MainFormTray, WithoutMinimizeToTrayTheWindowStaysOnTheTaskbar) {
    form->chkTrayIcon->SetChecked(false);
    ShowWindow(Window(), SW_MINIMIZE);
    EXPECT_TRUE(tray.calls.empty());
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_TRUE(IsIconic(Window()));
}

TEST_F(MainFormTray, TheIconAnimatesWhileMonitoringFromTheFirstImage) {
    ShowWindow(Window(), SW_MINIMIZE);
    EXPECT_FALSE(form->TrayIcon->CycleIcons());
    form->actToggleMonitorExecute();
    EXPECT_TRUE(form->TrayIcon->CycleIcons());
    EXPECT_EQ(form->TrayIcon->IconIndex(), 0);
    EXPECT_EQ(tray.calls.back().message, DWORD{NIM_MODIFY}) << "the first image at once";
    form->actToggleMonitorExecute();
    EXPECT_FALSE(form->TrayIcon->CycleIcons());
}

TEST_F(MainFormTray, NoIconStaysBehindWhenTheProgramEnds) {
    ShowWindow(Window(), SW_MINIMIZE);
    ASSERT_TRUE(tray.shown);
    // A session that does not end after all keeps the only way back to the window.
    SendMessageW(Window(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(tray.shown);
    SendMessageW(Window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(tray.shown);

    ClickTrayIcon(); // no icon: nothing to click, but the call does no harm
    ShowWindow(Window(), SW_MINIMIZE);
    ASSERT_TRUE(tray.shown);
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(tray.shown) << "closed from the tray";
}

TEST_F(MainFormTray, ThePageLinksAndThePictureAreThere) {
    EXPECT_EQ(form->inetLicenseAgreement->Caption(), u"License Agreement");
    EXPECT_FALSE(form->inetLicenseAgreement->Link().empty());
    EXPECT_EQ(form->inetHome->Caption(), u"Home page");
    EXPECT_TRUE(form->inetHome->Underlined());
    EXPECT_FALSE(form->inetHome->Link().empty());
    EXPECT_NE(form->inetHome->Link(), form->inetLicenseAgreement->Link());
    EXPECT_EQ(form->lblVersion->Caption(), u"Version:  v2.3.4");
    // Everything on the About page stacks without overlapping.
    EXPECT_EQ(form->InternetLabel->Caption(), u"www");
    EXPECT_TRUE(form->InternetLabel->Bold());
    const TControl* stack[] = {form->lblAbout, form->imgAbout, form->lblVersion, form->inetHome,
                               form->InternetLabel};
    for (size_t i = 1; i < std::size(stack); ++i)
        EXPECT_GE(stack[i]->Top(), stack[i - 1]->Top() + stack[i - 1]->Height()) << i;
    EXPECT_GE(form->btnAgree->Top(),
              form->inetLicenseAgreement->Top() + form->inetLicenseAgreement->Height());
}
