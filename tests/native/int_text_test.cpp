#include <gtest/gtest.h>

#include <cstdint>

#include "core/encoding.h"
#include "core/int_text.h"

using namespace vp;

TEST(IntText, StandardConversion) {
    struct Case {
        std::u16string text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {u"12", true, 12},
        {u" 12", true, 12},
        {u"12 ", false, 0},
        {u"-3", true, -3},
        {u"+7", true, 7},
        {u"$1F", true, 31},
        {u"0x1f", true, 31},
        {u"0X10", true, 16},
        {u"-$10", true, -16},
        {u"2147483647", true, 2147483647},
        {u"-2147483648", true, INT32_MIN},
        {u"2147483648", false, 0},
        {u"$FFFFFFFF", false, 0},
        {u"99999999999999999999", false, 0},
        {u"", false, 0},
        {u" ", false, 0},
        {u"-", false, 0},
        {u"$", false, 0},
        {u"0x", false, 0},
        {u"1.5", false, 0},
        {u"\t1", false, 0},
        {u"\uFF11", false, 0}, // a full-width digit is not a digit here
    };
    for (const auto& c : cases) {
        int32_t v = 0;
        EXPECT_EQ(TryStrToInt32(c.text, v), c.ok) << ToUtf8(c.text);
        EXPECT_EQ(StrToInt32Def(c.text, 0), c.value) << ToUtf8(c.text);
    }
}

// The number box's reading beside the standard one: the same text can be a number for one
// and not for the other.
TEST(IntText, NumberBoxConversion) {
    struct Case {
        std::u16string text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {u"40", true, 40},
        {u" 40 ", true, 40}, // blanks on both sides, as a person leaves them
        {u"  -5", true, -5},
        {u"+7  ", true, 7},
        {u"007", true, 7},
        {u"2147483647", true, 2147483647},
        {u"-2147483648", true, INT32_MIN},
        {u"2147483648", false, 0},
        {u"-2147483649", false, 0},
        {u"99999999999999999999", false, 0},
        {u"$1F", false, 0}, // no hexadecimal in a number box
        {u"0x1f", false, 0},
        {u"abc", false, 0},
        {u"", false, 0},
        {u"   ", false, 0},
        {u"-", false, 0},
        {u" + ", false, 0},
        {u"- 5", false, 0},
        {u"4 0", false, 0},
        {u"--5", false, 0},
        {u"1.5", false, 0},
        {u"\t1", false, 0}, // only the space counts as a blank
        {u"1\u00A0", false, 0},
        {u"\uFF11", false, 0},
    };
    for (const auto& c : cases) {
        int32_t v = 12345;
        EXPECT_EQ(TryDecimalToInt32(c.text, v), c.ok) << ToUtf8(c.text);
        EXPECT_EQ(v, c.ok ? c.value : 12345) << "a failure leaves the value: " << ToUtf8(c.text);
    }
}

TEST(IntText, ToTextAndBack) {
    const int64_t values[] = {0, 7, -7, 255, 2147483647, INT32_MIN, INT64_MAX, INT64_MIN};
    const std::u16string texts[] = {u"0",
                                    u"7",
                                    u"-7",
                                    u"255",
                                    u"2147483647",
                                    u"-2147483648",
                                    u"9223372036854775807",
                                    u"-9223372036854775808"};
    for (size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(IntToText(values[i]), texts[i]);
        int32_t back = 0;
        if (values[i] >= INT32_MIN && values[i] <= INT32_MAX) {
            ASSERT_TRUE(TryDecimalToInt32(texts[i], back)) << ToUtf8(texts[i]);
            EXPECT_EQ(back, values[i]);
        }
    }
}
