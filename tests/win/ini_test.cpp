#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/app_name.h"
#include "core/encoding.h"
#include "core/errors.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/ini_file.h"
#include "platform/locale_settings.h"
#include "platform/wstr.h"
#include "test_support.h"

using namespace vp;
using test::ReadBytes;
using test::RemoveTree;
using test::WriteBytes;

namespace {

class IniFile : public ::testing::Test {
  protected:
    void SetUp() override {
        AppName = kProgramName;
        SetLocaleDecimalSeparator(u'.');
        folder = test::NewTempFolder(u"vp-ini-");
        CreateDirectoryW(W(folder), nullptr);
        path = folder + u"Test.ini";
    }
    void TearDown() override {
        RemoveTree(folder);
        AppName = kProgramName;
    }
    std::u16string folder, path;
    test::CaptureEffects fx;
};

TEST_F(IniFile, WritesSectionsAsUtf8AndReadsThemBack) {
    const std::u16string nested = folder + u"a\\b\\Settings.ini";
    {
        TVelmorIniFile ini(u"MainForm", nested);
        EXPECT_EQ(ini.FileName(), nested);
        EXPECT_TRUE(FolderExists(folder + u"a\\b\\")); // the folder is made at once,
        EXPECT_EQ(ReadBytes(nested), "<missing>");     // the file at the first write
        ini.WriteString(u"QRT/Soft", u"PathBackup", u"C:\\Caf\u00E9\\\u20AC.txt");
        ini.WriteInteger(u"QRT/Soft", u"spnOpacity", -5);
        ini.WriteBool(u"QRT/Soft", u"chkTrim", true);
        ini.Write(u"FormFont", IniFont{u"Tahoma", 1, 255, 10, fsItalic});
        ini.WriteColor(u"Shape", 0x000000FF);
        ini.WriteDate(u"Day", 43646.75);
        ini.WriteFloat(u"Velmor Pasquill", u"LastUpdate", 43831.75);
        ini.WriteBool(u"QRT/Soft", u"CHKTRIM", false); // replaced where it stands
    }
    EXPECT_EQ(ReadBytes(nested), "[QRT/Soft]\r\n"
                                 "PathBackup=C:\\Caf\xC3\xA9\\\xE2\x82\xAC.txt\r\n"
                                 "spnOpacity=-5\r\n"
                                 "CHKTRIM=0\r\n"
                                 "\r\n"
                                 "[MainForm]\r\n"
                                 "FormFontName=Tahoma\r\n"
                                 "FormFontCharSet=1\r\n"
                                 "FormFontColor=255\r\n"
                                 "FormFontSize=10\r\n"
                                 "FormFontStyle=2\r\n"
                                 "Shape=clRed\r\n"
                                 "Day=2019-06-30\r\n"
                                 "\r\n"
                                 "[Velmor Pasquill]\r\n"
                                 "LastUpdate=43831.75\r\n");

    TVelmorIniFile ini(u"mainform", nested);
    EXPECT_EQ(ini.ReadString(u"qrt/soft", u"pathbackup", u""), u"C:\\Caf\u00E9\\\u20AC.txt");
    EXPECT_EQ(ini.ReadInteger(u"QRT/Soft", u"spnOpacity", 0), -5);
    EXPECT_FALSE(ini.ReadBool(u"QRT/Soft", u"chkTrim", true));
    IniFont font;
    EXPECT_TRUE(ini.Read(u"FormFont", font));
    EXPECT_EQ(font, (IniFont{u"Tahoma", 1, 255, 10, fsItalic}));
    EXPECT_EQ(ini.ReadColor(u"Shape", 0), 0x000000FFu);
    EXPECT_EQ(ini.ReadDate(u"Day", 0), 43646.0);
    EXPECT_EQ(ini.ReadDateTime(u"ignored", u"Day", 0), 43646.0);
    EXPECT_EQ(ini.ReadFloat(u"Velmor Pasquill", u"LastUpdate", 0), 43831.75);
    EXPECT_TRUE(ini.ValueExists(u"Shape"));
    EXPECT_FALSE(ini.ValueExists(u"spnOpacity")); // that one is in another section
    EXPECT_EQ(ini.Read(u"Missing", u"def"), u"def");
    EXPECT_EQ(ini.Read(u"Missing", 7), 7);
    EXPECT_TRUE(ini.Read(u"Missing", true));
    EXPECT_EQ(ini.ReadColor(u"Missing", 0x123456), 0x123456u);
}

TEST_F(IniFile, HandEditedValuesReadAsTheRulesSay) {
    WriteBytes(path, "[S]\r\n"
                     "b2=2\r\n"
                     "byes=yes\r\n"
                     "hex1=0x1F\r\n"
                     "hex2=$1F\r\n"
                     "hex3=0x\r\n"
                     "padded =   text with blanks   \r\n"
                     "quoted=\" inner \"\r\n"
                     "long=" +
                         std::string(3000, 'L') +
                         "\r\n"
                         "date=30.06.2019\r\n"
                         "comma=1,5\r\n"
                         "badcolor=purpleish\r\n"
                         "FNameless=x\r\n"
                         "FSize=30\r\n");
    TVelmorIniFile ini(u"S", path);
    EXPECT_TRUE(ini.Read(u"b2", false));
    EXPECT_FALSE(ini.Read(u"byes", false));
    EXPECT_TRUE(ini.Read(u"byes", true));
    EXPECT_EQ(ini.Read(u"hex1", 0), 31);
    EXPECT_EQ(ini.Read(u"hex2", 0), 31);
    EXPECT_EQ(ini.Read(u"hex3", -1), -1);
    EXPECT_EQ(ini.Read(u"padded", u""), u"text with blanks");
    EXPECT_EQ(ini.Read(u"quoted", u""), u" inner ");
    EXPECT_EQ(ini.Read(u"long", u""), std::u16string(2047, u'L'));
    EXPECT_EQ(ini.ReadDate(u"date", 1.0), 1.0);
    EXPECT_EQ(ini.ReadFloat(u"comma", 2.5), 2.5); // a comma in a locale with a point
    EXPECT_THROW(ini.ReadColor(u"badcolor", 0), Error);
    IniFont font{u"Keep", 1, 2, 3, 4};
    EXPECT_FALSE(ini.Read(u"F", font));
    EXPECT_EQ(font.Name, u"Keep");
    EXPECT_EQ(font.Size, 3);
}

TEST_F(IniFile, FloatsFollowTheLocaleSeparator) {
    SetLocaleDecimalSeparator(u',');
    TVelmorIniFile(u"S", path).WriteFloat(u"f", 1.5);
    EXPECT_EQ(ReadBytes(path), "[S]\r\nf=1,5\r\n");
    EXPECT_EQ(TVelmorIniFile(u"S", path).ReadFloat(u"f", 0), 1.5);
    SetLocaleDecimalSeparator(u'.');
    EXPECT_EQ(TVelmorIniFile(u"S", path).ReadFloat(u"f", -1), -1);
}

TEST_F(IniFile, ReadsUtf16AndAnsiFilesAndKeepsTheirContentWhenWriting) {
    const std::u16string text = u"; \u00C4nderungen\r\n[S]\r\nname=Caf\u00E9 \u20AC\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : text)
        utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    WriteBytes(path, utf16);
    {
        TVelmorIniFile ini(u"S", path);
        EXPECT_EQ(ini.Read(u"name", u""), u"Caf\u00E9 \u20AC");
        ini.Write(u"new", u"1");
    }
    EXPECT_EQ(ReadBytes(path),
              ToUtf8(u"; \u00C4nderungen\r\n[S]\r\nname=Caf\u00E9 \u20AC\r\nnew=1\r\n"));

    // The 8-bit code page of this system (1252 here: E9 is é, 80 is €).
    const std::string ansi = "[S]\r\nname=Caf\xE9 \x80\r\n";
    ASSERT_EQ(DecodeAnsi(ansi), u"[S]\r\nname=Caf\u00E9 \u20AC\r\n") << "not code page 1252";
    WriteBytes(path, ansi);
    TVelmorIniFile ini(u"S", path);
    EXPECT_EQ(ini.Read(u"name", u""), u"Caf\u00E9 \u20AC");
    ini.Write(u"name", u"Tee");
    ini.Write(u"other", u"\u00E9");
    EXPECT_EQ(ReadBytes(path), "[S]\r\nname=Tee\r\nother=\xC3\xA9\r\n");
}

TEST_F(IniFile, SeesChangesMadeToTheFileByOthers) {
    TVelmorIniFile ini(u"S", path);
    ini.Write(u"k", u"1");
    WriteBytes(path, "[S]\r\nk=22\r\nj=3\r\n");
    EXPECT_EQ(ini.Read(u"k", 0), 22);
    ini.Write(u"k", u"4");
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=4\r\nj=3\r\n");
}

TEST_F(IniFile, FailedWritesRaiseTheIniError) {
    WriteBytes(path, "[S]\r\nk=1\r\n");
    SetFileAttributesW(W(path), FILE_ATTRIBUTE_READONLY);
    TVelmorIniFile ini(u"S", path);
    try {
        ini.Write(u"k", u"2");
        ADD_FAILURE() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), u"Unable to write to " + path);
    }
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=1\r\n");
    EXPECT_EQ(ini.Read(u"k", 0), 1); // the failed value is not kept in memory either
    SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);

    // A file that cannot be read gives the defaults and is never replaced.
    HANDLE lock = CreateFileW(W(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    TVelmorIniFile locked(u"S", path);
    EXPECT_EQ(locked.Read(u"k", 9), 9);
    EXPECT_THROW(locked.Write(u"other", u"x"), EIniFileException);
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=1\r\n");
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(IniFile, BatchedWritesReachTheFileOnceAtTheEnd) {
    {
        TVelmorIniFile ini(u"S", path);
        ini.BeginUpdate();
        ini.Write(u"a", 1);
        ini.BeginUpdate();
        ini.Write(u"b", u"two");
        ini.EndUpdate();
        EXPECT_EQ(ReadBytes(path), "<missing>");
        EXPECT_EQ(ini.Read(u"a", 0), 1); // reads see what is pending
        ini.EndUpdate();
        EXPECT_EQ(ReadBytes(path), "[S]\r\na=1\r\nb=two\r\n");
        ini.BeginUpdate();
        ini.Write(u"a", 3);
    } // left pending: written when the object ends
    EXPECT_EQ(ReadBytes(path), "[S]\r\na=3\r\nb=two\r\n");

    SetFileAttributesW(W(path), FILE_ATTRIBUTE_READONLY);
    TVelmorIniFile ini(u"S", path);
    ini.BeginUpdate();
    ini.Write(u"a", 4);
    EXPECT_THROW(ini.EndUpdate(), EIniFileException);
    EXPECT_EQ(ini.Read(u"a", 0), 3);
    SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(IniFile, ConstructorChecks) {
    // An empty name: a fault report, and the object still works.
    AppName = u"";
    {
        TVelmorIniFile ini(u"S", path);
        ini.Write(u"k", 5);
        EXPECT_EQ(ini.Read(u"k", 0), 5);
    }
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].caption, u"Error in TVelmorIniFile.Create");
    EXPECT_EQ(fx.boxes[0].text.substr(0, 18), u"AppName is empty!\r");
    fx.boxes.clear();

    // A name with a backslash: no object.
    AppName = u"a\\b";
    try {
        TVelmorIniFile ini(u"S", path);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), u"\"AppName\" cannot be a full path: a\\b");
    }
    EXPECT_TRUE(fx.boxes.empty());
    // Without a forced path the data folder refuses the name first.
    EXPECT_THROW(TVelmorIniFile ini(u"S"), AssertionFailure);
    AppName = kProgramName;

    // A folder that cannot be made: a fault report naming the file; writes then fail.
    wchar_t drive = L'Z';
    while (drive > L'D' && (GetLogicalDrives() & (1u << (drive - L'A'))))
        --drive;
    const std::u16string unreachable =
        std::u16string(1, static_cast<char16_t>(drive)) + u":\\Nowhere\\x.ini";
    TVelmorIniFile ini(u"S", unreachable);
    ASSERT_EQ(fx.boxes.size(), 1u);
    EXPECT_EQ(fx.boxes[0].caption, u"Error in TVelmorIniFile.Create");
    EXPECT_EQ(fx.boxes[0].text.substr(0, 22 + unreachable.size()),
              u"Cannot create folder: " + unreachable);
    EXPECT_THROW(ini.Write(u"k", 1), EIniFileException);

    // A folder that fails without an error (its parent is a file) shows nothing.
    fx.boxes.clear();
    WriteBytes(folder + u"plain", "x");
    TVelmorIniFile under(u"S", folder + u"plain\\sub\\x.ini");
    EXPECT_TRUE(fx.boxes.empty());
}

TEST_F(IniFile, FloatSettingsLiveInTheApplicationSection) {
    AppName = u"Velmor Pasquill IniTest";
    const std::u16string data = DataFolder();
    RemoveTree(data);
    EXPECT_EQ(LoadFloatSetting(u"LastUpdate", 0), 0);
    EXPECT_TRUE(FolderExists(data)); // made by the object, though nothing was written
    StoreFloatSetting(u"LastUpdate", 44000.5);
    EXPECT_EQ(ReadBytes(IniFilePath()), "[Velmor Pasquill IniTest]\r\nLastUpdate=44000.5\r\n");
    EXPECT_EQ(LoadFloatSetting(u"LastUpdate", 0), 44000.5);
    RemoveTree(data);
}

} // namespace
