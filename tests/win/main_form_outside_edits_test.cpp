// Category files that other programs change while the window runs: nothing either side
// wrote is lost, and the user is told when the pad's own edits had to move aside.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/scope_exit.h"
#include "main_form_fixture.h"
#include "platform/files.h"
#include "platform/wstr.h"
#include "test_support.h"

using namespace vp;
using test::MainForm;
using test::ReadBytes;
using test::WriteBytes;

namespace {

constexpr char16_t kReloaded[] =
    u"\"Main category.txt\" was reloaded because another program changed it";
const std::u16string kRecovery = u"Recovered - Main category - 2019-03-05 10.20.00.txt";

class OutsideEdits : public MainForm {
  protected:
    std::u16string Main() const { return dir + u"Main category.txt"; }
    // Start-up collects what the clipboard holds.
    void OpenWithFirst() {
        SetClipboardText(u"first");
        Open(true);
    }
    // An editor that saves in place.
    void AppendElsewhere(const std::string& line) { WriteBytes(Main(), ReadBytes(Main()) + line); }
};

} // namespace

TEST_F(OutsideEdits, AnAppendOrARenameOverTheFileIsReloadedAndTheCopyGoesOnTop) {
    OpenWithFirst();
    AppendElsewhere("appended by an editor\r\n");
    Copy(u"second");
    EXPECT_EQ(ReadBytes(Main()),
              "\xEF\xBB\xBF[Main category]\r\nfirst\r\nappended by an editor\r\nsecond\r\n");
    EXPECT_EQ(Status(), std::u16string(u"Collected items: 2 - ") + kReloaded);

    // A sync tool writes beside the file and renames its version over it.
    const std::u16string beside = dir + u".synced.tmp";
    WriteBytes(beside, ReadBytes(Main()) + "synced line");
    ASSERT_TRUE(MoveFileExW(W(beside), W(Main()), MOVEFILE_REPLACE_EXISTING));
    Copy(u"third");
    EXPECT_EQ(File(u"Main category.txt"), u"[Main category]\r\nfirst\r\nappended by an "
                                          u"editor\r\nsecond\r\nsynced line\r\nthird");
    EXPECT_EQ(Pad(), File(u"Main category.txt"));
    // A file deleted meanwhile is written anew from the pad.
    ASSERT_TRUE(DeleteFileW(W(Main())));
    Copy(u"fourth");
    EXPECT_EQ(File(u"Main category.txt"), Pad());
    EXPECT_EQ(Status(), u"Collected items: 4");
    EXPECT_TRUE(fx.boxes.empty());
    EXPECT_FALSE(FileExists(dir + kRecovery));
}

TEST_F(OutsideEdits, TheSameBytesWrittenAgainAreNoChange) {
    OpenWithFirst();
    form->mmoClipboard->SetText(Pad() + u"typed\r\n");
    Sleep(20);
    WriteBytes(Main(), ReadBytes(Main()));
    form->actSaveExecute();
    EXPECT_EQ(File(u"Main category.txt"), u"[Main category]\r\nfirst\r\ntyped\r\n");
    EXPECT_FALSE(FileExists(dir + kRecovery));
    EXPECT_TRUE(fx.boxes.empty());
    EXPECT_EQ(Status(), u"Collected items: 1");
}

TEST_F(OutsideEdits, TypedEditsMeetingAnOutsideChangeGoToARecoveryFileTheUserIsToldOnce) {
    OpenWithFirst();
    form->mmoClipboard->SetText(Pad() + u"typed by hand\r\n");
    AppendElsewhere("edited elsewhere\r\n");
    Copy(u"second");
    EXPECT_EQ(File(u"Main category.txt"),
              u"[Main category]\r\nfirst\r\nedited elsewhere\r\nsecond\r\n");
    EXPECT_EQ(Pad(), File(u"Main category.txt"));
    EXPECT_EQ(File(kRecovery), u"[Main category]\r\nfirst\r\ntyped by hand\r\n");
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Warning");
    EXPECT_NE(fx.boxes[0].text.find(dir + kRecovery), std::u16string::npos);
    Copy(u"third");
    EXPECT_EQ(fx.boxes.size(), 1u) << "told once";

    // The same on Save, and on a switch to another category.
    form->mmoClipboard->SetText(Pad() + u"typed again\r\n");
    AppendElsewhere("edited again\r\n");
    form->actSaveExecute();
    EXPECT_EQ(fx.boxes.size(), 2u);
    EXPECT_EQ(
        File(u"Main category.txt"),
        u"[Main category]\r\nfirst\r\nedited elsewhere\r\nsecond\r\nthird\r\nedited again\r\n");
    EXPECT_NE(File(u"Recovered - Main category - 2019-03-05 10.20.00 (2).txt").find(u"typed again"),
              std::u16string::npos);
    form->mmoClipboard->SetText(Pad() + u"typed before the switch\r\n");
    AppendElsewhere("edited before the switch\r\n");
    form->OnSelectCategory(*Buttons()[1]);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[1]);
    EXPECT_NE(ReadBytes(Main()).find("edited before the switch"), std::string::npos);
    EXPECT_NE(File(u"Recovered - Main category - 2019-03-05 10.20.00 (3).txt")
                  .find(u"typed before the switch"),
              std::u16string::npos);
}

