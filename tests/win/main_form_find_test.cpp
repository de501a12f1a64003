// Finding in the pad: the system's Find dialog, F3 and Shift+F3, and the search's settings.
#include "main_form_fixture.h"

#include <commdlg.h>
#include <dlgs.h>

#include "core/encoding.h"
#include "core/text.h"
#include "platform/wstr.h"

namespace vp::test {

namespace {

class FindInPad : public MainForm {
  protected:
    // Positions:  0     6     12  16    22     29
    const std::u16string text = u"Apple apple pineapple APPLE\r\nend";

    HWND OpenDialog() {
        form->mmoClipboard->SetText(text);
        form->mmoClipboard->SetSel(0, 0);
        form->actFind->Execute();
        return form->FindDialog();
    }
    void SetDialog(HWND dlg, const wchar_t* what, bool matchCase, bool wholeWord, bool up) {
        SetDlgItemTextW(dlg, edt1, what);
        CheckDlgButton(dlg, chx2, matchCase ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dlg, chx1, wholeWord ? BST_CHECKED : BST_UNCHECKED);
        CheckRadioButton(dlg, rad1, rad2, up ? rad1 : rad2);
    }
    // The dialog's "Find Next" button, as a click sends it.
    void PressFindNext(HWND dlg) {
        SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    }
    std::pair<size_t, size_t> Sel() const {
        const size_t start = form->mmoClipboard->SelStart();
        return {start, start + form->mmoClipboard->SelLength()};
    }
};

using Sels = std::vector<std::pair<size_t, size_t>>;

} // namespace

TEST_F(FindInPad, DialogFindsNextUpWithCaseAndWholeWordAndWraps) {
    Open();
    struct Case {
        const char* what;
        const wchar_t* needle;
        bool matchCase, wholeWord, up;
        Sels sels; // one press of "Find Next" each; the last one wraps
    };
    const Case cases[] = {
        {"any case", L"apple", false, false, false, {{0, 5}, {6, 11}, {16, 21}, {22, 27}, {0, 5}}},
        {"match case", L"apple", true, false, false, {{6, 11}, {16, 21}, {6, 11}}},
        {"whole word", L"APPLE", false, true, false, {{0, 5}, {6, 11}, {22, 27}, {0, 5}}},
        {"up", L"apple", false, true, true, {{22, 27}, {6, 11}, {0, 5}, {22, 27}}},
        {"across the line break", L"E\r\nE", false, false, false, {{26, 30}, {26, 30}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND dlg = OpenDialog();
        ASSERT_TRUE(dlg);
        SetDialog(dlg, c.needle, c.matchCase, c.wholeWord, c.up);
        if (c.up)
            form->mmoClipboard->SetSel(text.size(), text.size());
        for (size_t i = 0; i < c.sels.size(); ++i) {
            PressFindNext(dlg);
            EXPECT_EQ(Sel(), c.sels[i]) << i;
            const bool wrapped = i + 1 == c.sels.size();
            EXPECT_EQ(Status().find(u"searched on from the") != std::u16string::npos, wrapped) << i;
        }
        EXPECT_EQ(form->SearchText(), U(c.needle));
        EXPECT_EQ(form->FindMatchCase(), c.matchCase);
        EXPECT_EQ(form->FindWholeWord(), c.wholeWord);
        // "Cancel" closes the dialog and the window learns of it.
        SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_EQ(form->FindDialog(), nullptr);
    }
    EXPECT_TRUE(fx.tones.empty());
}

TEST_F(FindInPad, NotFoundBeepsAndSaysSoLeavingTheSelection) {
    Open();
    HWND dlg = OpenDialog();
    form->mmoClipboard->SetSel(6, 11);
    SetDialog(dlg, L"pear", false, false, false);
    PressFindNext(dlg);
    EXPECT_EQ(Sel(), (std::pair<size_t, size_t>{6, 11}));
    EXPECT_EQ(Status(), u"Cannot find \"pear\"");
    EXPECT_EQ(fx.tones.size(), 1u);
    // As a whole word, "pine" is not in "pineapple".
    SetDialog(dlg, L"pine", false, true, false);
    PressFindNext(dlg);
    EXPECT_EQ(fx.tones.size(), 2u);
}

TEST_F(FindInPad, F3AndShiftF3WorkWithoutTheDialog) {
    Open();
    form->mmoClipboard->SetText(text);
    // No search text yet: F3 opens the dialog to ask for one.
    EXPECT_FALSE(form->actFindNext->Execute() && form->FindDialog() == nullptr);
    ASSERT_TRUE(form->FindDialog());
    SendMessageW(form->FindDialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_EQ(form->FindDialog(), nullptr);

    form->SetSearch(u"apple", false, true);
    form->mmoClipboard->SetSel(0, 0);
    form->actFindNext->Execute();
    EXPECT_EQ(Sel(), (std::pair<size_t, size_t>{0, 5}));
    form->actFindNext->Execute();
    EXPECT_EQ(Sel(), (std::pair<size_t, size_t>{6, 11}));
    form->actFindPrevious->Execute();
    EXPECT_EQ(Sel(), (std::pair<size_t, size_t>{0, 5}));
    form->actFindPrevious->Execute();
    EXPECT_EQ(Sel(), (std::pair<size_t, size_t>{22, 27}));
    EXPECT_NE(Status().find(u"from the end"), std::u16string::npos);
    EXPECT_EQ(form->FindDialog(), nullptr);
    // The keys work on every tab, and show the match where the pad is.
    form->PageControl->SetActivePage(form->tabSettings);
    form->actFindNext->Execute();
    EXPECT_EQ(form->PageControl->ActivePage(), form->tabMain);
    EXPECT_EQ(Sel(), (std::pair<size_t, size_t>{0, 5}));
}

TEST_F(FindInPad, TheMatchIsScrolledIntoViewAndNotUnderTheDialog) {
    Open();
    form->Show();
    std::u16string lines;
    for (int i = 0; i < 2000; ++i)
        lines += u"line " + std::u16string(i == 1500 ? u"needle" : u"hay") + u"\r\n";
    form->mmoClipboard->SetText(lines);
    form->mmoClipboard->SetSel(0, 0);
    form->actFind->Execute();
    HWND dlg = form->FindDialog();
    ASSERT_TRUE(dlg);
    SetDialog(dlg, L"needle", false, false, false);
    const size_t at = lines.find(u"needle");
    HWND edit = form->mmoClipboard->Handle();
    // The match's line on the screen, once it is in view.
    auto matchY = [&] {
        const LRESULT pos = SendMessageW(edit, EM_POSFROMCHAR, at, 0);
        POINT p{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        RECT client{};
        GetClientRect(edit, &client);
        EXPECT_TRUE(p.y >= 0 && p.y < client.bottom) << p.y;
        ClientToScreen(edit, &p);
        return p.y + 4;
    };
    PressFindNext(dlg);
    ASSERT_EQ(Sel(), (std::pair<size_t, size_t>{at, at + 6}));
    const int y = matchY();
    // Where a user may have put it: right over the match. The next press finds the same one.
    RECT box{};
    GetWindowRect(dlg, &box);
    SetWindowPos(dlg, nullptr, box.left, y - (box.bottom - box.top) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PressFindNext(dlg);
    ASSERT_EQ(Sel(), (std::pair<size_t, size_t>{at, at + 6}));
    EXPECT_EQ(matchY(), y);
    GetWindowRect(dlg, &box);
    EXPECT_FALSE(y >= box.top && y < box.bottom)
        << "match at " << y << ", dialog " << box.top << ".." << box.bottom;
}

TEST_F(FindInPad, SearchSettingsComeBackAfterTheOlderKeys) {
    Open();
    form->SetSearch(u"caf\u00E9 = 1", true, true);
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    form.reset();
    const std::u16string ini = ReadTextFile(IniPath());
    const size_t find = ini.find(u"[Find]\r\n");
    ASSERT_NE(find, std::u16string::npos) << ToUtf8(ini);
    // Its own section, after every section the file had before.
    EXPECT_GT(find, ini.rfind(u"actSortLines="));
    EXPECT_EQ(ini.find(u"actFind"), std::u16string::npos);
    EXPECT_EQ(ini.find(u"mnuFind"), std::u16string::npos);
    Start();
    EXPECT_EQ(form->SearchText(), u"caf\u00E9 = 1");
    EXPECT_TRUE(form->FindMatchCase());
    EXPECT_TRUE(form->FindWholeWord());
    // The dialog opens with them.
    form->actFind->Execute();
    HWND dlg = form->FindDialog();
    ASSERT_TRUE(dlg);
    wchar_t shown[64] = {};
    GetDlgItemTextW(dlg, edt1, shown, 64);
    EXPECT_EQ(U(shown), u"caf\u00E9 = 1");
    EXPECT_EQ(IsDlgButtonChecked(dlg, chx2), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg, chx1), BST_CHECKED);
}

TEST_F(FindInPad, TheMenuListsTheCommandsWithShortcutsAndUniqueAccessKeys) {
    Open();
    auto& pad = *form->Find<TMenuItem>(u"mnuCollectedtext");
    std::vector<std::u16string> texts;
    HMENU menu = GetSubMenu(GetMenu(form->Handle()), 1);
    ASSERT_TRUE(menu);
    std::u16string keys;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        texts.push_back(U(text));
        const std::u16string t = U(text);
        if (const size_t amp = t.find(u'&'); amp != std::u16string::npos)
            keys += UpCaseAscii(t[amp + 1]);
    }
    const std::vector<std::u16string> tail(texts.end() - 4, texts.end());
    EXPECT_EQ(tail, (std::vector<std::u16string>{u"&Find...\tCtrl+F", u"Find &next\tF3",
                                                 u"Find &previous\tShift+F3",
                                                 u"Find in &all categories...\tCtrl+Shift+F"}));
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(keys.find(keys[i], i + 1), std::u16string::npos) << ToUtf8(keys);
    EXPECT_GE(pad.Items().size(), 9u);
}

} // namespace vp::test
