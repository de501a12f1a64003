#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <vector>

#include "core/app_name.h"
#include "core/encoding.h"
#include "core/text.h"
#include "platform/com_ptr.h"
#include "platform/folders.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/window.h"

using namespace vp;
namespace fs = std::filesystem;

namespace {

struct ShellCall {
    std::u16string verb, file, parameters;
    int showCmd;
};

// Records every shell call and answers with a chosen result.
class ShellCalls {
  public:
    explicit ShellCalls(std::intptr_t result = 42) : result(result) {
        hooks::ShellExec = [this](const std::u16string& v, const std::u16string& f,
                                  const std::u16string& p, int s) {
            calls.push_back({v, f, p, s});
            return this->result;
        };
    }
    ~ShellCalls() { hooks::ShellExec = nullptr; }
    std::intptr_t result;
    std::vector<ShellCall> calls;
};

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override { AppName = kProgramName; }
    test::CaptureEffects fx;
};

} // namespace

TEST_F(ShellTest, ShellOpenMapsResultsToSuccessAndErrorBoxes) {
    struct Case {
        std::intptr_t result;
        bool ok;
        const char16_t* box; // nullptr: nothing shown
    };
    const Case cases[] = {
        {42, true, nullptr},
        {33, true, nullptr},
        {32, false, u"The specified DLL was not found."},
        {31, false, u"There is no application associated with the given file name extension."},
        {2, false, u"The specified file was not found."},
        {0, false, u"The operating system is out of memory or resources."},
        {4, false, u"ShellExecute error 4"},
    };
    for (const auto& c : cases) {
        ShellCalls shell(c.result);
        fx.boxes.clear();
        EXPECT_EQ(ShellOpen(u"C:\\doc.txt", u"/x", true, SW_SHOWMINIMIZED), c.ok) << c.result;
        ASSERT_EQ(shell.calls.size(), 1u);
        EXPECT_EQ(shell.calls[0].verb, u"open");
        EXPECT_EQ(shell.calls[0].file, u"C:\\doc.txt");
        EXPECT_EQ(shell.calls[0].parameters, u"/x");
        EXPECT_EQ(shell.calls[0].showCmd, SW_SHOWMINIMIZED);
        if (!c.box) {
            EXPECT_TRUE(fx.boxes.empty()) << c.result;
            continue;
        }
        ASSERT_EQ(fx.boxes.size(), 1u) << c.result;
        EXPECT_EQ(fx.boxes[0].text, c.box);
        EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Error");
        EXPECT_EQ(fx.boxes[0].flags, static_cast<unsigned>(MB_ICONERROR));
    }
}

TEST_F(ShellTest, ShellOpenWithoutShowErrorsIsSilent) {
    ShellCalls shell(2);
    EXPECT_FALSE(ShellOpen(u"C:\\doc.txt", u"", false, SW_SHOW));
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(ShellTest, OpenWebAddressEscapesQuotesAndShowsFailures) {
    {
        ShellCalls shell;
        OpenWebAddress(u"https://example.com/?q=\"a b\"&r=\"");
        ASSERT_EQ(shell.calls.size(), 1u);
        EXPECT_EQ(shell.calls[0].verb, u"open");
        EXPECT_EQ(shell.calls[0].file, u"https://example.com/?q=%22a b%22&r=%22");
        EXPECT_EQ(shell.calls[0].parameters, u"");
        EXPECT_EQ(shell.calls[0].showCmd, SW_SHOWNORMAL);
        EXPECT_TRUE(fx.boxes.empty());
    }
    ShellCalls shell(31);
    EXPECT_NO_THROW(OpenWebAddress(u"https://example.com/"));
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].text,
              u"There is no application associated with the given file name extension.");
}

