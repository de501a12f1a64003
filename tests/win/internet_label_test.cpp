#include <gtest/gtest.h>
#include <windows.h>

#include "core/app_name.h"
#include "platform/shell.h"
#include "test_support.h"
#include "ui/internet_label.h"

using namespace vp;
using namespace vp::ui;

namespace {

constexpr COLORREF kBlue = 0xFF0000, kPurple = 0x800080, kRed = 0x0000FF;

class InternetLabel : public ::testing::Test {
  protected:
    test::CaptureEffects fx;
    TForm form{u"LinkForm", {.caption = u"Link test"}};
    std::vector<std::u16string> opened;
    std::intptr_t shellResult = 42;

    void SetUp() override {
        AppName = kProgramName;
        hooks::ShellExec = [this](const std::u16string& verb, const std::u16string& file,
                                  const std::u16string& params, int show) {
            EXPECT_EQ(verb, u"") << "the default action";
            EXPECT_EQ(params, u"");
            EXPECT_EQ(show, SW_SHOWNORMAL);
            opened.push_back(file);
            return shellResult;
        };
    }
    void TearDown() override { hooks::ShellExec = nullptr; }
    TInternetLabel& Make(TInternetLabel::CreateArgs args) {
        return form.Create<TInternetLabel>(form, u"inetHome", {10, 10, 120, 18}, args);
    }
    static void Enter(TInternetLabel& l) { SendMessageW(l.Handle(), WM_MOUSEMOVE, 0, 0); }
    static void Leave(TInternetLabel& l) { SendMessageW(l.Handle(), WM_MOUSELEAVE, 0, 0); }
    static void Click(TInternetLabel& l) {
        SendMessageW(l.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(l.Handle(), WM_LBUTTONUP, 0, 0);
    }
};

} // namespace

TEST_F(InternetLabel, HoverRecoloursAndUnderlinesAndAClickVisits) {
    int clicks = 0, enters = 0, leaves = 0;
    auto& l = Make({.caption = u"Home page",
                    .link = u"https://example.invalid/",
                    .bold = true,
                    .underline = true,
                    .onClick = [&] { ++clicks; }});
    l.OnMouseEnter = [&] { ++enters; };
    l.OnMouseLeave = [&] { ++leaves; };
    EXPECT_EQ(l.FontColor(), kBlue);
    EXPECT_TRUE(l.Underlined()) << "the form's style at first";
    EXPECT_EQ(l.Hint(), u"") << "the address is not copied into the hint";

    Enter(l);
    EXPECT_TRUE(l.MouseOver());
    EXPECT_EQ(l.FontColor(), kRed);
    Click(l);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(opened, std::vector<std::u16string>{u"https://example.invalid/"});
    EXPECT_TRUE(l.Visited());
    EXPECT_EQ(l.FontColor(), kPurple) << "visited shows at once, the mouse still over it";
    Leave(l);
    EXPECT_FALSE(l.Underlined()) << "leaving takes off even the form's underline";
    EXPECT_TRUE(l.Bold()) << "bold stays";
    EXPECT_EQ(l.FontColor(), kPurple);
    Enter(l);
    EXPECT_EQ(l.FontColor(), kRed);
    EXPECT_TRUE(l.Underlined());
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 1);
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(InternetLabel, AFailedOpenStaysBlueAndSaysWhy) {
    shellResult = 2; // file not found
    auto& l = Make({.caption = u"Home page", .link = u"nowhere:x"});
    l.SetVisited(true);
    l.Visit();
    EXPECT_FALSE(l.Visited());
    EXPECT_EQ(l.FontColor(), kBlue);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_NE(fx.boxes[0].text.find(u"nowhere:x"), std::u16string::npos);
}

TEST_F(InternetLabel, AnEmptyAddressOpensOnlyWhenTheHandlerAllowsIt) {
    int clicks = 0;
    auto& l = Make({.caption = u"www", .onClick = [&] { ++clicks; }});
    Click(l);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(opened.empty());
    bool asked = false;
    l.OnLinkActivating = [&](TInternetLabel& sender, bool& canActivate) {
        EXPECT_EQ(&sender, &l);
        EXPECT_FALSE(canActivate) << "starts as 'the address is not empty'";
        asked = true;
        canActivate = true;
    };
    l.Visit();
    EXPECT_TRUE(asked);
    EXPECT_EQ(opened, std::vector<std::u16string>{u""});
    EXPECT_TRUE(l.Visited());

    l.SetLink(u"https://example.invalid/a");
    l.OnLinkActivating = [](TInternetLabel&, bool& canActivate) { canActivate = false; };
    l.Visit();
    EXPECT_EQ(opened.size(), 1u) << "the handler said no";
}

TEST_F(InternetLabel, ColourSettersRecolourOnlyWhatIsShowing) {
    auto& l = Make({.caption = u"Home page", .link = u"x", .linkHint = true});
    l.SetLink(u"https://example.invalid/h");
    EXPECT_EQ(l.Hint(), u"https://example.invalid/h") << "LinkHint copies the address";
    l.SetVisited(true);
    l.SetVisitedColor(0x00AA00);
    EXPECT_EQ(l.FontColor(), COLORREF{0x00AA00}) << "visited, mouse away: at once";
    l.SetNotVisitedColor(0x111111);
    EXPECT_EQ(l.FontColor(), COLORREF{0x00AA00}) << "not what is showing";
    Enter(l);
    l.SetVisitedColor(0x222222);
    EXPECT_EQ(l.FontColor(), kRed) << "over it: only after the mouse leaves";
    l.SetOverColor(0x333333);
    EXPECT_EQ(l.FontColor(), COLORREF{0x333333});
    Leave(l);
    EXPECT_EQ(l.FontColor(), COLORREF{0x222222});
    l.SetAbout(true);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].text, u"Internet Label 2.0");
    EXPECT_FALSE(l.About());
}
