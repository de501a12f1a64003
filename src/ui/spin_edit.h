#pragma once
// The standard spin edit: an edit box with up and down buttons.
#include <functional>
#include <memory>
#include <string>

#include "ui/component.h"

namespace vp::ui {

// An edit box with up and down buttons holding an integer.
class TSpinEdit : public TControl {
  public:
    struct CreateArgs {
        int minValue = 0, maxValue = 100, value = 0, increment = 1;
        std::u16string hint;
        std::function<void()> onChange;
    };
    TSpinEdit(const Placement& place, const CreateArgs& args);
    ~TSpinEdit() override;
    std::u16string ClassName() const override { return u"TSpinEdit"; }

    // The text as TryDecimalToInt32 reads it; a text that is not a number reads as MinValue.
    int Value() const;
    // Limited to MinValue..MaxValue, unless the two are equal.
    void SetValue(int value);
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void SetMinValue(int v) { minValue_ = v; }
    void SetMaxValue(int v) { maxValue_ = v; }
    int Increment() const { return increment_; }
    std::function<void()> OnChange;

  protected:
    // Every change of the text comes here; raises OnChange.
    virtual void Change();
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

  private:
    class Buttons;
    friend class Buttons;
    int Clamp(int value) const;
    int minValue_, maxValue_, increment_;
    std::unique_ptr<Buttons> buttons_;
};

} // namespace vp::ui
