#include "app/main_form.h"

#include "app/resource_ids.h"
#include "core/app_name.h"
#include "ui/dpi.h"

namespace vp {

using namespace ui;

void TMainForm::LoadTrayImages() {
    TIconList images;
    const int size = SmallIconSize();
    for (int i = 0; i < 8; ++i) {
        HANDLE image = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY0 + i),
                                  IMAGE_ICON, size, size, LR_DEFAULTCOLOR);
        // An executable without the images (a test) still gets an icon to show.
        if (!image)
            image = CopyImage(LoadIconW(nullptr, IDI_APPLICATION), IMAGE_ICON, size, size, 0);
        images.emplace_back(static_cast<HICON>(image));
    }
    // The tray icon reads the list in place.
    imgTrayIcons.swap(images);
}

void TMainForm::CreateTrayIcon() {
    LoadTrayImages();
    TrayIcon = &CreateComponent<TCoolTrayIcon>(u"TrayIcon", {.hint = AppName,
                                                             .icons = &imgTrayIcons,
                                                             .iconIndex = 6,
                                                             .cycleIcons = true,
                                                             .cycleInterval = 120,
                                                             .onClick = [this] { BringToFront(); },
                                                             .popupMenu = pmTray});
}

void TMainForm::ApplicationEventsMinimize() {
    if (!chkTrayIcon->Checked())
        return;
    // The main window carries the taskbar button: hiding it leaves the icon alone.
    ShowWindow(Handle(), SW_HIDE);
    TrayIcon->ShowIcon();
}

void TMainForm::BringToFront() {
    // A window called back from the tray leaves no icon there.
    TrayIcon->HideIcon();
    // A minimised window, hidden in the tray or not, comes back shown and restored at once.
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    else if (!IsWindowVisible(Handle()))
        ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

} // namespace vp
