#include <gtest/gtest.h>

#include "core/shell_errors.h"

using namespace vp;

TEST(ShellErrorText, KnownCodesHaveTheirTexts) {
    struct Case {
        std::intptr_t code;
        const char16_t* text;
    };
    const Case cases[] = {
        {0, u"The operating system is out of memory or resources."},
        {2, u"The specified file was not found."},
        {3, u"The specified path was not found."},
        {5, u"The operating system denied access. Do you have admin rights?"},
        {8, u"There was not enough memory to complete the operation."},
        {11, u"The .exe file is invalid (non-Win32 .EXE or error in .EXE image)."},
        {12, u"Application was designed for a different operating system."},
        {13, u"Application was designed for MS-DOS 4.0"},
        {15, u"Attempt to load a real-mode program."},
        {16, u"Attempt to load a second instance of an application with non-readonly data "
             u"segments."},
        {19, u"Attempt to load a compressed application file."},
        {20, u"Dynamic-link library (DLL) file failure."},
        {26, u"A sharing violation occurred."},
        {27, u"The file name association is incomplete or invalid."},
        {28, u"The DDE transaction could not be completed because the request timed out."},
        {29, u"The DDE transaction failed."},
        {30, u"The DDE transaction could not be completed because other DDE transactions were "
             u"being processed."},
        {31, u"There is no application associated with the given file name extension."},
        {32, u"The specified DLL was not found."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShellErrorText(c.code), c.text) << c.code;
}

TEST(ShellErrorText, OtherCodesNameTheCode) {
    EXPECT_EQ(ShellErrorText(1), u"ShellExecute error 1");
    EXPECT_EQ(ShellErrorText(4), u"ShellExecute error 4");
    EXPECT_EQ(ShellErrorText(14), u"ShellExecute error 14");
    EXPECT_EQ(ShellErrorText(25), u"ShellExecute error 25");
}
