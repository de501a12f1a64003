#pragma once
// A label that behaves like a link in a web page: a hand cursor, another colour and an
// underline while the mouse is over it, the address opened by the shell on a click, and
// the visited colour afterwards.
//
//     auto& inet = form.Create<TInternetLabel>(tab, u"inetHome", {20, 200, 120, 18},
//                                              {.caption = u"Home page", .link = url});
#include <functional>
#include <string>

#include "platform/unique_handle.h"
#include "ui/controls.h"

namespace vp::ui {

class TInternetLabel : public TLabel {
  public:
    struct CreateArgs {
        std::u16string caption;
        std::u16string link;
        std::u16string hint;
        bool linkHint = false;
        // The style the form gives the font; the mouse leaving always takes the underline off.
        bool bold = false, underline = false;
        TAlign align = TAlign::alNone;
        std::function<void()> onClick;
    };
    TInternetLabel(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TInternetLabel"; }

    const std::u16string& Link() const { return link_; }
    // With LinkHint on, the hint becomes the address too.
    void SetLink(std::u16string link);
    bool LinkHint() const { return linkHint_; }
    void SetLinkHint(bool linkHint) { linkHint_ = linkHint; }
    bool Visited() const { return visited_; }
    void SetVisited(bool visited);
    COLORREF VisitedColor() const { return visitedColor_; }
    void SetVisitedColor(COLORREF color);
    COLORREF NotVisitedColor() const { return notVisitedColor_; }
    void SetNotVisitedColor(COLORREF color);
    COLORREF OverColor() const { return overColor_; }
    void SetOverColor(COLORREF color);
    // Never stored; setting it shows the label's own name and version.
    bool About() const { return false; }
    void SetAbout(bool show);

    // The font as drawn now.
    COLORREF FontColor() const { return fontColor_; }
    bool Underlined() const { return underline_; }
    bool Bold() const { return bold_; }
    bool MouseOver() const { return mouseOver_; }

    // Opens the address with the shell when the activation check allows it.
    void Visit();

    std::function<void()> OnMouseEnter, OnMouseLeave;
    // May change whether the address is opened; it starts as "the address is not empty".
    std::function<void(TInternetLabel& sender, bool& canActivate)> OnLinkActivating;

  protected:
    // The activation check.
    virtual bool CanActivate();
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void MouseEnter();
    void MouseLeave();
    void SetFontColor(COLORREF color);
    void ApplyFont();
    std::u16string link_;
    bool linkHint_;
    bool visited_ = false;
    bool mouseOver_ = false;
    COLORREF visitedColor_ = 0x800080;    // purple
    COLORREF notVisitedColor_ = 0xFF0000; // blue
    COLORREF overColor_ = 0x0000FF;       // red
    COLORREF fontColor_ = 0xFF0000;
    bool bold_, underline_;
    UniqueHFont font_;
};

} // namespace vp::ui
