#include "platform/work_area.h"

namespace vp {

namespace hooks {
MonitorAreasFn MonitorAreasOf;
} // namespace hooks

MonitorAreas MonitorAreasOf(HWND window) {
    if (hooks::MonitorAreasOf)
        return hooks::MonitorAreasOf(window);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi)) {
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return {screen, screen};
    }
    return {mi.rcMonitor, mi.rcWork};
}

} // namespace vp
