#pragma once
// The text forms of the values kept in the settings file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vp {

class IniDocument;

// Colour numbers are $00BBGGRR; system colours are $FF000000 plus the colour index.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor kSystemColorBase = 0xFF000000;

// Integers: decimal with an optional sign, or hexadecimal after "$", "0x" or "0X" (up to 32
// bits, taken as the two's complement). Anything else is no number.
std::u16string IntToIniText(std::int32_t value);
std::optional<std::int32_t> ParseIniInteger(std::u16string_view text);
std::int32_t IniTextToInt(std::u16string_view text, std::int32_t defaultValue);

// Booleans: "1" and "0"; read as an integer, anything but 0 is true.
std::u16string BoolToIniText(bool value);
bool IniTextToBool(std::u16string_view text, bool defaultValue);

// Floats: general format with 15 significant digits and the given decimal separator.
// Numbers from 1E-5 up to 15 integer digits are written without an exponent; others as
// mantissa, "E" and the exponent ("1.5E20", "2E-7"). Infinities and NaN are written as
// "INF", "-INF" and "NAN" and read back as no number.
std::u16string FloatToIniText(double value, char16_t decimalSeparator);
std::optional<double> ParseIniFloat(std::u16string_view text, char16_t decimalSeparator);
double IniTextToFloat(std::u16string_view text, char16_t decimalSeparator, double defaultValue);

// Dates: days since 1899-12-30; written as "YYYY-MM-DD" (the time of day is dropped), read
// from year-month-day with four year digits and one or two month and day digits. A date
// outside the years 1 to 9999 is written as an empty text.
std::u16string DateToIniText(double dateTime);
std::optional<double> ParseIniDate(std::u16string_view text);
double IniTextToDate(std::u16string_view text, double defaultValue);

// Colours: a colour's name when it has one, else "$" and 8 upper-case hex digits. Reading
// takes a name (a..z folded) or an integer as above; other text throws Error.
std::u16string ColorToIniText(TColor color);
std::optional<TColor> ColorFromName(std::u16string_view name);
std::optional<std::u16string> ColorName(TColor color);
TColor IniTextToColor(std::u16string_view text);

// A font as five keys after one key name K: K+"Name", K+"CharSet", K+"Color" (a decimal
// integer), K+"Size" (points) and K+"Style" (the bits below).
enum FontStyleBits : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
struct IniFont {
    std::u16string Name = u"Arial";
    int CharSet = 0;
    std::int32_t Color = 0;
    int Size = 8;
    int Style = 0;
    bool operator==(const IniFont&) const = default;
};
// Leaves font as it is and returns false when K+"Name" is missing; otherwise sets all five,
// each missing or unreadable one to its default ("Arial", 0, 0, 8, 0).
bool ReadIniFont(const IniDocument& doc, std::u16string_view section, std::u16string_view key,
                 IniFont& font);
void WriteIniFont(IniDocument& doc, std::u16string_view section, std::u16string_view key,
                  const IniFont& font);

} // namespace vp
