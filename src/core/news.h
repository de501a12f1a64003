#pragma once
// The news file, the comparison of its announced version with the running one, and the
// schedule of the automatic check. Two layouts: a tagged file starts with "!TAnnouncer"
// and carries the magic line, a comment, the version, the counter and the news; any other
// text is the short layout: counter, comment, news.
#include <cstdint>
#include <string>
#include <string_view>

namespace vp {

struct RNews {
    std::u16string MagicNo;
    std::u16string Comment;
    std::u16string AppVersion = u"?";
    int32_t Counter = 0;
    // Every news line followed by CR LF.
    std::u16string NewsText;

    void Clear();
    // Parses a news file's text; a NUL ends the text.
    void LoadFrom(std::u16string_view text);
    // The first non-empty news line followed by CR LF; empty when there is none.
    std::u16string HeadLine() const;
};

// Whether a text is a news file at all: its counter line (the fourth of a tagged file, the
// first of the short layout) is a number. A sign-in page or an error page is not one,
// though any text parses into some record.
bool IsNewsFile(std::u16string_view text);

// Whether the announced dotted version is a higher version than the running one, number
// by number (missing numbers count as 0; blanks around it do not count). An announcement
// that is not a dotted number, such as the "?" of a file without a version, announces
// nothing.
bool IsNewerVersion(std::u16string_view announced, std::u16string_view running);

// Whether the automatic check is due: always at interval 0, at a positive interval once
// CalendarDaySpan(lastUpdate, now) reaches it; otherwise only when forced.
bool IsCheckDue(int32_t autoCheckEvery, double lastUpdate, double now, bool force);

} // namespace vp
