#pragma once
// The category buttons and the group box that holds them.
#include <functional>
#include <string>

#include "ui/controls.h"

namespace vp {

// A category's toggle button. Buttons of one group form an exclusive set in which all
// may be up; pressing one releases the others.
class TCategoryButton : public ui::TControl {
  public:
    struct CreateArgs {
        std::u16string caption;
        std::u16string hint;
        std::function<void()> onClick;
    };
    TCategoryButton(const ui::Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TSpeedButton"; }
    std::u16string Caption() const { return Text(); }
    bool Down() const;
    // Pressing releases every other category button of the same parent.
    void SetDown(bool down);
    std::function<void()> OnClick;

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A group box that takes clicks on its empty area.
class TClickGroupBox : public ui::TGroupBox {
  public:
    using ui::TGroupBox::TGroupBox;
    std::function<void()> OnClick;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

} // namespace vp
