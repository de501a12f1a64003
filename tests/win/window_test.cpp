#include <gtest/gtest.h>
#include <windows.h>

#include "core/app_name.h"
#include "core/errors.h"
#include "test_support.h"
#include "ui/window.h"

using namespace vp;

namespace {
constexpr UINT kThrow = WM_APP + 1;

class ThrowingWindow : public ui::Window {
  public:
    ThrowingWindow() {
        RegisterWindowClass(L"VpThrowingWindow");
        CreateArgs a;
        a.className = L"VpThrowingWindow";
        a.text = u"thrower";
        a.style = WS_OVERLAPPED;
        CreateHandle(a);
    }
    int handled = 0;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM w, LPARAM l) override {
        if (msg == kThrow) {
            ++handled;
            throw Error(u"Handler failed");
        }
        return DefaultHandler(msg, w, l);
    }
};
} // namespace

TEST(Window, ErrorInAHandlerIsReportedAndTheWindowGoesOn) {
    AppName = kProgramName;
    test::CaptureEffects fx;
    ThrowingWindow w;
    ASSERT_NE(w.Handle(), nullptr);
    EXPECT_EQ(w.Text(), u"thrower");
    EXPECT_EQ(SendMessageW(w.Handle(), kThrow, 0, 0), 0);
    EXPECT_EQ(SendMessageW(w.Handle(), kThrow, 0, 0), 0);
    EXPECT_EQ(w.handled, 2);
    ASSERT_EQ(fx.boxes.size(), 2u);
    EXPECT_EQ(fx.boxes[0].text, u"Handler failed");
    EXPECT_EQ(fx.boxes[0].caption, u"Velmor Pasquill - Error");
    EXPECT_TRUE(IsWindow(w.Handle()));
    w.SetText(u"still here \u00E9");
    EXPECT_EQ(w.Text(), u"still here \u00E9");
}
