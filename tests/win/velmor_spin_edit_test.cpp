#include <gtest/gtest.h>
#include <windows.h>

#include "core/errors.h"
#include "test_support.h"
#include "ui/velmor_spin_edit.h"

using namespace vp::ui;
using vp::test::PumpFor;
using vp::test::PumpUntil;

namespace {

class SpinEdit : public ::testing::Test {
  protected:
    TVelmorSpinEdit& Make(TVelmorSpinEdit::CreateArgs args) {
        args.onChange = [this] { ++changes; };
        args.onChanged = [this] { ++delayed; };
        return form.Create<TVelmorSpinEdit>(form, u"spnInterval", {8, 8, 80, 21}, args);
    }
    TForm form{u"SpinForm", {.caption = u"Spin edit test"}};
    int changes = 0, delayed = 0;
};

} // namespace

TEST_F(SpinEdit, CorrectsATooLargeValueOnceTheTypingRests) {
    auto& spn = Make({.minValue = 0, .maxValue = 30, .value = 1, .delay = 40});
    // The count-down runs from creation: one notification, no correction.
    ASSERT_TRUE(PumpUntil([&] { return delayed == 1; }));
    EXPECT_EQ(spn.Value(), 1);
    EXPECT_EQ(changes, 0);

    spn.SetText(u"4");
    spn.SetText(u"45");
    EXPECT_EQ(changes, 2) << "OnChange fires at once for every change";
    EXPECT_EQ(delayed, 1);
    ASSERT_TRUE(PumpUntil([&] { return delayed == 2; }));
    EXPECT_EQ(spn.Text(), u"30");
    EXPECT_EQ(changes, 3) << "the correction is a change of its own";
    // ... and so it is followed by one more delayed notification.
    ASSERT_TRUE(PumpUntil([&] { return delayed == 3; }));
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(spn.TimerActive());
}

TEST_F(SpinEdit, OnlyNonZeroBoundsAreEnforcedByTheDelay) {
    auto& spn = Make({.minValue = 0, .maxValue = 30, .value = 1, .delay = 30});
    spn.SetText(u"-5");
    ASSERT_TRUE(PumpUntil([&] { return delayed == 1; }));
    EXPECT_EQ(spn.Text(), u"-5");

    spn.SetMinValue(10);
    spn.SetText(u"5");
    ASSERT_TRUE(PumpUntil([&] { return delayed == 3; })); // the correction restarts the delay
    EXPECT_EQ(spn.Value(), 10);
}

TEST_F(SpinEdit, RapidChangesGiveOneDelayedNotification) {
    auto& spn = Make({.minValue = 0, .maxValue = 100, .value = 1, .delay = 150});
    spn.StopTimer();
    for (int i = 0; i < 5; ++i)
        spn.SetValue(spn.Value() + 1); // quicker than the delay, so each restarts it
    EXPECT_EQ(changes, 5);
    ASSERT_TRUE(PumpUntil([&] { return delayed == 1; }));
    EXPECT_EQ(spn.Value(), 6);
    PumpFor(400);
    EXPECT_EQ(delayed, 1);
}

TEST_F(SpinEdit, StopTimerAndZeroDelaySilenceTheDelayedNotification) {
    auto& stopped = Make({.minValue = 0, .maxValue = 30, .value = 1, .delay = 30});
    stopped.SetValue(20);
    stopped.StopTimer();
    EXPECT_EQ(changes, 1);

    auto& off = form.Create<TVelmorSpinEdit>(
        form, u"spnOff", {8, 40, 80, 21},
        {.minValue = 0, .maxValue = 30, .value = 1, .delay = 0, .onChanged = [&] { ++delayed; }});
    off.SetText(u"45");
    PumpFor(300);
    EXPECT_EQ(delayed, 0);
    EXPECT_EQ(off.Text(), u"45") << "no correction without a delay";

    off.SetDelay(30); // switched back on by the next change only
    EXPECT_FALSE(off.TimerActive());
    off.SetText(u"46");
    ASSERT_TRUE(PumpUntil([&] { return delayed == 2; }));
    EXPECT_EQ(off.Value(), 30);
    EXPECT_THROW(off.SetDelay(-1), vp::AssertionFailure);
}
