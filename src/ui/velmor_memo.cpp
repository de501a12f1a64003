#include "ui/velmor_memo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/duplicates.h"
#include "core/errors.h"
#include "core/int_text.h"
#include "core/line_filters.h"
#include "core/text.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/wstr.h"
#include "ui/events.h"

namespace vp::ui {

namespace {
int RoundHalfEven(double v) {
    const double f = std::floor(v), diff = v - f;
    long long r = static_cast<long long>(f);
    if (diff > 0.5 || (diff == 0.5 && (r % 2 != 0)))
        ++r;
    return static_cast<int>(r);
}

} // namespace

TVelmorMemo::TVelmorMemo(const Placement& place, const CreateArgs& args)
    : TMemo(place, [&] {
          CreateArgs a = args;
          a.hideSelection = false;
          return a;
      }()) {
    // The initial text passed the base before this class could convert it.
    if (!args.text.empty()) {
        MuteEvent quiet(OnChange);
        SetText(args.text);
    }
}

std::optional<std::u16string> TVelmorMemo::PrepareText(std::u16string_view text) {
    if (!HasBareLineBreak(text))
        return {};
    return AdjustLineBreaks(text);
}

LRESULT TVelmorMemo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PASTE:
        Paste();
        return 0;
    case WM_KEYDOWN: {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        const bool alt = GetKeyState(VK_MENU) < 0;
        if (wParam == 'A' && ctrl) {
            SelectAll();
            return 0;
        }
        if (wParam == VK_INSERT && !ctrl && !shift && !alt)
            typeMode_ = typeMode_ == tmInsert ? tmOverwrite : tmInsert;
        break;
    }
    case WM_CHAR:
        if (wParam == 1)
            return 0; // Ctrl+A, already handled as a key
        if (typeMode_ == tmOverwrite && SelLength() == 0) {
            const size_t caret = SelStart();
            const size_t length = TextLength();
            if (caret < length) {
                // Read only the next two code units; the text may be large.
                const int line = CharToLine(static_cast<int>(caret));
                const std::u16string rest =
                    Line(line).substr(caret - static_cast<size_t>(LineToCharNo(line)));
                // A line break is not overwritten, nor half of a surrogate pair split.
                if (!rest.empty()) {
                    size_t width = 1;
                    if (rest.size() > 1 && rest[0] >= 0xD800 && rest[0] <= 0xDBFF &&
                        rest[1] >= 0xDC00 && rest[1] <= 0xDFFF)
                        width = 2;
                    SetSel(caret, caret + width);
                }
            }
        }
        break;
    }
    return TMemo::HandleMessage(msg, wParam, lParam);
}

void TVelmorMemo::Paste() {
    if (!IsClipboardFormatAvailable(CF_TEXT))
        return;
    ReplaceSel(AdjustLineBreaks(ClipboardTextForPaste(Handle())), false);
}

bool TVelmorMemo::LoadFromFile(const std::u16string& fileName) {
    if (!FileExists(fileName) || FileIsLocked(fileName))
        return false;
    SetText(ReadTextFile(fileName));
    return true;
}

void TVelmorMemo::SortLines() {
    StringList lines = Lines();
    std::sort(lines.begin(), lines.end(), [](const std::u16string& a, const std::u16string& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, W(a),
                              static_cast<int>(a.size()), W(b),
                              static_cast<int>(b.size())) == CSTR_LESS_THAN;
    });
    SetLines(lines);
}

void TVelmorMemo::Trim() {
    StringList lines = Lines();
    for (auto& l : lines)
        l = TrimControls(l);
    SetLines(lines);
}

template <class Pred> int TVelmorMemo::DeleteLinesWhere(Pred doomed) {
    const StringList lines = Lines();
    int deleted = 0;
    for (int i = static_cast<int>(lines.size()) - 1; i >= 0; --i) {
        if (!doomed(i, lines[static_cast<size_t>(i)]))
            continue;
        DeleteLine(i);
        ++deleted;
    }
    return deleted;
}

