#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "core/app_name.h"
#include "core/errors.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/actions.h"
#include "ui/controls.h"
#include "ui/kit_scanner.h"
#include "ui/page_control.h"
#include "ui/spin_edit.h"

using namespace vp;
using namespace vp::ui;
using vp::test::Pump;

namespace {

class UiControls : public ::testing::Test {
  protected:
    TForm form{u"TestForm", {.caption = u"Toolkit test", .clientWidth = 500, .clientHeight = 400}};
};

} // namespace

TEST_F(UiControls, ButtonClickIsReflectedToItsOwnObject) {
    int clicks = 0;
    auto& pnl = form.Create<TPanel>(form, u"pnlLeft", {0, 0, 200, 200});
    auto& btn = form.Create<TButton>(pnl, u"btnGo", {8, 8, 80, 25},
                                     {.caption = u"Go", .onClick = [&] { ++clicks; }});
    SendMessageW(btn.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    btn.SetEnabled(false);
    btn.Click();
    EXPECT_EQ(clicks, 1) << "a disabled button does not click";
}

TEST_F(UiControls, AnErrorInAnEventIsReportedAndTheFormGoesOn) {
    AppName = kProgramName;
    test::CaptureEffects fx;
    auto& grp = form.Create<TGroupBox>(form, u"grpX", {0, 0, 200, 200}, {.caption = u"Group"});
    auto& btn = form.Create<TButton>(grp, u"btnFail", {8, 20, 80, 25},
                                     {.onClick = [] { throw Error(u"Click failed"); }});
    SendMessageW(btn.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].text, u"Click failed");
    EXPECT_TRUE(IsWindow(btn.Handle()));
}

