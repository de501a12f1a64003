#include <gtest/gtest.h>

#include "core/text.h"

using namespace vp;

TEST(AdjustLineBreaks, EveryBreakBecomesCrLf) {
    struct Case {
        std::u16string in, out;
    } cases[] = {
        {u"", u""},
        {u"a\r\nb", u"a\r\nb"},
        {u"a\nb\n", u"a\r\nb\r\n"},
        {u"a\rb\r", u"a\r\nb\r\n"},
        {u"a\n\rb", u"a\r\n\r\nb"},     // LF then CR: two breaks
        {u"\r\r\n\n", u"\r\n\r\n\r\n"}, // CR, CR LF, LF
        {u"no break", u"no break"},
        {u"end\r", u"end\r\n"},
        {u"\r\n\r\nx\r\n", u"\r\n\r\nx\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AdjustLineBreaks(c.in), c.out);
        // Texts the adjustment would leave alone are recognised without a copy.
        EXPECT_EQ(HasBareLineBreak(c.in), c.in != c.out) << c.in.size();
    }
}
