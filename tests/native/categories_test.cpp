#include <gtest/gtest.h>

#include "core/categories.h"
#include "core/encoding.h"

using namespace vp;

TEST(Categories, FileNamesAndCaptions) {
    struct Case {
        std::u16string name, fileName, caption;
    };
    const Case cases[] = {
        {u"notes", u"notes.txt", u"notes"},
        {u"a/b:c", u"a_b_c.txt", u"a_b_c"},
        {u"a?b", u"a_b.txt", u"a_b"},
        {u"a*b", u"a_b.txt", u"a_b"},
        {u"\"q\" <x>|y\\z", u"_q_ _x__y_z.txt", u"_q_ _x__y_z"},
        {u"tab\there", u"tab_here.txt", u"tab_here"},
        {u"100% sure", u"100% sure.txt", u"100% sure"},
        {u"v1.2", u"v1.2.txt", u"v1.2"},
        {u"A name longer than nineteen", u"A name longer than nineteen.txt",
         u"A name longer than "},
        {u"caf\u00E9 \U0001F600", u"caf\u00E9 \U0001F600.txt", u"caf\u00E9 \U0001F600"},
        // Device names would send the pad to a device; they get a leading "_".
        {u"CON", u"_CON.txt", u"_CON"},
        {u"nul", u"_nul.txt", u"_nul"},
        {u"Com1", u"_Com1.txt", u"_Com1"},
        {u"lpt9.old", u"_lpt9.old.txt", u"_lpt9.old"},
        {u"aux ", u"_aux .txt", u"_aux "},
        {u"COM\u00B9", u"_COM\u00B9.txt", u"_COM\u00B9"},
        {u"CONSOLE", u"CONSOLE.txt", u"CONSOLE"},
        {u"COM0", u"COM0.txt", u"COM0"},
        {u"com10", u"com10.txt", u"com10"},
    };
    for (const auto& c : cases) {
        const std::u16string fileName = CategoryFileName(c.name);
        EXPECT_EQ(fileName, c.fileName) << ToUtf8(c.name);
        EXPECT_EQ(CategoryCaption(fileName), c.caption) << ToUtf8(c.name);
    }
}

TEST(Categories, ApplyCleansTheEditorAndPlansOneButtonPerLine) {
    const CategoriesPlan plan = PlanApply(
        u"  notes \r\n\t\r\n\r\nMain category\r\na/b:c\r\na?b\r\na*b\r\nnotes", u"D:\\Cat\\");
    EXPECT_EQ(plan.lines,
              (StringList{u"notes", u"Main category", u"a/b:c", u"a?b", u"a*b", u"notes"}));
    EXPECT_EQ(plan.editorText, u"notes\r\nMain category\r\na/b:c\r\na?b\r\na*b\r\nnotes\r\n");
    EXPECT_EQ(plan.listText, plan.editorText);
    EXPECT_FALSE(plan.addedFallback);
    ASSERT_EQ(plan.categories.size(), 6u);
    EXPECT_EQ(plan.categories[0].path, u"D:\\Cat\\notes.txt");
    EXPECT_EQ(plan.categories[0].newFileText, u"[notes]\r\n");
    EXPECT_EQ(plan.categories[2].path, u"D:\\Cat\\a_b_c.txt");
    EXPECT_EQ(plan.categories[2].newFileText, u"[a/b:c]\r\n");
    // Equal lines, or lines giving one file name, share the file but keep their buttons.
    EXPECT_EQ(plan.categories[3].path, plan.categories[4].path);
    EXPECT_EQ(plan.categories[5].path, plan.categories[0].path);
    EXPECT_EQ(plan.selected, 5u);
}

TEST(Categories, EmptyEditorFallsBackToMyClipboard) {
    for (std::u16string_view editor : {u"", u"  \r\n\t\r\n", u"\r\n\r\n\r\n"}) {
        const CategoriesPlan plan = PlanApply(editor, u"C:\\x\\");
        EXPECT_TRUE(plan.addedFallback);
        EXPECT_EQ(plan.editorText, u"My clipboard\r\n");
        ASSERT_EQ(plan.categories.size(), 1u);
        EXPECT_EQ(plan.categories[0].path, u"C:\\x\\My clipboard.txt");
        EXPECT_EQ(plan.categories[0].newFileText, u"[My clipboard]\r\n");
        EXPECT_EQ(plan.selected, 0u);
    }
}

TEST(Categories, NewFileMarkOnlyForNamesBeyondAscii) {
    const CategoriesPlan plan = PlanApply(u"plain\r\ncaf\u00E9", u"C:\\x\\");
    EXPECT_FALSE(plan.categories[0].newFileWithBOM);
    EXPECT_TRUE(plan.categories[1].newFileWithBOM);
}

TEST(Categories, ButtonsStackAndASingleButtonOnlyStaysPressed) {
    EXPECT_EQ(CategoryButtonTop(0), 25);
    EXPECT_EQ(CategoryButtonTop(3), 25 + 3 * 22);
    EXPECT_EQ(CategoryButtonWidth(150), 144);
    EXPECT_FALSE(SelectReloadsPad(1));
    EXPECT_TRUE(SelectReloadsPad(2));
    EXPECT_EQ(DefaultCategoryLines(),
              (StringList{u"Main category", u"Category 2", u"Category 3", u"etc"}));
}
