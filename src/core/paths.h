#pragma once
// Windows path-string rules, free of any file-system access.
#include <string>
#include <string_view>
#include <vector>

namespace vp {

// Members of the character sets that the path checks use.
bool IsForbiddenPathChar(char16_t c);       // " * / < > ? |
bool IsFileNameReplacementChar(char16_t c); // " * / : < > ? \ | and below U+0020
bool IsInvalidFileNameChar(char16_t c);     // U+0000..U+001F " * / : < > ? \ |
bool IsInvalidPathChar(char16_t c);         // U+0000..U+001F " < > |
bool HasInvalidFileNameChars(std::u16string_view text);
bool HasInvalidPathChars(std::u16string_view text);

// Length of a leading "\\?\" or "\\?\UNC\" prefix, else 0.
size_t LongPathPrefixLength(std::u16string_view path);
// Length of the part of an absolute path that no folder creation can make: "C:\",
// "\\?\C:\", "\\server\share\" or "\\?\UNC\server\share\" (the delimiter after it
// included when present); 0 when the path has none of these roots.
size_t PathRootLength(std::u16string_view path);
// The folders that make up an absolute path below its root, from the top down: what
// creating the path makes when none of them exists yet.
std::vector<std::u16string> FolderLevels(std::u16string_view path);
// Trim of blanks and control characters (everything up to U+0020) from both ends.
std::u16string_view TrimControls(std::u16string_view text);

std::u16string WithTrailingDelimiter(std::u16string_view path);
bool PathCharsValid(std::u16string_view path);
bool PathColonsValid(std::u16string_view path);
std::u16string NameWithoutExtension(std::u16string_view path);
std::u16string MakeValidFileName(std::u16string_view name, char16_t replacement);

// The folder part of a path, or why there is none.
struct FolderPart {
    enum Status {
        Ok,           // folder holds the folder with its trailing "\" ("" for a bare name)
        Rejected,     // empty, or PathCharsValid does not hold
        TooLong,      // 260 characters or more without a long-path prefix
        InvalidChars, // blank, or holds a character invalid in a path
    };
    Status status;
    std::u16string folder;
};
FolderPart FolderPartOf(std::u16string_view path);

// The text before the last "\" or "/", a root keeping its delimiter; "" when there is
// no delimiter or the path is a root itself.
std::u16string DirectoryName(std::u16string_view path);

} // namespace vp