TEST_F(ShellTest, ExploreFolderExploresOnlyAnExistingFolder) {
    ShellCalls shell(2); // the result is not looked at
    const std::u16string temp = test::TempPath();
    ExploreFolder(temp);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, u"explore");
    EXPECT_EQ(shell.calls[0].file, temp);
    EXPECT_EQ(shell.calls[0].parameters, u"");
    EXPECT_EQ(shell.calls[0].showCmd, SW_SHOW);
    EXPECT_TRUE(fx.boxes.empty());

    shell.calls.clear();
    ExploreFolder(u"C:\\no such folder\\here");
    EXPECT_TRUE(shell.calls.empty());
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].text, u"Folder does not exist:\r\nC:\\no such folder\\here");
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Error");
}

TEST_F(ShellTest, ShowInExplorerReportsTheShellsAnswer) {
    std::vector<std::u16string> shown;
    long answer = S_OK;
    hooks::SelectInFolder = [&](const std::u16string& path) {
        shown.push_back(path);
        return answer;
    };
    const std::u16string self = ExecutablePath();
    EXPECT_TRUE(ShowInExplorer(self));
    answer = E_FAIL;
    EXPECT_FALSE(ShowInExplorer(self));
    EXPECT_EQ(shown, (std::vector<std::u16string>{self, self}));

    shown.clear();
    answer = S_OK;
    EXPECT_FALSE(ShowInExplorer(u"C:\\no such folder\\nothing.txt"));
    EXPECT_TRUE(shown.empty());
    hooks::SelectInFolder = nullptr;
}

namespace {

constexpr char16_t kTestValue[] = u"VpShellTestAutoStart";

// The Run value's data, or a marker in angle brackets when there is none.
std::u16string RunValue(const std::u16string& name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return u"<no key>";
    wchar_t data[1024];
    DWORD type = 0, bytes = sizeof(data);
    const LONG rc =
        RegQueryValueExW(key, W(name), nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return u"<absent>";
    if (type != REG_SZ)
        return u"<not a string>";
    return U(data, bytes / sizeof(wchar_t) - 1);
}

void DeleteRunValue(const std::u16string& name) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                       W(name));
}

class AutoStart : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        DeleteRunValue(kTestValue);
        DeleteRunValue(u"vp_win_tests");
    }
    void TearDown() override {
        DeleteRunValue(kTestValue);
        DeleteRunValue(u"vp_win_tests");
    }
};

} // namespace

TEST_F(AutoStart, WritesTheQuotedPathUnderTheExecutablesNameAndRemovesIt) {
    const std::u16string withBlank = u"C:\\Program Files\\Vp Test\\VpShellTestAutoStart.exe";
    const std::u16string noBlank = u"C:\\VpTest\\VpShellTestAutoStart.exe";

    EXPECT_TRUE(SetAutoStart(withBlank, true));
    EXPECT_EQ(RunValue(kTestValue), u"\"" + withBlank + u"\"");
    EXPECT_TRUE(SetAutoStart(noBlank, true));
    EXPECT_EQ(RunValue(kTestValue), u"\"" + noBlank + u"\"");

    EXPECT_TRUE(SetAutoStart(noBlank, false));
    EXPECT_EQ(RunValue(kTestValue), u"<absent>");
    // Removing what is not there is no failure.
    EXPECT_TRUE(SetAutoStart(noBlank, false));
    EXPECT_EQ(RunValue(kTestValue), u"<absent>");
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(AutoStart, SelfUsesTheRunningExecutable) {
    SetAutoStartSelf(true);
    EXPECT_EQ(RunValue(u"vp_win_tests"), u"\"" + ExecutablePath() + u"\"");
    SetAutoStartSelf(false);
    EXPECT_EQ(RunValue(u"vp_win_tests"), u"<absent>");
}

namespace {

struct LinkInfo {
    std::u16string path, arguments, workingFolder;
};

LinkInfo ReadShortcut(const std::u16string& file) {
    ComScope com;
    ComPtr<IShellLinkW> link;
    EXPECT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.Put())));
    ComPtr<IPersistFile> persist;
    EXPECT_HRESULT_SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(persist.Put())));
    EXPECT_HRESULT_SUCCEEDED(persist->Load(W(file), STGM_READ));
    wchar_t buffer[MAX_PATH * 2];
    LinkInfo info;
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH * 2, nullptr, SLGP_RAWPATH)))
        info.path = U(buffer);
    if (SUCCEEDED(link->GetArguments(buffer, MAX_PATH * 2)))
        info.arguments = U(buffer);
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH * 2)))
        info.workingFolder = U(buffer);
    return info;
}

