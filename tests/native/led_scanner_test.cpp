#include <gtest/gtest.h>

#include <string>

#include "core/led_scanner.h"

using namespace vp;

namespace {

// The LEDs that a run of ticks lights, "-" where the light is outside the row.
std::string Lit(TScanMode mode, int count, int ticks, LedPosition at = {}) {
    std::string seen;
    for (int i = 0; i < ticks; ++i) {
        at = StepLed(at, mode, count);
        if (!seen.empty())
            seen += ' ';
        seen += at.pos >= 1 && at.pos <= count ? std::to_string(at.pos) : "-";
    }
    return seen;
}

} // namespace

TEST(LedScanner, TicksLightTheLedsInTurnInEachMode) {
    EXPECT_EQ(Lit(smLeftToRight, 3, 7), "2 3 - - 1 2 3");
    EXPECT_EQ(Lit(smBoth, 3, 13), "2 3 - - 3 2 1 - - 1 2 3 -");
    EXPECT_EQ(Lit(smRightToLeft, 3, 8), "- - 3 2 1 - - 3");
    // The one-way modes set the direction, whatever it was.
    EXPECT_FALSE(StepLed({2, true}, smRightToLeft, 3).way);
    EXPECT_TRUE(StepLed({2, false}, smLeftToRight, 3).way);
}

TEST(LedScanner, BothWaysPeriodIsTwiceTheLedsPlusFour) {
    // The main window's 12 LEDs: 28 ticks, then the same state again.
    LedPosition at;
    for (int i = 0; i < 28; ++i)
        at = StepLed(at, smBoth, 12);
    EXPECT_EQ(at, (LedPosition{1, true}));
    EXPECT_EQ(Lit(smLeftToRight, 12, 14), "2 3 4 5 6 7 8 9 10 11 12 - - 1");
}

TEST(LedScanner, LedCountIsKeptWithinOneToHundred) {
    const std::pair<int, int> cases[] = {{0, 1}, {-3, 1}, {1, 1}, {12, 12}, {100, 100}, {200, 100}};
    for (auto [given, kept] : cases)
        EXPECT_EQ(ClampLedCount(given), kept) << given;
}

TEST(LedScanner, BorderCountsEachBevelThatIsDrawn) {
    EXPECT_EQ(ScannerBorder(bvNone, bvRaised, 1), 1);
    EXPECT_EQ(ScannerBorder(bvLowered, bvRaised, 2), 4);
    EXPECT_EQ(ScannerBorder(bvSpace, bvNone, 3), 3);
    EXPECT_EQ(ScannerBorder(bvNone, bvNone, 5), 0);
}

TEST(LedScanner, LayoutSnapsTheStripToWholeLeds) {
    struct Case {
        const char* what;
        int width, height, count, border;
        bool mayResize;
        int wantWidth, wantHeight, ledW, ledH;
    };
    const Case cases[] = {
        {"the default 82 x 12 snaps to 80", 82, 12, 7, 1, true, 80, 12, 10, 8},
        {"aligned across the top it stays 82", 82, 12, 7, 1, false, 82, 12, 10, 8},
        {"the main window's strip", 158, 14, 12, 0, false, 158, 14, 12, 12},
        {"too low grows to 2*border + 3", 82, 4, 7, 1, true, 80, 5, 10, 1},
        {"five pixels high gives one-pixel LEDs", 80, 5, 7, 1, true, 80, 5, 10, 1},
        {"no height at all", 80, 0, 7, 2, true, 75, 7, 9, 1},
        {"too narrow widens to 2*count + 2*border + 1", 10, 12, 7, 1, true, 17, 12, 1, 8},
        {"too narrow, aligned: widens all the same", 10, 12, 7, 1, false, 17, 12, 1, 8},
        {"one LED", 20, 10, 1, 0, true, 20, 10, 18, 8},
    };
    for (const auto& c : cases) {
        const LedLayout l = LayoutLeds(c.width, c.height, c.count, c.border, c.mayResize);
        EXPECT_EQ(l.width, c.wantWidth) << c.what;
        EXPECT_EQ(l.height, c.wantHeight) << c.what;
        EXPECT_EQ(l.ledW, c.ledW) << c.what;
        EXPECT_EQ(l.ledH, c.ledH) << c.what;
        EXPECT_EQ(l.bottom - l.top, l.ledH) << c.what;
    }
}

TEST(LedScanner, LedsSitOneGapApartFromTheBorder) {
    const LedLayout l = LayoutLeds(82, 12, 7, 1, true);
    EXPECT_EQ(l.top, 2);
    EXPECT_EQ(l.bottom, 10);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(l.ledX[i], 2 + 11 * i) << i;
    // The last LED ends one pixel short of the border.
    EXPECT_EQ(l.ledX[6] + l.ledW, l.width - 1 - 1);
    // A hundred LEDs fill the whole table.
    const LedLayout many = LayoutLeds(1000, 10, 100, 0, true);
    EXPECT_EQ(many.ledX[99], 1 + 99 * (many.ledW + 1));
}

TEST(LedScanner, EachColourFamilyHasItsUnlitAndLitShade) {
    struct Case {
        TScanColor color;
        uint32_t unlit, lit;
    };
    const Case cases[] = {{scBlue, 0x800000, 0xFF0000},
                          {scGreen, 0x008000, 0x00FF00},
                          {scRed, 0x000080, 0x0000FF},
                          {scYellow, 0x008080, 0x00FFFF}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScanColors(c.color).unlit, c.unlit) << c.color;
        EXPECT_EQ(ScanColors(c.color).lit, c.lit) << c.color;
    }
}
