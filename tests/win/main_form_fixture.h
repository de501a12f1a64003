#pragma once
// The main window as start-up leaves it, in a scratch folder, with the clock and the
// random draw pinned: the fixture of the main window's tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "app/main_form.h"
#include "core/app_name.h"
#include "core/date_time.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/hooks.h"
#include "test_support.h"

namespace vp::test {

using namespace vp::ui;

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
