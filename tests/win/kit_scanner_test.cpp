#include <gtest/gtest.h>
#include <windows.h>

#include "platform/unique_handle.h"
#include "test_support.h"
#include "ui/kit_scanner.h"
#include "ui/window.h"

using namespace vp;
using namespace vp::ui;
using vp::test::PumpFor;

namespace {

// A bitmap in memory that the scanner paints on, read back pixel by pixel.
class MemoryBitmap {
  public:
    MemoryBitmap(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        dc_.Reset(CreateCompatibleDC(screen));
        bitmap_.Reset(CreateCompatibleBitmap(screen, width, height));
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
    }
    ~MemoryBitmap() { SelectObject(dc_.Get(), old_); }
    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
    // What the window shows on the screen now, copied from its own device context.
    void CopyFrom(HWND hwnd) {
        HDC dc = GetDC(hwnd);
        ASSERT_NE(dc, nullptr);
        const BOOL copied = BitBlt(dc_.Get(), 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, dc);
        ASSERT_TRUE(copied);
    }

  private:
    int width_, height_;
    UniqueHDC dc_;
    UniqueHBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

class Scanner : public ::testing::Test {
  protected:
    TForm form{u"ScanForm", {.caption = u"Scanner test", .clientWidth = 300, .clientHeight = 100}};

