#pragma once
// The LED scanner strip: a row of LEDs inside optional bevels; while it scans, one LED
// at a time lights up, every ScanSpeed milliseconds, so a light runs along the row. Its
// Scanning flag is the program's monitoring state.
#include <functional>

#include "core/led_scanner.h"
#include "ui/component.h"

namespace vp::ui {

class TKITScanner : public TControl {
  public:
    struct CreateArgs {
        int howManyLeds = 7;
        int scanSpeed = 100;
        TScanColor scanColor = scRed;
        TScanMode scanMode = smBoth;
        TBevelCut bevelInner = bvNone, bevelOuter = bvRaised;
        int bevelWidth = 1;
        COLORREF color = clDefault; // clDefault: the button face
        TAlign align = TAlign::alNone;
        std::u16string hint;
    };
    // The placement's size defaults to 82 x 12.
    TKITScanner(const Placement& place, const CreateArgs& args);
    ~TKITScanner() override;
    std::u16string ClassName() const override { return u"TKITScanner"; }

    bool Scanning() const { return scanning_; }
    // On: a timer of ScanSpeed starts; off: it goes, and the last frame stays as it is.
    void SetScanning(bool scanning);
    TScanColor ScanColor() const { return scanColor_; }
    void SetScanColor(TScanColor scanColor);
    // The lit colour of the family, $00BBGGRR.
    COLORREF ScanColorValue() const { return ScanColors(scanColor_).lit; }
    TScanMode ScanMode() const { return scanMode_; }
    void SetScanMode(TScanMode mode) { scanMode_ = mode; }
    int ScanSpeed() const { return scanSpeed_; }
    // While scanning the count starts again at once with the new interval.
    void SetScanSpeed(int milliseconds);
    int HowManyLeds() const { return howManyLeds_; }
    void SetHowManyLeds(int count);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    // Where the light is: 1..HowManyLeds, or 0 and HowManyLeds + 1 outside the row.
    int LedPos() const { return led_.pos; }

    // The full repaint, on the screen at once.
    void Repaint();
    // Draws what the strip shows now onto dc, in client coordinates.
    void PaintTo(HDC dc) const;
    // Raised after every step of the light.
    std::function<void()> OnStep;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    // Lays the strip out again (its size may snap), takes the colours of ScanColor, and
    // shows every LED unlit.
    void DrawScanner(HDC dc);
    void ScanTimerTick();
    void StartScanTimer();
    COLORREF BackColor() const;
    bool scanning_ = false;
    TScanColor scanColor_;
    TScanMode scanMode_;
    int scanSpeed_;
    int howManyLeds_;
    TBevelCut bevelInner_, bevelOuter_;
    int bevelWidth_;
    LedPosition led_;
    // From the last full repaint.
    LedLayout layout_;
    LedColors colors_;
    int border_ = 0;
    // The LED shown lit, 0 for none.
    int lit_ = 0;
};

} // namespace vp::ui
