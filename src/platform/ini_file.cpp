#include "platform/ini_file.h"

#include <windows.h>

#include "core/app_name.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/locale_settings.h"
#include "platform/messages.h"
#include "platform/wstr.h"

namespace vp {

namespace {
constexpr char16_t kPlace[] = u"TVelmorIniFile.Create";
}

TVelmorIniFile::TVelmorIniFile(const std::u16string& SectionName,
                               const std::u16string& ForcedPath) {
    FFileName = ForcedPath.empty() ? IniFilePath() : ForcedPath;
    if (FFileName.empty())
        ShowFaultReport(u"Path for INI file is empty!", kPlace);
    if (AppName.empty())
        ShowFaultReport(u"AppName is empty!", kPlace);
    try {
        EnsureFolder(FolderOf(FFileName, true));
    } catch (...) {
        ShowFaultReport(u"Cannot create folder: " + FFileName, kPlace);
    }
    if (AppName.find(u'\\') != std::u16string::npos)
        throw Error(u"\"AppName\" cannot be a full path: " + AppName);
    FSection = SectionName;
}

TVelmorIniFile::~TVelmorIniFile() {
    if (!dirty_)
        return;
    try {
        Save();
    } catch (const Error& e) {
        OutputDebugStringW(W(e.Message() + u"\t"));
    }
}

void TVelmorIniFile::BeginUpdate() {
    ++updateDepth_;
}

void TVelmorIniFile::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0 && dirty_)
        Save();
}

TVelmorIniFile::Stamp TVelmorIniFile::CurrentStamp() const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (FFileName.empty() || !GetFileAttributesExW(W(FFileName), GetFileExInfoStandard, &data))
        return {};
    Stamp s;
    s.exists = true;
    s.writeTime = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                  data.ftLastWriteTime.dwLowDateTime;
    s.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return s;
}

const IniDocument& TVelmorIniFile::Document() {
    if (dirty_)
        return doc_;
    const Stamp now = CurrentStamp();
    if (loaded_ && *loaded_ == now)
        return doc_;
    doc_ = IniDocument();
    unreadable_ = false;
    if (now.exists) {
        try {
            doc_ = IniDocument(ReadTextFile(FFileName));
        } catch (...) {
            // Reads give their defaults, as the profile functions do; writes must not
            // replace a file whose content is unknown.
            unreadable_ = true;
        }
    }
    loaded_ = now;
    return doc_;
}

void TVelmorIniFile::Commit() {
    if (updateDepth_ > 0 && !unreadable_)
        dirty_ = true;
    else
        Save();
}

void TVelmorIniFile::Save() {
    dirty_ = false;
    try {
        if (unreadable_ || FFileName.empty())
            throw Error(FFileName);
        WriteTextFile(FFileName, doc_.Text(), true, false);
        loaded_ = CurrentStamp();
    } catch (...) {
        loaded_.reset();
        throw EIniFileException(u"Unable to write to " + FFileName);
    }
}

// ---- any section ----

std::u16string TVelmorIniFile::ReadString(const std::u16string& Section,
                                          const std::u16string& Ident,
                                          const std::u16string& Default) {
    return Document().ReadString(Section, Ident, Default);
}

void TVelmorIniFile::WriteString(const std::u16string& Section, const std::u16string& Ident,
                                 const std::u16string& Value) {
    Document();
    doc_.WriteString(Section, Ident, Value);
    Commit();
}

std::int32_t TVelmorIniFile::ReadInteger(const std::u16string& Section, const std::u16string& Ident,
                                         std::int32_t Default) {
    const auto text = Document().Find(Section, Ident);
    return text ? IniTextToInt(*text, Default) : Default;
}

void TVelmorIniFile::WriteInteger(const std::u16string& Section, const std::u16string& Ident,
                                  std::int32_t Value) {
    WriteString(Section, Ident, IntToIniText(Value));
}

