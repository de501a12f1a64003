#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <shellapi.h>
#include <shlobj.h>

#include <fstream>

#include "app/main_form.h"
#include "core/app_name.h"
#include "core/date_time.h"
#include "core/encoding.h"
#include "core/hotkey.h"
#include "core/temp_files.h"
#include "core/text.h"
#include "main_form_fixture.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/hooks.h"
#include "platform/locale.h"
#include "platform/shell.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/application.h"
#include "ui/dpi.h"

using namespace vp;
using namespace vp::ui;
using test::ClearClipboardNow;
using test::MainForm;
using test::ReadBytes;
using test::RemoveTree;

TEST_F(MainForm, ListsInTheAnsiCodePageAndInUtf8BothRead) {
    CreateDirectoryW(W(dir), nullptr);
    { std::ofstream(W(dir + u"Categories.list"), std::ios::binary) << "Caf\xE9\r\n  notes  \r\n"; }
    Open();
    ASSERT_EQ(Buttons().size(), 2u);
    EXPECT_EQ(Buttons()[0]->Caption(), u"Caf\u00E9");
    EXPECT_EQ(Buttons()[1]->Hint(), dir + u"notes.txt");
    form.reset();
    // Written back with a mark, so names outside the code page survive.
    {
        std::ofstream(W(dir + u"Categories.list"), std::ios::binary)
            << "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\n";
    }
    Open();
    ASSERT_EQ(Buttons().size(), 1u);
    EXPECT_EQ(Buttons()[0]->Caption(), u"\u65E5\u672C");
    EXPECT_EQ(File(u"\u65E5\u672C.txt"), u"[\u65E5\u672C]\r\n");
}

TEST_F(MainForm, SwitchingCategoriesSavesEditsFirst) {
    Open(true);
    Copy(u"in main");
    const auto buttons = Buttons();
    form->OnSelectCategory(*buttons[1]);
    EXPECT_EQ(form->GetPressedButton(), buttons[1]);
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_EQ(Pad(), u"[Category 2]\r\n");
    form->mmoClipboard->SetText(u"typed by hand\r\n");
    form->OnSelectCategory(*buttons[0]);
    EXPECT_EQ(File(u"Category 2.txt"), u"typed by hand\r\n") << "edits are not thrown away";
    EXPECT_NE(Pad().find(u"in main"), std::u16string::npos);
    // Clicking the selected one again keeps edits too.
    form->mmoClipboard->SetText(u"edited main\r\n");
    form->OnSelectCategory(*buttons[0]);
    EXPECT_EQ(Pad(), u"edited main\r\n");

    // Apply: edits saved, the list rebuilt, the last category selected.
    form->mmoClipboard->SetText(u"edited again\r\n");
    form->mmoCategories->SetText(u"  Main category \r\n\r\na/b:c\r\n");
    EXPECT_TRUE(form->btnApplyCateg->Enabled());
    form->btnApplyCateg->Click();
    EXPECT_FALSE(form->btnApplyCateg->Enabled());
    EXPECT_EQ(File(u"Main category.txt"), u"edited again\r\n");
    EXPECT_EQ(File(u"Category 2.txt"), u"typed by hand\r\n") << "a removed category keeps its file";
    EXPECT_EQ(form->mmoCategories->Text(), u"Main category\r\na/b:c\r\n");
    ASSERT_EQ(Buttons().size(), 2u);
    EXPECT_EQ(Buttons()[1]->Caption(), u"a_b_c");
    EXPECT_EQ(form->GetPressedButton(), Buttons()[1]);
    EXPECT_EQ(Pad(), u"[a/b:c]\r\n");

    // A blank editor gives the one category "My clipboard"; its single button stays down.
    form->mmoCategories->SetText(u"   \r\n");
    form->btnApplyCateg->Click();
    ASSERT_EQ(Buttons().size(), 1u);
    EXPECT_EQ(form->mmoCategories->Text(), u"My clipboard\r\n");
    form->mmoClipboard->SetText(u"kept\r\n");
    form->OnSelectCategory(*Buttons()[0]);
    EXPECT_TRUE(Buttons()[0]->Down());
    EXPECT_EQ(Pad(), u"kept\r\n");
}

