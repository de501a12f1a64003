#pragma once
// A thin bar between two aligned controls that the user drags to share the space:
// the control on its near side (left of a left-aligned splitter) takes the new size.
//
//     auto& split = form.Create<TSplitter>(*tabMain, u"SplitterLeft", {166, 0, 2, 400},
//                                          {.align = TAlign::alLeft, .minSize = 120});
#include "ui/component.h"

namespace vp::ui {

class TSplitter : public TControl {
  public:
    struct CreateArgs {
        TAlign align = TAlign::alLeft; // alLeft or alTop
        int minSize = 30;              // at 96 DPI, for both neighbours
    };
    TSplitter(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TSplitter"; }

    // Where the splitter sits (its left, or top for a top-aligned one), in pixels. Setting
    // it resizes the neighbour; the neighbours keep their minimum sizes.
    int Position() const;
    void SetPosition(int position);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    bool Vertical() const { return Align() == TAlign::alLeft || Align() == TAlign::alRight; }
    // The aligned sibling just before this one, which the splitter resizes.
    TControl* Neighbour() const;
    int minSize_;
    int dragOffset_ = 0;
    bool dragging_ = false;
};

} // namespace vp::ui