    // Lets the timer run until the light has stepped once more.
    static void WaitForStep(TKITScanner& scanner) {
        int steps = 0;
        scanner.OnStep = [&] { ++steps; };
        const DWORD start = GetTickCount();
        while (steps == 0 && GetTickCount() - start < 3000) {
            while (ProcessPendingMessages()) {
            }
            Sleep(2);
        }
        scanner.OnStep = nullptr;
        ASSERT_EQ(steps, 1);
    }
};

} // namespace

TEST_F(Scanner, DefaultStripSnapsToWholeLedsInsideItsBevel) {
    auto& scanner = form.Create<TKITScanner>(form, u"Scanner", {10, 10, 0, 0});
    EXPECT_EQ(scanner.Width(), 82);
    EXPECT_EQ(scanner.Height(), 12);
    scanner.Repaint();
    EXPECT_EQ(scanner.Width(), 80) << "7 LEDs of 10 with their gaps and a 1-pixel bevel";

    MemoryBitmap bmp(80, 12);
    scanner.PaintTo(bmp.Dc());
    // The raised bevel: light above and left, shadow below and right.
    EXPECT_EQ(bmp.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(bmp.At(0, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(bmp.At(79, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(bmp.At(40, 11), GetSysColor(COLOR_BTNSHADOW));
    // Inside it the background of the button face, then LEDs of 10 x 8 from (2, 2).
    EXPECT_EQ(bmp.At(1, 1), GetSysColor(COLOR_BTNFACE));
    for (int led = 0; led < 7; ++led) {
        const int x = 2 + 11 * led;
        EXPECT_EQ(bmp.At(x, 2), COLORREF{0x000080}) << "unlit red, LED " << led + 1;
        EXPECT_EQ(bmp.At(x + 9, 9), COLORREF{0x000080}) << "LED " << led + 1;
        EXPECT_EQ(bmp.At(x + 10, 5), GetSysColor(COLOR_BTNFACE)) << "gap after LED " << led + 1;
    }
    EXPECT_EQ(bmp.At(5, 10), GetSysColor(COLOR_BTNFACE)) << "one row below the LEDs";
}

TEST_F(Scanner, TicksLightOneLedAndStoppingKeepsTheLastFrame) {
    auto& scanner = form.Create<TKITScanner>(form, u"Scanner", {0, 0, 158, 14},
                                             {.howManyLeds = 12,
                                              .scanSpeed = 5,
                                              .scanColor = scGreen,
                                              .bevelOuter = bvNone,
                                              .color = 0x0C6D03,
                                              .align = TAlign::alTop});
    // On the screen, and every paint of the showing done, so that what is read below is
    // what the ticks drew.
    ShowWindow(form.Handle(), SW_SHOWNA);
    UpdateWindow(form.Handle());
    PumpFor(100);
    EXPECT_EQ(scanner.Width(), 300) << "aligned across the top, the width is left alone";
    scanner.SetScanning(true);
    WaitForStep(scanner);
    EXPECT_EQ(scanner.LedPos(), 2) << "the light starts at 1 and steps before it is drawn";

    MemoryBitmap screen(300, 14);
    screen.CopyFrom(scanner.Handle());
    // No bevel: LEDs of 23 from x = 1 with a gap of one ((300 - 1 - 12) / 12 = 23).
    const int ledW = (300 - 1 - 12) / 12, second = 1 + ledW + 1;
    EXPECT_EQ(screen.At(second, 1), COLORREF{0x00FF00}) << "LED 2 lit";
    EXPECT_EQ(screen.At(second + ledW - 1, 12), COLORREF{0x00FF00});
    EXPECT_EQ(screen.At(1, 1), COLORREF{0x008000}) << "LED 1 beside it unlit";
    EXPECT_EQ(screen.At(second - 1, 5), COLORREF{0x0C6D03}) << "the gap shows the background";
    EXPECT_EQ(screen.At(299, 5), COLORREF{0x0C6D03}) << "right of the last LED";
    EXPECT_EQ(screen.At(5, 0), COLORREF{0x0C6D03}) << "the row above the LEDs";

    scanner.SetScanning(false);
    EXPECT_FALSE(scanner.TimerRunning(1));
    PumpFor(30);
    EXPECT_EQ(scanner.LedPos(), 2) << "no step once stopped";
    screen.CopyFrom(scanner.Handle());
    EXPECT_EQ(screen.At(second, 1), COLORREF{0x00FF00}) << "the last frame stays";
    EXPECT_EQ(screen.At(1, 1), COLORREF{0x008000});
    // The stopped look of the main window: a full repaint in the red family, at once.
    scanner.SetScanColor(scRed);
    screen.CopyFrom(scanner.Handle());
    EXPECT_EQ(screen.At(second, 1), COLORREF{0x000080});
    EXPECT_EQ(screen.At(1, 1), COLORREF{0x000080});

    // A restart goes on from where the light was.
    scanner.SetScanning(true);
    WaitForStep(scanner);
    EXPECT_EQ(scanner.LedPos(), 3);
    screen.CopyFrom(scanner.Handle());
    EXPECT_EQ(screen.At(1 + 2 * (ledW + 1), 1), COLORREF{0x0000FF}) << "LED 3 lit red";
    EXPECT_EQ(screen.At(second, 1), COLORREF{0x000080}) << "LED 2 unlit again";
}

TEST_F(Scanner, TooLowAStripGrowsAndTheLedCountIsKeptInRange) {
    auto& scanner = form.Create<TKITScanner>(form, u"Scanner", {0, 0, 82, 4});
    scanner.Repaint();
    EXPECT_EQ(scanner.Height(), 5) << "2 * border + 3";
    MemoryBitmap bmp(80, 5);
    scanner.PaintTo(bmp.Dc());
    EXPECT_EQ(bmp.At(2, 2), COLORREF{0x000080}) << "LEDs one pixel high";
    EXPECT_EQ(bmp.At(2, 3), GetSysColor(COLOR_BTNFACE)) << "one pixel of background below";
    EXPECT_EQ(bmp.At(2, 4), GetSysColor(COLOR_BTNSHADOW));

    scanner.SetHowManyLeds(0);
    EXPECT_EQ(scanner.HowManyLeds(), 1);
    scanner.SetHowManyLeds(200);
    EXPECT_EQ(scanner.HowManyLeds(), 100);
    EXPECT_EQ(scanner.Width(), 2 * 100 + 2 + 1) << "too narrow for 100 LEDs: one pixel each";

    scanner.SetBevelOuter(bvLowered);
    scanner.SetBevelWidth(2);
    scanner.PaintTo(bmp.Dc());
    EXPECT_EQ(bmp.At(0, 0), GetSysColor(COLOR_BTNSHADOW)) << "lowered: shadow above";
    EXPECT_EQ(bmp.At(1, 1), GetSysColor(COLOR_BTNSHADOW)) << "two nested rectangles";
    EXPECT_GE(scanner.Height(), 2 * 2 + 3);
}

TEST_F(Scanner, ANewSpeedTakesEffectAtOnceAndTheTimerLivesOnlyWhileScanning) {
    auto& scanner =
        form.Create<TKITScanner>(form, u"Scanner", {0, 0, 82, 12}, {.scanSpeed = 60000});
    EXPECT_FALSE(scanner.TimerRunning(1));
    scanner.SetScanning(true);
    EXPECT_TRUE(scanner.TimerRunning(1));
    scanner.SetScanSpeed(5); // a minute-long count would otherwise run on
    WaitForStep(scanner);
    scanner.SetScanning(false);
    scanner.SetScanSpeed(60000);
    EXPECT_FALSE(scanner.TimerRunning(1)) << "a speed set while stopped waits for the start";
    EXPECT_EQ(scanner.ScanSpeed(), 60000);
}
