#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/app_name.h"
#include "core/encoding.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/velmor_path_edit.h"

using namespace vp;
using namespace vp::ui;

namespace {

class PathEdit : public ::testing::Test {
  protected:
    void SetUp() override {
        AppName = kProgramName;
        folder = test::NewTempFolder(u"vp-path-");
        CreateDirectoryW(W(folder), nullptr);
    }
    void TearDown() override {
        hooks::SelectInFolder = nullptr;
        DeleteFileW(W(folder + u"backup.txt"));
        RemoveDirectoryW(W(folder + u"new\\deeper"));
        RemoveDirectoryW(W(folder + u"new"));
        RemoveDirectoryW(W(folder));
    }
    TVelmorPathEdit& Make(TInputType type) {
        return form.Create<TVelmorPathEdit>(form, u"PathBackup", {8, 8, 400, 41},
                                            {.inputType = type,
                                             .onPathChanged = [this] { ++pathChanges; },
                                             .onApply = [this] { ++applies; },
                                             .onPressEnter = [this] { ++enters; }});
    }
    TForm form{u"PathForm", {.caption = u"Path edit test"}};
    test::CaptureEffects fx;
    std::u16string folder;
    int pathChanges = 0, applies = 0, enters = 0;
};

} // namespace

TEST_F(PathEdit, ChecksThePathTextInOrder) {
    const std::u16string long248 = u"C:\\" + std::u16string(245, u'a');
    const std::u16string long300 = u"C:\\" + std::u16string(297, u'b');
    struct Case {
        TInputType type;
        std::u16string text, message;
    } cases[] = {
        {TInputType::itFile, u"", u"The path is empty!"},
        {TInputType::itFolder, u"", u"The path is empty!"},
        {TInputType::itFile, long248, u"Path is too long: \r\n" + long248},
        {TInputType::itFile, long248.substr(0, 247), u""},
        {TInputType::itFolder, long300, u"Path is too long: \r\n" + long300},
        {TInputType::itFolder, u"C:\\a:b", u"The path has invalid characters!"},
        // Past the drive check, but a "?" is never part of a folder name.
        {TInputType::itFolder, u"\\\\?\\C:\\data", u"Invalid characters in path!"},
        {TInputType::itFile, u"C:\\a:b", u""}, // only the name after the last ":" counts
        {TInputType::itFile, u"C:\\dir\\a?b.txt", u"The path has invalid characters!"},
        {TInputType::itFile, u"C:\\di?r\\ab.txt", u""},
        {TInputType::itFolder, u"C:\\a?b", u"Invalid characters in path!"},
        {TInputType::itFolder, u"x", u"Invalid characters in path!"},
        {TInputType::itFolder, u"Q:\\nowhere", u"Lock on folder failed. Disk not in drive!"},
        {TInputType::itFolder, u"C:\\no such folder\\", u""},
    };
    auto& fileEdit = Make(TInputType::itFile);
    auto& folderEdit = form.Create<TVelmorPathEdit>(form, u"PathOther", {8, 60, 400, 41});
    for (const auto& c : cases) {
        auto& edit = c.type == TInputType::itFile ? fileEdit : folderEdit;
        edit.EditBox().SetText(c.text);
        EXPECT_EQ(edit.PathHasValidChars(), c.message) << ToUtf8(c.text);
    }
    // A missing folder passes the character checks but not the full test.
    folderEdit.SetPath(u"C:\\no such folder");
    EXPECT_EQ(folderEdit.PathIsValids(), u"Folder does not exist: C:\\no such folder\\");
    EXPECT_FALSE(folderEdit.PathIsValidsMsg());
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].text, u"Folder does not exist: C:\\no such folder\\");
    EXPECT_EQ(fx.boxes[0].caption, AppName + u" - Error");
}

TEST_F(PathEdit, PathTextByMode) {
    auto& edit = Make(TInputType::itFolder);
    edit.SetPath(u"C:\\Temp");
    EXPECT_EQ(edit.EditBox().Text(), u"C:\\Temp\\");
    EXPECT_EQ(edit.Path(), u"C:\\Temp\\");
    edit.EditBox().SetText(u"  C:\\x \t");
    EXPECT_EQ(edit.Path(), u"C:\\x\\");
    edit.SetPath(u"");
    EXPECT_EQ(edit.Path(), u"");

    edit.SetInputType(TInputType::itFile);
    edit.SetPath(u"  C:\\a.txt  ");
    EXPECT_EQ(edit.Path(), u"  C:\\a.txt  ");
    EXPECT_GE(pathChanges, 4) << "every change of the text is reported";
}