TEST_F(MainForm, ClickOnTheCategoryGroupShowsTheEditorTab) {
    Open();
    SendMessageW(form->grpAuto->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 150));
    EXPECT_EQ(form->PageControl->ActivePage(), form->tabCategories);
}

TEST_F(MainForm, NulCharactersShowAsASymbolAndNothingAfterThemIsLost) {
    CreateDirectoryW(W(dir), nullptr);
    const char category[] = "before nul\r\nx\r\n\0\r\ny\r\nafter nul\r\n";
    test::WriteBytes(dir + u"Main category.txt", std::string(category, sizeof category - 1));
    EnsureFolder(DataDir());
    test::WriteBytes(DataDir() + u"Separator.data", std::string("-\0-", 3));
    Open();
    const std::u16string shown = u"before nul\r\nx\r\n\u2400\r\ny\r\nafter nul\r\n";
    EXPECT_EQ(Pad(), shown);
    EXPECT_EQ(form->mmoSeparator->Text(), u"-\u2400-");
    form->actSaveExecute(); // what every capture does
    EXPECT_EQ(File(u"Main category.txt"), shown);

    // A dropped file the same way.
    test::WriteBytes(dir + u"dropped.txt", std::string("one\0two", 7));
    const std::wstring path = std::wstring(W(dir + u"dropped.txt"));
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL drop = GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(),
           path.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(Pad(), u"one\u2400two");
}

TEST_F(MainForm, EveryNameThatCanBeAFileGetsItsButtonTheOthersOneShortMessage) {
    CreateDirectoryW(W(dir), nullptr);
    // A folder where a category file should go: that name cannot have its file.
    CreateDirectoryW(W(dir + u"blocked.txt"), nullptr);
    const std::u16string longName(250, u'L');
    std::u16string list = u"first\r\nblocked\r\n" + longName + u"\r\nCON\r\na<b>c|d\r\n   \r\n";
    for (int i = 0; i < 294; ++i)
        list += u"name " + U(std::to_wstring(i).c_str()) + u"\r\n";
    WriteTextFile(dir + u"Categories.list", list, true, true);
    bool visibleAtTheBox = false;
    hooks::MessageBox = [&](const std::u16string& t, const std::u16string& c, unsigned f) {
        visibleAtTheBox = form && IsWindowVisible(form->Handle());
        fx.boxes.push_back({t, c, f});
        return 1;
    };
    Open();
    const auto buttons = Buttons();
    ASSERT_EQ(buttons.size(), 298u) << "all but the blocked name";
    EXPECT_EQ(buttons[0]->Caption(), u"first");
    EXPECT_EQ(buttons[1]->Caption(), std::u16string(19, u'L'));
    EXPECT_EQ(buttons[1]->Hint().size(), 259u);
    EXPECT_EQ(File(buttons[1]->Hint().substr(dir.size())), u"[" + longName + u"]\r\n");
    EXPECT_EQ(buttons[2]->Hint(), dir + u"_CON.txt");
    EXPECT_EQ(buttons[3]->Hint(), dir + u"a_b_c_d.txt");
    EXPECT_EQ(buttons.back()->Caption(), u"name 293");
    EXPECT_TRUE(FileExists(dir + u"name 293.txt"));
    EXPECT_EQ(form->GetPressedButton(), buttons[0]);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_TRUE(visibleAtTheBox) << "the message waits for the window";
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Error");
    EXPECT_NE(fx.boxes[0].text.find(u"\r\nblocked\r\n"), std::u16string::npos);
    for (const auto& line : TextToStringList(fx.boxes[0].text))
        EXPECT_LE(line.size(), 120u) << ToUtf8(line);
    // The user's lines stay, the unusable one included.
    const std::u16string saved = File(u"Categories.list");
    EXPECT_NE(saved.find(u"\r\nblocked\r\n" + longName + u"\r\n"), std::u16string::npos);
    EXPECT_EQ(TextToStringList(saved).size(), 299u);
}