TEST_F(UiControls, CheckBoxStateAndClickEvents) {
    int clicks = 0;
    auto& chk = form.Create<TCheckBox>(
        form, u"chkTrim", {8, 8, 150, 17},
        {.caption = u"Trim spaces", .checked = true, .onClick = [&] { ++clicks; }});
    EXPECT_TRUE(chk.Checked());
    EXPECT_EQ(clicks, 0) << "the initial state raises nothing";
    SendMessageW(chk.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(chk.State(), cbUnchecked);
    EXPECT_EQ(clicks, 1);
    chk.SetChecked(false); // no change, no event
    EXPECT_EQ(clicks, 1);
    chk.SetState(cbGrayed);
    EXPECT_EQ(chk.State(), cbGrayed);
    EXPECT_EQ(clicks, 2);
    chk.SetChecked(true);
    EXPECT_EQ(clicks, 3);
}

TEST_F(UiControls, RadioButtonsOnOneParentExcludeEachOther) {
    auto& grp = form.Create<TGroupBox>(form, u"GroupHelp", {0, 0, 300, 120}, {.caption = u"Help"});
    std::vector<std::u16string> clicked;
    auto make = [&](const char16_t* name, int top, bool checked) -> TRadioButton& {
        return form.Create<TRadioButton>(
            grp, name, {8, top, 200, 17},
            {.caption = name, .checked = checked, .onClick = [&clicked, name] {
                 clicked.push_back(name);
             }});
    };
    auto& off = make(u"radOff", 20, false);
    auto& tips = make(u"radTips", 40, false);
    auto& bar = make(u"radBar", 60, true);
    EXPECT_TRUE(bar.Checked());
    tips.SetChecked(true);
    EXPECT_TRUE(tips.Checked());
    EXPECT_FALSE(bar.Checked());
    SendMessageW(off.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(off.Checked());
    EXPECT_FALSE(tips.Checked());
    EXPECT_EQ(clicked, (std::vector<std::u16string>{u"radTips", u"radOff"}));
}

TEST_F(UiControls, ActionUpdatesBoundButtonAndMenuItemAndExecutes) {
    int runs = 0;
    auto& act = form.CreateComponent<TAction>(u"actToggleMonitor", {.caption = u"Monitor clipboard",
                                                                    .category = u"Clipboard",
                                                                    .shortCut = VK_F9,
                                                                    .onExecute = [&] { ++runs; }});
    auto& menu = form.CreateComponent<TMainMenu>(u"MainMenu");
    auto& mnuClip = menu.Add(u"mnuOp", {.caption = u"&Clipboard"});
    auto& mnuMonitor = mnuClip.Add(u"mnuMonitor", {.action = &act});
    auto& btn = form.Create<TButton>(form, u"btnMonitor", {8, 8, 150, 25}, {.action = &act});

    EXPECT_EQ(btn.Caption(), u"Monitor clipboard");
    auto menuText = [&] {
        wchar_t text[100] = {};
        GetMenuStringW(GetSubMenu(menu.Handle(), 0), 0, text, 100, MF_BYPOSITION);
        return U(text);
    };
    EXPECT_EQ(menuText(), u"Monitor clipboard\tF9");

    act.SetCaption(u"Stop monitoring");
    act.SetEnabled(false);
    EXPECT_EQ(btn.Caption(), u"Stop monitoring");
    EXPECT_FALSE(btn.Enabled());
    EXPECT_EQ(menuText(), u"Stop monitoring\tF9");
    EXPECT_TRUE(GetMenuState(GetSubMenu(menu.Handle(), 0), 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(mnuMonitor.Enabled());
    EXPECT_FALSE(act.Execute());
    EXPECT_EQ(runs, 0);

    act.SetEnabled(true);
    SendMessageW(btn.Handle(), BM_CLICK, 0, 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(mnuMonitor.CommandId(), 0), 0);
    EXPECT_EQ(runs, 2) << "button and menu item both execute the action";
}

TEST_F(UiControls, AMenuBarFilledWhileHiddenHasItsRowWhenShown) {
    auto& pad = form.Create<TPanel>(form, u"pnlAll", {}, {.align = TAlign::alClient});
    auto& menu = form.CreateComponent<TMainMenu>(u"MainMenu");
    menu.Add(u"mnuFile", {.caption = u"&File"}).Add(u"mnuExit", {.caption = u"E&xit"});
    menu.Add(u"mnuHelp", {.caption = u"&Help"});
    // The frame measured while hidden, as the restored settings use it, holds once shown.
    const int frameHeight = form.Height() - form.ClientHeight();
    form.Show(SW_SHOWNOACTIVATE);
    Pump();
    EXPECT_EQ(form.Height() - form.ClientHeight(), frameHeight);
    MENUBARINFO bar{sizeof bar};
    ASSERT_TRUE(GetMenuBarInfo(form.Handle(), OBJID_MENU, 0, &bar));
    EXPECT_GT(bar.rcBar.bottom, bar.rcBar.top);
    // The client area, and the panel filling it, begin below the menu row (Wine's row
    // rectangle takes in the line under it).
    POINT origin{0, 0};
    ClientToScreen(form.Handle(), &origin);
    EXPECT_GE(origin.y, bar.rcBar.bottom - 1);
    RECT window{};
    GetWindowRect(form.Handle(), &window);
    EXPECT_EQ(pad.Height(), form.ClientHeight());
    EXPECT_LE(origin.y + form.ClientHeight(), window.bottom);
}

TEST_F(UiControls, ShortcutsOfActionsAndMenuItemsFormTheAcceleratorTable) {
    int saves = 0, clears = 0;
    form.CreateComponent<TAction>(u"actSaveAs", {.caption = u"Save as...",
                                                 .shortCut = scCtrl | scShift | 'S',
                                                 .onExecute = [&] { ++saves; }});
    auto& menu = form.CreateComponent<TMainMenu>(u"MainMenu");
    menu.Add(u"mnuOp", {.caption = u"&Clipboard"})
        .Add(u"mnuClearClipboard", {.caption = u"Clear clipboard",
                                    .shortCut = scCtrl | VK_DELETE,
                                    .onClick = [&] { ++clears; }});
    HACCEL table = form.AcceleratorTable();
    ASSERT_NE(table, nullptr);
    ACCEL entries[4];
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 4), 2);
    EXPECT_EQ(entries[0].key, 'S');
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL | FSHIFT);
    EXPECT_EQ(entries[1].key, VK_DELETE);
    EXPECT_EQ(entries[1].fVirt, FVIRTKEY | FCONTROL);
    for (const ACCEL& a : entries) {
        if (&a - entries >= 2)
            break;
        SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
    }
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(ShortCutToText(scCtrl | scShift | 'S'), u"Ctrl+Shift+S");
    EXPECT_EQ(ShortCutToText(scCtrl | VK_DELETE), u"Ctrl+Del");
}

TEST_F(UiControls, PageControlHidesAndShowsTabsAndKeepsAnActivePage) {
    auto& pc = form.Create<TPageControl>(form, u"PageControl", {0, 0, 400, 300});
    auto& tabMain = form.Create<TTabSheet>(pc, u"tabMain", {}, {.caption = u"Main"});
    auto& tabSettings = form.Create<TTabSheet>(pc, u"tabSettings", {}, {.caption = u"Settings"});
    auto& tabLicense =
        form.Create<TTabSheet>(pc, u"tabLicense", {}, {.caption = u"License", .tabVisible = false});
    auto& tabAbout = form.Create<TTabSheet>(pc, u"tabAbout", {}, {.caption = u"About"});
    auto tabCaptions = [&] {
        std::vector<std::u16string> out;
        for (int i = 0; i < TabCtrl_GetItemCount(pc.Handle()); ++i) {
            wchar_t text[64] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 64;
            TabCtrl_GetItem(pc.Handle(), i, &item);
            out.push_back(U(text));
        }
        return out;
    };
    using L = std::vector<std::u16string>;
    EXPECT_EQ(tabCaptions(), (L{u"Main", u"Settings", u"About"}));
    EXPECT_EQ(pc.ActivePage(), &tabMain);

    pc.SetActivePage(&tabLicense);
    EXPECT_EQ(pc.ActivePage(), &tabMain) << "a hidden tab cannot become active";

    tabLicense.SetTabVisible(true);
    pc.SetActivePageIndex(2);
    EXPECT_EQ(pc.ActivePage(), &tabLicense);
    EXPECT_EQ(tabCaptions(), (L{u"Main", u"Settings", u"License", u"About"}));
    EXPECT_EQ(TabCtrl_GetCurSel(pc.Handle()), 2);
    EXPECT_TRUE(tabLicense.Visible());
    EXPECT_FALSE(tabMain.Visible());

    tabLicense.SetTabVisible(false); // the next visible sheet takes over
    EXPECT_EQ(pc.ActivePage(), &tabAbout);
    EXPECT_EQ(pc.ActivePageIndex(), 3);
    EXPECT_EQ(TabCtrl_GetCurSel(pc.Handle()), 2);
    tabAbout.SetTabVisible(false); // no sheet after it: the one before
    EXPECT_EQ(pc.ActivePage(), &tabSettings);

    int changes = 0;
    pc.OnChange = [&] { ++changes; };
    TabCtrl_SetCurFocus(pc.Handle(), 0); // as the user picks a tab
    EXPECT_EQ(pc.ActivePage(), &tabMain);
    EXPECT_EQ(changes, 1);
}

TEST_F(UiControls, StatusBarShowsOneSimpleText) {
    auto& bar = form.Create<TStatusBar>(form, u"StatBar", {}, {.simpleText = u"www.example.com"});
    EXPECT_EQ(bar.SimpleText(), u"www.example.com");
    bar.SetSimpleText(u"File not saved!");
    EXPECT_EQ(bar.SimpleText(), u"File not saved!");
    EXPECT_EQ(bar.Text(), u"File not saved!") << "other processes read the window text";
    EXPECT_EQ(FindWindowExW(form.Handle(), nullptr, STATUSCLASSNAMEW, nullptr), bar.Handle());
}

TEST_F(UiControls, FormListsItsComponentsInCreationOrderByName) {
    auto& pnl = form.Create<TPanel>(form, u"pnlLeft", {0, 0, 100, 100});
    form.Create<TCheckBox>(pnl, u"chkA", {0, 0, 50, 17});
    form.CreateComponent<TAction>(u"actB");
    form.Create<TSpinEdit>(form, u"spnC", {0, 120, 60, 21});
    form.CreateComponent<TTimer>(u"tmrD", {.enabled = false});
    std::vector<std::u16string> names, classes;
    for (size_t i = 0; i < form.ComponentCount(); ++i) {
        names.push_back(form.Components(i).Name());
        classes.push_back(form.Components(i).ClassName());
    }
    using L = std::vector<std::u16string>;
    EXPECT_EQ(names, (L{u"pnlLeft", u"chkA", u"actB", u"spnC", u"tmrD"}));
    EXPECT_EQ(classes, (L{u"TPanel", u"TCheckBox", u"TAction", u"TSpinEdit", u"TTimer"}));
    EXPECT_NE(form.Find<TCheckBox>(u"chkA"), nullptr);
    EXPECT_EQ(form.Find<TCheckBox>(u"actB"), nullptr);
    EXPECT_THROW(form.CreateComponent<TAction>(u"actB"), Error) << "names are unique";

    // The name travels with the window, for tools outside the process.
    auto* chk = form.Find<TCheckBox>(u"chkA");
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(chk->Handle(), L"VpName")));
    wchar_t name[32] = {};
    GlobalGetAtomNameW(atom, name, 32);
    EXPECT_EQ(U(name), u"chkA");

    form.Free(pnl); // its child goes with it
    names.clear();
    for (size_t i = 0; i < form.ComponentCount(); ++i)
        names.push_back(form.Components(i).Name());
    EXPECT_EQ(names, (L{u"actB", u"spnC", u"tmrD"}));
}

