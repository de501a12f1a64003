#pragma once
// A report-style list: columns of text, whole rows selected, usable from the keyboard.
// One column may show a marked stretch of its text, drawn highlighted. The list keeps the
// texts itself and the control asks for the rows it shows, so a long list fills at once.
//
//     auto& list = form.Create<TListView>(parent, u"lstResults", {8, 40, 500, 300},
//                                         {.columns = {{u"Name", 120}, {u"Text", 360}},
//                                          .markedColumn = 1});
//     list.AddRow({u"Main", u"an apple a day"}, {3, 5});
//     list.OnActivate = [&](int row) { ... };   // Enter or a double click
#include <functional>
#include <string>
#include <vector>

#include "ui/component.h"

namespace vp::ui {

struct TListColumn {
    std::u16string caption;
    int width = 100; // at 96 DPI
};

// A stretch of a row's marked column, in code units; length 0 marks nothing.
struct TTextMark {
    size_t start = 0, length = 0;
};

class TListView : public TControl {
  public:
    struct CreateArgs {
        std::vector<TListColumn> columns;
        int markedColumn = -1;
        std::u16string hint;
        TAlign align = TAlign::alNone;
    };
    TListView(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TListView"; }

    void Clear();
    // Adds a row at the end; between BeginUpdate and EndUpdate the control learns of the
    // new rows once, at the end.
    void AddRow(std::vector<std::u16string> texts, TTextMark mark = {});
    int RowCount() const;
    std::u16string CellText(int row, int column) const;
    TTextMark Mark(int row) const { return marks_.at(static_cast<size_t>(row)); }
    // The focused, selected row; -1 when none.
    int Selected() const;
    void SetSelected(int row);
    void BeginUpdate();
    void EndUpdate();

    // Enter on a row, or a double click on one.
    std::function<void(int row)> OnActivate;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    // lParam: the NMLVCUSTOMDRAW of the notification.
    LRESULT CustomDraw(LPARAM lParam);
    int markedColumn_;
    std::vector<std::vector<std::u16string>> rows_;
    std::vector<TTextMark> marks_;
    bool updating_ = false;
};

} // namespace vp::ui
