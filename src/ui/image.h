#pragma once
// A picture: an icon drawn at the control's size on its parent's colour.
#include "platform/unique_handle.h"
#include "ui/component.h"

namespace vp::ui {

class TImage : public TControl {
  public:
    struct CreateArgs {
        std::u16string hint;
    };
    TImage(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TImage"; }
    HICON Picture() const { return picture_.Get(); }
    void SetPicture(UniqueHIcon picture);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    UniqueHIcon picture_;
};

} // namespace vp::ui
