#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/app_name.h"
#include "core/encoding.h"
#include "core/errors.h"
#include "core/scope_exit.h"
#include "core/text.h"
#include "platform/work_area.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/actions.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/form_state.h"
#include "ui/memo.h"
#include "ui/page_control.h"
#include "ui/velmor_path_edit.h"
#include "ui/velmor_spin_edit.h"

using namespace vp;
using namespace vp::ui;
using test::ReadBytes;
using test::WriteBytes;

namespace {

std::u16string IntToText(int n) {
    return FromUtf8(std::to_string(n));
}

// The text that reached the debugger output channel while an instance lived.
class DebugOutput {
  public:
    DebugOutput() {
        lines_ = &lines;
        handler_ = AddVectoredExceptionHandler(1, &Catch);
    }
    ~DebugOutput() {
        RemoveVectoredExceptionHandler(handler_);
        lines_ = nullptr;
    }
    std::vector<std::u16string> lines;

  private:
    static LONG CALLBACK Catch(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD& r = *info->ExceptionRecord;
        if (!lines_ || r.NumberParameters < 2)
            return EXCEPTION_CONTINUE_SEARCH;
        if (r.ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C)
            lines_->push_back(U(reinterpret_cast<const wchar_t*>(r.ExceptionInformation[1])));
        else if (r.ExceptionCode == DBG_PRINTEXCEPTION_C)
            lines_->push_back(FromUtf8(reinterpret_cast<const char*>(r.ExceptionInformation[1])));
        return EXCEPTION_CONTINUE_SEARCH;
    }
    inline static std::vector<std::u16string>* lines_ = nullptr;
    PVOID handler_ = nullptr;
};

// One control of every kind that the main window stores, and a few that are never stored.
class FormState : public ::testing::Test {
  protected:
    void SetUp() override {
        AppName = kProgramName;
        folder = test::NewTempFolder(u"vp-state-");
        CreateDirectoryW(W(folder), nullptr);
        ini = folder + u"State.ini";

        auto& pages = form.Create<TPageControl>(form, u"PageControl", {0, 0, 480, 360});
        auto& sheet1 = form.Create<TTabSheet>(pages, u"tabMain", {}, {.caption = u"Main"});
        form.Create<TTabSheet>(pages, u"tabCategories", {}, {.caption = u"Categories"});
        sheet = &form.Create<TTabSheet>(pages, u"tabSettings", {}, {.caption = u"Settings"});
        form.Create<TLabel>(sheet1, u"lblInfo", {8, 8, 100, 17}, {.caption = u"Info"});
        rad1 = &form.Create<TRadioButton>(*sheet, u"radHintsOff", {8, 8, 120, 17},
                                          {.checked = true, .onClick = Count(u"radHintsOff")});
        rad2 = &form.Create<TRadioButton>(*sheet, u"radHintsTooltips", {8, 28, 120, 17},
                                          {.onClick = Count(u"radHintsTooltips")});
        spn = &form.Create<TSpinEdit>(
            *sheet, u"spnOpacity", {8, 48, 60, 21},
            {.minValue = 10, .maxValue = 255, .value = 255, .onChange = Count(u"spnOpacity")});
        chk = &form.Create<TCheckBox>(*sheet, u"chkTrim", {8, 72, 120, 17},
                                      {.checked = true, .onClick = Count(u"chkTrim")});
        hot = &form.Create<THotKey>(*sheet, u"hotMonitor", {8, 92, 120, 21},
                                    {.hotKey = scCtrl | VK_F9, .onChange = Count(u"hotMonitor")});
        path = &form.Create<TVelmorPathEdit>(
            *sheet, u"PathBackup", {8, 116, 300, 41},
            {.inputType = TInputType::itFile, .onPathChanged = Count(u"PathBackup")});
        edt = &form.Create<TEdit>(*sheet, u"edtNote", {8, 160, 120, 21},
                                  {.onChange = Count(u"edtNote")});
        delayed = &form.Create<TVelmorSpinEdit>(
            *sheet, u"spnInterval", {8, 184, 60, 21},
            {.minValue = 0, .maxValue = 30, .value = 1, .onChange = Count(u"spnInterval")});
        form.Create<TButton>(*sheet, u"btnApply", {8, 210, 80, 25}, {.caption = u"Apply"});
        form.Create<TMemo>(sheet1, u"mmoClipboard", {8, 30, 300, 200});
        auto& menu = form.CreateComponent<TMainMenu>(u"MainMenu");
        mnuFile = &menu.Add(u"mnuFile", {.caption = u"&File"});
        mnuSave = &mnuFile->Add(u"mnuSave", {.caption = u"&Save"});
        act = &form.CreateComponent<TAction>(u"actSave", {.caption = u"Save"});
        form.CreateComponent<TTimer>(u"tmrStep", {.enabled = false});
        calls.clear();
    }
    void TearDown() override {
        SetFileAttributesW(W(ini), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(W(ini));
        RemoveDirectoryW(W(folder));
    }
    std::function<void()> Count(std::u16string name) {
        return [this, name] { calls.push_back(name); };
    }
    std::u16string IniText() { return FromUtf8(ReadBytes(ini)); }

    TForm form{u"MainForm", {.caption = u"State test", .clientWidth = 500, .clientHeight = 400}};
    test::CaptureEffects fx;
    std::u16string folder, ini;
    std::vector<std::u16string> calls;
    TTabSheet* sheet = nullptr;
    TRadioButton *rad1 = nullptr, *rad2 = nullptr;
    TSpinEdit* spn = nullptr;
    TCheckBox* chk = nullptr;
    THotKey* hot = nullptr;
    TVelmorPathEdit* path = nullptr;
    TEdit* edt = nullptr;
    TVelmorSpinEdit* delayed = nullptr;
    TMenuItem *mnuFile = nullptr, *mnuSave = nullptr;
    TAction* act = nullptr;
};

} // namespace

TEST_F(FormState, WritesTheWindowAndEverySupportedControlInCreationOrder) {
    SetWindowPos(form.Handle(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    path->SetPath(u"C:\\backup.txt");
    edt->SetText(u"note");
    chk->SetState(cbGrayed);
    SaveFormState(form, ini);

    const StringList lines = TextToStringList(IniText());
    const std::u16string w = IntToText(form.ClientWidth()), h = IntToText(form.ClientHeight());
    const StringList expected = {
        u"[QRT/Soft]",
        u"MainForm-WindowState=0",
        u"MainForm-Top=30",
        u"MainForm-Left=40",
        u"MainForm-ClWidth=" + w,
        u"MainForm-ClHeight=" + h,
        u"PageControl=0",
        u"radHintsOff=1",
        u"radHintsTooltips=0",
        u"spnOpacity=255",
        u"chkTrim=2",
        u"hotMonitor=" + IntToText(scCtrl | VK_F9),
        u"PathBackup=C:\\backup.txt",
        u"edtNote=note",
        u"spnInterval=1",
        u"mnuFile=0",
        u"mnuSave=0",
        u"actSave=0",
        u"",
        u"[MainForm]",
    };
    ASSERT_GE(lines.size(), expected.size() + 5);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i;
    // The five font keys follow in the window's own section.
    const char16_t* fontKeys[] = {u"FormFontName=", u"FormFontCharSet=", u"FormFontColor=",
                                  u"FormFontSize=", u"FormFontStyle="};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(lines[expected.size() + i].rfind(fontKeys[i], 0), 0u)
            << ToUtf8(lines[expected.size() + i]);
}

TEST_F(FormState, RestoresEveryValueThroughItsSetterSoHandlersRun) {
    rad2->SetChecked(true);
    spn->SetValue(180);
    chk->SetState(cbGrayed);
    hot->SetHotKey(scCtrl | scShift | 'K');
    path->SetPath(u"D:\\saved.txt");
    edt->SetText(u"kept");
    delayed->SetValue(7);
    form.Find<TPageControl>(u"PageControl")->SetActivePageIndex(2);
    SetWindowPos(form.Handle(), nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const int width = form.ClientWidth(), height = form.ClientHeight();
    SaveFormState(form, ini);

    // Back to the design values, then load.
    rad1->SetChecked(true);
    spn->SetValue(255);
    chk->SetState(cbChecked);
    hot->SetHotKey(scCtrl | VK_F9);
    path->SetPath(u"C:\\default.txt");
    edt->SetText(u"");
    delayed->SetValue(1);
    form.Find<TPageControl>(u"PageControl")->SetActivePageIndex(0);
    SetWindowPos(form.Handle(), nullptr, 300, 300, 200, 150, SWP_NOZORDER);
    calls.clear();
    LoadFormState(form, ini);

    EXPECT_TRUE(rad2->Checked());
    EXPECT_FALSE(rad1->Checked());
    EXPECT_EQ(spn->Value(), 180);
    EXPECT_EQ(chk->State(), cbGrayed);
    EXPECT_EQ(hot->HotKey(), scCtrl | scShift | 'K');
    EXPECT_EQ(path->Path(), u"D:\\saved.txt");
    EXPECT_EQ(edt->Text(), u"kept");
    EXPECT_EQ(delayed->Value(), 7);
    EXPECT_FALSE(delayed->TimerActive()) << "a restored value brings no delayed notification";
    EXPECT_EQ(form.Find<TPageControl>(u"PageControl")->ActivePageIndex(), 2);
    EXPECT_EQ(form.Left(), 60);
    EXPECT_EQ(form.Top(), 70);
    EXPECT_EQ(form.ClientWidth(), width);
    EXPECT_EQ(form.ClientHeight(), height);

    // Handlers ran in creation order for the values that differed.
    const std::vector<std::u16string> expected = {
        u"radHintsTooltips", u"spnOpacity", u"chkTrim", u"PathBackup", u"edtNote", u"spnInterval"};
    std::vector<std::u16string> seen;
    for (const auto& c : calls)
        if (seen.empty() || seen.back() != c)
            seen.push_back(c);
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(FormState, AFreshFileKeepsTheDesignValuesAndCentresTheWindow) {
    LoadFormState(form, ini);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(rad1->Checked());
    EXPECT_EQ(spn->Value(), 255);
    EXPECT_EQ(form.Left(), (GetSystemMetrics(SM_CXSCREEN) - form.Width()) / 2);
    EXPECT_EQ(form.Top(), (GetSystemMetrics(SM_CYSCREEN) - form.Height()) / 2);
    EXPECT_EQ(form.ClientWidth(), Scale(500));
    EXPECT_EQ(ReadBytes(ini), "<missing>") << "loading writes nothing";
}

TEST_F(FormState, BadValuesGiveTheDefaultsAndNeverStopTheLoad) {
    WriteBytes(ini, "garbage without a section\r\n[[[\r\n=\r\n"
                    "[QRT/Soft]\r\n"
                    "MainForm-Top=50\r\n"
                    "MainForm-WindowState=banana\r\n"
                    "chkTrim=\r\n"
                    "spnOpacity=abc\r\n"
                    "hotMonitor=99999\r\n"
                    "PageControl=7\r\n"
                    "radHintsOff=yes\r\n"
                    "radHintsTooltips=2\r\n"
                    "edtNote=\"quoted\"\r\n"
                    "spnInterval=-40\r\n"
                    "\xff\xfe\x01 not utf-8\r\n");
    LoadFormState(form, ini);
    EXPECT_EQ(chk->State(), cbUnchecked) << "an empty value reads as 0";
    EXPECT_EQ(spn->Value(), 10) << "no number reads as 0, which the control lifts to its minimum";
    EXPECT_EQ(hot->HotKey(), scCtrl | VK_F9) << "no shortcut code: the box keeps its value";
    EXPECT_EQ(form.Find<TPageControl>(u"PageControl")->ActivePageIndex(), 0);
    EXPECT_TRUE(rad2->Checked()) << "2 is true";
    EXPECT_FALSE(rad1->Checked());
    EXPECT_EQ(edt->Text(), u"quoted");
    EXPECT_EQ(delayed->Value(), 0) << "clamped by the control";
    // "-Top" alone: the stored top, left 0 and a client area as small as the window allows.
    EXPECT_EQ(form.Top(), 50);
    EXPECT_EQ(form.Left(), 0);
    EXPECT_LT(form.ClientWidth(), Scale(500));
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(FormState, AReadOnlyFileOnlyReachesTheDebugger) {
    WriteBytes(ini, "[QRT/Soft]\r\nchkTrim=0\r\n");
    SetFileAttributesW(W(ini), FILE_ATTRIBUTE_READONLY);
    {
        DebugOutput debug;
        EXPECT_NO_THROW(SaveFormState(form, ini));
        EXPECT_EQ(debug.lines.size() >= 1 ? debug.lines[0] : u"<none>",
                  u"Cannot save INI file to disk: " + ini + u"\t");
        for (const auto& line : debug.lines)
            EXPECT_EQ(line, u"Cannot save INI file to disk: " + ini + u"\t")
                << "nothing else is reported";
    }
    EXPECT_EQ(ReadBytes(ini), "[QRT/Soft]\r\nchkTrim=0\r\n");
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(FormState, WindowStatesAndTheFormFont) {
    form.Show(SW_SHOWNOACTIVATE);
    ShowWindow(form.Handle(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(form.Handle()));
    SaveFormState(form, ini);
    EXPECT_FALSE(IsZoomed(form.Handle())) << "stored as normal, with its normal bounds";
    EXPECT_NE(IniText().find(u"MainForm-WindowState=0\r\n"), std::u16string::npos);
    EXPECT_EQ(IniText().find(u"MainForm-ClWidth=" + IntToText(Scale(500)) + u"\r\n") !=
                  std::u16string::npos,
              true);

    // A minimised window comes back minimised when it is shown.
    ShowWindow(form.Handle(), SW_MINIMIZE);
    SaveFormState(form, ini);
    EXPECT_NE(IniText().find(u"MainForm-WindowState=1\r\n"), std::u16string::npos);
    EXPECT_EQ(IniText().find(u"MainForm-Top=-32000"), std::u16string::npos);
    TForm other(u"MainForm", {.caption = u"Second run"});
    LoadFormState(other, ini);
    EXPECT_EQ(FormShowCommand(other), SW_SHOWMINIMIZED);
    EXPECT_EQ(FormShowCommand(form), SW_SHOWNORMAL);

    // A hand-set font reaches the window's controls, and is written back.
    WriteBytes(ini, "[MainForm]\r\nFormFontName=Courier New\r\nFormFontSize=12\r\n"
                    "FormFontStyle=1\r\n");
    LoadFormState(form, ini);
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edt->Handle(), WM_GETFONT, 0, 0)), sizeof(lf),
               &lf);
    EXPECT_STREQ(lf.lfFaceName, L"Courier New");
    EXPECT_EQ(lf.lfHeight, -MulDiv(12, static_cast<int>(ScreenDpi()), 72));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    SaveFormState(form, ini);
    const std::u16string text = IniText();
    for (const char16_t* key :
         {u"FormFontName=Courier New\r\n", u"FormFontSize=12\r\n", u"FormFontStyle=1\r\n",
          u"FormFontCharSet=0\r\n", u"FormFontColor=-16777208\r\n"})
        EXPECT_NE(text.find(key), std::u16string::npos) << ToUtf8(key);
}

TEST_F(FormState, AWindowMinimisedBesideATaskbarAtTheTopOrLeftKeepsItsPlace) {
    form.Show(SW_SHOWNOACTIVATE);
    SetWindowPos(form.Handle(), nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT before{};
    GetWindowRect(form.Handle(), &before);
    WINDOWPLACEMENT wp{sizeof(wp)};
    GetWindowPlacement(form.Handle(), &wp);
    ASSERT_EQ(before.top, wp.rcNormalPosition.top) << "here the work area is the screen";
    ShowWindow(form.Handle(), SW_MINIMIZE);
    // Where the system has a taskbar 30 wide on the left and 40 high at the top, a
    // window's normal place counts from the work area's corner, not the screen's.
    const MonitorAreas areas{.monitor = {0, 0, 1600, 900}, .work = {30, 40, 1600, 900}};
    hooks::MonitorAreasOf = [&](HWND) { return areas; };
    const ScopeExit unhook([] { hooks::MonitorAreasOf = nullptr; });
    SaveFormState(form, ini);
    const std::u16string text = IniText();
    EXPECT_NE(text.find(u"MainForm-Top=" + IntToText(wp.rcNormalPosition.top + 40) + u"\r\n"),
              std::u16string::npos)
        << ToUtf8(text);
    EXPECT_NE(text.find(u"MainForm-Left=" + IntToText(wp.rcNormalPosition.left + 30) + u"\r\n"),
              std::u16string::npos);
    EXPECT_NE(text.find(u"MainForm-ClWidth=" + IntToText(Scale(500)) + u"\r\n"),
              std::u16string::npos);
}

TEST_F(FormState, AssertionsAndErrors) {
    TVelmorIniFileEx file(u"MainForm", ini);
    try {
        file.SaveForm(nullptr);
        ADD_FAILURE() << "no assertion";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Detail(), u"Assertion failure");
        EXPECT_EQ(e.Unit(), u"cINIFileEx");
    }
    EXPECT_THROW(file.LoadForm(nullptr), AssertionFailure);

    auto& unnamed = form.Create<TCheckBox>(*sheet, u"", {200, 8, 80, 17});
    try {
        file.Write(unnamed);
        ADD_FAILURE() << "no assertion";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Detail(), u"TVelmorIniFileEx-The control has no name! Class: TCheckBox");
    }
    EXPECT_THROW(file.Read(unnamed), AssertionFailure);

    auto& label = *form.Find<TLabel>(u"lblInfo");
    EXPECT_FALSE(file.IsSupported(label));
    file.Read(label); // no key: left alone before its class is looked at
    file.WriteString(kStateSection, u"lblInfo", u"1");
    for (auto op : {0, 1}) {
        try {
            op ? file.Write(label) : file.Read(label);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), u"Unsupported control: TLabel, lblInfo");
        }
    }
}

TEST_F(FormState, FitsTheWindowIntoTheWorkArea) {
    struct Case {
        int left, top, width, height; // the window
        int areaW, areaH;
        int wantLeft, wantTop, wantWidth, wantHeight;
    } cases[] = {
        {3000, 100, 600, 400, 1920, 1040, (1920 - 600) / 2, 100, 600, 400},
        {100, 2000, 600, 400, 1920, 1040, 100, 520, 600, 400},
        {100, 900, 600, 400, 1366, 728, 100, 364, 600, 400},
        {-50, -20, 600, 400, 1920, 1040, 0, 0, 600, 400},
        {1910, 1030, 600, 400, 1920, 1040, 1910, 1030, 600, 400}, // just inside
        {1911, 1031, 600, 400, 1920, 1040, 660, 520, 600, 400},
        {10, 10, 600, 400, 500, 300, 10, 10, 500, 300},
    };
    for (const auto& c : cases) {
        SetWindowPos(form.Handle(), nullptr, c.left, c.top, c.width, c.height, SWP_NOZORDER);
        FitFormToWorkArea(form, c.areaW, c.areaH);
        EXPECT_EQ(form.Left(), c.wantLeft) << c.left << "," << c.top;
        EXPECT_EQ(form.Top(), c.wantTop) << c.left << "," << c.top;
        EXPECT_EQ(form.Width(), c.wantWidth) << c.left << "," << c.top;
        EXPECT_EQ(form.Height(), c.wantHeight) << c.left << "," << c.top;
    }
}

TEST_F(FormState, CentresAControlInATabSheet) {
    auto& pnl = form.Create<TPanel>(*sheet, u"pnlCentre", {0, 0, 101, 51});
    CenterInTabSheet(pnl, *sheet);
    EXPECT_EQ(pnl.Left(), (sheet->ClientWidth() - pnl.Width()) / 2);
    EXPECT_EQ(pnl.Top(), (sheet->ClientHeight() - pnl.Height()) / 2);
    EXPECT_GT(pnl.Left(), 0);
}
