#include "platform/notify_icon.h"

namespace vp {

namespace hooks {
NotifyIconFn NotifyIcon;
} // namespace hooks

bool ShellNotifyIcon(DWORD message, const NOTIFYICONDATAW& data) {
    if (hooks::NotifyIcon)
        return hooks::NotifyIcon(message, data);
    NOTIFYICONDATAW copy = data;
    return Shell_NotifyIconW(message, &copy) != FALSE;
}

} // namespace vp
