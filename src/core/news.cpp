#include "core/news.h"

#include <algorithm>
#include <vector>

#include "core/int_text.h"
#include "core/text.h"

namespace vp {

namespace {

constexpr std::u16string_view kTag = u"!TAnnouncer";

// One number of a dotted version, without its leading zeros; false when it is not a
// run of decimal digits.
bool VersionNumber(std::u16string_view part, std::u16string& digits) {
    if (part.empty())
        return false;
    for (char16_t c : part)
        if (c < u'0' || c > u'9')
            return false;
    const size_t first = part.find_first_not_of(u'0');
    digits = first == std::u16string_view::npos ? u"" : std::u16string(part.substr(first));
    return true;
}

bool SplitVersion(std::u16string_view text, std::vector<std::u16string>& numbers) {
    numbers.clear();
    // Blanks around the version are a typing slip in the news file, not another version.
    const size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos)
        return false;
    text = text.substr(first, text.find_last_not_of(u" \t") - first + 1);
    for (;;) {
        const size_t dot = text.find(u'.');
        std::u16string digits;
        if (!VersionNumber(text.substr(0, dot), digits))
            return false;
        numbers.push_back(std::move(digits));
        if (dot == std::u16string_view::npos)
            return true;
        text.remove_prefix(dot + 1);
    }
}

// Numbers as digit strings without leading zeros compare by length, then by digits, so
// no length of number overflows.
int CompareNumber(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

} // namespace

void RNews::Clear() {
    *this = RNews{};
}

void RNews::LoadFrom(std::u16string_view text) {
    Clear();
    text = text.substr(0, text.find(u'\0'));
    const StringList lines = TextToStringList(text);
    size_t newsFrom = 0;
    if (!lines.empty() && lines[0].starts_with(kTag)) {
        MagicNo = lines[0];
        if (lines.size() > 1)
            Comment = lines[1];
        if (lines.size() > 2)
            AppVersion = lines[2];
        if (lines.size() > 3)
            Counter = StrToInt32Def(lines[3], 0);
        newsFrom = 4;
    } else {
        if (!lines.empty())
            Counter = StrToInt32Def(lines[0], 0);
        if (lines.size() > 1)
            Comment = lines[1];
        newsFrom = 2;
    }
    for (size_t i = newsFrom; i < lines.size(); ++i)
        NewsText.append(lines[i]).append(u"\r\n");
}

bool IsNewsFile(std::u16string_view text) {
    text = text.substr(0, text.find(u'\0'));
    const StringList lines = TextToStringList(text);
    const size_t counterLine = !lines.empty() && lines[0].starts_with(kTag) ? 3 : 0;
    int32_t counter = 0;
    return counterLine < lines.size() && TryStrToInt32(lines[counterLine], counter);
}

std::u16string RNews::HeadLine() const {
    for (const auto& line : TextToStringList(NewsText))
        if (!line.empty())
            return line + u"\r\n";
    return {};
}

bool IsNewerVersion(std::u16string_view announced, std::u16string_view running) {
    std::vector<std::u16string> a, r;
    if (!SplitVersion(announced, a))
        return false;
    if (!SplitVersion(running, r))
        r.clear(); // a running program without a readable version is older than any
    const size_t n = std::max(a.size(), r.size());
    for (size_t i = 0; i < n; ++i) {
        const std::u16string& x = i < a.size() ? a[i] : u"";
        const std::u16string& y = i < r.size() ? r[i] : u"";
        if (const int c = CompareNumber(x, y))
            return c > 0;
    }
    return false;
}

bool IsCheckDue(int32_t autoCheckEvery, double lastUpdate, double now, bool force) {
    if (autoCheckEvery == 0)
        return true;
    if (autoCheckEvery > 0 && CalendarDaySpan(lastUpdate, now) >= autoCheckEvery)
        return true;
    return force;
}

} // namespace vp
