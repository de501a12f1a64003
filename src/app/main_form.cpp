#include "app/main_form.h"

#include "app/resource_ids.h"
#include "core/app_name.h"
#include "platform/version.h"

namespace vp {

namespace {
constexpr wchar_t kMainClass[] = L"TMainForm";
}

TMainForm::TMainForm() {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON));
    RegisterWindowClass(kMainClass, icon);
    CreateArgs args;
    args.className = kMainClass;
    args.text = AppName;
    args.width = 820;
    args.height = 560;
    CreateHandle(args);
    UpdateCaption();
}

void TMainForm::Show(int showCommand) {
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
}

void TMainForm::UpdateCaption() { SetText(AppName + u" " + AppVersionLabel()); }

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefaultHandler(msg, wParam, lParam);
}

} // namespace vp
