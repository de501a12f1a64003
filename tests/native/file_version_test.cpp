#include <gtest/gtest.h>

#include "core/file_version.h"

using namespace vp;

TEST(FileVersion, HashIsFnv1aAndPiecesJoin) {
    EXPECT_EQ(HashBytes(""), kHashSeed);
    EXPECT_EQ(HashBytes("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(HashBytes("foobar"), 0x85944171f73967e8ull);
    EXPECT_EQ(HashBytes("bar", HashBytes("\xEF\xBB\xBF"
                                         "foo")),
              HashBytes("\xEF\xBB\xBF"
                        "foobar"));
    EXPECT_NE(HashBytes("ab"), HashBytes("ba"));
}

TEST(FileVersion, StampAndBytesDecideWhatASaveDoes) {
    const FileStamp none{};
    const FileStamp a{true, 10, 100};
    struct Case {
        FileStamp known, now;
        StampCheck want;
    } cases[] = {
        {a, a, StampCheck::Unchanged},
        {none, none, StampCheck::Unchanged},          // never there: a new file
        {a, none, StampCheck::Gone},                  // deleted: written anew
        {a, {true, 11, 100}, StampCheck::Differs},    // appended in the same second
        {a, {true, 10, 101}, StampCheck::Differs},    // same size, written again
        {none, {true, 10, 100}, StampCheck::Differs}, // appeared behind the program's back
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareStamp(c.known, c.now), c.want)
            << c.known.exists << c.known.size << " " << c.now.exists << c.now.size;

    const FileVersion seen{a, HashBytes("0123456789")};
    EXPECT_TRUE(SameBytes(seen, {{true, 10, 105}, HashBytes("0123456789")})); // a touch
    EXPECT_FALSE(SameBytes(seen, {{true, 10, 105}, HashBytes("0123456780")}));
    EXPECT_FALSE(SameBytes({none, kHashSeed}, {{true, 0, 1}, kHashSeed})); // appeared, empty
    EXPECT_EQ(OnDiskChange(false), DiskChangeAction::Reload);
    EXPECT_EQ(OnDiskChange(true), DiskChangeAction::RecoverThenReload);
}
