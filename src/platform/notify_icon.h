#pragma once
// The notification-area (tray) icon service, through a hook that tests replace to see
// every icon added, changed and removed.
#include <windows.h>

#include <shellapi.h>

#include <functional>

namespace vp {

namespace hooks {
// Stands in for Shell_NotifyIconW; returns whether the shell agreed.
using NotifyIconFn = std::function<bool(DWORD message, const NOTIFYICONDATAW& data)>;
extern NotifyIconFn NotifyIcon;
} // namespace hooks

// Shell_NotifyIconW, or the hook when one is set.
bool ShellNotifyIcon(DWORD message, const NOTIFYICONDATAW& data);

} // namespace vp
