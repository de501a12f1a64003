#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <vector>

#include "clipboard_holder.h"
#include "core/errors.h"
#include "failing_allocator.h"
#include "platform/clipboard.h"
#include "platform/hooks.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/velmor_memo.h"

using namespace vp;
using namespace vp::ui;

namespace {

class UiMemo : public ::testing::Test {
  protected:
    TForm form{u"MemoForm", {.caption = u"Memo test", .clientWidth = 400, .clientHeight = 300}};
    TVelmorMemo& memo = form.Create<TVelmorMemo>(form, u"mmoClipboard", {0, 0, 300, 200},
                                                 {.wordWrap = false, .hScroll = true});
    int changes = 0;
    void SetUp() override {
        memo.OnChange = [this] { ++changes; };
    }

    void Key(UINT vk, std::initializer_list<UINT> held = {}) {
        BYTE state[256] = {};
        for (UINT h : held)
            state[h] = 0x80;
        SetKeyboardState(state);
        SendMessageW(memo.Handle(), WM_KEYDOWN, vk, 1);
        BYTE none[256] = {};
        SetKeyboardState(none);
    }
    void Char(wchar_t c) { SendMessageW(memo.Handle(), WM_CHAR, c, 1); }
};

std::u16string Lines(std::initializer_list<const char16_t*> lines) {
    std::u16string text;
    for (const auto* l : lines)
        text += std::u16string(l) + u"\r\n";
    return text;
}

// Counts whole-text traffic on a window while it lives.
struct TextTraffic {
    HWND hwnd;
    int sets = 0, gets = 0;
    explicit TextTraffic(HWND h) : hwnd(h) {
        SetWindowSubclass(h, Proc, 77, reinterpret_cast<DWORD_PTR>(this));
    }
    ~TextTraffic() { RemoveWindowSubclass(hwnd, Proc, 77); }
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
        auto* self = reinterpret_cast<TextTraffic*>(ref);
        if (m == WM_SETTEXT)
            ++self->sets;
        if (m == WM_GETTEXT || m == EM_GETHANDLE)
            ++self->gets;
        return DefSubclassProc(h, m, w, l);
    }
};

} // namespace

TEST_F(UiMemo, SetTextGivesUniformCrLfBreaksAndOneChangeNotification) {
    memo.SetText(u"one\rtwo\nthree\n\rfour");
    EXPECT_EQ(memo.Text(), u"one\r\ntwo\r\nthree\r\n\r\nfour");
    EXPECT_EQ(memo.LineCount(), 5);
    EXPECT_EQ(memo.Line(1), u"two");
    EXPECT_EQ(changes, 1);
    memo.SetText(u"one\ntwo\nthree\n\rfour"); // the same text once converted
    EXPECT_EQ(changes, 1) << "an equal text changes nothing";
    // Text set from outside the program's code passes the same conversion.
    SendMessageW(memo.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"a\nb"));
    EXPECT_EQ(memo.Text(), u"a\r\nb");
    EXPECT_EQ(changes, 2);
    memo.SetText(u"a\r\nb"); // equal, and already in CR LF: compared in place
    EXPECT_EQ(changes, 2);
    SendMessageW(memo.Handle(), WM_SETTEXT, 0, 0); // no text at all empties the memo
    EXPECT_EQ(memo.TextLength(), 0u);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(memo.ClassName(), u"TVelmorMemo");
}