void TVelmorMemo::RemoveEmptyLinesEx() {
    Trim();
    RemoveEmptyLines();
}

void TVelmorMemo::RemoveEmptyLines() {
    DeleteLinesWhere([](int, const std::u16string& l) { return l.empty(); });
}

int TVelmorMemo::RemoveLines(const std::u16string& badWord) {
    if (badWord.empty())
        return 0;
    return DeleteLinesWhere(
        [&](int, const std::u16string& l) { return ContainsNoCase(l, badWord); });
}

int TVelmorMemo::KeepLines(const std::u16string& keepText) {
    return DeleteLinesWhere(
        [&](int, const std::u16string& l) { return !ContainsNoCase(l, keepText); });
}

void TVelmorMemo::KeepFirstLines(int howManyLines) {
    Assert(howManyLines >= 0, u"cvMemo", u"KeepFirstLines needs a count of 0 or more!");
    DeleteLinesWhere([&](int i, const std::u16string&) { return i >= howManyLines; });
}

void TVelmorMemo::ScrollAtEnd() {
    const size_t length = TextLength();
    SetSel(length, length);
    SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

void TVelmorMemo::ScrollAtTop() {
    const size_t at = std::min<size_t>(1, TextLength());
    SetSel(at, at);
    SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

bool TVelmorMemo::Search(const std::u16string& srcStr) {
    const bool ignoreCase = SearchOptions & soIgnoreCase;
    const std::u16string text = ignoreCase ? UpperCaseAscii(Text()) : Text();
    const std::u16string what = ignoreCase ? UpperCaseAscii(srcStr) : srcStr;
    size_t found = std::u16string::npos;
    if (!what.empty()) {
        if (!(SearchOptions & soFromStart))
            found = text.find(what, SelStart() + SelLength());
        if (found == std::u16string::npos && (SearchOptions & (soFromStart | soWrap)))
            found = text.find(what);
    }
    if (found != std::u16string::npos) {
        if (cursAfter_)
            SetSel(found + what.size(), found + what.size());
        else
            SetSel(found, found + what.size());
    }
    CenterInView(CurrentLine());
    return found != std::u16string::npos;
}

int TVelmorMemo::FontHeight() const {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof(lf), &lf))
        return 0;
    return lf.lfHeight;
}

void TVelmorMemo::CenterInView(int lineNum) {
    const int first = static_cast<int>(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    const int fontHeight = std::abs(FontHeight());
    if (fontHeight == 0)
        return; // no measurable font: nothing to centre by
    const int visible = RoundHalfEven(static_cast<double>(ClientHeight()) / fontHeight);
    int target = lineNum;
    if (visible > 1) {
        target = lineNum - RoundHalfEven(visible / 2.0) + 1;
        if (target <= 0)
            target = 0;
    }
    if (target != first)
        SendMessageW(Handle(), EM_LINESCROLL, 0, target - first);
}

int TVelmorMemo::FindLine(const std::u16string& aText) const {
    const StringList lines = Lines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (SameTextAscii(lines[i], aText))
            return static_cast<int>(i);
    return -1;
}

void TVelmorMemo::SelectLine(int line) {
    if (line < 0 || line >= LineCount())
        return;
    const int start = LineToCharNo(line);
    const auto length = static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
    SetSel(static_cast<size_t>(start), static_cast<size_t>(start + length));
}

void TVelmorMemo::SelectLine(const std::u16string& aText) {
    const int line = FindLine(aText);
    if (line >= 0)
        SelectLine(line);
}

void TVelmorMemo::SelectCurrentLine() {
    SelectLine(CharToLine(static_cast<int>(SelStart())));
}

void TVelmorMemo::RemoveSelection() {
    SetSel(0, 0);
}

int TVelmorMemo::CurrentLine() const {
    return CharToLine(static_cast<int>(SelStart()));
}

void TVelmorMemo::SwapLines(int x, int y) {
    if (x == y)
        return;
    const std::u16string a = Line(x), b = Line(y);
    SetLine(x, b);
    SetLine(y, a);
}

void TVelmorMemo::LineUp() {
    const int line = CurrentLine();
    if (line <= 0)
        return;
    SwapLines(line, line - 1);
    const auto at = static_cast<size_t>(LineToCharNo(line - 1));
    SetSel(at, at); // the caret moves with its line
}

void TVelmorMemo::LineDown() {
    const int line = CurrentLine();
    if (line >= LineCount() - 1)
        return;
    SwapLines(line, line + 1);
    const auto at = static_cast<size_t>(LineToCharNo(line + 1));
    SetSel(at, at);
}

void TVelmorMemo::Randomize() {
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    try {
        const int count = LineCount();
        for (int i = 0; i < count; ++i)
            SwapLines(i, RandomInt(count));
    } catch (...) {
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
        throw;
    }
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    Invalidate();
}

int TVelmorMemo::RemoveDuplicates() {
    StringList lines = Lines();
    // Keeps the window drawn during long runs.
    const int removed = RemoveDuplicateLines(lines, [this] { UpdateWindow(Handle()); });
    SetLines(lines);
    return removed;
}

void TVelmorMemo::RemoveLastEmptyLine() {
    SetText(StripFinalLineBreak(Text()));
}

int TVelmorMemo::CountWords() const {
    return vp::CountWords(Text());
}

int TVelmorMemo::CountNonEmptyLines() const {
    const StringList lines = Lines();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const auto& l) { return !l.empty(); }));
}

