#include "app/main_form.h"

#include "app/resource_ids.h"
#include "core/app_name.h"

namespace vp {

using namespace ui;

void TMainForm::CreateTrayIcon() {
    for (int i = 0; i < 8; ++i) {
        HANDLE image = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY0 + i),
                                  IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                  GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
        // An executable without the images (a test) still gets an icon to show.
        if (!image)
            image = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
        imgTrayIcons.emplace_back(static_cast<HICON>(image));
    }
    TrayIcon = &CreateComponent<TCoolTrayIcon>(u"TrayIcon", {.hint = AppName,
                                                             .icons = &imgTrayIcons,
                                                             .iconIndex = 6,
                                                             .cycleIcons = true,
                                                             .cycleInterval = 120,
                                                             .onClick = [this] { TrayIconClick(); },
                                                             .popupMenu = pmTray});
}

void TMainForm::ApplicationEventsMinimize() {
    if (!chkTrayIcon->Checked())
        return;
    // The main window carries the taskbar button: hiding it leaves the icon alone.
    ShowWindow(Handle(), SW_HIDE);
    TrayIcon->ShowIcon();
}

void TMainForm::TrayIconClick() {
    TrayIcon->HideIcon();
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    else
        ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

} // namespace vp
