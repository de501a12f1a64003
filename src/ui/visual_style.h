#pragma once
// The program's visual style, "Amethyst Kamri": a calm palette in amethyst tones applied to
// every window and control through the colour messages and custom drawing (buttons, tabs,
// group captions, edit boxes, the status bar). Colours a control is given by name (the left
// panel, the category group, the scanner, the path box's check colours) are left as they are.
//
//     ui::ApplyVisualStyle(u"Amethyst Kamri");   // at program entry, before any window
#include <windows.h>

#include <commctrl.h>

#include <string_view>

namespace vp::ui {

struct VisualStyle {
    COLORREF face;         // windows, panels, tab sheets
    COLORREF text;         // captions and labels
    COLORREF groupCaption; // group box captions
    COLORREF buttonFace, buttonHot, buttonPressed, buttonBorder, buttonDefaultBorder;
    COLORREF buttonDown, buttonDownText; // a push-like button that is down
    COLORREF disabledText;
    COLORREF editBack; // edit boxes and memos
    COLORREF tabActive, tabInactive, tabBorder, tabAccent;
    COLORREF statusBack;
};

// The style's palette; false when the name is not a style of this program.
bool ApplyVisualStyle(std::u16string_view name);
// Back to the system's colours (tests).
void RemoveVisualStyle();
// The applied style, or null.
const VisualStyle* ActiveVisualStyle();

class TControl;
class TPageControl;

// Draws a push button (or a push-like check button, down when checked) in the style; the
// answer for NM_CUSTOMDRAW.
LRESULT DrawStyledButton(const TControl& button, const NMCUSTOMDRAW& draw, bool down = false);
// Paints a tab control's tabs and frame in the style (WM_PAINT).
void PaintStyledTabs(const TPageControl& tabs, HDC dc);

} // namespace vp::ui
