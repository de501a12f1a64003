#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/encoding.h"
#include "core/errors.h"
#include "core/ini.h"
#include "core/ini_values.h"

using namespace vp;

namespace {
std::string Utf8(std::u16string_view s) {
    return ToUtf8(s);
}
} // namespace

TEST(IniValues, Integers) {
    struct Case {
        std::u16string text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {u"0", 0},
        {u"42", 42},
        {u"-42", -42},
        {u"+7", 7},
        {u"0x1F", 31},
        {u"0X1f", 31},
        {u"$1F", 31},
        {u"$1f", 31},
        {u"-$10", -16},
        {u"$FFFFFFFF", -1},
        {u"$00000000FF", 255},
        {u"2147483647", 2147483647},
        {u"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {u"2147483648", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"$100000000", std::nullopt},
        {u"0x", std::nullopt},
        {u"$", std::nullopt},
        {u"0x1G", std::nullopt},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u"12a", std::nullopt},
        {u"1.0", std::nullopt},
        {u"yes", std::nullopt},
        {u"\uFF11", std::nullopt}, // a full-width digit is no digit
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseIniInteger(c.text), c.value) << Utf8(c.text);
    EXPECT_EQ(IniTextToInt(u"junk", 5), 5);
    for (std::int32_t v : {0, 1, -1, 2147483647, -2147483647 - 1})
        EXPECT_EQ(ParseIniInteger(IntToIniText(v)), v);
    EXPECT_EQ(IntToIniText(-12), u"-12");
}

