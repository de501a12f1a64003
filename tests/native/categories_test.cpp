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

TEST(Categories, OverLongNamesAreCutToFitThePathAndTheirLinesKept) {
    const std::u16string folder = u"C:\\Users\\someone\\Documents\\Velmor Pasquill\\";
    const std::u16string longName(300, u'x');
    const CategoriesPlan plan = PlanApply(u"short\r\n" + longName + u"\r\nafter", folder);
    EXPECT_EQ(plan.lines[1], longName) << "the list keeps the user's line";
    EXPECT_EQ(plan.listText, u"short\r\n" + longName + u"\r\nafter\r\n");
    ASSERT_EQ(plan.categories.size(), 3u);
    const CategoryPlan& cut = plan.categories[1];
    EXPECT_TRUE(cut.problem.empty());
    EXPECT_EQ(cut.path.size(), kMaxPathLength);
    EXPECT_EQ(cut.path,
              folder + std::u16string(kMaxPathLength - folder.size() - 4, u'x') + u".txt");
    EXPECT_EQ(cut.newFileText, u"[" + longName + u"]\r\n");
    EXPECT_EQ(plan.categories[2].path, folder + u"after.txt");

    // A name that already fits stays whole; one folder level never passes 255 units.
    EXPECT_EQ(FitCategoryFileName(u"a.txt", 254), u"a.txt");
    EXPECT_EQ(FitCategoryFileName(longName + u".txt", 3), std::u16string(251, u'x') + u".txt");
    // The cut never leaves half a surrogate pair, nor blanks and dots at the end.
    std::u16string pairs;
    for (int i = 0; i < 200; ++i)
        pairs += u"\U0001F600";
    const std::u16string fitted = FitCategoryFileName(pairs + u".txt", 50);
    EXPECT_EQ(fitted.size() % 2, 0u);
    EXPECT_LE(fitted.size() + 50, kMaxPathLength);
    EXPECT_EQ(FitCategoryFileName(std::u16string(198, u'a') + u" . . x.txt", 55),
              std::u16string(198, u'a') + u".txt");
}

TEST(Categories, AFolderTooLongForAnyNameGivesAProblemNotAnError) {
    const std::u16string folder = u"C:\\" + std::u16string(251, u'f') + u"\\";
    ASSERT_EQ(folder.size(), 255u);
    const CategoriesPlan plan = PlanApply(u"abc\r\nd", folder);
    ASSERT_EQ(plan.categories.size(), 2u);
    EXPECT_FALSE(plan.categories[0].problem.empty());
    EXPECT_FALSE(plan.categories[1].problem.empty());
    // One unit shorter, and one letter of each name fits.
    const CategoriesPlan fits = PlanApply(u"abc\r\nd", folder.substr(1));
    EXPECT_EQ(fits.categories[0].fileName, u"a.txt");
    EXPECT_EQ(fits.categories[1].fileName, u"d.txt");
    EXPECT_TRUE(fits.categories[0].problem.empty());
}

TEST(Categories, ProblemsMessageStaysShortWhateverTheNames) {
    std::vector<CategoryProblem> problems;
    for (int i = 0; i < 14; ++i)
        problems.push_back({std::u16string(200, static_cast<char16_t>(u'a' + i)),
                            u"Cannot create file \"C:\\" + std::u16string(250, u'p') +
                                u".txt\".\r\nAccess denied."});
    const std::u16string text = CategoryProblemsText(problems, u"disk full");
    const StringList lines = TextToStringList(text);
    for (const auto& line : lines)
        EXPECT_LE(line.size(), 120u) << ToUtf8(line);
    EXPECT_EQ(lines.front(), u"These categories got no file and no button:");
    EXPECT_NE(text.find(u"aaaa...aaa"), std::u16string::npos) << "names cut in the middle";
    EXPECT_NE(text.find(u"Access denied."), std::u16string::npos) << "the reason's end is kept";
    EXPECT_NE(text.find(u"... and 4 more."), std::u16string::npos);
    EXPECT_EQ(text.find(u"nnnn"), std::u16string::npos) << "only the first ten are named";
    EXPECT_NE(text.find(u"The list of categories could not be saved:\r\n    disk full"),
              std::u16string::npos);
    EXPECT_EQ(CategoryProblemsText({{u"blocked", u"a folder is in the way"}}, u""),
              u"This category got no file and no button:\r\n\r\nblocked\r\n    a folder is in "
              u"the way\r\n\r\nTheir lines stay in the list: change them on the \"Categories\" "
              u"tab and press \"Apply\".");
    EXPECT_EQ(CategoryProblemsText({}, u""), u"");
    EXPECT_EQ(ShortenForMessage(u"ab\U0001F600cdefgh", 7).find(u'\xD83D'), std::u16string::npos);
}
