#pragma once
// The LED scanner's arithmetic: where the LEDs go in a strip of a given size, how the
// strip's size snaps to whole LEDs, and how the light steps along the row.
#include <array>
#include <cstdint>

namespace vp {

enum TScanColor { scBlue, scGreen, scRed, scYellow };
enum TScanMode { smLeftToRight, smRightToLeft, smBoth };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

inline constexpr int kMaxLeds = 100;

// 0 gives 1 LED, anything above 100 gives 100.
int ClampLedCount(int count);

// Total bevel width: bevelWidth for each bevel that is not bvNone.
int ScannerBorder(TBevelCut inner, TBevelCut outer, int bevelWidth);

struct LedColors {
    uint32_t unlit, lit; // $00BBGGRR
};
LedColors ScanColors(TScanColor color);

struct LedLayout {
    int width = 0, height = 0; // the strip's size after snapping
    int ledW = 0, ledH = 0;
    int top = 0, bottom = 0;          // rows of every LED, bottom excluded
    std::array<int, kMaxLeds> ledX{}; // left edge of LED i at ledX[i - 1]
};

// Lays count LEDs out in a strip of width x height inside a border. Too low a strip
// grows to 2*border + 3, too narrow a one to 2*count + 2*border + 1; a strip that may
// change its width (not aligned across its parent) snaps to whole LEDs.
LedLayout LayoutLeds(int width, int height, int count, int border, bool mayResizeWidth);

// Where the light is: 1..count are LEDs, 0 and count + 1 lie outside the row.
struct LedPosition {
    int pos = 1;
    bool way = true; // towards higher positions
    bool operator==(const LedPosition&) const = default;
};

// One step of the light.
LedPosition StepLed(LedPosition at, TScanMode mode, int count);

} // namespace vp
