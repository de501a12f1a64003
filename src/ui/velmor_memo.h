#pragma once
// The pad editor: a multi-line edit box whose set and pasted text always has CR LF
// breaks, which pastes plain text only, toggles overwrite with Insert, selects all
// with Ctrl+A, and offers line operations.
#include <string>

#include "ui/memo.h"

namespace vp::ui {

enum TTypeMode { tmInsert, tmOverwrite };

enum TSearchOption : unsigned { soIgnoreCase = 1, soFromStart = 2, soWrap = 4 };
using TSearchOptions = unsigned;

class TVelmorMemo : public TMemo {
  public:
    using CreateArgs = TMemo::CreateArgs;
    // The selection stays visible without focus, whatever args say.
    TVelmorMemo(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TVelmorMemo"; }

    TTypeMode TypeMode() const { return typeMode_; }
    void SetTypeMode(TTypeMode mode) { typeMode_ = mode; }
    // After a successful Search, put the caret after the match instead of selecting it.
    bool CursorAfterSearch() const { return cursAfter_; }
    void SetCursorAfterSearch(bool value) { cursAfter_ = value; }
    TSearchOptions SearchOptions = soIgnoreCase | soWrap;

    // Replaces the text when the file exists and nobody else holds it open.
    bool LoadFromFile(const std::u16string& fileName);
    void SortLines();
    void Trim();
    void RemoveEmptyLinesEx();
    void ScrollAtEnd();
    void ScrollAtTop();

    bool Search(const std::u16string& srcStr);
    void CenterInView(int lineNum);
    void CenterInView() { CenterInView(CurrentLine()); }
    int FindLine(const std::u16string& aText) const;
    void SelectLine(int line);
    void SelectLine(const std::u16string& aText);
    void SelectCurrentLine();
    void RemoveSelection();
    int CurrentLine() const;
    void SwapLines(int x, int y);
    void LineUp();
    void LineDown();
    void Randomize();
    int RemoveDuplicates();
    int RemoveLines(const std::u16string& badWord);
    int KeepLines(const std::u16string& keepText);
    void KeepFirstLines(int howManyLines);
    void RemoveEmptyLines();
    void RemoveLastEmptyLine();
    int CountWords() const;
    int CountNonEmptyLines() const;
    void AddString(const std::u16string& aText) { AddLine(aText); }
    void AddInteger(long long number);
    void AddEntry(const std::u16string& aText, long long number);
    void AddSeparator();
    void CopyToClipboardAll();
    // What WM_PASTE does: the clipboard's text as plain text, line breaks made CR LF, in
    // place of the selection, outside the undo buffer.
    void Paste();
    int VisibleLines() const;
    void SetMargins(int leftMargin, int rightMargin, int topBottomMargin);
    int LineToCharNo(int line) const;
    int CharToLine(int charNo) const;
    int CursorToChar(POINT mousePosition) const;
    int CaretToChar() const;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    std::optional<std::u16string> PrepareText(std::u16string_view text) override;

  private:
    int FontHeight() const;
    // Deletes, from the last line to the first, every line for which doomed is true.
    template <class Pred> int DeleteLinesWhere(Pred doomed);
    TTypeMode typeMode_ = tmInsert;
    bool cursAfter_ = false;
};

} // namespace vp::ui
