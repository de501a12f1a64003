#pragma once
// The main window as start-up leaves it, in a scratch folder, with the clock and the
// random draw pinned: the fixture of the main window's tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/category_button.h"
#include "app/frm_find_all.h"
#include "app/main_form.h"
#include "core/app_name.h"
#include "core/date_time.h"
#include "core/search.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/hooks.h"
#include "test_support.h"
#include "ui/application.h"
#include "ui/hints.h"
#include "ui/image.h"
#include "ui/internet_label.h"
#include "ui/kit_scanner.h"
#include "ui/splitter.h"
#include "ui/velmor_memo.h"
#include "ui/velmor_path_edit.h"

namespace vp::test {

using namespace vp::ui;

// The greeting of a first run, letter for letter.
inline constexpr char16_t kWelcome[] =
    u"Please visit our web site for more downloads.\r\nhttps://www.velmorpasquill.com";

// Puts text on the clipboard with extra registered formats holding a DWORD value.
inline void
SetClipboardWithFormats(const std::u16string& text,
                        std::initializer_list<std::pair<const wchar_t*, DWORD>> formats) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(mem), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    for (auto [name, value] : formats) {
        HGLOBAL flag = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
        *static_cast<DWORD*>(GlobalLock(flag)) = value;
        GlobalUnlock(flag);
        SetClipboardData(RegisterClipboardFormatW(name), flag);
    }
    CloseClipboard();
}

// A window that counts the clipboard notifications it receives.
struct CountingViewer {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"viewer", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                nullptr, nullptr);
    int draws = 0, chainChanges = 0;
    CountingViewer() { SetWindowSubclass(hwnd, Proc, 1, reinterpret_cast<DWORD_PTR>(this)); }
    ~CountingViewer() {
        RemoveWindowSubclass(hwnd, Proc, 1);
        DestroyWindow(hwnd);
    }
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
        auto* self = reinterpret_cast<CountingViewer*>(ref);
        if (m == WM_DRAWCLIPBOARD) {
            ++self->draws;
            return 0;
        }
        if (m == WM_CHANGECBCHAIN) {
            ++self->chainChanges;
            return 0;
        }
        return DefSubclassProc(h, m, w, l);
    }
};

inline void ClearClipboardNow() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

class MainForm : public ::testing::Test {
  protected:
    test::CaptureEffects fx;
    std::u16string dir = test::NewTempFolder(u"vp_main_");
    std::unique_ptr<TMainForm> form;
    std::vector<int> ranges;

    void SetUp() override {
        AppName = kProgramName;
        hooks::Random = [this](int range) {
            ranges.push_back(range);
            return 0;
        };
        hooks::Now = [] { return EncodeDateTime(2019, 3, 5, 10, 20, 0, 0); };
        ClearClipboardNow();
    }
    void TearDown() override {
        form.reset();
        hooks::Random = nullptr;
        hooks::Now = nullptr;
        test::RemoveTree(dir);
    }
    std::u16string DataDir() const { return dir + u"data\\"; }
    std::u16string IniPath() const { return DataDir() + u"Velmor Pasquill.ini"; }
    // An INI file from an earlier orderly exit, so that start-up is not a first run.
    void WriteIni(const std::u16string& text = u"[QRT/Soft]\r\n") {
        EnsureFolder(DataDir());
        WriteTextFile(IniPath(), text, true, false);
    }
    // The window as start-up leaves it, with monitoring off unless asked for.
    TMainForm& Open(bool monitor = false, std::u16string folder = {}) {
        if (!FileExists(IniPath()))
            WriteIni();
        return Start(monitor, folder);
    }
    TMainForm& Start(bool monitor = false, std::u16string folder = {}) {
        form = std::make_unique<TMainForm>(
            MainFormOptions{.categoriesFolder = folder.empty() ? dir : folder,
                            .dataFolder = DataDir(),
                            .postDeferredInit = false,
                            .joinViewerChain = false,
                            .quitOnDestroy = false});
        form->chkAutoMonitor->SetChecked(monitor);
        form->DeferredInit();
        return *form;
    }
    // A clipboard change as the system reports it.
    void Copy(const std::u16string& text) {
        SetClipboardText(text);
        SendMessageW(form->Handle(), WM_DRAWCLIPBOARD, 0, 0);
    }
    std::u16string Pad() const { return form->mmoClipboard->Text(); }
    std::u16string Status() const { return form->StatBar->SimpleText(); }
    std::u16string File(const std::u16string& name) const { return ReadTextFile(dir + name); }
    std::vector<TCategoryButton*> Buttons() const {
        std::vector<TCategoryButton*> result;
        for (TControl* c : form->grpAuto->Controls())
            result.push_back(dynamic_cast<TCategoryButton*>(c));
        return result;
    }
};

} // namespace vp::test
