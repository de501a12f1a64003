#pragma once
// The LED scanner strip. Its Scanning flag is the program's monitoring state; while it
// scans a timer of ScanSpeed milliseconds runs on the strip's window.
#include <functional>

#include "ui/component.h"

namespace vp::ui {

enum TScanColor { scBlue, scGreen, scRed, scYellow };

class TKITScanner : public TControl {
  public:
    struct CreateArgs {
        int howManyLeds = 7;
        int scanSpeed = 100;
        TScanColor scanColor = scRed;
        COLORREF color = clDefault; // clDefault: the button face
        TAlign align = TAlign::alNone;
        std::u16string hint;
    };
    TKITScanner(const Placement& place, const CreateArgs& args);
    ~TKITScanner() override;
    std::u16string ClassName() const override { return u"TKITScanner"; }

    bool Scanning() const { return scanning_; }
    void SetScanning(bool scanning);
    TScanColor ScanColor() const { return scanColor_; }
    void SetScanColor(TScanColor scanColor);
    // Colour numbers $00BBGGRR.
    COLORREF ScanColorValue() const;
    int ScanSpeed() const { return scanSpeed_; }
    void SetScanSpeed(int milliseconds);
    int HowManyLeds() const { return howManyLeds_; }
    void SetHowManyLeds(int count);
    // Raised after every step of the light; for the animation and for tests.
    std::function<void()> OnStep;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Tick();
    bool scanning_ = false;
    TScanColor scanColor_;
    int scanSpeed_;
    int howManyLeds_;
};

} // namespace vp::ui
