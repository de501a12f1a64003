#pragma once
// Placing a box inside a caption's run of blanks ("Hide hint after <box> milliseconds."):
//
//     if (auto gap = MeasureCaptionGap(label.Handle(), label.Caption()))
//         box.left = label.Left() + gap->before;
#include <optional>
#include <string>

#include <windows.h>

namespace vp::ui {

// The first run of two blanks or more in a caption, in pixels of the window's own font.
struct CaptionGap {
    int before = 0; // the text before the run
    int blanks = 0; // the run
    int blank = 0;  // one blank
};
// Nothing when the caption has no such run, or text follows none.
std::optional<CaptionGap> MeasureCaptionGap(HWND window, const std::u16string& caption);

} // namespace vp::ui
