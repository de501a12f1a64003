#include <gtest/gtest.h>
#include <windows.h>

#include "platform/version.h"

using namespace vp;

namespace {
// The fixture executables are built beside the test executable.
std::u16string Beside(const std::u16string& name) {
    std::u16string exe = ExecutablePath();
    return exe.substr(0, exe.find_last_of(u'\\') + 1) + name;
}
} // namespace

TEST(Version, ReadsAnExecutablesOwnResource) {
    VS_FIXEDFILEINFO info{};
    ASSERT_TRUE(ReadFixedFileInfo(Beside(u"vp_fixture_versioned.exe"), info));
    EXPECT_EQ(info.dwFileVersionMS, (4u << 16) | 5u);
    EXPECT_EQ(info.dwFileVersionLS, 7u);
    EXPECT_EQ(FileVersionFull(Beside(u"vp_fixture_versioned.exe")), u"4.5.0.7");
    EXPECT_EQ(FileVersionShort(Beside(u"vp_fixture_versioned.exe")), u"4.5.0");
    EXPECT_EQ(FileVersionLabel(Beside(u"vp_fixture_versioned.exe")), u" v4.5.0");
}

TEST(Version, MissingResourceOrFileGivesZero) {
    VS_FIXEDFILEINFO info{};
    EXPECT_FALSE(ReadFixedFileInfo(Beside(u"vp_fixture_plain.exe"), info));
    EXPECT_EQ(FileVersionFull(Beside(u"vp_fixture_plain.exe")), u"0");
    EXPECT_EQ(FileVersionShort(Beside(u"vp_fixture_plain.exe")), u"0");
    EXPECT_EQ(FileVersionLabel(Beside(u"vp_fixture_plain.exe")), u" v0");
    EXPECT_EQ(FileVersionFull(u"C:\\no\\such\\file.exe"), u"0");
}

TEST(Version, RunningExecutableIsRead) {
    EXPECT_EQ(AppVersionFull(), u"2.3.4.5");
    EXPECT_EQ(AppVersionShort(), u"2.3.4");
    EXPECT_EQ(AppVersionLabel(), u" v2.3.4");
}

TEST(Version, WindowsVersionIsReported) {
    int major = -1, minor = -1;
    WindowsVersion(major, minor);
    EXPECT_GT(major, 0);
    EXPECT_GE(minor, 0);
    EXPECT_EQ(WindowsMajorVersion(), major);
    EXPECT_EQ(IsVistaOrLater(), major > 5);
}
