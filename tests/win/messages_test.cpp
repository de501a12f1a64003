#include <gtest/gtest.h>
#include <windows.h>

#include "core/app_name.h"
#include "core/errors.h"
#include "platform/messages.h"
#include "test_support.h"

using namespace vp;

class Messages : public ::testing::Test {
  protected:
    void SetUp() override { AppName = kProgramName; }
    test::CaptureEffects fx;
};

TEST_F(Messages, KindsHaveTheirCaptionsAndIcons) {
    ShowInfo(u"i");
    ShowInfo(u"i2", u"Own caption");
    ShowWarning(u"w");
    ShowError(u"e");
    ShowFaultReport(u"f", u"Place");
    ASSERT_EQ(fx.boxes.size(), 5u);
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill");
    EXPECT_EQ(fx.boxes[0].flags, static_cast<unsigned>(MB_ICONINFORMATION));
    EXPECT_EQ(fx.boxes[1].caption, u"Own caption");
    EXPECT_EQ(fx.boxes[2].caption, u"Velmor Pasquill - Warning");
    EXPECT_EQ(fx.boxes[2].flags, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_EQ(fx.boxes[3].caption, u"Velmor Pasquill - Error");
    EXPECT_EQ(fx.boxes[3].flags, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_EQ(fx.boxes[4].caption, u"Error in Place");
    EXPECT_EQ(fx.boxes[4].flags, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_EQ(fx.boxes[4].text,
              u"f\r\n\r\nPlease report this error to us and the exact steps to reproduce it and we "
              u"will fix it.\r\nHint: press Control+C to copy this message to clipboard.");
}

TEST_F(Messages, EmptyTextShowsNothingAndEmptyCaptionIsAppName) {
    EXPECT_EQ(ShowMessageBox(u"", u"c", MB_ICONERROR), 0);
    ShowError(u"");
    ShowInfo(u"");
    EXPECT_TRUE(fx.boxes.empty());
    ShowInfo(u"x", u"");
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill");
    AppName = u"Other";
    ShowMessageBox(u"y", u"", 0);
    EXPECT_EQ(fx.boxes[1].caption, u"Other");
}

TEST_F(Messages, LineBreakTokenIsExpanded) {
    ShowInfo(u"firstCRLF second");
    ShowInfo(u"first CRLF second");
    ASSERT_EQ(fx.boxes.size(), 2u);
    EXPECT_EQ(fx.boxes[0].text, u"first\r\nsecond");
    EXPECT_EQ(fx.boxes[1].text, u"first \r\nsecond");
}

TEST_F(Messages, BeepsSoundTheirTones) {
    BeepTone(400, 30);
    BeepAlarm();
    ASSERT_EQ(fx.tones.size(), 4u);
    EXPECT_EQ(fx.tones[0].frequency, 400u);
    EXPECT_EQ(fx.tones[0].duration, 30u);
    EXPECT_EQ(fx.tones[1].frequency, 700u);
    EXPECT_EQ(fx.tones[1].duration, 50u);
    EXPECT_EQ(fx.tones[2].frequency, 0u); // the 5 ms pause
    EXPECT_EQ(fx.tones[2].duration, 5u);
    EXPECT_EQ(fx.tones[3].frequency, 400u);
    EXPECT_EQ(fx.tones[3].duration, 110u);
    EXPECT_THROW(BeepTone(-1, 10), AssertionFailure);
}

TEST_F(Messages, ErrorReportShowsTheErrorsText) {
    try {
        throw Error(u"Disk on fire");
    } catch (...) {
        ReportCurrentException();
    }
    try {
        throw std::runtime_error("plain");
    } catch (...) {
        ReportCurrentException();
    }
    ASSERT_EQ(fx.boxes.size(), 2u);
    EXPECT_EQ(fx.boxes[0].text, u"Disk on fire");
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Error");
    EXPECT_EQ(fx.boxes[1].text, u"plain");
}
