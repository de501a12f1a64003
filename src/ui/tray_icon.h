#pragma once
// The notification-area icon: shown and hidden on request, animated through a list of
// images, put back when Explorer restarts ("TaskbarCreated"), and removed when it goes.
// It keeps a hidden window of its own for the shell's callbacks and its timer.
//
//     auto& tray = form.CreateComponent<TCoolTrayIcon>(u"TrayIcon", {.icons = &images});
//     tray.ShowIcon();
#include <functional>
#include <string>
#include <vector>

#include "platform/unique_handle.h"
#include "ui/actions.h"
#include "ui/component.h"
#include "ui/private_messages.h"

namespace vp::ui {

using TIconList = std::vector<UniqueHIcon>;

class TCoolTrayIcon : public TComponent, private Window {
  public:
    struct CreateArgs {
        std::u16string hint;              // the icon's tooltip
        const TIconList* icons = nullptr; // outlives the tray icon
        int iconIndex = 0;
        bool cycleIcons = false;
        UINT cycleInterval = 120; // milliseconds per image
        std::function<void()> onClick;
        // A right click shows this menu at the pointer, when there is one.
        TPopupMenu* popupMenu = nullptr;
    };
    TCoolTrayIcon(TForm& form, std::u16string name, const CreateArgs& args);
    ~TCoolTrayIcon() override;
    std::u16string ClassName() const override { return u"TCoolTrayIcon"; }

    bool IconVisible() const { return visible_; }
    void ShowIcon();
    void HideIcon();
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int index);
    bool CycleIcons() const { return cycleIcons_; }
    // The images follow each other every CycleInterval while the icon is shown.
    void SetCycleIcons(bool cycle);
    // The images were made again (at another DPI): the shown icon takes the new one.
    void IconsChanged();
    const std::u16string& IconHint() const { return hint_; }
    void SetIconHint(std::u16string hint);
    // The window the shell sends its callbacks to.
    HWND CallbackWindow() const { return Handle(); }
    static constexpr UINT kCallbackMessage = WM_TRAY_ICON;
    std::function<void()> OnClick;
    TPopupMenu* PopupMenu = nullptr;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    HICON CurrentIcon() const;
    void Notify(DWORD message);
    void UpdateTimer();
    const TIconList* icons_;
    std::u16string hint_;
    int iconIndex_;
    bool cycleIcons_;
    UINT cycleInterval_;
    bool visible_ = false;
};

} // namespace vp::ui
