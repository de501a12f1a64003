#include "app/main_form.h"

#include <commctrl.h>

#include "app/resource_ids.h"
#include "core/app_name.h"
#include "core/categories.h"
#include "core/errors.h"
#include "core/hotkey.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/vendor.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/locale.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/form_state.h"

namespace vp {

using namespace ui;

void TMainForm::btnDesktopShortcutClick() {
    CreateSelfShortcut(AppName, true);
}

void TMainForm::chkAutoStartUpClick() {
    SetAutoStartSelf(chkAutoStartUp->Checked());
}

} // namespace vp
