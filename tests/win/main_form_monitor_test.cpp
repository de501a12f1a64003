#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <shellapi.h>
#include <shlobj.h>

#include <fstream>

#include "app/main_form.h"
#include "core/app_name.h"
#include "core/date_time.h"
#include "core/encoding.h"
#include "core/hotkey.h"
#include "core/temp_files.h"
#include "core/text.h"
#include "main_form_fixture.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/hooks.h"
#include "platform/locale.h"
#include "platform/shell.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/application.h"
#include "ui/dpi.h"

using namespace vp;
using namespace vp::ui;
using test::ClearClipboardNow;
using test::CountingViewer;
using test::kWelcome;
using test::MainForm;
using test::ReadBytes;
using test::RemoveTree;
using test::SetClipboardWithFormats;

namespace {
// A source that renders its text on request and reports one more change while it does, as
// Wine does for a copy made on the X side.
struct LateRenderer {
    static inline HWND form = nullptr;
    static inline int renders = 0;
    static inline std::u16string text;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != WM_RENDERFORMAT || wParam != CF_UNICODETEXT)
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        if (renders++ == 0)
            SendMessageW(form, WM_DRAWCLIPBOARD, 0, 0);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
        std::copy_n(text.c_str(), text.size() + 1, static_cast<char16_t*>(GlobalLock(data)));
        GlobalUnlock(data);
        if (!SetClipboardData(CF_UNICODETEXT, data))
            GlobalFree(data);
        return 0;
    }
};
} // namespace

