#pragma once
// The settings file: an INI file read and written like the Windows profile functions do,
// stored as UTF-8.
#include <cstdint>
#include <optional>
#include <string>

#include "core/errors.h"
#include "core/ini.h"
#include "core/ini_values.h"

namespace vp {

// A write to the INI file failed; the message is "Unable to write to " and the path.
class EIniFileException : public Error {
  public:
    using Error::Error;
};

class TVelmorIniFile {
  public:
    // An empty ForcedPath means IniFilePath(). Makes the file's folder, not the file.
    explicit TVelmorIniFile(const std::u16string& SectionName,
                            const std::u16string& ForcedPath = {});
    virtual ~TVelmorIniFile();
    TVelmorIniFile(const TVelmorIniFile&) = delete;
    TVelmorIniFile& operator=(const TVelmorIniFile&) = delete;

    const std::u16string& FileName() const { return FFileName; }

    // Between BeginUpdate and the matching EndUpdate, writes are kept in memory and reads see
    // them; EndUpdate then replaces the file once (raising EIniFileException on failure), so
    // that a whole window's state costs one file write rather than one per key. Pending
    // writes left when the object ends are written then, a failure going to the debugger
    // output.
    void BeginUpdate();
    void EndUpdate();
    const std::u16string& Section() const { return FSection; }

    // Operations on any section.
    std::u16string ReadString(const std::u16string& Section, const std::u16string& Ident,
                              const std::u16string& Default);
    void WriteString(const std::u16string& Section, const std::u16string& Ident,
                     const std::u16string& Value);
    std::int32_t ReadInteger(const std::u16string& Section, const std::u16string& Ident,
                             std::int32_t Default);
    void WriteInteger(const std::u16string& Section, const std::u16string& Ident,
                      std::int32_t Value);
    bool ReadBool(const std::u16string& Section, const std::u16string& Ident, bool Default);
    void WriteBool(const std::u16string& Section, const std::u16string& Ident, bool Value);
    double ReadFloat(const std::u16string& Section, const std::u16string& Ident, double Default);
    void WriteFloat(const std::u16string& Section, const std::u16string& Ident, double Value);
    bool ValueExists(const std::u16string& Section, const std::u16string& Ident);

    // Operations on FSection.
    std::u16string Read(const std::u16string& Ident, const std::u16string& Default);
    std::u16string Read(const std::u16string& Ident, const char16_t* Default);
    bool Read(const std::u16string& Ident, bool Default);
    std::int32_t Read(const std::u16string& Ident, std::int32_t Default);
    void Write(const std::u16string& Ident, const std::u16string& Value);
    void Write(const std::u16string& Ident, const char16_t* Value);
    void Write(const std::u16string& Ident, bool Value);
    void Write(const std::u16string& Ident, std::int32_t Value);
    // Dates are days since 1899-12-30; only the day is stored.
    double ReadDate(const std::u16string& Ident, double Default);
    void WriteDate(const std::u16string& Ident, double Value);
    // Section is ignored: FSection is used.
    double ReadDateTime(const std::u16string& Section, const std::u16string& Name, double Default);
    bool ValueExists(const std::u16string& Ident);
    // False, and the font untouched, when Ident+"Name" is missing.
    bool Read(const std::u16string& Ident, IniFont& Font);
    void Write(const std::u16string& Ident, const IniFont& Font);
    double ReadFloat(const std::u16string& Ident, double Default);
    void WriteFloat(const std::u16string& Ident, double Value);
    // Throws Error for text that is neither a colour name nor a number.
    TColor ReadColor(const std::u16string& Ident, TColor Default);
    void WriteColor(const std::u16string& Ident, TColor Value);

  protected:
    std::u16string FSection;

  private:
    struct Stamp {
        bool exists = false;
        std::uint64_t writeTime = 0, size = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp CurrentStamp() const;
    // The document as the file holds it now; read again only when the file has changed.
    const IniDocument& Document();
    // After a change to doc_: to the file now, or at EndUpdate.
    void Commit();
    void Save();

    std::u16string FFileName;
    IniDocument doc_;
    std::optional<Stamp> loaded_;
    bool unreadable_ = false;
    int updateDepth_ = 0;
    bool dirty_ = false;
};

// One-call helpers on section AppName of the default INI file.
void StoreFloatSetting(const std::u16string& Ident, double Value);
double LoadFloatSetting(const std::u16string& Ident, double Default);

} // namespace vp