std::u16string WithDelimiter(std::u16string path) {
    if (!path.empty() && path.back() != u'\\')
        path += u'\\';
    return path;
}

class Shortcut : public ShellTest {
  protected:
    static constexpr char16_t kName[] = u"VpShellTest shortcut";
    void TearDown() override {
        for (const auto& folder : {DesktopFolder(), StartMenuFolder()})
            DeleteFileW(W(folder + kName + u".lnk"));
    }
    static size_t CountLinks(const std::u16string& folder) {
        size_t n = 0;
        for (const auto& entry : fs::directory_iterator(fs::path(W(folder))))
            if (entry.path().filename().wstring().starts_with(L"VpShellTest"))
                ++n;
        return n;
    }
};

} // namespace

TEST_F(Shortcut, SelfShortcutOnTheDesktopPointsAtTheProgram) {
    const std::u16string file = DesktopFolder() + kName + u".lnk";
    CreateSelfShortcut(kName, true);
    ASSERT_NE(GetFileAttributesW(W(file)), INVALID_FILE_ATTRIBUTES);
    const LinkInfo info = ReadShortcut(file);
    EXPECT_TRUE(SameTextAscii(info.path, ExecutablePath())) << ToUtf8(info.path);
    EXPECT_EQ(info.arguments, u"");
    EXPECT_TRUE(SameTextAscii(WithDelimiter(info.workingFolder), AppFolder()))
        << ToUtf8(info.workingFolder);

    // A second shortcut of the same name replaces the first.
    CreateSelfShortcut(kName, true);
    EXPECT_EQ(CountLinks(DesktopFolder()), 1u);
}

TEST_F(Shortcut, StartMenuShortcutToAnotherTarget) {
    const std::u16string target = test::TempPath() + u"VpShellTest target.txt";
    CreateShortcut(kName, target, false);
    const std::u16string file = StartMenuFolder() + kName + u".lnk";
    ASSERT_NE(GetFileAttributesW(W(file)), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(SameTextAscii(ReadShortcut(file).path, target));
    EXPECT_EQ(GetFileAttributesW(W(DesktopFolder() + kName + u".lnk")), INVALID_FILE_ATTRIBUTES);
}

namespace {

class PlainWindow : public ui::Window {
  public:
    PlainWindow() {
        RegisterWindowClass(L"VpShellTestWindow");
        CreateArgs a;
        a.className = L"VpShellTestWindow";
        a.style = WS_OVERLAPPED;
        CreateHandle(a);
    }
};

} // namespace

TEST_F(ShellTest, BusyCursorDoesNotNest) {
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    BusyCursorOn();
    BusyCursorOn();
    EXPECT_TRUE(BusyCursorShown());
    EXPECT_EQ(GetCursor(), wait);
    BusyCursorOff();
    EXPECT_FALSE(BusyCursorShown());
    EXPECT_EQ(GetCursor(), arrow);
    BusyCursorOff();
    EXPECT_FALSE(BusyCursorShown());
}

TEST_F(ShellTest, BusyCursorHoldsOverTheProgramsWindows) {
    PlainWindow window;
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    const WPARAM self = reinterpret_cast<WPARAM>(window.Handle());
    BusyCursorOn();
    SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
    EXPECT_EQ(SendMessageW(window.Handle(), WM_SETCURSOR, self, overClient), TRUE);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    BusyCursorOff();
    // Back to the window's own class cursor.
    SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
    SendMessageW(window.Handle(), WM_SETCURSOR, self, overClient);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}