TEST_F(MainForm, AChangeReportedWhileTheClipboardIsReadWaitsForThatRead) {
    SetClipboardText(u"first");
    Open(true);
    WNDCLASSW wc{};
    wc.lpfnWndProc = LateRenderer::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VpLateRenderer";
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    LateRenderer::form = form->Handle();
    LateRenderer::text = u"rendered late";
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();

    SendMessageW(form->Handle(), WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_GE(LateRenderer::renders, 1);
    // The held change reads the same text again: a duplicate, not an empty entry.
    EXPECT_EQ(Pad(), u"[Main category]\r\nfirst\r\nrendered late\r\n");
    EXPECT_EQ(form->CollectedCount(), 2);
    EXPECT_TRUE(fx.boxes.empty());
    DestroyWindow(owner);
}

TEST_F(MainForm, MonitoringOffBeepsAndBacksUpPrivateCopiesLeaveNoTrace) {
    Open();
    CountingViewer next;
    // The viewer that joined before the window is the window's next viewer.
    HWND previous = SetClipboardViewer(next.hwnd);
    form->JoinViewerChain();
    EXPECT_EQ(form->NextViewer(), next.hwnd);
    form->chkBackup->SetChecked(true);
    const int before = next.draws;
    fx.tones.clear();
    // Joined to the chain, the window hears of every change the system reports.
    auto change = [](auto put) {
        put();
        while (ProcessPendingMessages()) {
        }
    };

    change([] { SetClipboardText(u" kept as copied "); });
    EXPECT_EQ(fx.tones.size(), 1u);
    EXPECT_EQ(fx.tones[0].frequency, 400u);
    EXPECT_EQ(fx.tones[0].duration, 30u);
    EXPECT_EQ(Pad(), u"[Main category]\r\n");
    EXPECT_EQ(ReadBytes(dir + u" ClipboardItems backup.temp"), "\r\n kept as copied ");

    for (auto format : {std::pair<const wchar_t*, DWORD>{L"Clipboard Viewer Ignore", 1},
                        {L"ExcludeClipboardContentFromMonitorProcessing", 1},
                        {L"CanIncludeInClipboardHistory", 0}}) {
        change([&] { SetClipboardWithFormats(u"secret", {format}); });
    }
    form->StartMonitoring(); // a private copy on the clipboard is not collected either
    change([] { SetClipboardWithFormats(u"secret", {{L"CanIncludeInClipboardHistory", 0}}); });
    EXPECT_EQ(fx.tones.size(), 1u);
    EXPECT_EQ(Pad().find(u"secret"), std::u16string::npos);
    EXPECT_EQ(ReadBytes(dir + u" ClipboardItems backup.temp"), "\r\n kept as copied ");
    EXPECT_GE(next.draws - before, 5) << "every notification is passed on";

    // A change of the chain: our next viewer leaves, then some other window does.
    SendMessageW(form->Handle(), WM_CHANGECBCHAIN, 0x1234, 0);
    EXPECT_EQ(next.chainChanges, 1);
    form->LeaveViewerChain();
    ChangeClipboardChain(next.hwnd, previous);
}

TEST_F(MainForm, ChainChangeForTheNextViewerReplacesIt) {
    Open();
    CountingViewer a, b;
    HWND previous = SetClipboardViewer(a.hwnd);
    form->JoinViewerChain();
    ASSERT_EQ(form->NextViewer(), a.hwnd);
    SendMessageW(form->Handle(), WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(a.hwnd),
                 reinterpret_cast<LPARAM>(b.hwnd));
    EXPECT_EQ(form->NextViewer(), b.hwnd);
    EXPECT_EQ(a.chainChanges + b.chainChanges, 0);
    form->LeaveViewerChain();
    ChangeClipboardChain(a.hwnd, previous);
}

TEST_F(MainForm, ToggleStatesWelcomeTextAndClearOnStart) {
    Open();
    form->mmoClipboard->SetText(kWelcome);
    form->chkClearOnStart->SetChecked(true);
    SetClipboardText(u"already there");
    form->actToggleMonitor->Execute();
    EXPECT_TRUE(form->Scanner->Scanning());
    EXPECT_EQ(form->Scanner->Color(), COLORREF{814339});
    EXPECT_EQ(form->Scanner->ScanColor(), scGreen);
    EXPECT_EQ(form->btnMonitor->Caption(), u"Stop monitoring");
    EXPECT_EQ(Pad(), u"");
    EXPECT_FALSE(ClipboardOffersText()) << "emptied instead of captured";
    EXPECT_EQ(form->CollectedCount(), 0);

    // F9, through the window's accelerators.
    MSG msg{form->mmoClipboard->Handle(), WM_KEYDOWN, VK_F9, 0};
    EXPECT_TRUE(form->TranslateAccelerators(msg));
    EXPECT_FALSE(form->Monitoring());
    EXPECT_EQ(form->Scanner->Color(), COLORREF{255});
    EXPECT_EQ(form->actToggleMonitor->Caption(), u"Monitor clipboard");
}

TEST_F(MainForm, GlobalHotKeyTogglesAndFollowsTheSetting) {
    Open();
    const ATOM id = form->HotMonitorID();
    ASSERT_NE(id, 0);
    SendMessageW(form->Handle(), WM_HOTKEY, id + 1, 0);
    EXPECT_FALSE(form->Monitoring());
    SendMessageW(form->Handle(), WM_HOTKEY, id, 0);
    EXPECT_TRUE(form->Monitoring());
    form->hotMonitor->SetHotKey(scCtrl | scShift | VK_F11);
    form->hotMonitor->OnChange(); // what the control reports when the user edits it
    ASSERT_NE(form->HotMonitorID(), 0);
    SendMessageW(form->Handle(), WM_HOTKEY, form->HotMonitorID(), 0);
    EXPECT_FALSE(form->Monitoring());
}

TEST_F(MainForm, UnwritableBackupIsReportedAndTheCaptureKept) {
    Open(true);
    std::ofstream(W(dir + u"plainfile")) << "x";
    form->chkBackup->SetChecked(true);
    form->PathBackup->SetPath(dir + u"plainfile\\backup.temp");
    Copy(u"kept");
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_NE(fx.boxes[0].text.find(u"backup file"), std::u16string::npos);
    EXPECT_NE(fx.boxes[0].text.find(dir + u"plainfile\\backup.temp"), std::u16string::npos);
    EXPECT_NE(File(u"Main category.txt").find(u"kept"), std::u16string::npos);
}
