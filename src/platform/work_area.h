#pragma once
// The monitor a window is on and its work area (the screen without the taskbar), through
// a hook that tests replace to put the taskbar at the top or the left.
#include <windows.h>

#include <functional>

namespace vp {

struct MonitorAreas {
    RECT monitor{}; // the whole monitor, in screen coordinates
    RECT work{};    // its work area, in screen coordinates
};

namespace hooks {
// Stands in for GetMonitorInfoW on the monitor nearest the window.
using MonitorAreasFn = std::function<MonitorAreas(HWND window)>;
extern MonitorAreasFn MonitorAreasOf;
} // namespace hooks

// The monitor nearest the window (a minimised one: where it was before), or the hook's.
MonitorAreas MonitorAreasOf(HWND window);

} // namespace vp
