#pragma once
// The standard multi-line edit box.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/text.h"
#include "ui/component.h"

namespace vp::ui {

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

} // namespace vp::ui
