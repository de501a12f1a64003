#pragma once
// The main window as the capture benchmarks meet it: a scratch folder of its own in the
// temporary folder, a returning user's settings, monitoring on without a first capture.
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "app/category_button.h"
#include "app/main_form.h"
#include "core/app_name.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/hooks.h"
#include "platform/wstr.h"
#include "ui/kit_scanner.h"
#include "ui/velmor_memo.h"

// Ends in "\".
inline std::u16string BenchFolder(const char16_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return vp::U(temp) + name + u"\\";
}

// The main window over the categories already in dir, started and not collecting.
inline std::unique_ptr<vp::TMainForm> OpenBenchForm(const std::u16string& dir) {
    using namespace vp;
    AppName = kProgramName;
    // Settings of an earlier run, kept beside the categories: no first run, no shortcut.
    EnsureFolder(dir + u"data\\");
    WriteTextFile(dir + u"data\\Velmor Pasquill.ini", u"[QRT/Soft]\r\n", true, false);
    auto form = std::make_unique<TMainForm>(MainFormOptions{.categoriesFolder = dir,
                                                            .dataFolder = dir + u"data\\",
                                                            .postDeferredInit = false,
                                                            .joinViewerChain = false,
                                                            .quitOnDestroy = false});
    form->chkAutoMonitor->SetChecked(false);
    form->DeferredInit();
    return form;
}

inline std::unique_ptr<vp::TMainForm> OpenCollectingForm(const std::u16string& dir,
                                                         const char16_t* ownFile) {
    using namespace vp;
    hooks::Random = [](int) { return 0; };
    hooks::Beep = [](unsigned, unsigned) {};
    // A pad left by an earlier run would be loaded at start and skew every figure.
    for (const char16_t* name : {u"Main category.txt", u"Category 2.txt", u"Category 3.txt",
                                 u"etc.txt", u"Categories.list", ownFile})
        DeleteFileW(W(dir + name));
    auto form = OpenBenchForm(dir);
    form->Scanner->SetScanning(true);
    return form;
}
