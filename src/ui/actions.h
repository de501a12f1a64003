#pragma once
// Actions, menus, shortcuts and timers: components without a window of their own.
// Changing an action updates every button and menu item bound to it; its shortcut
// goes into the form's one accelerator table.
#include <functional>
#include <string>
#include <vector>

#include "platform/unique_handle.h"
#include "ui/component.h"

namespace vp::ui {

// "Ctrl+Shift+S", "F9", "Ctrl+Del"; empty for 0.
std::u16string ShortCutToText(TShortCut shortCut);

class TAction;

// A button or menu item that shows an action.
class ActionClient {
  public:
    virtual void ActionChanged() = 0;
    virtual void ActionGone() = 0;

  protected:
    ~ActionClient() = default;
};

class TAction : public TComponent, public ShortCutSource {
  public:
    struct CreateArgs {
        std::u16string caption, hint, category;
        TShortCut shortCut = 0;
        bool enabled = true;
        bool checked = false;
        std::function<void()> onExecute;
    };
    TAction(TForm& form, std::u16string name, const CreateArgs& args);
    ~TAction() override;
    std::u16string ClassName() const override { return u"TAction"; }

    const std::u16string& Caption() const { return caption_; }
    void SetCaption(std::u16string caption);
    const std::u16string& Hint() const { return hint_; }
    void SetHint(std::u16string hint);
    const std::u16string& Category() const { return category_; }
    void SetCategory(std::u16string category) { category_ = std::move(category); }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

    // Raises OnExecute when enabled and assigned; true when it ran.
    bool Execute();
    std::function<void()> OnExecute;

    UINT CommandId() const { return commandId_; }
    void AddClient(ActionClient* client);
    void RemoveClient(ActionClient* client);

    TShortCut AcceleratorShortCut() const override { return shortCut_; }
    UINT AcceleratorCommand() const override { return commandId_; }

  private:
    void Changed();
    std::u16string caption_, hint_, category_;
    TShortCut shortCut_;
    bool enabled_, checked_;
    UINT commandId_;
    std::vector<ActionClient*> clients_;
};

class TMenuItem;

// A caption of "-" makes a separator.
struct TMenuItemArgs {
    std::u16string caption;
    std::u16string hint;
    TShortCut shortCut = 0;
    TAction* action = nullptr;
    bool enabled = true;
    bool checked = false;
    std::function<void()> onClick;
};

// What a menu bar and a pop-up menu share: the menu and its top-level items.
class TMenu : public TComponent {
  public:
    ~TMenu() override;
    std::vector<TComponent*> Dependents() const override;

    HMENU Handle() const { return menu_.Get(); }
    // A top-level entry ("&File").
    TMenuItem& Add(std::u16string name, const TMenuItemArgs& args);
    const std::vector<TMenuItem*>& Items() const { return items_; }

  protected:
    // bar: the form's menu bar, which is drawn again when its items change.
    TMenu(TForm& form, std::u16string name, HMENU menu, bool bar);

  private:
    friend class TMenuItem;
    UniqueHMenu menu_;
    bool bar_;
    std::vector<TMenuItem*> items_;
};

// The menu bar of a form.
class TMainMenu : public TMenu {
  public:
    struct CreateArgs {
        bool attach = true; // becomes the form's menu bar at once
    };
    TMainMenu(TForm& form, std::u16string name, const CreateArgs& args);
    ~TMainMenu() override;
    std::u16string ClassName() const override { return u"TMainMenu"; }
};

// A menu shown at a point on request (a right click).
class TPopupMenu : public TMenu {
  public:
    struct CreateArgs {};
    TPopupMenu(TForm& form, std::u16string name, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TPopupMenu"; }
    // Shows the menu at a screen point; its command arrives as any menu command.
    void Popup(int x, int y);
};

class TMenuItem : public TComponent, public ActionClient, public ShortCutSource {
  public:
    using CreateArgs = TMenuItemArgs;
    // Made through TMenu::Add or TMenuItem::Add.
    TMenuItem(TForm& form, std::u16string name, const CreateArgs& args);
    ~TMenuItem() override;
    std::u16string ClassName() const override { return u"TMenuItem"; }
    std::vector<TComponent*> Dependents() const override;

    // A sub-item; this item becomes a drop-down.
    TMenuItem& Add(std::u16string name, const CreateArgs& args);
    const std::vector<TMenuItem*>& Items() const { return items_; }

    std::u16string Caption() const;
    void SetCaption(std::u16string caption);
    const std::u16string& Hint() const { return hint_; }
    TShortCut ShortCut() const;
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Checked() const;
    void SetChecked(bool checked);
    TAction* Action() const { return action_; }
    void SetAction(TAction* action);
    bool IsSeparator() const { return caption_ == u"-"; }

    UINT CommandId() const { return commandId_; }
    // The action's Execute when bound, else OnClick.
    void Click();
    std::function<void()> OnClick;

    TShortCut AcceleratorShortCut() const override { return action_ ? 0 : shortCut_; }
    UINT AcceleratorCommand() const override { return commandId_; }
    void ActionChanged() override;
    void ActionGone() override;

  private:
    friend class TMenu;
    void Insert(HMENU parentMenu);
    void Update();
    // The caption, then a tab and the shortcut's text when there is one.
    std::u16string MenuText() const;
    HMENU parentMenu_ = nullptr;
    HMENU subMenu_ = nullptr;
    TMenu* menu_ = nullptr;
    std::vector<TMenuItem*> items_;
    std::u16string caption_, hint_;
    TShortCut shortCut_;
    bool enabled_, checked_;
    TAction* action_ = nullptr;
    UINT commandId_;
};

// A message-based timer on a window (the form unless told otherwise).
class TTimer : public TComponent {
  public:
    struct CreateArgs {
        UINT interval = 1000;
        bool enabled = true;
        Window* window = nullptr;
        std::function<void()> onTimer;
    };
    TTimer(TForm& form, std::u16string name, const CreateArgs& args);
    ~TTimer() override;
    std::u16string ClassName() const override { return u"TTimer"; }

    UINT Interval() const { return interval_; }
    // Restarts the count at once while enabled.
    void SetInterval(UINT interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::function<void()> OnTimer;

  private:
    void Restart();
    Window* window_;
    UINT interval_;
    bool enabled_ = false;
};

} // namespace vp::ui
