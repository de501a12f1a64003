#pragma once
// An INI document that follows the rules of the Windows profile functions:
// - section names and keys match with a..z folded; blanks around them are ignored;
// - the first of several sections (or keys in a section) with the same name wins;
// - a written key replaces its line where it stands, a new key goes after the last key of
//   its section, a new section goes to the end of the document;
// - a value is read without the blanks around it and without one pair of matching quotes
//   around the whole of it, and at most kMaxIniValueLength units of it are returned.
// Every line that is not a key or a section header (comments, lines without "=", text
// before the first section) is kept as it is. Line ends are CR LF, CR or LF on reading and
// CR LF on writing.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vp {

inline constexpr size_t kMaxIniValueLength = 2047;

// Space and tab.
bool IsIniBlank(char16_t c);
std::u16string_view TrimIniBlanks(std::u16string_view text);
// What a read returns for a stored value: trimmed, one pair of quotes removed, cut.
std::u16string IniValueAsRead(std::u16string_view stored);
// Names that can be written and found again (after trimming their blanks).
bool IsValidIniSection(std::u16string_view section);
bool IsValidIniKey(std::u16string_view key);

class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(std::u16string_view text);

    // The document as text, each line followed by CR LF.
    std::u16string Text() const;

    bool SectionExists(std::u16string_view section) const;
    bool ValueExists(std::u16string_view section, std::u16string_view key) const;
    // The value as read (see IniValueAsRead), or nothing when the key is missing.
    std::optional<std::u16string> Find(std::u16string_view section, std::u16string_view key) const;
    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const;
    // Throws Error for a section or key that could not be found again once written.
    // Line breaks inside the value become blanks so that it stays one line.
    void WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value);

    size_t LineCount() const { return lines_.size(); }

  private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::u16string text;
        Kind kind = Kind::Other;
        std::u16string name; // section name or key, trimmed
        size_t valueAt = 0;  // key lines: where the value starts in text
    };
    static Line ParseLine(std::u16string text);
    // Index of the first header of the section, or npos.
    size_t FindSection(std::u16string_view section) const;
    // Index of the key's line in the section that starts at header, or npos.
    size_t FindKey(size_t header, std::u16string_view key) const;

    std::vector<Line> lines_;
};

} // namespace vp
