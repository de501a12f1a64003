#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/paths.h"

using namespace vp;

TEST(Paths, WithTrailingDelimiter) {
    EXPECT_EQ(WithTrailingDelimiter(u""), u"");
    EXPECT_EQ(WithTrailingDelimiter(u"C:\\a"), u"C:\\a\\");
    EXPECT_EQ(WithTrailingDelimiter(u"C:\\a\\"), u"C:\\a\\");
    EXPECT_EQ(WithTrailingDelimiter(u"C:\\a/"), u"C:\\a/\\");
}

TEST(Paths, FolderPartOf) {
    struct Case {
        std::u16string path;
        FolderPart::Status status;
        std::u16string folder;
    };
    const std::u16string longPath = u"C:\\" + std::u16string(257, u'x');
    const Case cases[] = {
        {u"C:\\b.txt", FolderPart::Ok, u"C:\\"},
        {u"C:\\a\\b.txt", FolderPart::Ok, u"C:\\a\\"},
        {u"C:\\a\\", FolderPart::Ok, u"C:\\a\\"},
        {u"C:\\", FolderPart::Ok, u""},
        {u"b.txt", FolderPart::Ok, u""},
        {u"\\b.txt", FolderPart::Ok, u"\\"},
        {u"\\\\server\\share\\b.txt", FolderPart::Ok, u"\\\\server\\share\\"},
        {u"C:\\a\\b\u00E9\u4E2D.txt", FolderPart::Ok, u"C:\\a\\"},
        {u"", FolderPart::Rejected, u""},
        {u"x", FolderPart::Rejected, u""},
        {u"C:\\a?\\b.txt", FolderPart::Rejected, u""},
        {u"C:/a/b.txt", FolderPart::Rejected, u""},
        {u"\\\\?\\C:\\a\\b.txt", FolderPart::Rejected, u""}, // "?" is forbidden
        {longPath, FolderPart::TooLong, u""},
        {longPath.substr(0, 259), FolderPart::Ok, u"C:\\"},
        {u"   ", FolderPart::InvalidChars, u""},
        {u"C:\\a\tb\\c", FolderPart::InvalidChars, u""},
    };
    for (const Case& c : cases) {
        const FolderPart part = FolderPartOf(c.path);
        EXPECT_EQ(part.status, c.status) << ToUtf8(c.path);
        EXPECT_EQ(part.folder, c.folder) << ToUtf8(c.path);
    }
}

TEST(Paths, PathCharsValid) {
    EXPECT_FALSE(PathCharsValid(u""));
    EXPECT_FALSE(PathCharsValid(u"C")); // too short
    EXPECT_TRUE(PathCharsValid(u"C:"));
    EXPECT_TRUE(PathCharsValid(u"C:\\a b\\\u00E9\u4E2D"));
    for (char16_t c : u"\"*/<>?|") {
        if (c == 0)
            continue;
        EXPECT_FALSE(PathCharsValid(u"C:\\a" + std::u16string(1, c))) << char(c);
    }
    EXPECT_TRUE(PathCharsValid(u"C:\\a:b\\c\td")); // colons and controls are not its business
}