TEST_F(MainForm, AnUnwritableCategoryNeverTrapsTheUser) {
    Open();
    const std::u16string main = dir + u"Main category.txt";
    const std::u16string recovery = dir + u"Recovered - Main category - 2019-03-05 10.20.00.txt";
    form->mmoClipboard->SetText(u"typed, not saved\r\n");
    SetFileAttributesW(W(main), FILE_ATTRIBUTE_READONLY);
    form->OnSelectCategory(*Buttons()[1]);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[1]) << "switched";
    EXPECT_EQ(Pad(), u"[Category 2]\r\n");
    EXPECT_EQ(ReadBytes(recovery), "\xEF\xBB\xBFtyped, not saved\r\n");
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Warning");
    EXPECT_NE(fx.boxes[0].text.find(recovery), std::u16string::npos);
    EXPECT_EQ(ReadBytes(main), "[Main category]\r\n");

    // Held open by another program: Apply goes through, the edits go to a second file.
    form->mmoClipboard->SetText(u"more typing\r\n");
    const std::u16string second = dir + u"Category 2.txt";
    HANDLE held = CreateFileW(W(second), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    form->mmoCategories->SetText(u"Main category\r\nCategory 2\r\nnew one\r\n");
    form->btnApplyCateg->Click();
    EXPECT_EQ(Buttons().size(), 3u);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[2]);
    EXPECT_EQ(File(u"Recovered - Category 2 - 2019-03-05 10.20.00.txt"), u"more typing\r\n");
    // A category that cannot be read is not selected: the pad never goes into a file
    // whose text it does not hold.
    form->mmoClipboard->SetText(u"kept in new one\r\n");
    fx.boxes.clear();
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Buttons()[1]->Handle()));
    EXPECT_EQ(form->GetPressedButton(), Buttons()[2]);
    EXPECT_EQ(fx.boxes.size(), 1u) << "the reading error";
    EXPECT_EQ(File(u"new one.txt"), u"kept in new one\r\n");
    CloseHandle(held);

    // Nowhere to put a recovery file: the user decides, and "No" keeps everything.
    form->mmoClipboard->SetText(u"last edits\r\n");
    SetFileAttributesW(W(dir + u"new one.txt"), FILE_ATTRIBUTE_READONLY);
    const std::u16string name = u"Recovered - new one - 2019-03-05 10.20.00.txt";
    ASSERT_TRUE(CreateDirectoryW(W(dir + name), nullptr));
    ASSERT_TRUE(CreateDirectoryW(W(DataDir() + name), nullptr));
    int answer = IDNO;
    hooks::MessageBox = [&](const std::u16string& t, const std::u16string& c, unsigned f) {
        fx.boxes.push_back({t, c, f});
        return answer;
    };
    fx.boxes.clear();
    form->OnSelectCategory(*Buttons()[0]);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].flags & MB_YESNO, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(form->GetPressedButton(), Buttons()[2]);
    EXPECT_EQ(Pad(), u"last edits\r\n");
    answer = IDYES;
    form->OnSelectCategory(*Buttons()[0]);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[0]);
    SetFileAttributesW(W(dir + u"new one.txt"), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(W(main), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainForm, CopiesArrivingWhileTheRecoveryMessageIsUpAreKeptToo) {
    Open(true);
    SetFileAttributesW(W(dir + u"Main category.txt"), FILE_ATTRIBUTE_READONLY);
    Copy(u"waiting");
    bool copied = false;
    hooks::MessageBox = [&](const std::u16string& t, const std::u16string& c, unsigned f) {
        fx.boxes.push_back({t, c, f});
        if (c == u"Velmor Pasquill - Warning" && !copied) {
            copied = true;
            Copy(u"arrived meanwhile");
        }
        return 1;
    };
    form->OnSelectCategory(*Buttons()[1]);
    EXPECT_EQ(form->GetPressedButton(), Buttons()[1]);
    EXPECT_NE(File(u"Recovered - Main category - 2019-03-05 10.20.00.txt").find(u"waiting"),
              std::u16string::npos);
    EXPECT_NE(File(u"Recovered - Main category - 2019-03-05 10.20.00 (2).txt")
                  .find(u"waiting\r\narrived meanwhile"),
              std::u16string::npos);
    SetFileAttributesW(W(dir + u"Main category.txt"), FILE_ATTRIBUTE_NORMAL);
}