TEST_F(UiControls, HotKeyHoldsAShortcutCode) {
    int changes = 0;
    auto& hot = form.Create<THotKey>(form, u"hotMonitor", {8, 8, 120, 21},
                                     {.hotKey = scCtrl | VK_F9, .onChange = [&] { ++changes; }});
    EXPECT_EQ(hot.HotKey(), scCtrl | VK_F9);
    EXPECT_EQ(SendMessageW(hot.Handle(), HKM_GETHOTKEY, 0, 0), MAKEWORD(VK_F9, HOTKEYF_CONTROL));
    hot.SetHotKey(scShift | scAlt | 'K');
    EXPECT_EQ(hot.HotKey(), scShift | scAlt | 'K');
    hot.SetHotKey(0);
    EXPECT_EQ(hot.HotKey(), 0);
}

TEST_F(UiControls, SpinEditReadsAndLimitsItsValue) {
    std::vector<int> seen;
    auto& spn =
        form.Create<TSpinEdit>(form, u"spnOpacity", {8, 8, 60, 21},
                               {.minValue = 30, .maxValue = 255, .value = 199, .increment = 3});
    spn.OnChange = [&] { seen.push_back(spn.Value()); };
    EXPECT_EQ(spn.Value(), 199);
    spn.SetValue(300);
    EXPECT_EQ(spn.Text(), u"255");
    spn.SetText(u"abc");
    EXPECT_EQ(spn.Value(), 30) << "not a number reads as the minimum";
    spn.SetText(u" 40 ");
    EXPECT_EQ(spn.Value(), 40);
    EXPECT_EQ(seen, (std::vector<int>{255, 30, 40}));
    // The up button adds one increment.
    HWND updown = FindWindowExW(form.Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(updown, nullptr);
    NMUPDOWN nm{};
    nm.hdr.hwndFrom = updown;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(updown));
    nm.hdr.code = UDN_DELTAPOS;
    nm.iDelta = 1;
    SendMessageW(form.Handle(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(spn.Value(), 43);

    auto& free = form.Create<TSpinEdit>(form, u"spnFree", {8, 40, 60, 21},
                                        {.minValue = 0, .maxValue = 0, .value = -5});
    EXPECT_EQ(free.Value(), -5) << "equal bounds set no limit";
}

TEST_F(UiControls, TimersFireOnTheirWindowUntilStopped) {
    int ticks = 0;
    auto& tmr = form.CreateComponent<TTimer>(u"tmrTick", {.interval = 10});
    tmr.OnTimer = [&] {
        if (++ticks == 3)
            tmr.SetEnabled(false);
    };
    const DWORD start = GetTickCount();
    while (tmr.Enabled() && GetTickCount() - start < 3000) {
        Pump();
        Sleep(5);
    }
    EXPECT_EQ(ticks, 3);
    Sleep(40);
    Pump();
    EXPECT_EQ(ticks, 3) << "a stopped timer stays quiet";
}

TEST_F(UiControls, AlignedChildrenShareTheirParentsClientArea) {
    auto& pnl = form.Create<TPanel>(form, u"pnlHost", {0, 0, 300, 200});
    auto& top = form.Create<TPanel>(pnl, u"pnlTop", {0, 0, 10, 30}, {.align = TAlign::alTop});
    auto& left = form.Create<TPanel>(pnl, u"pnlSide", {0, 0, 50, 10}, {.align = TAlign::alLeft});
    auto& rest = form.Create<TPanel>(pnl, u"pnlRest", {0, 0, 1, 1}, {.align = TAlign::alClient});
    const int w = pnl.ClientWidth(), h = pnl.ClientHeight();
    EXPECT_EQ(top.Width(), w);
    EXPECT_EQ(left.Top(), top.Height());
    EXPECT_EQ(left.Height(), h - top.Height());
    EXPECT_EQ(rest.Left(), left.Width());
    EXPECT_EQ(rest.Width(), w - left.Width());
    pnl.SetBounds(0, 0, 400, 250);
    EXPECT_EQ(rest.Width(), pnl.ClientWidth() - left.Width());
}

TEST_F(UiControls, ScannerHoldsTheMonitoringStateAndStepsOnlyWhileScanning) {
    auto& scanner = form.Create<TKITScanner>(
        form, u"Scanner", {0, 0, 158, 12},
        {.howManyLeds = 12, .scanSpeed = 10, .scanColor = scGreen, .color = 0x0C6D03});
    EXPECT_FALSE(scanner.Scanning());
    EXPECT_EQ(scanner.Color(), 0x0C6D03u);
    EXPECT_EQ(scanner.ScanColorValue(), 0x00FF00u);
    int steps = 0;
    scanner.OnStep = [&] { ++steps; };
    scanner.SetScanning(true);
    const DWORD start = GetTickCount();
    while (steps < 2 && GetTickCount() - start < 3000) {
        Pump();
        Sleep(5);
    }
    EXPECT_GE(steps, 2);
    scanner.SetColor(0x0000FF);
    scanner.SetScanColor(scRed);
    scanner.SetScanning(false);
    EXPECT_FALSE(scanner.Scanning());
    EXPECT_EQ(scanner.ScanColorValue(), 0x0000FFu);
    const int seen = steps;
    Sleep(40);
    Pump();
    EXPECT_EQ(steps, seen) << "no steps once stopped";
    scanner.SetHowManyLeds(0);
    EXPECT_EQ(scanner.HowManyLeds(), 1);
    scanner.SetHowManyLeds(200);
    EXPECT_EQ(scanner.HowManyLeds(), 100);
}

namespace {
// A visible window of the same program that only counts the repaints it is asked for.
int bystanderRepaints = 0;
LRESULT CALLBACK BystanderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND || msg == WM_NCPAINT)
        ++bystanderRepaints;
    if (msg == WM_PAINT) {
        ++bystanderRepaints;
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
} // namespace

TEST_F(UiControls, MakingColouredControlsRepaintsNoOtherWindow) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BystanderProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VpBystander";
    RegisterClassW(&wc);
    HWND bystander = CreateWindowExW(0, wc.lpszClassName, L"Bystander", WS_OVERLAPPEDWINDOW, 600,
                                     50, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(bystander, nullptr);
    ShowWindow(bystander, SW_SHOWNOACTIVATE);
    UpdateWindow(bystander);
    Pump();
    bystanderRepaints = 0;

    // Each of these gives itself a colour or a look before its window exists.
    auto& pnl =
        form.Create<TPanel>(form, u"pnlColoured", {0, 0, 200, 200}, {.color = RGB(211, 213, 218)});
    form.Create<TGroupBox>(pnl, u"grpColoured", {0, 0, 100, 100},
                           {.caption = u"Group", .color = RGB(190, 214, 200)});
    form.Create<TKITScanner>(pnl, u"scnColoured", {0, 120, 100, 14}, {.color = 0x0C6D03});
    Pump();

    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(bystander, &pending, FALSE));
    EXPECT_EQ(bystanderRepaints, 0);
    DestroyWindow(bystander);
}
