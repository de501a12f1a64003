#pragma once
// Message boxes and beeps.
#include <exception>
#include <string>

namespace vp {

int ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned flags);
void ShowInfo(const std::u16string& text, const std::u16string& caption = {});
void ShowWarning(const std::u16string& text);
void ShowError(const std::u16string& text);
void ShowFaultReport(const std::u16string& text, const std::u16string& where);

void BeepTone(int frequency, int duration);
void BeepAlarm();

// The text the general error report shows for an error.
std::u16string ExceptionText(const std::exception_ptr& error);
// The general error report: shows an error that escaped an event handler; the program goes on.
void ReportException(const std::exception_ptr& error);
// Convenience for catch blocks: reports std::current_exception().
void ReportCurrentException();

} // namespace vp
