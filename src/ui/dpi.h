#pragma once
// Sizes are written for 96 DPI; this is the one place that scales them, and the one
// font every control uses unless told otherwise.
#include <windows.h>

namespace vp::ui {

UINT ScreenDpi();
// A length at 96 DPI, in pixels of the screen.
int Scale(int value96);
// The program's font, Arial 9 points, at the screen's DPI; shared, never to be deleted.
HFONT DefaultFont();
HFONT DefaultBoldFont();
// A font by face and size in points, made once per process and shared like the above.
HFONT PointFont(const wchar_t* face, int points, bool bold = false);

} // namespace vp::ui