TEST_F(OutsideEdits, EntriesWaitingForAFailedSaveFollowTheOutsideChange) {
    OpenWithFirst();
    SetFileAttributesW(W(Main()), FILE_ATTRIBUTE_READONLY);
    Copy(u"waiting");
    ASSERT_EQ(fx.boxes.size(), 1u) << "the failed save";
    SetFileAttributesW(W(Main()), FILE_ATTRIBUTE_NORMAL);
    AppendElsewhere("outside, no break at the end");
    Copy(u"next");
    EXPECT_EQ(File(u"Main category.txt"),
              u"[Main category]\r\nfirst\r\noutside, no break at the end\r\nwaiting\r\nnext\r\n");
    EXPECT_EQ(fx.boxes.size(), 1u);
    EXPECT_FALSE(FileExists(dir + kRecovery));
}

TEST_F(OutsideEdits, AnUnreadableChangedFileKeepsBothSides) {
    OpenWithFirst();
    AppendElsewhere("outside\r\n");
    const std::string onDisk = ReadBytes(Main());
    HANDLE held = CreateFileW(W(Main()), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Copy(u"while held");
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(Main()), onDisk);
    EXPECT_EQ(fx.boxes.size(), 1u) << "the reading error";
    Copy(u"after");
    EXPECT_EQ(File(u"Main category.txt"),
              u"[Main category]\r\nfirst\r\noutside\r\nwhile held\r\nafter\r\n");
}

TEST_F(OutsideEdits, BackFromAnotherProgramThePadShowsTheFileKeepingTheCaret) {
    OpenWithFirst();
    form->mmoClipboard->SetSel(5, 8);
    AppendElsewhere("added elsewhere\r\n");
    SendMessageW(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(Pad(), u"[Main category]\r\nfirst\r\nadded elsewhere\r\n");
    EXPECT_EQ(form->mmoClipboard->SelStart(), 5u);
    EXPECT_EQ(form->mmoClipboard->SelLength(), 3u);
    EXPECT_EQ(Status(), kReloaded);
    EXPECT_FALSE(form->PadModified());
    // Unsaved edits in the pad are never swapped for the file behind the user's back.
    form->mmoClipboard->SetText(Pad() + u"typed\r\n");
    AppendElsewhere("more elsewhere\r\n");
    SendMessageW(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(Pad(), u"[Main category]\r\nfirst\r\nadded elsewhere\r\ntyped\r\n");
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(OutsideEdits, TheCategoryListAndTheSeparatorFollowTheSameRule) {
    Open();
    const std::u16string list = dir + u"Categories.list";
    // No edit in the editor: it shows the list as another program left it.
    WriteBytes(list, "Main category\r\nFrom elsewhere\r\n");
    SendMessageW(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(form->mmoCategories->Text(), u"Main category\r\nFrom elsewhere\r\n");
    EXPECT_TRUE(form->btnApplyCateg->Enabled()) << "to make its buttons";
    // The user's list is applied; a version made elsewhere meanwhile is kept aside.
    form->mmoCategories->SetText(u"Main category\r\nMine\r\n");
    WriteBytes(list, "Main category\r\nElsewhere again\r\n");
    form->btnApplyCateg->Click();
    EXPECT_EQ(File(u"Categories.list"), u"Main category\r\nMine\r\n");
    EXPECT_EQ(File(u"Recovered - Categories - 2019-03-05 10.20.00.txt"),
              u"Main category\r\nElsewhere again\r\n");
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_NE(fx.boxes[0].text.find(u"Recovered - Categories"), std::u16string::npos);

    // The separator: another program's version stays; the user's own goes beside it.
    const std::u16string separator = DataDir() + u"Separator.data";
    WriteBytes(separator, " elsewhere");
    form->mmoSeparator->SetText(u" mine");
    form->SaveBeforeExit();
    EXPECT_EQ(ReadBytes(separator), " elsewhere");
    EXPECT_EQ(File(u"Recovered - Separator - 2019-03-05 10.20.00.txt"), u" mine");
    ASSERT_EQ(fx.boxes.size(), 2u);
    EXPECT_NE(fx.boxes[1].text.find(u"Recovered - Separator"), std::u16string::npos);
}

TEST_F(OutsideEdits, ASeparatorChangedOnlyElsewhereIsKeptSilently) {
    Open();
    WriteBytes(DataDir() + u"Separator.data", " elsewhere");
    form->SaveBeforeExit();
    EXPECT_EQ(ReadBytes(DataDir() + u"Separator.data"), " elsewhere");
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(OutsideEdits, AnEditInTheMomentBeforeTheMoveIsCaughtAndKept) {
    OpenWithFirst();
    // An editor that writes in place just after the last look, once.
    int moves = 0;
    hooks::FileReplacing = [&](const std::u16string& fileName) {
        if (fileName == Main() && ++moves == 1)
            AppendElsewhere("in the moment\r\n");
    };
    const ScopeExit reset([] { hooks::FileReplacing = nullptr; });
    Copy(u"second");
    EXPECT_EQ(ReadBytes(Main()),
              "\xEF\xBB\xBF[Main category]\r\nfirst\r\nin the moment\r\nsecond\r\n");
    EXPECT_EQ(Pad(), File(u"Main category.txt"));
    EXPECT_EQ(moves, 2) << "written once more, with both";
    EXPECT_TRUE(fx.boxes.empty());
    EXPECT_FALSE(FileExists(dir + kRecovery));
    // No second name of the old version is left behind.
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(W(dir + u"~vp*.tmp"), &fd);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
}
