#pragma once
// Small string and date helpers. Positions count from 1; 0 means not found.
#include <string>
#include <string_view>
#include <vector>

namespace vp {

using StringList = std::vector<std::u16string>;

// Folds a..z to A..Z only; every other code unit stays as it is.
constexpr char16_t UpCaseAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}
std::u16string UpperCaseAscii(std::u16string_view text);
// Equality with a..z folded.
bool SameTextAscii(std::u16string_view a, std::u16string_view b);

size_t PosNoCase(std::u16string_view subText, std::u16string_view text);
size_t LastPos(std::u16string_view subText, std::u16string_view text);
std::u16string CopyRange(std::u16string_view text, size_t from, size_t to);
std::u16string LastCharOf(std::u16string_view text);
std::u16string ReplaceChar(std::u16string_view text, char16_t find, char16_t replacement);
void ReplaceCharInPlace(std::u16string& text, char16_t find, char16_t replacement);
std::u16string ReplaceLineBreaks(std::u16string_view text, std::u16string_view newText);
std::u16string ReplaceNonLatin1(std::u16string_view text, char16_t replacement);
std::u16string StripFinalLineBreak(std::u16string_view text);
// Uniform CR LF breaks: a CR LF pair stays, every other CR and every other LF becomes
// CR LF (so LF CR gives two breaks).
std::u16string AdjustLineBreaks(std::u16string_view text);
// Whether AdjustLineBreaks would change the text: a CR without its LF, or an LF alone.
bool HasBareLineBreak(std::u16string_view text);
// Lines split at CR LF, a lone CR or a lone LF; a break at the very end adds no line.
StringList TextToStringList(std::u16string_view text);
std::u16string FirstLines(std::u16string_view text, int count, bool skipEmpty);
// Date-times are days since 1899-12-30 with the time of day as the fraction.
double CalendarDaySpan(double a, double b);

// The message-text tokens: "CRLF " becomes "CRLF", then every "CRLF" becomes CR LF.
std::u16string ExpandLineBreakTokens(std::u16string_view text);
// Every occurrence of what replaced by with, left to right.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view what,
                          std::u16string_view with);

} // namespace vp
