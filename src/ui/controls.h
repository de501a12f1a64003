#pragma once
// The standard controls, each wrapping a system control class (subclassed) or a
// plain container class of this toolkit. Events are std::function members named as
// the program's handlers name them (OnClick, OnChange).
#include <functional>
#include <string>

#include "ui/actions.h"
#include "ui/component.h"

namespace vp::ui {

// The window class of the plain containers (panels, tab sheets) and their style.
inline constexpr wchar_t kPanelClass[] = L"VpPanel";
inline constexpr DWORD kContainerStyle = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

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

} // namespace vp::ui
