#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/failure_text.h"

using namespace vp;

TEST(FailureText, TheSystemsTextLosesItsLineBreakAndAnUnknownCodeIsNamed) {
    struct Case {
        std::u16string_view systemText;
        unsigned long code;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"Access denied.\r\n", 5, u"Access denied."},
        {u"Two lines.\r\nKept inside. \r\n\r\n", 1, u"Two lines.\r\nKept inside."},
        {u"No break", 1, u"No break"},
        {u"", 1234, u"System error 1234."},
        {u" \r\n", 7, u"System error 7."},
        // An HRESULT goes in as its unsigned bits.
        {u"", 0x80004005ul, u"System error 2147500037."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemReasonText(c.systemText, c.code), c.expected)
            << ToUtf8(std::u16string(c.systemText));
}

TEST(FailureText, WhatFailedComesFirstThenTheReason) {
    EXPECT_EQ(FailureText(u"Cannot open clipboard", u"Access denied."),
              u"Cannot open clipboard: Access denied.");
    EXPECT_EQ(FailureText(u"Cannot open file \"C:\\a.txt\"", u"Access denied."),
              u"Cannot open file \"C:\\a.txt\": Access denied.");
    EXPECT_EQ(FailureText(u"Cannot create a window", u""), u"Cannot create a window.");
}
