#pragma once
// The standard tab control and its sheets.
#include <functional>
#include <string>
#include <vector>

#include "ui/component.h"

namespace vp::ui {

class TTabSheet;

// A tab control with one sheet per tab; a sheet's tab can be hidden and shown again.
class TPageControl : public TControl {
  public:
    struct CreateArgs {
        TAlign align = TAlign::alNone;
        std::u16string hint;
        std::function<void()> onChange;
    };
    TPageControl(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TPageControl"; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet& Pages(int index) const { return *pages_.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const { return active_; }
    // A sheet whose tab is hidden cannot become active.
    void SetActivePage(TTabSheet* page);
    // Index among all sheets, hidden ones included; -1 for none.
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // Raised when the user picks another tab.
    std::function<void()> OnChange;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    int InsertTab(HWND tab, int index, size_t page) const;
    friend class TTabSheet;
    void AddPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void TabVisibilityChanged(TTabSheet* page);
    void SyncTabs();
    void LayoutPages();
    void Activate(TTabSheet* page);
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};

class TTabSheet : public TControl {
  public:
    struct CreateArgs {
        std::u16string caption;
        bool tabVisible = true;
        COLORREF color = clDefault;
    };
    // The placement's parent must be the page control.
    TTabSheet(const Placement& place, const CreateArgs& args);
    ~TTabSheet() override;
    std::u16string ClassName() const override { return u"TTabSheet"; }

    TPageControl& PageControl() const { return *pageControl_; }
    int PageIndex() const;
    const std::u16string& Caption() const { return caption_; }
    void SetCaption(std::u16string caption);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);

  private:
    TPageControl* pageControl_;
    std::u16string caption_;
    bool tabVisible_;
};

} // namespace vp::ui
