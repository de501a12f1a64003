#pragma once
#include "ui/window.h"

namespace vp {

class TMainForm : public ui::Window {
public:
    TMainForm();
    void Show(int showCommand);
    // Caption: the application name, one blank, then the version label (" v4.5.0").
    void UpdateCaption();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

} // namespace vp
