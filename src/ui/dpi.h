#pragma once
// Sizes are written for 96 DPI; this is the one place that scales them, and the one
// font every control uses unless told otherwise. The program's windows are laid out for
// one DPI at a time: the screen's at start, then the one of the monitor the main window
// moved to (WM_DPICHANGED).
#include <windows.h>

namespace vp::ui {

// The DPI the windows are laid out for now.
UINT ScreenDpi();
// The window moved to a monitor of another DPI (or the user changed the scale). Sizes and
// fonts asked for from now on are for the new DPI; the windows rescale themselves.
void SetScreenDpi(UINT dpi);
// A length at 96 DPI, in pixels of the screen.
int Scale(int value96);
// The size of a small icon (the tray's, a window's caption) at the DPI in use.
int SmallIconSize();
// The program's font, Arial 9 points, at the DPI in use; shared, never to be deleted.
HFONT DefaultFont();
HFONT DefaultBoldFont();
// A font by face and size in points at the DPI in use, made once per process and DPI and
// shared like the above.
HFONT PointFont(const wchar_t* face, int points, bool bold = false);
// The same with every other attribute of the description (its height is not used).
HFONT PointFont(const LOGFONTW& description, int points);
// The font made by PointFont for another DPI, made again for the one in use; any other
// font (the system's, or one made elsewhere) as it is.
HFONT FontForScreenDpi(HFONT font);

} // namespace vp::ui
