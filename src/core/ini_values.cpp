#include "core/ini_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

#include "core/errors.h"
#include "core/ini.h"
#include "core/int_text.h"
#include "core/text.h"

namespace vp {

namespace {

std::u16string Ascii(std::string_view s) {
    return std::u16string(s.begin(), s.end());
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

// ---- integers and booleans ----

std::u16string IntToIniText(std::int32_t value) {
    return IntToText(value);
}

std::optional<std::int32_t> ParseIniInteger(std::u16string_view t) {
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    std::uint64_t magnitude = 0;
    if (i < t.size() && (t[i] == u'$' || (t.size() - i > 2 && t[i] == u'0' &&
                                          (t[i + 1] == u'x' || t[i + 1] == u'X')))) {
        i += t[i] == u'$' ? 1 : 2;
        if (i == t.size())
            return std::nullopt;
        for (; i < t.size(); ++i) {
            const int d = HexDigit(t[i]);
            if (d < 0)
                return std::nullopt;
            magnitude = magnitude * 16 + static_cast<unsigned>(d);
            if (magnitude > 0xFFFFFFFFu)
                return std::nullopt;
        }
        // Hexadecimal fills all 32 bits: $FFFFFFFF is -1.
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative)
            bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    if (i == t.size())
        return std::nullopt;
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    for (; i < t.size(); ++i) {
        if (!IsDigit(t[i]))
            return std::nullopt;
        magnitude = magnitude * 10 + (t[i] - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    const auto m = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -m : m);
}

std::int32_t IniTextToInt(std::u16string_view text, std::int32_t defaultValue) {
    return ParseIniInteger(text).value_or(defaultValue);
}

std::u16string BoolToIniText(bool value) {
    return value ? u"1" : u"0";
}

bool IniTextToBool(std::u16string_view text, bool defaultValue) {
    return IniTextToInt(text, defaultValue ? 1 : 0) != 0;
}

// ---- floats ----

std::u16string FloatToIniText(double value, char16_t decimalSeparator) {
    if (std::isnan(value))
        return u"NAN";
    if (std::isinf(value))
        return value < 0 ? u"-INF" : u"INF";
    if (value == 0)
        return u"0";
    // 15 significant digits: d.dddddddddddddde+XX
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
    const bool negative = sci.front() == '-';
    const size_t ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (c >= '0' && c <= '9')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(),
                    exponent);

    std::u16string out = negative ? u"-" : u"";
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += u'0';
            out += decimalSeparator;
            out.append(static_cast<size_t>(-exponent - 1), u'0');
            out += Ascii(digits);
        } else {
            const size_t intDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += Ascii(digits);
                out.append(intDigits - digits.size(), u'0');
            } else {
                out += Ascii(std::string_view(digits).substr(0, intDigits));
                out += decimalSeparator;
                out += Ascii(std::string_view(digits).substr(intDigits));
            }
        }
        return out;
    }
    out += static_cast<char16_t>(digits[0]);
    if (digits.size() > 1) {
        out += decimalSeparator;
        out += Ascii(std::string_view(digits).substr(1));
    }
    out += u'E';
    out += Ascii(std::to_string(exponent));
    return out;
}

std::optional<double> ParseIniFloat(std::u16string_view text, char16_t decimalSeparator) {
    const std::u16string_view t = TrimIniBlanks(text);
    // Rebuilt in the C form so that the conversion does not depend on any locale.
    std::string s;
    s.reserve(t.size());
    size_t i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            s += '-';
        ++i;
    }
    size_t mantissaDigits = 0;
    for (; i < t.size() && IsDigit(t[i]); ++i, ++mantissaDigits)
        s += static_cast<char>(t[i]);
    if (i < t.size() && t[i] == decimalSeparator) {
        s += '.';
        for (++i; i < t.size() && IsDigit(t[i]); ++i, ++mantissaDigits)
            s += static_cast<char>(t[i]);
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        s += 'e';
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            s += static_cast<char>(t[i++]);
        const size_t start = i;
        for (; i < t.size() && IsDigit(t[i]); ++i)
            s += static_cast<char>(t[i]);
        if (i == start)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), value);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double IniTextToFloat(std::u16string_view text, char16_t decimalSeparator, double defaultValue) {
    return ParseIniFloat(text, decimalSeparator).value_or(defaultValue);
}

// ---- dates ----

namespace {

// Days from 1899-12-30 to the given day of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468 + 25569;
}

void CivilFromDays(std::int64_t z, int& year, unsigned& month, unsigned& day) {
    z += 719468 - 25569;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

unsigned DaysInMonth(int year, unsigned month) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

constexpr double kFirstDay = -693593; // 0001-01-01
constexpr double kLastDay = 2958465;  // 9999-12-31

} // namespace

std::u16string DateToIniText(double dateTime) {
    if (!std::isfinite(dateTime))
        return {};
    const double day = std::trunc(dateTime);
    if (day < kFirstDay || day > kLastDay)
        return {};
    int y;
    unsigned m, d;
    CivilFromDays(static_cast<std::int64_t>(day), y, m, d);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", y, m, d);
    return Ascii(buf);
}

