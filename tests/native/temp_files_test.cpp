#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/temp_files.h"

using namespace vp;

TEST(TempFiles, OnlyTheExactPatternNamesAProcess) {
    EXPECT_EQ(TempFileName(0x1a4, 3), u"~vp1a4-3.tmp");
    EXPECT_EQ(TempFileName(0xFFFFFFFF, 0x10), u"~vpffffffff-10.tmp");
    EXPECT_EQ(TempFileProcess(TempFileName(0x1a4, 3)), 0x1a4u);
    EXPECT_EQ(TempFileProcess(u"~vpffffffff-ffffffff.tmp"), 0xFFFFFFFFu);
    for (std::u16string_view other :
         {u"~vp1a4-3.tmp.bak", u"x~vp1a4-3.tmp", u"~VP1A4-3.TMP", u"~vp1A4-3.tmp", u"~vp-3.tmp",
          u"~vp1a4-.tmp", u"~vp1a4.tmp", u"~vp01a4-3.tmp", u"~vp1a4-03.tmp", u"~vp1a4-3-4.tmp",
          u"~vp123456789-1.tmp", u"~vpzz-1.tmp", u"~vp1 -1.tmp", u"~vp.tmp", u"notes.tmp",
          u"Main category.txt"})
        EXPECT_FALSE(TempFileProcess(other)) << ToUtf8(other);
}