TEST(Paths, PathColonsValid) {
    struct Case {
        std::u16string path;
        bool valid;
    };
    const Case cases[] = {
        {u"", true},
        {u"  ", true},
        {u"C:\\a", true},
        {u"c:", true},
        {u"C:\\a:b", false},
        {u"a:b", true}, // a leading letter and colon is a drive
        {u"ab:c", false},
        {u"1:\\a", false},
        {u"\\\\?\\C:\\a", true},
        {u"\\\\?\\C:\\a:b", false},
        {u"\\\\?\\UNC\\s\\h", true},
        {u"\\\\?\\UNC\\C:\\x", true},
        {u"\\\\server\\s:h", false},
        {u"C::", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathColonsValid(c.path), c.valid) << ToUtf8(c.path);
}

TEST(Paths, NameWithoutExtension) {
    struct Case {
        std::u16string path, name;
    };
    const Case cases[] = {
        {u"C:\\x\\archive.tar.gz", u"archive.tar"},
        {u"C:\\x\\.hidden", u""},
        {u"C:\\x\\noext", u"noext"},
        {u"C:name.txt", u"name"},
        {u"C:\\x.d\\file", u"file"},
        {u"plain.exe", u"plain"},
        {u"", u""},
        {u"C:\\x\\", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameWithoutExtension(c.path), c.name) << ToUtf8(c.path);
}

TEST(Paths, MakeValidFileName) {
    struct Case {
        std::u16string name;
        char16_t replacement;
        std::u16string result;
    };
    const Case cases[] = {
        {u"a:b?.txt", u'_', u"a_b_.txt"},
        {u"  spaced name  ", u'_', u"spaced name"},
        {u"\"*/:<>?\\|", u'_', u"_________"},
        {u"\ta\x1F", u'_', u"_a_"}, // controls are replaced first, so nothing is trimmed
        {u"a\u00E9\u4E2D\u00FF", u'_', u"a\u00E9\u4E2D\u00FF"},
        {u"a?b", u' ', u"a b"},
        {u"?", u' ', u""},
        {u"", u'_', u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeValidFileName(c.name, c.replacement), c.result) << ToUtf8(c.name);
}

TEST(Paths, CharacterSets) {
    int fileName = 0, path = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
        fileName += IsInvalidFileNameChar(static_cast<char16_t>(c));
        path += IsInvalidPathChar(static_cast<char16_t>(c));
        if (c > 0xFF) {
            EXPECT_FALSE(IsForbiddenPathChar(static_cast<char16_t>(c)));
            EXPECT_FALSE(IsFileNameReplacementChar(static_cast<char16_t>(c)));
        }
    }
    EXPECT_EQ(fileName, 41);
    EXPECT_EQ(path, 36);
    EXPECT_TRUE(HasInvalidFileNameChars(u"? Empty AppName"));
    EXPECT_FALSE(HasInvalidFileNameChars(u"Velmor Pasquill"));
    EXPECT_TRUE(HasInvalidPathChars(u"a|b"));
    EXPECT_FALSE(HasInvalidPathChars(u"C:\\a?*"));
}

TEST(Paths, PathRootLength) {
    struct Case {
        std::u16string_view path;
        size_t root;
    };
    const Case cases[] = {
        {u"C:\\a\\b", 3},
        {u"c:", 2},
        {u"\\\\?\\C:\\a", 7},
        {u"\\\\server\\share\\a\\b", 15},
        {u"\\\\server\\share", 14},
        {u"\\\\server\\share\\", 15},
        {u"\\\\?\\UNC\\srv\\sh\\x", 15},
        {u"\\\\server", 0},
        {u"\\\\server\\", 0},
        {u"\\\\\\share", 0},
        {u"\\a\\b", 0},
        {u"relative\\x", 0},
        {u"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathRootLength(c.path), c.root) << std::string(c.path.begin(), c.path.end());
}

TEST(Paths, FolderLevelsStartBelowTheRoot) {
    using Levels = std::vector<std::u16string>;
    EXPECT_EQ(FolderLevels(u"C:\\a\\b"), (Levels{u"C:\\a", u"C:\\a\\b"}));
    EXPECT_EQ(FolderLevels(u"C:\\a\\b\\"), (Levels{u"C:\\a", u"C:\\a\\b"}));
    EXPECT_EQ(FolderLevels(u"C:\\"), Levels{});
    // A network server and its share are never made: creating them cannot work.
    EXPECT_EQ(FolderLevels(u"\\\\srv\\share\\a\\b"),
              (Levels{u"\\\\srv\\share\\a", u"\\\\srv\\share\\a\\b"}));
    EXPECT_EQ(FolderLevels(u"\\\\srv\\share"), Levels{});
    EXPECT_EQ(FolderLevels(u"\\\\?\\UNC\\srv\\share\\a"), Levels{u"\\\\?\\UNC\\srv\\share\\a"});
    EXPECT_EQ(FolderLevels(u"\\\\?\\C:\\a"), Levels{u"\\\\?\\C:\\a"});
    EXPECT_EQ(FolderLevels(u"\\a\\b"), (Levels{u"\\a", u"\\a\\b"}));
}