TEST_F(UiMemo, LargeTextIsKeptWhole) {
    for (size_t size : {40'000u, 1'500'000u}) {
        std::u16string text(size, u'x');
        for (size_t i = 99; i < size; i += 100)
            text[i] = u'\n';
        memo.SetText(text);
        EXPECT_EQ(memo.TextLength(), size + size / 100) << size;
        memo.AddLine(u"tail");
        const std::u16string back = memo.Text();
        EXPECT_EQ(back.size(), size + size / 100 + 6) << size;
        EXPECT_EQ(back.substr(back.size() - 9), u"x\r\ntail\r\n") << size;
    }
}

TEST_F(UiMemo, AddingALineTouchesOnlyTheEnd) {
    memo.SetText(std::u16string(1'000'000, u'y'));
    TextTraffic traffic(memo.Handle());
    memo.AddLine(u"entry");
    memo.AddLine(u"next");
    EXPECT_EQ(traffic.sets, 0);
    EXPECT_EQ(traffic.gets, 0) << "appending never reads or rewrites the whole pad";
    EXPECT_EQ(memo.TextLength(), 1'000'000u + 2 + 5 + 2 + 4);
    EXPECT_EQ(memo.LineCount(), 3);
    EXPECT_EQ(memo.Line(2), u"next");
}

TEST_F(UiMemo, LineListAddsAndDeletesLikeTheBaseMemo) {
    struct Case {
        std::u16string before, added, after;
    } cases[] = {
        {u"", u"a", u"a\r\n"},
        {u"x", u"a", u"x\r\na"},
        {u"x\r\n", u"a", u"x\r\na\r\n"},
        {u"x\r\n\r\n", u"a", u"x\r\n\r\na\r\n"},
    };
    for (const auto& c : cases) {
        memo.SetText(c.before);
        memo.AddLine(c.added);
        EXPECT_EQ(memo.Text(), c.after) << "after " << c.before.size() << " units";
    }
    memo.SetText(u"a\r\nb\r\nc");
    changes = 0;
    memo.DeleteLine(1);
    EXPECT_EQ(memo.Text(), u"a\r\nc");
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(memo.Line(7), Error);
}

TEST_F(UiMemo, PasteInsertsPlainTextWithCrLfAndLeavesNoUndo) {
    memo.SetText(u"start");
    memo.SetSel(5, 5);
    memo.ReplaceSel(u" typed", true);
    ASSERT_TRUE(SendMessageW(memo.Handle(), EM_CANUNDO, 0, 0));
    SetClipboardText(u"\nline1\nline2");
    const int before = memo.LineCount();
    SendMessageW(memo.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(memo.Text(), u"start typed\r\nline1\r\nline2");
    EXPECT_EQ(memo.LineCount(), before + 2);
    EXPECT_FALSE(SendMessageW(memo.Handle(), EM_CANUNDO, 0, 0));

    memo.SetSel(0, 5); // a selection is replaced
    SetClipboardText(u"go");
    SendMessageW(memo.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(memo.Line(0), u"go typed");

    // An image alone on the clipboard pastes nothing.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    SetClipboardData(CF_BITMAP, CreateCompatibleBitmap(screen, 4, 4));
    ReleaseDC(nullptr, screen);
    CloseClipboard();
    const std::u16string kept = memo.Text();
    SendMessageW(memo.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(memo.Text(), kept);
}

TEST_F(UiMemo, AFailedPasteLeavesTheClipboardClosedAndItsRetriesWaitThroughTheHook) {
    SetClipboardText(u"two\nlines");
    const int failures =
        test::EachAllocationFails([&] { memo.Paste(); },
                                  [&] {
                                      const HWND open = GetOpenClipboardWindow();
                                      EXPECT_EQ(open, nullptr)
                                          << "the clipboard is left open to every other program";
                                      if (open)
                                          CloseClipboard();
                                  });
    EXPECT_GT(failures, 0);
    memo.SetText(u"");
    memo.Paste();
    EXPECT_EQ(memo.Text(), u"two\r\nlines");

    std::vector<unsigned> waits;
    hooks::Sleep = [&](unsigned ms) {
        waits.push_back(ms);
        ::Sleep(ms);
    };
    {
        test::ClipboardHolder holder(1500);
        EXPECT_THROW(memo.Paste(), Error);
    }
    hooks::Sleep = nullptr;
    EXPECT_EQ(waits, std::vector<unsigned>(kClipboardAttempts, kClipboardRetryMilliseconds));
    EXPECT_EQ(memo.Text(), u"two\r\nlines");
}

TEST_F(UiMemo, CtrlASelectsAllAndInsertTogglesTheTypeMode) {
    memo.SetText(u"abc\r\ndef");
    memo.SetSel(1, 1);
    Key('A', {VK_CONTROL});
    EXPECT_EQ(memo.SelStart(), 0u);
    EXPECT_EQ(memo.SelLength(), 8u);

    EXPECT_EQ(memo.TypeMode(), tmInsert);
    Key(VK_INSERT);
    EXPECT_EQ(memo.TypeMode(), tmOverwrite);
    Key(VK_INSERT);
    EXPECT_EQ(memo.TypeMode(), tmInsert);
    Key(VK_INSERT, {VK_SHIFT});
    Key(VK_INSERT, {VK_CONTROL});
    EXPECT_EQ(memo.TypeMode(), tmInsert) << "only a bare Insert toggles";
}

TEST_F(UiMemo, OverwriteReplacesTheCharacterAfterTheCaret) {
    memo.SetTypeMode(tmOverwrite);
    memo.SetText(u"abc\r\nde");
    memo.SetSel(0, 0);
    Char(L'x');
    EXPECT_EQ(memo.Text(), u"xbc\r\nde");
    memo.SetSel(1, 3); // a selection is replaced as usual
    Char(L'y');
    EXPECT_EQ(memo.Text(), u"xy\r\nde");
    memo.SetSel(0, 0);
    Char(VK_BACK); // removes the character after the caret
    EXPECT_EQ(memo.Text(), u"y\r\nde");
    memo.SetSel(1, 1); // at the end of a line the break stays
    Char(L'z');
    EXPECT_EQ(memo.Text(), u"yz\r\nde");
    memo.SetText(u"a\U0001F600b");
    memo.SetSel(1, 1); // a surrogate pair is replaced whole
    Char(L'q');
    EXPECT_EQ(memo.Text(), u"aqb");
    memo.SetTypeMode(tmInsert);
    memo.SetSel(0, 0);
    Char(L'i');
    EXPECT_EQ(memo.Text(), u"iaqb");
}

TEST_F(UiMemo, SortTrimAndEmptyLineRemoval) {
    memo.SetText(u"b\r\nA\r\nc");
    memo.SortLines();
    EXPECT_EQ(memo.Text(), Lines({u"A", u"b", u"c"}));

    memo.SetText(u" \tx\t \r\n   \r\n\r\ny");
    changes = 0;
    memo.RemoveEmptyLinesEx();
    EXPECT_EQ(memo.Text(), Lines({u"x", u"y"}));
    EXPECT_EQ(changes, 3) << "one for the trim, one per deleted line";

    memo.SetText(u" a b \r\n\r\n  \r\nc");
    memo.Trim();
    EXPECT_EQ(memo.Text(), Lines({u"a b", u"", u"", u"c"}));
    memo.SetText(u"a\r\n\r\n  \r\nc\r\n\r\n");
    memo.RemoveEmptyLines(); // a line of blanks stays
    EXPECT_EQ(memo.Text(), u"a\r\n  \r\nc\r\n");
    memo.RemoveLastEmptyLine();
    EXPECT_EQ(memo.Text(), u"a\r\n  \r\nc");
    EXPECT_EQ(memo.CountNonEmptyLines(), 3);
}

TEST_F(UiMemo, LoadFromFileOnlyWhenTheFileCanBeHadAlone) {
    const std::u16string tmp = test::TempPath();
    const std::u16string file = tmp + u"vp_memo_load.txt";
    {
        std::ofstream out(reinterpret_cast<const wchar_t*>(file.c_str()), std::ios::binary);
        out << "\xEF\xBB\xBF"
            << "first\nsecond";
    }
    memo.SetText(u"kept");
    EXPECT_FALSE(memo.LoadFromFile(tmp + u"vp_no_such_file.txt"));
    EXPECT_EQ(memo.Text(), u"kept");
    {
        HANDLE held =
            CreateFileW(W(file), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(memo.LoadFromFile(file));
        CloseHandle(held);
    }
    EXPECT_EQ(memo.Text(), u"kept");
    EXPECT_TRUE(memo.LoadFromFile(file));
    EXPECT_EQ(memo.Text(), u"first\r\nsecond");
    DeleteFileW(W(file));
}

TEST_F(UiMemo, ScrollAtEndAndTop) {
    memo.ScrollAtEnd();
    EXPECT_EQ(memo.SelStart(), 0u);
    memo.SetText(u"abc\r\ndef");
    memo.ScrollAtEnd();
    EXPECT_EQ(memo.SelStart(), 8u);
    EXPECT_EQ(memo.SelLength(), 0u);
    memo.ScrollAtTop();
    EXPECT_EQ(memo.SelStart(), 1u);
    memo.SetSel(2, 4);
    memo.RemoveSelection();
    EXPECT_EQ(memo.SelStart(), 0u);
    EXPECT_EQ(memo.SelLength(), 0u);
}

TEST_F(UiMemo, RemoveDuplicatesKeepsTheFirstOfEachLine) {
    memo.SetText(u"Foo\r\nbar\r\nFOO\r\nfoo");
    EXPECT_EQ(memo.RemoveDuplicates(), 2);
    EXPECT_EQ(memo.Text(), Lines({u"Foo", u"bar"}));
    memo.SetText(u"");
    EXPECT_EQ(memo.RemoveDuplicates(), 0);
}

TEST_F(UiMemo, SearchSelectsWrapsAndCanLeaveTheCaretAfter) {
    memo.SetText(u"alpha beta\r\nBETA gamma");
    EXPECT_TRUE(memo.Search(u"beta"));
    EXPECT_EQ(memo.SelStart(), 6u);
    EXPECT_EQ(memo.SelLength(), 4u);
    EXPECT_TRUE(memo.Search(u"beta"));
    EXPECT_EQ(memo.SelStart(), 12u);
    EXPECT_TRUE(memo.Search(u"beta")) << "wraps to the top";
    EXPECT_EQ(memo.SelStart(), 6u);

    memo.SearchOptions = 0; // case matters, no wrap
    memo.SetSel(12, 12);
    EXPECT_FALSE(memo.Search(u"beta"));
    memo.SearchOptions = soFromStart;
    EXPECT_TRUE(memo.Search(u"BETA"));
    EXPECT_EQ(memo.SelStart(), 12u);

    memo.SearchOptions = soIgnoreCase | soWrap;
    memo.SetCursorAfterSearch(true);
    memo.SetSel(0, 0);
    EXPECT_TRUE(memo.Search(u"GAMMA"));
    EXPECT_EQ(memo.SelStart(), 22u);
    EXPECT_EQ(memo.SelLength(), 0u);
    EXPECT_FALSE(memo.Search(u""));
    EXPECT_FALSE(memo.Search(u"delta"));
}

TEST_F(UiMemo, LinesAreFoundSelectedAndMoved) {
    memo.SetText(Lines({u"one", u"Two", u"three"}));
    EXPECT_EQ(memo.FindLine(u"TWO"), 1);
    EXPECT_EQ(memo.FindLine(u"tw"), -1);
    memo.SelectLine(u"three");
    EXPECT_EQ(memo.SelStart(), 10u);
    EXPECT_EQ(memo.SelLength(), 5u);
    memo.SelectLine(3); // beyond the last line: nothing
    EXPECT_EQ(memo.SelStart(), 10u);
    memo.SetSel(6, 6);
    memo.SelectCurrentLine();
    EXPECT_EQ(memo.SelText(), u"Two");
    EXPECT_EQ(memo.CurrentLine(), 1);

    memo.SwapLines(0, 2);
    EXPECT_EQ(memo.Text(), Lines({u"three", u"Two", u"one"}));
    memo.SetSel(memo.LineToCharNo(2), memo.LineToCharNo(2));
    memo.LineUp();
    EXPECT_EQ(memo.Text(), Lines({u"three", u"one", u"Two"}));
    EXPECT_EQ(memo.CurrentLine(), 1) << "the caret moves with its line";
    memo.LineUp();
    memo.LineUp(); // on the first line: nothing
    EXPECT_EQ(memo.Text(), Lines({u"one", u"three", u"Two"}));
    memo.LineDown();
    EXPECT_EQ(memo.Text(), Lines({u"three", u"one", u"Two"}));
    memo.SetSel(memo.LineToCharNo(2), memo.LineToCharNo(2));
    memo.LineDown(); // on the last line: nothing
    EXPECT_EQ(memo.Text(), Lines({u"three", u"one", u"Two"}));
    EXPECT_EQ(memo.CharToLine(7), 1);
}

TEST_F(UiMemo, RandomizeSwapsEachLineWithADrawnOne) {
    memo.SetText(Lines({u"a", u"b", u"c"}));
    std::vector<int> draws{2, 2, 0}, ranges;
    size_t next = 0;
    hooks::Random = [&](int range) {
        ranges.push_back(range);
        return draws[next++];
    };
    memo.Randomize();
    hooks::Random = nullptr;
    // 0<->2 gives c b a, 1<->2 gives c a b, 2<->0 gives b a c.
    EXPECT_EQ(memo.Text(), Lines({u"b", u"a", u"c"}));
    EXPECT_EQ(ranges, (std::vector<int>{3, 3, 3}));
}

TEST_F(UiMemo, RemoveAndKeepLinesByContainedText) {
    const std::u16string text = Lines({u"apple pie", u"Banana", u"PINEAPPLE", u"cherry"});
    memo.SetText(text);
    EXPECT_EQ(memo.RemoveLines(u""), 0);
    EXPECT_EQ(memo.RemoveLines(u"apple"), 2);
    EXPECT_EQ(memo.Text(), Lines({u"Banana", u"cherry"}));
    memo.SetText(text);
    EXPECT_EQ(memo.KeepLines(u"APPLE"), 2);
    EXPECT_EQ(memo.Text(), Lines({u"apple pie", u"PINEAPPLE"}));
    EXPECT_EQ(memo.KeepLines(u""), 2);
    EXPECT_EQ(memo.LineCount(), 0);

    memo.SetText(text);
    memo.KeepFirstLines(2);
    EXPECT_EQ(memo.Text(), Lines({u"apple pie", u"Banana"}));
    memo.KeepFirstLines(5);
    EXPECT_EQ(memo.LineCount(), 2);
    EXPECT_THROW(memo.KeepFirstLines(-1), AssertionFailure);
}

TEST_F(UiMemo, CountsWordsAcrossEveryKindOfWhiteSpace) {
    struct Case {
        std::u16string text;
        int words;
    } cases[] = {
        {u"", 0},
        {u"   ", 0},
        {u"one", 1},
        {u" one  two\tthree\r\nfour ", 4},
        {u"a\u00A0b\u2028c\u2029d\u3000e\u0085f", 6},
        {u"x\u200By", 1}, // a zero-width space is no white space here
    };
    for (const auto& c : cases) {
        memo.SetText(c.text);
        EXPECT_EQ(memo.CountWords(), c.words) << c.text.size();
    }
}

TEST_F(UiMemo, AddsTextNumbersEntriesAndSeparators) {
    memo.AddString(u"s");
    memo.AddInteger(-42);
    memo.AddEntry(u"n=", 7);
    memo.AddSeparator();
    EXPECT_EQ(memo.Text(), u"s\r\n-42\r\nn=7\r\n\r\n____________________\r\n\r\n");
}

TEST_F(UiMemo, CopyAllPutsTheWholeTextOnTheClipboard) {
    memo.SetText(u"all of\r\nit");
    memo.SetSel(2, 3);
    memo.CopyToClipboardAll();
    EXPECT_EQ(FetchClipboardText(5), u"all of\r\nit");
    EXPECT_EQ(memo.SelStart(), 0u);
    EXPECT_EQ(memo.SelLength(), 0u);
}

TEST_F(UiMemo, GeometryHelpers) {
    LOGFONTW lf{};
    lf.lfHeight = -13;
    lstrcpyW(lf.lfFaceName, L"Arial");
    HFONT font = CreateFontIndirectW(&lf);
    memo.SetFont(font);
    memo.SetBounds(0, 0, 200, 150);
    EXPECT_EQ(memo.VisibleLines(), 150 / 15);
    auto formatRect = [&](int l, int r, int tb) {
        memo.SetMargins(l, r, tb);
        RECT rect{};
        SendMessageW(memo.Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
        return rect;
    };
    const RECT plain = formatRect(0, 0, 0), inset = formatRect(4, 6, 2);
    EXPECT_EQ(inset.left - plain.left, 4);
    EXPECT_EQ(plain.right - inset.right, 6);
    EXPECT_EQ(inset.top - plain.top, 2);
    // The bottom edge is the control's to round to whole lines.

    memo.SetText(u"abc\r\ndef");
    EXPECT_EQ(memo.LineToCharNo(1), 5);
    EXPECT_EQ(memo.CursorToChar({-5, -5}), 0);
    EXPECT_EQ(memo.CaretToChar(), 0);

    std::u16string lines;
    for (int i = 0; i < 100; ++i)
        lines += u"line\r\n";
    memo.SetText(lines);
    memo.CenterInView(60);
    const int first = static_cast<int>(SendMessageW(memo.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    const int visible = memo.ClientHeight() / 13;
    EXPECT_NEAR(first, 60 - visible / 2 + 1, 1);
    memo.SetFont(nullptr);
    DeleteObject(font);
}
