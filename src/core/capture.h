#pragma once
// The capture pipeline (ColectClipboardData): what one clipboard text does to the pad.
//
// DecideCapture is pure: it reads the entry, the options and the pad in place and says
// what to do. RunCapture carries the decision out through a CaptureSink, in this order:
//   1. one draw in 600 opens the vendor page (OpenVendorPage; never stops the capture);
//   2-4. a duplicate may beep (BeepAlarm); an ignored duplicate only sets the status;
//   6. AppendToPad with the exact text to add at the pad's end;
//   7. ClearClipboard when asked; if it throws, nothing below runs and the error goes on;
//   8. CollectedCount grows by one and SetStatus shows "Collected items: N";
//   9. SavePad writes the pad to the selected category (its errors go on, the count stays).
#include <cstdint>
#include <string>
#include <string_view>

namespace vp {

// The Settings tab's values at the moment of the capture.
struct CaptureOptions {
    bool trim = true;              // chkTrim
    bool anywhere = false;         // chkWeakDupe: duplicates anywhere, not whole lines
    bool ignoreDuplicate = true;   // chkNoDuplicate
    bool duplicateBeep = true;     // chkDuplicateBip
    bool datePrefix = false;       // chkDate
    bool clearClipboard = false;   // chkClearClpbrd
    std::u16string_view separator; // mmoSeparator's whole text
};

// The vendor page opens when a uniform draw in 0..kVendorPageDrawRange-1 gives this.
inline constexpr int kVendorPageDrawRange = 600;
inline constexpr int kVendorPageDraw = 3;
extern const char16_t* const kVendorPageAddress;

struct CaptureInput {
    std::u16string_view entry; // the clipboard's text as fetched
    std::u16string_view pad;   // the pad's whole text before this capture
    CaptureOptions options;
    int draw = 0;                      // uniform in 0..kVendorPageDrawRange-1
    double now = 0;                    // local date-time, read only for the date prefix
    std::u16string_view dateSeparator; // the regional one, frozen at start
    int32_t collectedCount = 0;        // CollectedCount before this capture
};

struct CaptureDecision {
    bool openVendorPage = false;
    bool beep = false;
    bool add = false;      // false: set the status and stop
    std::u16string append; // what goes at the pad's end
    bool clearClipboard = false;
    int32_t newCount = 0;  // CollectedCount once the entry is counted
    std::u16string status; // "Duplicate item: ..." or "Collected items: N"
};

CaptureDecision DecideCapture(const CaptureInput& input);

// The window's side effects, called by RunCapture in the order above.
class CaptureSink {
  public:
    virtual ~CaptureSink() = default;
    virtual void OpenVendorPage() = 0; // reports its own failures, never throws
    virtual void BeepAlarm() = 0;
    virtual void AppendToPad(std::u16string_view text) = 0;
    virtual void ClearClipboard() = 0;
    virtual void SetStatus(const std::u16string& text) = 0;
    virtual void SavePad() = 0;
};

// The whole pipeline; collectedCount is CollectedCount, updated in step 8. The
// input's collectedCount is ignored in favour of it.
void RunCapture(CaptureInput input, int32_t& collectedCount, CaptureSink& sink);

// A clipboard text block's text: up to its first NUL, or the whole block without one.
std::u16string_view TextBeforeNul(std::u16string_view block);

// "MM<sep>DD<sep>YYYY" of the date-time's calendar day.
std::u16string FormatDatePrefix(double dateTime, std::u16string_view separator);

// What pad + AppendText(pad, line) must be for the line to become the pad's new last
// line: after a break (or into an empty pad) the line and CR LF, else CR LF and the line.
std::u16string AppendText(std::u16string_view pad, std::u16string_view line);

// DisableLineDuplicates: the state chkWeakDupe must take after a click on chkDate or
// chkWeakDupe. The whole-line mode cannot be chosen while the date prefix is on.
constexpr bool DisableLineDuplicates(bool dateChecked, bool weakDupeChecked) {
    return dateChecked || weakDupeChecked;
}

} // namespace vp