std::optional<double> ParseIniDate(std::u16string_view text) {
    const std::u16string_view t = TrimIniBlanks(text);
    unsigned parts[3] = {};
    size_t i = 0;
    for (int p = 0; p < 3; ++p) {
        if (p > 0) {
            if (i >= t.size() || t[i] != u'-')
                return std::nullopt;
            ++i;
        }
        const size_t start = i;
        for (; i < t.size() && IsDigit(t[i]) && i - start < 4; ++i)
            parts[p] = parts[p] * 10 + (t[i] - u'0');
        const size_t n = i - start;
        if (p == 0 ? n != 4 : (n < 1 || n > 2))
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    const int y = static_cast<int>(parts[0]);
    const unsigned m = parts[1], d = parts[2];
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
        return std::nullopt;
    return static_cast<double>(DaysFromCivil(y, m, d));
}

double IniTextToDate(std::u16string_view text, double defaultValue) {
    return ParseIniDate(text).value_or(defaultValue);
}

// ---- colours ----

namespace {

struct NamedColor {
    const char16_t* name;
    TColor value;
};

constexpr TColor Sys(unsigned index) {
    return kSystemColorBase + index;
}

constexpr NamedColor kColors[] = {
    {u"clBlack", 0x00000000},
    {u"clMaroon", 0x00000080},
    {u"clGreen", 0x00008000},
    {u"clOlive", 0x00008080},
    {u"clNavy", 0x00800000},
    {u"clPurple", 0x00800080},
    {u"clTeal", 0x00808000},
    {u"clGray", 0x00808080},
    {u"clSilver", 0x00C0C0C0},
    {u"clRed", 0x000000FF},
    {u"clLime", 0x0000FF00},
    {u"clYellow", 0x0000FFFF},
    {u"clBlue", 0x00FF0000},
    {u"clFuchsia", 0x00FF00FF},
    {u"clAqua", 0x00FFFF00},
    {u"clWhite", 0x00FFFFFF},
    {u"clMoneyGreen", 0x00C0DCC0},
    {u"clSkyBlue", 0x00F0CAA6},
    {u"clCream", 0x00F0FBFF},
    {u"clMedGray", 0x00A4A0A0},
    {u"clScrollBar", Sys(0)},
    {u"clBackground", Sys(1)},
    {u"clActiveCaption", Sys(2)},
    {u"clInactiveCaption", Sys(3)},
    {u"clMenu", Sys(4)},
    {u"clWindow", Sys(5)},
    {u"clWindowFrame", Sys(6)},
    {u"clMenuText", Sys(7)},
    {u"clWindowText", Sys(8)},
    {u"clCaptionText", Sys(9)},
    {u"clActiveBorder", Sys(10)},
    {u"clInactiveBorder", Sys(11)},
    {u"clAppWorkSpace", Sys(12)},
    {u"clHighlight", Sys(13)},
    {u"clHighlightText", Sys(14)},
    {u"clBtnFace", Sys(15)},
    {u"clBtnShadow", Sys(16)},
    {u"clGrayText", Sys(17)},
    {u"clBtnText", Sys(18)},
    {u"clInactiveCaptionText", Sys(19)},
    {u"clBtnHighlight", Sys(20)},
    {u"cl3DDkShadow", Sys(21)},
    {u"cl3DLight", Sys(22)},
    {u"clInfoText", Sys(23)},
    {u"clInfoBk", Sys(24)},
    {u"clHotLight", Sys(26)},
    {u"clGradientActiveCaption", Sys(27)},
    {u"clGradientInactiveCaption", Sys(28)},
    {u"clMenuHighlight", Sys(29)},
    {u"clMenuBar", Sys(30)},
    {u"clNone", clNone},
    {u"clDefault", clDefault},
};
static_assert(std::size(kColors) == 52);

} // namespace

std::optional<TColor> ColorFromName(std::u16string_view name) {
    for (const auto& c : kColors)
        if (SameTextAscii(c.name, name))
            return c.value;
    return std::nullopt;
}

std::optional<std::u16string> ColorName(TColor color) {
    for (const auto& c : kColors)
        if (c.value == color)
            return std::u16string(c.name);
    return std::nullopt;
}

std::u16string ColorToIniText(TColor color) {
    if (auto name = ColorName(color))
        return *name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(color));
    return Ascii(buf);
}

TColor IniTextToColor(std::u16string_view text) {
    if (auto named = ColorFromName(text))
        return *named;
    if (auto number = ParseIniInteger(text))
        return static_cast<TColor>(*number);
    throw Error(u"'" + std::u16string(text) + u"' is not a valid integer value");
}

// ---- fonts ----

bool ReadIniFont(const IniDocument& doc, std::u16string_view section, std::u16string_view key,
                 IniFont& font) {
    const std::u16string k(key);
    if (!doc.ValueExists(section, k + u"Name"))
        return false;
    const IniFont defaults;
    auto readInt = [&](const char16_t* suffix, std::int32_t def) {
        return IniTextToInt(doc.ReadString(section, k + suffix, u""), def);
    };
    font.Name = doc.ReadString(section, k + u"Name", defaults.Name);
    font.CharSet = readInt(u"CharSet", defaults.CharSet);
    font.Color = readInt(u"Color", defaults.Color);
    font.Size = readInt(u"Size", defaults.Size);
    // Only the four style bits mean anything.
    font.Style =
        readInt(u"Style", defaults.Style) & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    return true;
}

void WriteIniFont(IniDocument& doc, std::u16string_view section, std::u16string_view key,
                  const IniFont& font) {
    const std::u16string k(key);
    doc.WriteString(section, k + u"Name", font.Name);
    doc.WriteString(section, k + u"CharSet", IntToIniText(font.CharSet));
    doc.WriteString(section, k + u"Color", IntToIniText(font.Color));
    doc.WriteString(section, k + u"Size", IntToIniText(font.Size));
    doc.WriteString(section, k + u"Style", IntToIniText(font.Style));
}

} // namespace vp
