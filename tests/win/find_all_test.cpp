// "Find in all categories": every category's file and the pad's unsaved text, one list.
#include <fstream>

#include "app/frm_find_all.h"
#include "core/encoding.h"
#include "main_form_fixture.h"
#include "platform/wstr.h"

namespace vp::test {

namespace {

class FindAll : public MainForm {
  protected:
    HANDLE held = INVALID_HANDLE_VALUE;

    void SetUp() override {
        MainForm::SetUp();
        CreateDirectoryW(W(dir), nullptr);
        Bytes(u"Categories.list", "Alpha and omega\r\nBeta\r\nGamma\r\nHeld\r\n");
        Bytes(u"Alpha and omega.txt", "one apple\r\ntwo\r\nApple pie\r\n");
        // The code page's "é", a bare LF and a NUL, as the program's file reading takes them.
        Bytes(u"Beta.txt", std::string("caf\xE9 apple\nx\0apple", 18));
        Bytes(u"Gamma.txt", "no fruit");
        Bytes(u"Held.txt", "apple");
    }
    void TearDown() override {
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        MainForm::TearDown();
    }
    void Bytes(const std::u16string& name, const std::string& bytes) {
        std::ofstream(W(dir + name), std::ios::binary) << bytes;
    }
    // Another program holds the file open and lets nobody read it.
    void Hold(const std::u16string& name) {
        held = CreateFileW(W(dir + name), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    TFrmFindAll& Search(const std::u16string& needle) {
        form->SetSearch(needle, false, false);
        form->actFindAll->Execute();
        TFrmFindAll& frm = *form->FindAllWindow();
        frm.WaitUntilDone();
        return frm;
    }
    struct Row {
        std::u16string category, line, text, marked;
        bool operator==(const Row&) const = default;
    };
    static std::vector<Row> Listed(TFrmFindAll& frm) {
        std::vector<Row> rows;
        for (int i = 0; i < frm.lstResults->RowCount(); ++i) {
            const std::u16string text = frm.lstResults->CellText(i, 2);
            const TTextMark mark = frm.lstResults->Mark(i);
            rows.push_back({frm.lstResults->CellText(i, 0), frm.lstResults->CellText(i, 1), text,
                            text.substr(mark.start, mark.length)});
        }
        return rows;
    }
};

} // namespace

TEST_F(FindAll, ListsEveryCategoryWithThePadsUnsavedTextAndReportsAnUnreadableFile) {
    Open();
    ASSERT_EQ(Buttons().size(), 4u);
    ASSERT_TRUE(Buttons()[0]->Down());
    form->mmoClipboard->SetSel(Pad().size(), Pad().size());
    form->mmoClipboard->ReplaceSel(u"unsaved apple");
    Hold(u"Held.txt");
    const std::string alphaBefore = ReadBytes(dir + u"Alpha and omega.txt");
    const std::string betaBefore = ReadBytes(dir + u"Beta.txt");

    TFrmFindAll& frm = Search(u"APPLE");
    const std::vector<Row> rows = Listed(frm);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (Row{u"Alpha and omega", u"1", u"one apple", u"apple"}));
    EXPECT_EQ(rows[1], (Row{u"Alpha and omega", u"3", u"Apple pie", u"Apple"}));
    EXPECT_EQ(rows[2], (Row{u"Alpha and omega", u"4", u"unsaved apple", u"apple"}));
    EXPECT_EQ(rows[3], (Row{u"Beta", u"1", u"caf\u00E9 apple", u"apple"}));
    EXPECT_EQ(rows[4], (Row{u"Beta", u"2", u"x\u2400apple", u"apple"}));
    EXPECT_EQ(rows[5].category, u"Held");
    EXPECT_EQ(rows[5].line, u"");
    EXPECT_EQ(rows[5].text.rfind(u"Cannot be read: ", 0), 0u) << ToUtf8(rows[5].text);
    EXPECT_EQ(frm.lblProgress->Caption(), u"5 matches in 2 categories; 1 file could not be read.");
    // Searching changed no file, and saved nothing of the pad.
    EXPECT_EQ(ReadBytes(dir + u"Alpha and omega.txt"), alphaBefore);
    EXPECT_EQ(ReadBytes(dir + u"Beta.txt"), betaBefore);
    EXPECT_TRUE(form->PadModified());
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(FindAll, EnterOnARowSavesThePadSwitchesCategoryAndSelectsTheMatch) {
    Open();
    form->mmoClipboard->SetSel(Pad().size(), Pad().size());
    form->mmoClipboard->ReplaceSel(u"unsaved apple");
    TFrmFindAll& frm = Search(u"apple");
    ASSERT_EQ(frm.Rows().size(), 6u);
    // From the keyboard alone: the list has the focus, a row is picked, Enter.
    frm.lstResults->SetFocus();
    frm.lstResults->SetSelected(4);
    SendMessageW(frm.lstResults->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(Buttons()[1]->Down());
    // The switch saved the pad first, as pressing the category's button does.
    EXPECT_EQ(File(u"Alpha and omega.txt"), u"one apple\r\ntwo\r\nApple pie\r\nunsaved apple");
    const std::u16string pad = Pad();
    EXPECT_EQ(pad, u"caf\u00E9 apple\r\nx\u2400apple");
    EXPECT_EQ(form->mmoClipboard->SelStart(), pad.rfind(u"apple"));
    EXPECT_EQ(form->mmoClipboard->SelText(), u"apple");
    EXPECT_EQ(form->PageControl->ActivePage(), form->tabMain);

    // A row of the category shown now selects without a switch.
    frm.lstResults->SetSelected(3);
    SendMessageW(frm.lstResults->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(form->mmoClipboard->SelStart(), pad.find(u"apple"));
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(FindAll, StopEndsALongSearchKeepingWhatItFound) {
    std::string list;
    const std::string body(200000, 'x');
    for (int i = 0; i < 60; ++i) {
        const std::string name = "Many " + std::to_string(i);
        list += name + "\r\n";
        Bytes(std::u16string(name.begin(), name.end()) + u".txt", "apple\r\n" + body);
    }
    Bytes(u"Categories.list", list);
    Open();
    ASSERT_EQ(Buttons().size(), 60u);
    form->SetSearch(u"apple", false, false);
    form->actFindAll->Execute();
    TFrmFindAll& frm = *form->FindAllWindow();
    EXPECT_TRUE(frm.Running());
    EXPECT_TRUE(frm.btnStop->Enabled());
    frm.btnStop->Click();
    frm.WaitUntilDone();
    EXPECT_FALSE(frm.Running());
    EXPECT_FALSE(frm.btnStop->Enabled());
    const std::u16string progress = frm.lblProgress->Caption();
    EXPECT_NE(progress.find(u"; stopped after "), std::u16string::npos) << ToUtf8(progress);
    EXPECT_LT(frm.Rows().size(), 60u);
    EXPECT_EQ(static_cast<size_t>(frm.lstResults->RowCount()), frm.Rows().size());
    // Searching again starts afresh and goes to the end.
    frm.btnFind->Click();
    frm.WaitUntilDone();
    EXPECT_EQ(frm.Rows().size(), 60u);
    EXPECT_EQ(frm.lblProgress->Caption(), u"60 matches in 60 categories.");
}

TEST_F(FindAll, EveryControlOfTheWindowHasAHint) {
    Open();
    form->actFindAll->Execute();
    TFrmFindAll& frm = *form->FindAllWindow();
    const std::vector<TControl*> controls = {frm.lblFind,      frm.edtFind,   frm.chkMatchCase,
                                             frm.chkWholeWord, frm.btnFind,   frm.lblProgress,
                                             frm.btnStop,      frm.lstResults};
    for (TControl* c : controls) {
        EXPECT_FALSE(c->Hint().empty()) << ToUtf8(c->Name());
        // The main window's hint system follows the mouse over this window too.
        form->Hints().MouseOver(c->Handle());
        EXPECT_EQ(form->Hints().Hint(), c->Hint()) << ToUtf8(c->Name());
    }
    for (TAction* a : {form->actFind, form->actFindNext, form->actFindPrevious, form->actFindAll})
        EXPECT_FALSE(a->Hint().empty()) << ToUtf8(a->Name());
}

} // namespace vp::test
