// What a start is made of: the program's own steps timed one by one in one process, for a
// returning user with the default categories (the start-up benchmark times the whole).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/category_button.h"
#include "app/main_form.h"
#include "bench_clock.h"
#include "core/app_name.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/locale_settings.h"
#include "platform/wstr.h"
#include "ui/application.h"
#include "ui/form_state.h"
#include "ui/velmor_memo.h"

using namespace vp;

namespace {

double last = 0;

void SelectFirst(TMainForm& form) {
    const auto& controls = form.grpAuto->Controls();
    if (!controls.empty())
        if (auto* first = dynamic_cast<TCategoryButton*>(controls.front()))
            form.SelectCategory(*first);
}
void Step(const char* what) {
    const double now = Now();
    std::printf("  %-44s %8.1f ms\n", what, now - last);
    std::fflush(stdout);
    last = Now();
}

} // namespace

int main() {
    AppName = kProgramName;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::u16string dir = U(temp) + u"vp_startup_parts_bench\\";
    EnsureFolder(dir + u"data\\");
    if (!FileExists(dir + u"data\\Velmor Pasquill.ini"))
        WriteTextFile(dir + u"data\\Velmor Pasquill.ini", u"[QRT/Soft]\r\n", true, false);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    for (int run = 0; run < 2; ++run) {
        std::printf("%s start:\n", run == 0 ? "first" : "second");
        last = Now();
        FreezeRegionalSettings();
        LocaleDecimalSeparator();
        Step("regional settings");
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        Step("common controls");
        auto application = std::make_unique<ui::TApplication>(AppName);
        Step("application window");
        auto form = std::make_unique<TMainForm>(MainFormOptions{.categoriesFolder = dir,
                                                                .dataFolder = dir + u"data\\",
                                                                .application = application.get(),
                                                                .postDeferredInit = false,
                                                                .joinViewerChain = false,
                                                                .quitOnDestroy = false});
        Step("main window and its controls");
        if (run == 0) {
            form->DeferredInit();
            Step("deferred initialisation (window shown)");
        } else {
            // The deferred initialisation's steps one by one, in its order.
            EnsureFolderMsg(form->CategoriesFolder());
            // The start itself remembers the list's version on disk, which a caller cannot:
            // without the file, Apply writes it anew instead of keeping it as another
            // program's and saying so in a message box that nobody closes.
            form->mmoCategories->SetText(ReadTextFile(form->CategoriesListPath()));
            DeleteFileW(W(form->CategoriesListPath()));
            Step("  categories folder and list");
            form->btnApplyCategClick();
            Step("  Apply (buttons, files, list written)");
            SelectFirst(*form);
            Step("  first category selected");
            ui::LoadFormState(*form, form->ForcedIniPath());
            Step("  settings loaded");
            ui::FitFormToWorkArea(*form);
            form->RegisterMonitorHotKey();
            form->UpdateCaption();
            Step("  work area, hotkey, caption");
            form->Show(SW_SHOWNORMAL);
            Step("  window shown");
            form->chkAutoMonitor->SetChecked(true);
            form->chkAutoMonitorClick();
            Step("  monitoring on (empty clipboard collected)");
        }
        UpdateWindow(form->Handle());
        RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
        Step("first paint");
        form->SaveBeforeExit();
        Step("shutdown save");
        form.reset();
        application.reset();
        Step("windows destroyed");
    }
    return 0;
}
