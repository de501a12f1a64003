#pragma once
// The program's own window messages, in one list so that no two share a number.
#include <windows.h>

namespace vp::ui {

enum : UINT {
    // To the hidden application window: a second start asks for the main window.
    WM_SHOW_REQUEST = WM_APP + 1,
    // The shell's callbacks for the tray icon.
    WM_TRAY_ICON = WM_APP + 77,
    // To the "Find in all categories" window: its worker found more, or ended.
    WM_FOUND = WM_APP + 81,
    // Posted by the main window to itself: the start-up work that needs a message loop.
    WM_DEFERRED_INIT = WM_APP + 4711,
    // To the updates panel: a check's download has ended.
    WM_NEWS_DOWNLOADED = WM_APP + 4712,
};

} // namespace vp::ui
