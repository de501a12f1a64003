#include <windows.h>

#include <commctrl.h>

#include "app/main_form.h"
#include "core/app_name.h"
#include "platform/locale.h"
#include "platform/locale_settings.h"
#include "platform/messages.h"
#include "ui/application.h"
#include "ui/visual_style.h"
#include "ui/window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    vp::AppName = vp::kProgramName;
    try {
        vp::ui::SingleInstanceLock lock(vp::AppName);
        if (!lock.Acquired()) {
            // Another instance runs in this logon: it comes to the front instead.
            vp::ui::ShowRunningInstance(vp::AppName);
            return 0;
        }
        // Dates and numbers keep the regional settings the program started with.
        vp::FreezeRegionalSettings();
        vp::LocaleDecimalSeparator();
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        vp::ui::ApplyVisualStyle(u"Amethyst Kamri");
        vp::ui::TApplication application(vp::AppName);
        vp::TMainForm form({.application = &application, .showCommand = showCommand});
        return vp::ui::RunMessageLoop();
    } catch (...) {
        vp::ReportCurrentException();
        return 1;
    }
}
