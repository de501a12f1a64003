#include "core/capture.h"

#include <limits>

#include "core/date_time.h"
#include "core/duplicates.h"
#include "core/paths.h"

namespace vp {

const char16_t* const kVendorPageAddress = u"https://www.velmorpasquill.com/thanks.html";

std::u16string_view TextBeforeNul(std::u16string_view block) {
    return block.substr(0, block.find(u'\0'));
}

namespace {

void AppendTwoDigits(std::u16string& out, int value) {
    out += static_cast<char16_t>(u'0' + value / 10);
    out += static_cast<char16_t>(u'0' + value % 10);
}

bool IsLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

} // namespace

std::u16string FormatDatePrefix(double dateTime, std::u16string_view separator) {
    const CivilDate date = DecodeDate(dateTime);
    std::u16string out;
    AppendTwoDigits(out, date.month);
    out += separator;
    AppendTwoDigits(out, date.day);
    out += separator;
    AppendTwoDigits(out, date.year / 100);
    AppendTwoDigits(out, date.year % 100);
    return out;
}

std::u16string AppendText(std::u16string_view pad, std::u16string_view line) {
    std::u16string out;
    out.reserve(line.size() + 4);
    if (pad.empty() || IsLineBreak(pad.back())) {
        out += line;
        out += u"\r\n";
    } else {
        out += u"\r\n";
        out += line;
        // An empty remainder after a break is not a line: the empty line needs its own.
        if (line.empty())
            out += u"\r\n";
    }
    return out;
}

CaptureDecision DecideCapture(const CaptureInput& in) {
    const CaptureOptions& opt = in.options;
    CaptureDecision d;
    d.openVendorPage = in.draw == kVendorPageDraw;
    const std::u16string_view entry = opt.trim ? TrimControls(in.entry) : in.entry;
    const bool duplicate = IsDuplicate(entry, in.pad, opt.anywhere);
    d.beep = duplicate && opt.duplicateBeep;
    if (duplicate && opt.ignoreDuplicate) {
        d.status = u"Duplicate item: ";
        d.status += entry;
        d.newCount = in.collectedCount;
        return d;
    }
    std::u16string line;
    if (opt.datePrefix) {
        line = FormatDatePrefix(in.now, in.dateSeparator);
        line += u' ';
    }
    line += entry;
    line += opt.separator;
    d.add = true;
    d.append = AppendText(in.pad, line);
    d.clearClipboard = opt.clearClipboard;
    // Never wraps to a negative count, however long the program runs.
    d.newCount = in.collectedCount == std::numeric_limits<int32_t>::max() ? in.collectedCount
                                                                          : in.collectedCount + 1;
    d.status = u"Collected items: ";
    for (char c : std::to_string(d.newCount))
        d.status += static_cast<char16_t>(c);
    return d;
}

void RunCapture(CaptureInput input, int32_t& collectedCount, CaptureSink& sink) {
    input.collectedCount = collectedCount;
    const CaptureDecision d = DecideCapture(input);
    if (d.openVendorPage)
        sink.OpenVendorPage();
    if (d.beep)
        sink.BeepAlarm();
    if (!d.add) {
        sink.SetStatus(d.status);
        return;
    }
    sink.AppendToPad(d.append);
    if (d.clearClipboard)
        sink.ClearClipboard();
    collectedCount = d.newCount;
    sink.SetStatus(d.status);
    sink.SavePad();
}

} // namespace vp
