#include "platform/messages.h"

#include <windows.h>

#include "core/app_name.h"
#include "core/errors.h"
#include "core/text.h"
#include "platform/hooks.h"
#include "platform/wstr.h"

namespace vp {

namespace hooks {
MessageBoxFn MessageBox;
BeepFn Beep;
SleepFn Sleep;
} // namespace hooks

int ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned flags) {
    if (text.empty())
        return 0;
    const std::u16string cap = caption.empty() ? AppName : caption;
    const std::u16string body = ExpandLineBreakTokens(text);
    if (hooks::MessageBox)
        return hooks::MessageBox(body, cap, flags);
    // Owned by the active window so the box stays in front of the program.
    return ::MessageBoxW(GetActiveWindow(), W(body), W(cap), flags | MB_OK);
}

void ShowInfo(const std::u16string& text, const std::u16string& caption) {
    ShowMessageBox(text, caption, MB_ICONINFORMATION);
}

void ShowWarning(const std::u16string& text) {
    ShowMessageBox(text, AppName + u" - Warning", MB_ICONWARNING);
}

void ShowError(const std::u16string& text) {
    ShowMessageBox(text, AppName + u" - Error", MB_ICONERROR);
}

void ShowFaultReport(const std::u16string& text, const std::u16string& where) {
    ShowMessageBox(text +
                       u"\r\n\r\nPlease report this error to us and the exact steps to reproduce "
                       u"it and we will fix it.\r\nHint: press Control+C to copy this message to "
                       u"clipboard.",
                   u"Error in " + where, MB_ICONERROR);
}

void BeepTone(int frequency, int duration) {
    Assert(frequency >= 0 && duration >= 0, u"cMessages", u"Invalid beep arguments!");
    if (hooks::Beep)
        hooks::Beep(static_cast<unsigned>(frequency), static_cast<unsigned>(duration));
    else
        ::Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(duration));
}

void BeepAlarm() {
    BeepTone(700, 50);
    if (hooks::Sleep)
        hooks::Sleep(5);
    else
        ::Sleep(5);
    BeepTone(400, 110);
}

std::u16string ExceptionText(const std::exception_ptr& error) {
    std::u16string text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = MessageOf(e);
    } catch (...) {
    }
    return text.empty() ? u"An unknown error occurred." : text;
}

void ReportException(const std::exception_ptr& error) {
    const std::u16string text = ExceptionText(error);
    try {
        ShowError(text);
    } catch (...) {
        // Nothing is left to report with; the program goes on.
    }
}

void ReportCurrentException() {
    ReportException(std::current_exception());
}

} // namespace vp
