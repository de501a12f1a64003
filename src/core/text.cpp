#include "core/text.h"

#include <algorithm>
#include <cmath>

namespace vp {

std::u16string UpperCaseAscii(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        c = UpCaseAscii(c);
    return out;
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpCaseAscii(a[i]) != UpCaseAscii(b[i]))
            return false;
    return true;
}

size_t PosNoCase(std::u16string_view subText, std::u16string_view text) {
    if (subText.empty() || subText.size() > text.size())
        return 0;
    // Folding on the fly avoids copying what may be a pad of many megabytes.
    const char16_t first = UpCaseAscii(subText[0]);
    const size_t last = text.size() - subText.size();
    for (size_t i = 0; i <= last; ++i) {
        if (UpCaseAscii(text[i]) != first)
            continue;
        size_t k = 1;
        while (k < subText.size() && UpCaseAscii(text[i + k]) == UpCaseAscii(subText[k]))
            ++k;
        if (k == subText.size())
            return i + 1;
    }
    return 0;
}

size_t LastPos(std::u16string_view subText, std::u16string_view text) {
    if (subText.empty() || subText.size() > text.size())
        return 0;
    const size_t at = text.rfind(subText);
    return at == std::u16string_view::npos ? 0 : at + 1;
}

std::u16string CopyRange(std::u16string_view text, size_t from, size_t to) {
    if (from < 1)
        from = 1;
    if (to > text.size())
        to = text.size();
    if (from > to)
        return {};
    return std::u16string(text.substr(from - 1, to - from + 1));
}

std::u16string LastCharOf(std::u16string_view text) {
    return text.empty() ? std::u16string() : std::u16string(1, text.back());
}

std::u16string ReplaceChar(std::u16string_view text, char16_t find, char16_t replacement) {
    std::u16string out(text);
    ReplaceCharInPlace(out, find, replacement);
    return out;
}

void ReplaceCharInPlace(std::u16string& text, char16_t find, char16_t replacement) {
    std::replace(text.begin(), text.end(), find, replacement);
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view what,
                          std::u16string_view with) {
    if (what.empty())
        return std::u16string(text);
    std::u16string out;
    out.reserve(text.size());
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(what, start);
        if (at == std::u16string_view::npos)
            break;
        out.append(text, start, at - start);
        out.append(with);
        start = at + what.size();
    }
    out.append(text, start);
    return out;
}

std::u16string ReplaceLineBreaks(std::u16string_view text, std::u16string_view newText) {
    return ReplaceAll(ReplaceAll(text, u"\n", newText), u"\r", newText);
}

std::u16string ReplaceNonLatin1(std::u16string_view text, char16_t replacement) {
    std::u16string out(text);
    for (auto& c : out)
        if (c > 0xFF)
            c = replacement;
    return out;
}

std::u16string StripFinalLineBreak(std::u16string_view text) {
    auto isBreak = [](char16_t c) { return c == u'\r' || c == u'\n'; };
    if (!text.empty() && isBreak(text.back())) {
        text.remove_suffix(1);
        if (!text.empty() && isBreak(text.back()))
            text.remove_suffix(1);
    }
    return std::u16string(text);
}

std::u16string AdjustLineBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 16);
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            out += u"\r\n";
            if (i + 1 < n && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool HasBareLineBreak(std::u16string_view text) {
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        if (text[i] == u'\r') {
            if (i + 1 == n || text[i + 1] != u'\n')
                return true;
            ++i;
        } else if (text[i] == u'\n') {
            return true;
        }
    }
    return false;
}

StringList TextToStringList(std::u16string_view text) {
    StringList lines;
    size_t start = 0;
    const size_t n = text.size();
    while (start < n) {
        size_t end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        lines.emplace_back(text.substr(start, end - start));
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

std::u16string FirstLines(std::u16string_view text, int count, bool skipEmpty) {
    std::u16string out;
    int taken = 0;
    for (const auto& line : TextToStringList(text)) {
        if (skipEmpty && line.empty())
            continue;
        out += line;
        out += u"\r\n";
        if (++taken == count)
            break;
    }
    return out;
}

double CalendarDaySpan(double a, double b) {
    const double span = std::fabs(a - b);
    return std::trunc(a) == std::trunc(b) ? span : span + 1;
}

std::u16string ExpandLineBreakTokens(std::u16string_view text) {
    return ReplaceAll(ReplaceAll(text, u"CRLF ", u"CRLF"), u"CRLF", u"\r\n");
}

} // namespace vp