bool TVelmorIniFile::ReadBool(const std::u16string& Section, const std::u16string& Ident,
                              bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TVelmorIniFile::WriteBool(const std::u16string& Section, const std::u16string& Ident,
                               bool Value) {
    WriteString(Section, Ident, BoolToIniText(Value));
}

double TVelmorIniFile::ReadFloat(const std::u16string& Section, const std::u16string& Ident,
                                 double Default) {
    const auto text = Document().Find(Section, Ident);
    return text ? IniTextToFloat(*text, LocaleDecimalSeparator(), Default) : Default;
}

void TVelmorIniFile::WriteFloat(const std::u16string& Section, const std::u16string& Ident,
                                double Value) {
    WriteString(Section, Ident, FloatToIniText(Value, LocaleDecimalSeparator()));
}

bool TVelmorIniFile::ValueExists(const std::u16string& Section, const std::u16string& Ident) {
    return Document().ValueExists(Section, Ident);
}

// ---- FSection ----

std::u16string TVelmorIniFile::Read(const std::u16string& Ident, const std::u16string& Default) {
    return ReadString(FSection, Ident, Default);
}

std::u16string TVelmorIniFile::Read(const std::u16string& Ident, const char16_t* Default) {
    return ReadString(FSection, Ident, Default ? Default : u"");
}

bool TVelmorIniFile::Read(const std::u16string& Ident, bool Default) {
    return ReadBool(FSection, Ident, Default);
}

std::int32_t TVelmorIniFile::Read(const std::u16string& Ident, std::int32_t Default) {
    return ReadInteger(FSection, Ident, Default);
}

void TVelmorIniFile::Write(const std::u16string& Ident, const std::u16string& Value) {
    WriteString(FSection, Ident, Value);
}

void TVelmorIniFile::Write(const std::u16string& Ident, const char16_t* Value) {
    WriteString(FSection, Ident, Value ? Value : u"");
}

void TVelmorIniFile::Write(const std::u16string& Ident, bool Value) {
    WriteBool(FSection, Ident, Value);
}

void TVelmorIniFile::Write(const std::u16string& Ident, std::int32_t Value) {
    WriteInteger(FSection, Ident, Value);
}

double TVelmorIniFile::ReadDate(const std::u16string& Ident, double Default) {
    const auto text = Document().Find(FSection, Ident);
    return text ? IniTextToDate(*text, Default) : Default;
}

void TVelmorIniFile::WriteDate(const std::u16string& Ident, double Value) {
    WriteString(FSection, Ident, DateToIniText(Value));
}

double TVelmorIniFile::ReadDateTime(const std::u16string&, const std::u16string& Name,
                                    double Default) {
    return ReadDate(Name, Default);
}

bool TVelmorIniFile::ValueExists(const std::u16string& Ident) {
    return ValueExists(FSection, Ident);
}

bool TVelmorIniFile::Read(const std::u16string& Ident, IniFont& Font) {
    return ReadIniFont(Document(), FSection, Ident, Font);
}

void TVelmorIniFile::Write(const std::u16string& Ident, const IniFont& Font) {
    Document();
    WriteIniFont(doc_, FSection, Ident, Font);
    Commit();
}

double TVelmorIniFile::ReadFloat(const std::u16string& Ident, double Default) {
    return ReadFloat(FSection, Ident, Default);
}

void TVelmorIniFile::WriteFloat(const std::u16string& Ident, double Value) {
    WriteFloat(FSection, Ident, Value);
}

TColor TVelmorIniFile::ReadColor(const std::u16string& Ident, TColor Default) {
    const auto text = Document().Find(FSection, Ident);
    return text ? IniTextToColor(*text) : Default;
}

void TVelmorIniFile::WriteColor(const std::u16string& Ident, TColor Value) {
    WriteString(FSection, Ident, ColorToIniText(Value));
}

// ---- one-call helpers ----

void StoreFloatSetting(const std::u16string& Ident, double Value) {
    TVelmorIniFile ini(AppName);
    ini.WriteFloat(Ident, Value);
}

double LoadFloatSetting(const std::u16string& Ident, double Default) {
    TVelmorIniFile ini(AppName);
    return ini.ReadFloat(Ident, Default);
}

} // namespace vp