TEST(IniValues, Booleans) {
    EXPECT_EQ(BoolToIniText(true), u"1");
    EXPECT_EQ(BoolToIniText(false), u"0");
    struct Case {
        std::u16string text;
        bool def, value;
    };
    const Case cases[] = {
        {u"1", false, true},  {u"0", true, false},  {u"2", false, true},
        {u"-1", false, true}, {u"$0", true, false}, {u"yes", false, false},
        {u"yes", true, true}, {u"", true, true},    {u"true", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniTextToBool(c.text, c.def), c.value) << Utf8(c.text) << " def " << c.def;
}

TEST(IniValues, FloatsAreWrittenInGeneralFormat) {
    struct Case {
        double value;
        std::u16string point, comma;
    };
    const Case cases[] = {
        {1.5, u"1.5", u"1,5"},
        {0, u"0", u"0"},
        {-0.0, u"0", u"0"},
        {-2.25, u"-2.25", u"-2,25"},
        {43831.75, u"43831.75", u"43831,75"},
        {0.1, u"0.1", u"0,1"},
        {1.0 / 3, u"0.333333333333333", u"0,333333333333333"},
        {100, u"100", u"100"},
        {123456789012345, u"123456789012345", u"123456789012345"},
        {1234567890123456, u"1.23456789012346E15", u"1,23456789012346E15"},
        {1e20, u"1E20", u"1E20"},
        {0.00001, u"0.00001", u"0,00001"},
        {0.000001234, u"1.234E-6", u"1,234E-6"},
        {std::numeric_limits<double>::infinity(), u"INF", u"INF"},
        {-std::numeric_limits<double>::infinity(), u"-INF", u"-INF"},
        {std::nan(""), u"NAN", u"NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloatToIniText(c.value, u'.'), c.point) << c.value;
        EXPECT_EQ(FloatToIniText(c.value, u','), c.comma) << c.value;
    }
}

TEST(IniValues, FloatsAreReadWithTheSameSeparator) {
    struct Case {
        std::u16string text;
        char16_t separator;
        std::optional<double> value;
    };
    const Case cases[] = {
        {u"1.5", u'.', 1.5},
        {u"1,5", u',', 1.5},
        {u"1,5", u'.', std::nullopt}, // written with a comma, read with a point
        {u"1.5", u',', std::nullopt},
        {u"-2", u'.', -2.0},
        {u"+.5", u'.', 0.5},
        {u"5.", u'.', 5.0},
        {u"1E20", u'.', 1e20},
        {u"1,5e-3", u',', 0.0015},
        {u"2E+2", u'.', 200.0},
        {u" 3.0 ", u'.', 3.0},
        {u"", u'.', std::nullopt},
        {u".", u'.', std::nullopt},
        {u"1E", u'.', std::nullopt},
        {u"1e999", u'.', std::nullopt},
        {u"1.79769313486232E308", u'.', std::nullopt}, // the largest double, rounded up
        {u"INF", u'.', std::nullopt},
        {u"NAN", u'.', std::nullopt},
        {u"0x10", u'.', std::nullopt},
        {u"1 000", u'.', std::nullopt},
        {u"1.2.3", u'.', std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseIniFloat(c.text, c.separator), c.value) << Utf8(c.text);
    EXPECT_EQ(IniTextToFloat(u"x", u'.', 7.5), 7.5);
    // What is written reads back as the value rounded to 15 digits.
    for (double v : {43831.123456789, -1e-7, 1.7e308, 5e-324, 12345.678}) {
        for (char16_t sep : {u'.', u','}) {
            const auto back = ParseIniFloat(FloatToIniText(v, sep), sep);
            ASSERT_TRUE(back.has_value()) << v;
            EXPECT_NEAR(*back / v, 1.0, 1e-14) << v;
        }
    }
}

TEST(IniValues, Dates) {
    struct Case {
        double value;
        std::u16string text;
    };
    const Case written[] = {
        {0, u"1899-12-30"},     {43646, u"2019-06-30"},   {43646.99, u"2019-06-30"},
        {-1.25, u"1899-12-29"}, {2, u"1900-01-01"},       {60, u"1900-02-28"},
        {61, u"1900-03-01"},    {-693593, u"0001-01-01"}, {2958465, u"9999-12-31"},
        {43890, u"2020-02-29"}, {2958466, u""},           {-693594, u""},
        {std::nan(""), u""},
    };
    for (const auto& c : written)
        EXPECT_EQ(DateToIniText(c.value), c.text) << c.value;

    struct ReadCase {
        std::u16string text;
        std::optional<double> value;
    };
    const ReadCase read[] = {
        {u"2019-06-30", 43646.0},
        {u"2019-6-30", 43646.0},
        {u"2020-02-29", 43890.0},
        {u"1899-12-30", 0.0},
        {u"0001-01-01", -693593.0},
        {u"30.06.2019", std::nullopt},
        {u"2019/06/30", std::nullopt},
        {u"2019-02-29", std::nullopt},
        {u"1900-02-29", std::nullopt},
        {u"2019-13-01", std::nullopt},
        {u"2019-00-10", std::nullopt},
        {u"2019-06-31", std::nullopt},
        {u"0000-01-01", std::nullopt},
        {u"19-06-30", std::nullopt},
        {u"2019-06-30 12:00", std::nullopt},
        {u"2019-06", std::nullopt},
        {u"2019-006-30", std::nullopt},
        {u"", std::nullopt},
    };
    for (const auto& c : read)
        EXPECT_EQ(ParseIniDate(c.text), c.value) << Utf8(c.text);
    EXPECT_EQ(IniTextToDate(u"bad", 12.5), 12.5);
}

TEST(IniValues, ColourNamesAndNumbers) {
    struct Case {
        TColor color;
        std::u16string text;
    };
    const Case cases[] = {
        {0x00000000, u"clBlack"},      {0x000000FF, u"clRed"},     {0x00FF0000, u"clBlue"},
        {0x00F0CAA6, u"clSkyBlue"},    {0x00A4A0A0, u"clMedGray"}, {0xFF000000, u"clScrollBar"},
        {0xFF000008, u"clWindowText"}, {0xFF000018, u"clInfoBk"},  {0xFF00001A, u"clHotLight"},
        {0xFF00001E, u"clMenuBar"},    {0x1FFFFFFF, u"clNone"},    {0x20000000, u"clDefault"},
        {0xFF000019, u"$FF000019"}, // index 25 has no name
        {0xFF00001F, u"$FF00001F"},    {0x00123456, u"$00123456"}, {0x00ABCDEF, u"$00ABCDEF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToIniText(c.color), c.text) << std::hex << c.color;
        EXPECT_EQ(IniTextToColor(c.text), c.color) << Utf8(c.text);
    }
    EXPECT_EQ(IniTextToColor(u"CLRED"), 0x000000FFu);
    EXPECT_EQ(IniTextToColor(u"clwindowtext"), 0xFF000008u);
    EXPECT_EQ(IniTextToColor(u"255"), 0x000000FFu);
    EXPECT_EQ(IniTextToColor(u"-16777208"), 0xFF000008u);
    EXPECT_EQ(IniTextToColor(u"0xFF"), 0x000000FFu);
    for (const char16_t* bad : {u"red", u"", u"cl", u"$", u"12px"}) {
        try {
            IniTextToColor(bad);
            ADD_FAILURE() << Utf8(bad);
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), u"'" + std::u16string(bad) + u"' is not a valid integer value");
        }
    }
}

TEST(IniValues, AllFiftyTwoColourNamesRoundTrip) {
    int named = 0;
    const TColor candidates[] = {0x1FFFFFFF, 0x20000000};
    for (TColor c = 0xFF000000; c <= 0xFF00001F; ++c)
        named += ColorName(c).has_value();
    for (TColor c : candidates)
        named += ColorName(c).has_value();
    for (TColor c : {0x000000u, 0x80u,     0x8000u,   0x8080u,   0x800000u, 0x800080u, 0x808000u,
                     0x808080u, 0xC0C0C0u, 0xFFu,     0xFF00u,   0xFFFFu,   0xFF0000u, 0xFF00FFu,
                     0xFFFF00u, 0xFFFFFFu, 0xC0DCC0u, 0xF0CAA6u, 0xF0FBFFu, 0xA4A0A0u}) {
        auto name = ColorName(c);
        ASSERT_TRUE(name) << std::hex << c;
        EXPECT_EQ(ColorFromName(*name), c);
        ++named;
    }
    EXPECT_EQ(named, 52);
}

TEST(IniValues, FontsAreFiveKeysReadOnlyWithTheirName) {
    IniDocument doc;
    IniFont written{u"Segoe UI", 1, -16777208, 11, fsBold | fsUnderline};
    WriteIniFont(doc, u"MainForm", u"FormFont", written);
    EXPECT_EQ(doc.Text(), u"[MainForm]\r\n"
                          u"FormFontName=Segoe UI\r\n"
                          u"FormFontCharSet=1\r\n"
                          u"FormFontColor=-16777208\r\n"
                          u"FormFontSize=11\r\n"
                          u"FormFontStyle=5\r\n");
    IniFont read;
    EXPECT_TRUE(ReadIniFont(doc, u"MainForm", u"FormFont", read));
    EXPECT_EQ(read, written);

    // Without the name key the font is left alone, even with the other four present.
    IniDocument noName(u"[W]\r\nFCharSet=2\r\nFColor=255\r\nFSize=20\r\nFStyle=2\r\n");
    IniFont untouched{u"Tahoma", 3, 4, 5, 6};
    EXPECT_FALSE(ReadIniFont(noName, u"W", u"F", untouched));
    EXPECT_EQ(untouched, (IniFont{u"Tahoma", 3, 4, 5, 6}));

    // With the name, missing or unreadable keys take the defaults.
    IniDocument partial(u"[W]\r\nFName=Courier\r\nFSize=big\r\nFStyle=255\r\n");
    IniFont f{u"Tahoma", 3, 4, 5, 6};
    EXPECT_TRUE(ReadIniFont(partial, u"W", u"F", f));
    EXPECT_EQ(f, (IniFont{u"Courier", 0, 0, 8, 15}));
}
