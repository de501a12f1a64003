#pragma once
// Components and controls. A form owns every component made on it, in creation
// order, under a name unique on that form; control state persistence walks that list.
// Controls are made by the form from a placement (parent, name, bounds at 96 DPI) and
// a small per-class CreateArgs struct:
//
//     auto& btn = form.Create<TButton>(pnlLeft, u"btnSave", {8, 40, 150, 25},
//                                      {.caption = u"Save", .action = &actSave});
//     auto& act = form.CreateComponent<TAction>(u"actSave", {.caption = u"Save"});
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unique_handle.h"
#include "ui/window.h"

namespace vp::ui {

class TForm;
class TControl;
class TButton;

// Position and size at 96 DPI.
struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Shortcut codes: the virtual key in the low byte, plus these modifier bits.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

// Anything that brings a keyboard shortcut into its form's accelerator table.
class ShortCutSource {
  public:
    virtual TShortCut AcceleratorShortCut() const = 0;
    virtual UINT AcceleratorCommand() const = 0;

  protected:
    ~ShortCutSource() = default;
};

// The colour that means "the parent's colour".
constexpr COLORREF clDefault = 0xFF000000;

class TComponent {
  public:
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent() = default;

    const std::u16string& Name() const { return name_; }
    // The form that owns this component; null for a form itself.
    TForm* Owner() const { return owner_; }
    // The class name as persistence and error texts name it ("TCheckBox").
    virtual std::u16string ClassName() const = 0;
    // Components that live only as long as this one (child controls, sub-items).
    virtual std::vector<TComponent*> Dependents() const { return {}; }
    // Whether control state persistence keeps this component. Commands added after the
    // settings file's keys were fixed stay out of it, so that the file keeps its order.
    bool Stored() const { return stored_; }
    void SetStored(bool stored) { stored_ = stored; }

  protected:
    TComponent(TForm* owner, std::u16string name) : owner_(owner), name_(std::move(name)) {}

  private:
    TForm* owner_;
    std::u16string name_;
    bool stored_ = true;
};

struct Placement {
    TForm* form = nullptr;
    TControl* parent = nullptr;
    std::u16string name;
    Bounds bounds;
};

class TControl : public TComponent, public Window {
  public:
    ~TControl() override;

    TControl* Parent() const { return parent_; }
    // Moves the control, with everything on it, onto another parent (a form's page control
    // shown inside another form's tab sheet); its owner stays.
    void SetParentControl(TControl& parent);
    const std::vector<TControl*>& Controls() const { return children_; }
    std::vector<TComponent*> Dependents() const override;

    // Geometry in pixels, relative to the parent's client area.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // clDefault takes the parent's colour.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    COLORREF BackgroundColor() const;
    const std::u16string& Hint() const { return hint_; }
    void SetHint(std::u16string hint) { hint_ = std::move(hint); }
    void SetFont(HFONT font);
    void SetFocus();
    bool Focused() const;
    int ControlId() const { return id_; }

    // Lays out the aligned children inside AlignArea.
    void Realign();
    // The DPI changed (ScreenDpi is the new one): fonts, positions and sizes follow, this
    // control's children first. A length still as the 96-DPI design gave it takes the
    // design's value again, so a change back restores it exactly.
    void RescaleForDpi(UINT oldDpi, UINT newDpi);

  protected:
    explicit TControl(const Placement& place);
    // Creates the HWND as a child of the parent, at the placement's bounds.
    void CreateControl(const wchar_t* className, const std::u16string& text, DWORD style,
                       DWORD exStyle = 0);
    // Where aligned children go, in client coordinates.
    virtual RECT AlignArea() const;
    // What a control of its own makes for the DPI (images, parts that are no control), once
    // its own font and bounds follow the new DPI.
    virtual void OnDpiChanged(UINT /*oldDpi*/, UINT /*newDpi*/) {}
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Buttons and labels paint on their parent's colour.
    bool paintsParentBackground_ = false;
    // A container paints its own background on WM_ERASEBKGND.
    bool erasesBackground_ = false;
    // Its text is a caption (a group box's) and takes the style's caption colour.
    bool captionText_ = false;
    Placement place_;

  private:
    friend class TForm;
    TControl* parent_;
    std::vector<TControl*> children_;
    TAlign align_ = TAlign::alNone;
    COLORREF color_ = clDefault;
    std::u16string hint_;
    int id_ = 0;
    ATOM nameAtom_ = 0;
};

// A solid brush of a colour, kept for the life of the process.
HBRUSH SolidBrush(COLORREF color);

class TForm : public TControl {
  public:
    struct CreateArgs {
        const wchar_t* className = L"VpForm";
        std::u16string caption;
        int clientWidth = 600, clientHeight = 400; // at 96 DPI
        int minWidth = 0, minHeight = 0;           // window size, at 96 DPI
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = WS_EX_CONTROLPARENT;
        HICON icon = nullptr;
        HWND ownerWindow = nullptr;
        COLORREF color = clDefault; // clDefault: the button face
    };
    TForm(std::u16string name, const CreateArgs& args);
    ~TForm() override;
    std::u16string ClassName() const override { return u"TForm"; }

    template <class T>
    T& Create(TControl& parent, std::u16string name, Bounds bounds,
              const typename T::CreateArgs& args = {}) {
        CheckNewName(name);
        auto owned = std::make_unique<T>(Placement{this, &parent, std::move(name), bounds}, args);
        T& result = *owned;
        Adopt(std::move(owned));
        return result;
    }
    // Components without a window of their own: actions, menus, menu items, timers.
    template <class T>
    T& CreateComponent(std::u16string name, const typename T::CreateArgs& args = {}) {
        CheckNewName(name);
        auto owned = std::make_unique<T>(*this, std::move(name), args);
        T& result = *owned;
        Adopt(std::move(owned));
        return result;
    }
    // Destroys a component and its dependents.
    void Free(TComponent& component);

    size_t ComponentCount() const { return components_.size(); }
    TComponent& Components(size_t index) const { return *components_.at(index); }
    TComponent* FindComponent(std::u16string_view name) const;
    template <class T> T* Find(std::u16string_view name) const {
        return dynamic_cast<T*>(FindComponent(name));
    }

    void Show(int showCommand = SW_SHOW);
    void SetDefaultButton(TButton* button) { defaultButton_ = button; }
    TButton* DefaultButton() const { return defaultButton_; }
    void SetMenuBar(HMENU menu);
    // The menu bar changed. Items added or removed change the frame: it is computed again
    // at once. A changed text or state only needs drawing: a hidden form draws it when
    // shown, since each redraw also lays the whole window out again.
    void MenuBarChanged(bool itemsChanged);

    // Command ids of menus, accelerators and controls; unique on this form.
    UINT NewCommandId() { return nextId_++; }
    void SetCommand(UINT id, std::function<void()> handler);
    void RemoveCommand(UINT id);
    // The accelerator table is rebuilt from the shortcuts when next needed.
    void InvalidateAccelerators() { accelDirty_ = true; }
    bool TranslateAccelerators(MSG& msg);
    HACCEL AcceleratorTable();

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void CheckNewName(const std::u16string& name) const;
    void Adopt(std::unique_ptr<TComponent> component);
    std::vector<std::unique_ptr<TComponent>> components_;
    std::map<UINT, std::function<void()>> commands_;
    UINT nextId_ = 1000;
    int minWidth_, minHeight_;
    TButton* defaultButton_ = nullptr;
    UniqueHAccel accel_;
    bool accelDirty_ = true;
    bool menuBarStale_ = false;
};

} // namespace vp::ui
