#include <gtest/gtest.h>
#include <windows.h>

#include "test_support.h"
#include "tray_support.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

using namespace vp;
using namespace vp::ui;
using vp::test::PumpFor;

namespace {

class TrayIcon : public ::testing::Test {
  protected:
    test::TrayRecorder tray;
    TForm form{u"TrayForm", {.caption = u"Tray test"}};
    TIconList icons;

    void SetUp() override {
        for (int i = 0; i < 4; ++i)
            icons.emplace_back(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    }
    TCoolTrayIcon& Make(TCoolTrayIcon::CreateArgs args = {}) {
        args.icons = &icons;
        if (args.hint.empty())
            args.hint = u"Velmor Pasquill";
        return form.CreateComponent<TCoolTrayIcon>(u"TrayIcon", args);
    }
};

} // namespace

TEST_F(TrayIcon, ShownOnceHiddenOnceAndRemovedWhenItGoes) {
    auto& icon = Make({.iconIndex = 2});
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_TRUE(tray.calls.empty()) << "hidden until asked";
    icon.ShowIcon();
    icon.ShowIcon();
    ASSERT_EQ(tray.calls.size(), 1u);
    EXPECT_EQ(tray.calls[0].message, DWORD{NIM_ADD});
    EXPECT_EQ(tray.calls[0].icon, icons[2].Get());
    EXPECT_EQ(tray.calls[0].tip, u"Velmor Pasquill");
    EXPECT_EQ(tray.calls[0].window, icon.CallbackWindow());
    icon.HideIcon();
    icon.HideIcon();
    EXPECT_EQ(tray.Count(NIM_DELETE), 1u);

    icon.ShowIcon();
    form.Free(icon);
    EXPECT_FALSE(tray.shown) << "a visible icon goes with its component";
    EXPECT_EQ(tray.Count(NIM_DELETE), 2u);
}

TEST_F(TrayIcon, AnimatesOnlyWhileShownAndCycling) {
    auto& icon = Make({.iconIndex = 0, .cycleIcons = true, .cycleInterval = 10});
    PumpFor(60, 2);
    EXPECT_TRUE(tray.calls.empty()) << "no animation while nobody sees it";
    icon.ShowIcon();
    PumpFor(120, 2);
    std::vector<HICON> shown;
    for (const auto& c : tray.calls)
        if (c.message == NIM_MODIFY)
            shown.push_back(c.icon);
    ASSERT_GE(shown.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(shown[i], icons[(i + 1) % icons.size()].Get()) << "image " << i;

    icon.SetCycleIcons(false);
    const int stoppedAt = icon.IconIndex();
    const size_t calls = tray.calls.size();
    PumpFor(60, 2);
    EXPECT_EQ(tray.calls.size(), calls) << "the current image stays";
    EXPECT_EQ(icon.IconIndex(), stoppedAt);
}

TEST_F(TrayIcon, ComesBackWhenExplorerRestartsAndReportsLeftClicks) {
    int clicks = 0;
    auto& icon = Make({.onClick = [&] { ++clicks; }});
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    SendMessageW(icon.CallbackWindow(), taskbarCreated, 0, 0);
    EXPECT_TRUE(tray.calls.empty()) << "a hidden icon stays hidden";
    icon.ShowIcon();
    tray.shown = false; // Explorer went away, and its notification area with it
    SendMessageW(icon.CallbackWindow(), taskbarCreated, 0, 0);
    EXPECT_EQ(tray.Count(NIM_ADD), 2u);
    EXPECT_TRUE(tray.shown);

    SendMessageW(icon.CallbackWindow(), TCoolTrayIcon::kCallbackMessage, 1, WM_MOUSEMOVE);
    EXPECT_EQ(clicks, 0);
    SendMessageW(icon.CallbackWindow(), TCoolTrayIcon::kCallbackMessage, 1, WM_LBUTTONUP);
    EXPECT_EQ(clicks, 1);
}
