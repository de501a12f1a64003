#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/errors.h"
#include "platform/system_error.h"

using namespace vp;

namespace {

template <class Call> std::u16string MessageOf(Call call) {
    try {
        call();
    } catch (const Error& e) {
        return e.Message();
    }
    return u"<no error>";
}

} // namespace

TEST(SystemError, EveryThrowReadsWhatThenTheSystemsReason) {
    const std::u16string denied = SystemMessage(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), u'\n') << "the system's line break is cut";
    EXPECT_EQ(MessageOf([] {
                  SetLastError(ERROR_ACCESS_DENIED);
                  ThrowLastError(u"Cannot open \"a\"");
              }),
              u"Cannot open \"a\": " + denied);
    EXPECT_EQ(MessageOf([] { ThrowSystemError(u"Cannot open", ERROR_ACCESS_DENIED); }),
              u"Cannot open: " + denied);
    EXPECT_EQ(MessageOf([] { ThrowIfFailed(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), u"Cannot"); }),
              u"Cannot: " + SystemMessage(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)));
    // No reason from the system: the message is what failed, not "completed successfully".
    EXPECT_EQ(MessageOf([] {
                  SetLastError(0);
                  ThrowLastError(u"Cannot create a window");
              }),
              u"Cannot create a window.");
    EXPECT_EQ(MessageOf([] { ThrowIfFailed(S_OK, u"Cannot"); }), u"<no error>");
    EXPECT_EQ(MessageOf([] { ThrowIfFailed(S_FALSE, u"Cannot"); }), u"<no error>");
}

TEST(SystemError, AnUnknownCodeIsNamed) {
    EXPECT_EQ(SystemMessage(0x2000FFFFul), u"System error 536936447.");
}