TEST_F(PathEdit, CaptionsHintsAndColours) {
    auto& edit = Make(TInputType::itFile);
    EXPECT_EQ(edit.Caption(), u"File/Folder");
    EXPECT_EQ(edit.BrowseButton().Hint(), u"Browse for a file");
    EXPECT_EQ(edit.ExploreButton().Hint(), u"Locate this file/folder in Windows Explorer");
    EXPECT_EQ(edit.CreateButton().Caption(), u"Create");
    EXPECT_EQ(edit.ExploreButton().Caption(), u"^");
    EXPECT_EQ(edit.EditBox().Color(), clDefault) << "no colour before the first change";

    {
        HANDLE h = CreateFileW(W(folder + u"backup.txt"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    edit.SetPath(folder + u"backup.txt");
    EXPECT_EQ(edit.EditBox().Color(), kPathExistsColor);
    edit.SetPath(folder + u"missing.txt");
    EXPECT_EQ(edit.EditBox().Color(), kPathMissingColor);

    edit.SetInputType(TInputType::itFolder);
    EXPECT_EQ(edit.Caption(), u"Folder");
    EXPECT_EQ(edit.BrowseButton().Hint(), u"Browse for a folder");
    EXPECT_EQ(edit.ExploreButton().Hint(), u"Locate this folder in Windows Explorer");
    edit.SetPath(folder);
    EXPECT_EQ(edit.EditBox().Color(), kPathExistsColor);
}

TEST_F(PathEdit, ApplyReportsWhatIsWrongOrMakesTheFolder) {
    auto& edit = Make(TInputType::itFolder);
    edit.CreateButton().Click();
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].text, u"The path is empty!");
    EXPECT_EQ(applies, 0);

    const std::u16string tooLong = u"C:\\" + std::u16string(297, u'z');
    edit.EditBox().SetText(tooLong);
    edit.Apply();
    ASSERT_EQ(fx.boxes.size(), 2u);
    EXPECT_EQ(fx.boxes[1].text, u"Path is too long: \r\n" + tooLong);
    edit.EditBox().SetText(u"C:\\a:b");
    edit.Apply();
    ASSERT_EQ(fx.boxes.size(), 3u);
    EXPECT_EQ(fx.boxes[2].text, u"The path has invalid characters!");
    EXPECT_EQ(applies, 0);

    // A folder that does not exist is made, parents included.
    const std::u16string made = folder + u"new\\deeper";
    edit.SetPath(made);
    EXPECT_EQ(edit.EditBox().Color(), kPathMissingColor);
    pathChanges = 0;
    SendMessageW(edit.EditBox().Handle(), WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(fx.boxes.size(), 3u);
    EXPECT_NE(GetFileAttributesW(W(made)), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(edit.EditBox().Color(), kPathExistsColor);
    EXPECT_EQ(pathChanges, 1);
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(edit.PathIsValids(), u"");

    // In file mode Create only checks, recolours and reports.
    edit.SetInputType(TInputType::itFile);
    edit.SetPath(folder + u"new\\file.txt");
    edit.Apply();
    EXPECT_EQ(applies, 2);
    EXPECT_EQ(GetFileAttributesW(W(folder + u"new\\file.txt")), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(fx.boxes.size(), 3u);
}

TEST_F(PathEdit, ExploreAndTheDisabledState) {
    auto& edit = Make(TInputType::itFile);
    edit.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(edit.EditBox().Handle()));
    EXPECT_FALSE(IsWindowEnabled(edit.CreateButton().Handle()));
    EXPECT_TRUE(IsWindowEnabled(edit.ExploreButton().Handle()));
    SendMessageW(edit.ExploreButton().Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].text, u"No file/folder selected!");

    // Folder mode hands a missing folder to the shell helper, which explains it.
    edit.SetInputType(TInputType::itFolder);
    edit.SetPath(u"C:\\no such folder");
    edit.Explore();
    ASSERT_EQ(fx.boxes.size(), 2u);
    EXPECT_EQ(fx.boxes[1].text, u"Folder does not exist:\r\nC:\\no such folder\\");
}

TEST_F(PathEdit, ExploreSelectsTheFileInItsFolder) {
    std::u16string selected;
    hooks::SelectInFolder = [&](const std::u16string& p) {
        selected = p;
        return 0L;
    };
    const std::u16string file = ExecutablePath();
    if (!ShowInExplorer(file))
        GTEST_SKIP() << "this shell makes no item list from a path";
    selected.clear();
    auto& edit = Make(TInputType::itFile);
    edit.SetPath(file);
    edit.Explore();
    EXPECT_EQ(selected, file);
    EXPECT_TRUE(fx.boxes.empty());
}
