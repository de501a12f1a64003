#include "core/paths.h"

#include <algorithm>

namespace vp {

namespace {

constexpr bool IsDelimiter(char16_t c) {
    return c == u'\\' || c == u'/';
}
constexpr bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

bool IsForbiddenPathChar(char16_t c) {
    switch (c) {
    case u'"':
    case u'*':
    case u'/':
    case u'<':
    case u'>':
    case u'?':
    case u'|':
        return true;
    default:
        return false;
    }
}

bool IsFileNameReplacementChar(char16_t c) {
    return c < 0x20 || IsForbiddenPathChar(c) || c == u':' || c == u'\\';
}

bool IsInvalidFileNameChar(char16_t c) {
    return IsFileNameReplacementChar(c);
}

bool IsInvalidPathChar(char16_t c) {
    return c < 0x20 || c == u'"' || c == u'<' || c == u'>' || c == u'|';
}

bool HasInvalidFileNameChars(std::u16string_view text) {
    for (char16_t c : text)
        if (IsInvalidFileNameChar(c))
            return true;
    return false;
}

bool HasInvalidPathChars(std::u16string_view text) {
    for (char16_t c : text)
        if (IsInvalidPathChar(c))
            return true;
    return false;
}

size_t LongPathPrefixLength(std::u16string_view path) {
    if (path.starts_with(u"\\\\?\\UNC\\"))
        return 8;
    if (path.starts_with(u"\\\\?\\"))
        return 4;
    return 0;
}

size_t PathRootLength(std::u16string_view path) {
    const size_t prefix = LongPathPrefixLength(path);
    const bool unc = prefix == 8 || (prefix == 0 && path.starts_with(u"\\\\"));
    if (!unc) {
        if (path.size() >= prefix + 2 && IsAsciiLetter(path[prefix]) && path[prefix + 1] == u':')
            return path.size() > prefix + 2 && IsDelimiter(path[prefix + 2]) ? prefix + 3
                                                                             : prefix + 2;
        return 0;
    }
    // Server, then share: both must be there and not empty.
    size_t at = prefix == 8 ? 8 : 2;
    for (int part = 0; part < 2; ++part) {
        const size_t end = std::min(path.find_first_of(u"\\/", at), path.size());
        if (end == at)
            return 0;
        if (end == path.size())
            return part == 1 ? end : 0;
        at = end + 1;
    }
    return at;
}

std::vector<std::u16string> FolderLevels(std::u16string_view path) {
    std::vector<std::u16string> levels;
    const size_t root = std::max(PathRootLength(path), LongPathPrefixLength(path));
    for (size_t i = root + 1; i <= path.size(); ++i) {
        if (i < path.size() && !IsDelimiter(path[i]))
            continue;
        if (i > 0 && !IsDelimiter(path[i - 1]) && path[i - 1] != u':')
            levels.emplace_back(path.substr(0, i));
    }
    return levels;
}

std::u16string_view TrimControls(std::u16string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] <= 0x20)
        ++b;
    while (e > b && text[e - 1] <= 0x20)
        --e;
    return text.substr(b, e - b);
}

std::u16string WithTrailingDelimiter(std::u16string_view path) {
    std::u16string out(path);
    if (!out.empty() && out.back() != u'\\')
        out.push_back(u'\\');
    return out;
}

bool PathCharsValid(std::u16string_view path) {
    if (path.size() < 2)
        return false;
    for (char16_t c : path)
        if (IsForbiddenPathChar(c))
            return false;
    return true;
}

bool PathColonsValid(std::u16string_view path) {
    if (TrimControls(path).empty())
        return true;
    size_t start = LongPathPrefixLength(path);
    if (start + 1 < path.size() && IsAsciiLetter(path[start]) && path[start + 1] == u':')
        start += 2;
    return path.find(u':', start) == std::u16string_view::npos;
}

std::u16string NameWithoutExtension(std::u16string_view path) {
    const size_t sep = path.find_last_of(u"\\:");
    std::u16string_view name = sep == std::u16string_view::npos ? path : path.substr(sep + 1);
    const size_t dot = name.rfind(u'.');
    if (dot != std::u16string_view::npos)
        name = name.substr(0, dot);
    return std::u16string(name);
}

std::u16string MakeValidFileName(std::u16string_view name, char16_t replacement) {
    std::u16string out(name);
    for (char16_t& c : out)
        if (IsFileNameReplacementChar(c))
            c = replacement;
    return std::u16string(TrimControls(out));
}

std::u16string DirectoryName(std::u16string_view path) {
    // Length of the root that keeps its delimiter: "C:\", "\\?\C:\" or a lone leading "\".
    const size_t prefix = LongPathPrefixLength(path);
    size_t root = 0;
    if (path.size() >= prefix + 3 && IsAsciiLetter(path[prefix]) && path[prefix + 1] == u':' &&
        IsDelimiter(path[prefix + 2]))
        root = prefix + 3;
    else if (prefix == 0 && !path.empty() && IsDelimiter(path[0]) &&
             (path.size() < 2 || !IsDelimiter(path[1])))
        root = 1;
    size_t last = path.size();
    while (last > 0 && !IsDelimiter(path[last - 1]))
        --last;
    if (last == 0)
        return {};
    --last; // index of the last delimiter
    if (last < root)
        return path.size() > root ? std::u16string(path.substr(0, root)) : u"";
    return std::u16string(path.substr(0, last));
}

FolderPart FolderPartOf(std::u16string_view path) {
    if (path.empty() || !PathCharsValid(path))
        return {FolderPart::Rejected, {}};
    if (path.size() >= 260 && LongPathPrefixLength(path) == 0)
        return {FolderPart::TooLong, {}};
    if (TrimControls(path).empty() || HasInvalidPathChars(path))
        return {FolderPart::InvalidChars, {}};
    return {FolderPart::Ok, WithTrailingDelimiter(DirectoryName(path))};
}

} // namespace vp
