#pragma once
// The standard controls, each wrapping a system control class (subclassed) or a
// plain container class of this toolkit. Events are std::function members named as
// the program's handlers name them (OnClick, OnChange).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/text.h"
#include "ui/actions.h"
#include "ui/component.h"

namespace vp::ui {

// A plain container.
class TPanel : public TControl {
  public:
    struct CreateArgs {
        COLORREF color = clDefault;
        TAlign align = TAlign::alNone;
        std::u16string hint;
        bool border = false;
        int padding = 0; // around the aligned children, at 96 DPI
    };
    TPanel(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TPanel"; }

  protected:
    RECT AlignArea() const override;

  private:
    int padding_; // at 96 DPI
};

class TGroupBox : public TControl {
  public:
    struct CreateArgs {
        std::u16string caption;
        COLORREF color = clDefault;
        TAlign align = TAlign::alNone;
        std::u16string hint;
        bool boldCaption = false;
    };
    TGroupBox(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TGroupBox"; }
    std::u16string Caption() const { return Text(); }
    void SetCaption(const std::u16string& caption) { SetText(caption); }

  protected:
    RECT AlignArea() const override;
};

class TButton : public TControl, public ActionClient {
  public:
    struct CreateArgs {
        std::u16string caption;
        std::u16string hint;
        TAction* action = nullptr;
        bool isDefault = false;
        std::function<void()> onClick;
    };
    TButton(const Placement& place, const CreateArgs& args);
    ~TButton() override;
    std::u16string ClassName() const override { return u"TButton"; }

    std::u16string Caption() const { return Text(); }
    void SetCaption(const std::u16string& caption) { SetText(caption); }
    TAction* Action() const { return action_; }
    void SetAction(TAction* action);
    // The bound action's Execute, else OnClick.
    void Click();
    std::function<void()> OnClick;

    void ActionChanged() override;
    void ActionGone() override { action_ = nullptr; }

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    TAction* action_ = nullptr;
};

enum TCheckBoxState { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

class TCheckBox : public TControl {
  public:
    struct CreateArgs {
        std::u16string caption;
        std::u16string hint;
        bool checked = false;
        bool allowGrayed = false;
        std::function<void()> onClick;
    };
    TCheckBox(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TCheckBox"; }

    std::u16string Caption() const { return Text(); }
    TCheckBoxState State() const;
    // A change raises OnClick, by the user or not.
    void SetState(TCheckBoxState state);
    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    std::function<void()> OnClick;

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class TRadioButton : public TControl {
  public:
    struct CreateArgs {
        std::u16string caption;
        std::u16string hint;
        bool checked = false;
        std::function<void()> onClick;
    };
    TRadioButton(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TRadioButton"; }

    std::u16string Caption() const { return Text(); }
    bool Checked() const;
    // Checking one unchecks the other radio buttons on the same parent and raises
    // OnClick of the one that became checked.
    void SetChecked(bool checked);
    std::function<void()> OnClick;

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class TLabel : public TControl {
  public:
    struct CreateArgs {
        std::u16string caption;
        std::u16string hint;
        bool wordWrap = false;
        TAlign align = TAlign::alNone;
        std::function<void()> onClick;
    };
    TLabel(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TLabel"; }
    std::u16string Caption() const { return Text(); }
    void SetCaption(const std::u16string& caption) { SetText(caption); }
    std::function<void()> OnClick;

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// Single-line edit box.
class TEdit : public TControl {
  public:
    struct CreateArgs {
        std::u16string text;
        std::u16string hint;
        bool readOnly = false;
        std::function<void()> onChange;
    };
    TEdit(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TEdit"; }
    void SetReadOnly(bool readOnly);
    std::function<void()> OnChange;

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// Multi-line edit box with the line list view of its text.
class TMemo : public TControl {
  public:
    struct CreateArgs {
        std::u16string text;
        std::u16string hint;
        bool wordWrap = true;
        bool hScroll = false, vScroll = true;
        bool hideSelection = true;
        bool readOnly = false;
        TAlign align = TAlign::alNone;
        HFONT font = nullptr;
        std::function<void()> onChange;
    };
    TMemo(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TMemo"; }

    // The whole text; setting a text equal to the current one changes nothing and
    // raises nothing, any other raises OnChange once.
    void SetText(const std::u16string& text);
    void Clear() { SetText(u""); }
    size_t TextLength() const;

    // Lines: a break at the very end adds no line.
    int LineCount() const;
    std::u16string Line(int index) const;
    void SetLine(int index, const std::u16string& text);
    void DeleteLine(int index);
    // Adds a line at the end; costs what the added text costs, not what the memo holds.
    void AddLine(const std::u16string& text);
    StringList Lines() const;
    // Each line followed by CR LF.
    void SetLines(const StringList& lines);

    size_t SelStart() const;
    size_t SelLength() const;
    void SetSel(size_t start, size_t end);
    void SelectAll();
    std::u16string SelText() const;
    void ReplaceSel(const std::u16string& text, bool canUndo = true);
    void SetReadOnly(bool readOnly);
    std::function<void()> OnChange;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The text that WM_SETTEXT hands to the control, when it differs from the one given; a
    // hook for derived memos. Nothing: the given text goes as it is, never copied.
    virtual std::optional<std::u16string> PrepareText(std::u16string_view) { return {}; }
    void RaiseChange();

  private:
    int LineStart(int index) const;
    // Compares with the control's buffer in place: a big pad is not copied for it.
    bool HoldsText(std::u16string_view text) const;
    int changeSuppressed_ = 0;
};

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

// One line of text along the bottom of the form.
class TStatusBar : public TControl {
  public:
    struct CreateArgs {
        std::u16string simpleText;
        bool sizeGrip = true;
    };
    TStatusBar(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TStatusBar"; }
    std::u16string SimpleText() const;
    void SetSimpleText(const std::u16string& text);

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// The system's hot key box; its value is a shortcut code (virtual key + scShift,
// scCtrl, scAlt).
class THotKey : public TControl {
  public:
    struct CreateArgs {
        TShortCut hotKey = 0;
        std::u16string hint;
        std::function<void()> onChange;
    };
    THotKey(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"THotKey"; }
    TShortCut HotKey() const;
    void SetHotKey(TShortCut hotKey);
    std::function<void()> OnChange;

  protected:
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

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

    // The text as a decimal integer; a text that is not one reads as MinValue.
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

// Text to integer as the spin edit reads it: optional blanks and sign, decimal digits.
bool ParseInteger(const std::u16string& text, int& value);

} // namespace vp::ui