void TVelmorMemo::AddInteger(long long number) {
    AddLine(IntToText(number));
}

void TVelmorMemo::AddEntry(const std::u16string& aText, long long number) {
    AddLine(aText + IntToText(number));
}

void TVelmorMemo::AddSeparator() {
    AddLine(u"\r\n____________________\r\n");
}

void TVelmorMemo::CopyToClipboardAll() {
    SelectAll();
    SendMessageW(Handle(), WM_COPY, 0, 0);
    SetSel(0, 0);
}

int TVelmorMemo::VisibleLines() const {
    const int fontHeight = FontHeight();
    const int lineHeight = fontHeight > 0 ? fontHeight : std::abs(fontHeight) + 2;
    return std::max(0, Height() / lineHeight);
}

void TVelmorMemo::SetMargins(int leftMargin, int rightMargin, int topBottomMargin) {
    RECT r{};
    GetClientRect(Handle(), &r);
    r.left += leftMargin;
    r.right -= rightMargin;
    r.top += topBottomMargin;
    r.bottom -= topBottomMargin;
    SendMessageW(Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

int TVelmorMemo::LineToCharNo(int line) const {
    return static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

int TVelmorMemo::CharToLine(int charNo) const {
    return static_cast<int>(
        SendMessageW(Handle(), EM_LINEFROMCHAR, static_cast<WPARAM>(charNo), 0));
}

int TVelmorMemo::CursorToChar(POINT p) const {
    p.x = std::max<LONG>(0, p.x);
    p.y = std::max<LONG>(0, p.y);
    const auto answer =
        static_cast<DWORD>(SendMessageW(Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y)));
    // The answer holds only 16 bits of the index (and of the line): find the full
    // index on the visible line that agrees with them.
    const int first = static_cast<int>(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    int line = (first & ~0xFFFF) | HIWORD(answer);
    if (line < first)
        line += 0x10000;
    const int start = LineToCharNo(line);
    if (start < 0)
        return LOWORD(answer);
    int index = (start & ~0xFFFF) | LOWORD(answer);
    if (index < start)
        index += 0x10000;
    return index;
}

int TVelmorMemo::CaretToChar() const {
    if (!Focused())
        return static_cast<int>(SelStart()); // no caret without focus
    POINT p{};
    GetCaretPos(&p);
    return CursorToChar(p);
}

} // namespace vp::ui
