#include "core/led_scanner.h"

#include <algorithm>

namespace vp {

int ClampLedCount(int count) {
    return std::clamp(count, 1, kMaxLeds);
}

int ScannerBorder(TBevelCut inner, TBevelCut outer, int bevelWidth) {
    return (inner != bvNone ? bevelWidth : 0) + (outer != bvNone ? bevelWidth : 0);
}

LedColors ScanColors(TScanColor color) {
    switch (color) {
    case scBlue:
        return {0x800000, 0xFF0000};
    case scGreen:
        return {0x008000, 0x00FF00};
    case scYellow:
        return {0x008080, 0x00FFFF};
    case scRed:
    default:
        return {0x000080, 0x0000FF};
    }
}

LedLayout LayoutLeds(int width, int height, int count, int border, bool mayResizeWidth) {
    count = ClampLedCount(count);
    LedLayout r;
    // Each correction leaves a size the next pass accepts, so this ends after three.
    for (;;) {
        r.ledH = height - 2 * border - 2;
        if (r.ledH < 1) {
            height = 2 * border + 3;
            continue;
        }
        r.ledW = (width - 2 * border - 1 - count) / count;
        if (r.ledW < 1) {
            width = 2 * count + 2 * border + 1;
            continue;
        }
        const int whole = 2 * border + 1 + count * (r.ledW + 1);
        if (whole != width && mayResizeWidth) {
            width = whole;
            continue;
        }
        break;
    }
    r.width = width;
    r.height = height;
    r.top = border + 1;
    r.bottom = height - border - 1;
    r.ledX[0] = border + 1;
    for (int i = 1; i < count; ++i)
        r.ledX[i] = r.ledX[i - 1] + r.ledW + 1;
    return r;
}

LedPosition StepLed(LedPosition at, TScanMode mode, int count) {
    switch (mode) {
    case smLeftToRight:
        at.way = true;
        at.pos = at.pos <= count ? at.pos + 1 : 0;
        break;
    case smRightToLeft:
        at.way = false;
        at.pos = at.pos >= 1 ? at.pos - 1 : count + 1;
        break;
    case smBoth:
        if (at.way) {
            if (at.pos <= count)
                ++at.pos;
            else
                at.way = false;
        } else {
            if (at.pos >= 1)
                --at.pos;
            else
                at.way = true;
        }
        break;
    }
    return at;
}

} // namespace vp
