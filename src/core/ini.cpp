#include "core/ini.h"

#include "core/errors.h"
#include "core/text.h"

namespace vp {

namespace {
constexpr size_t npos = std::u16string_view::npos;

bool HasLineBreak(std::u16string_view s) {
    return s.find(u'\r') != npos || s.find(u'\n') != npos;
}
} // namespace

bool IsIniBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view TrimIniBlanks(std::u16string_view text) {
    while (!text.empty() && IsIniBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsIniBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::u16string IniValueAsRead(std::u16string_view stored) {
    std::u16string_view v = TrimIniBlanks(stored);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
        v.remove_prefix(1);
        v.remove_suffix(1);
    }
    return std::u16string(v.substr(0, kMaxIniValueLength));
}

bool IsValidIniSection(std::u16string_view section) {
    return !HasLineBreak(section) && section.find(u']') == npos;
}

bool IsValidIniKey(std::u16string_view key) {
    key = TrimIniBlanks(key);
    if (HasLineBreak(key) || key.find(u'=') != npos)
        return false;
    return key.empty() || (key.front() != u'[' && key.front() != u';');
}

IniDocument::IniDocument(std::u16string_view text) {
    for (auto& line : TextToStringList(text))
        lines_.push_back(ParseLine(std::move(line)));
}

IniDocument::Line IniDocument::ParseLine(std::u16string text) {
    Line line;
    line.text = std::move(text);
    const std::u16string_view t = line.text;
    size_t first = 0;
    while (first < t.size() && IsIniBlank(t[first]))
        ++first;
    if (first == t.size() || t[first] == u';')
        return line;
    if (t[first] == u'[') {
        // Without its closing bracket the line is neither a header nor a key.
        const size_t close = t.find(u']', first);
        if (close != npos) {
            line.kind = Kind::Section;
            line.name = TrimIniBlanks(t.substr(first + 1, close - first - 1));
        }
        return line;
    }
    const size_t eq = t.find(u'=', first);
    if (eq != npos) {
        line.kind = Kind::Key;
        line.name = TrimIniBlanks(t.substr(first, eq - first));
        line.valueAt = eq + 1;
    }
    return line;
}

std::u16string IniDocument::Text() const {
    size_t size = 0;
    for (const auto& l : lines_)
        size += l.text.size() + 2;
    std::u16string out;
    out.reserve(size);
    for (const auto& l : lines_) {
        out += l.text;
        out += u"\r\n";
    }
    return out;
}

size_t IniDocument::FindSection(std::u16string_view section) const {
    if (!IsValidIniSection(section))
        return npos;
    section = TrimIniBlanks(section);
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && SameTextAscii(lines_[i].name, section))
            return i;
    return npos;
}

size_t IniDocument::FindKey(size_t header, std::u16string_view key) const {
    if (header == npos || !IsValidIniKey(key))
        return npos;
    key = TrimIniBlanks(key);
    for (size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (lines_[i].kind == Kind::Key && SameTextAscii(lines_[i].name, key))
            return i;
    return npos;
}

bool IniDocument::SectionExists(std::u16string_view section) const {
    return FindSection(section) != npos;
}

bool IniDocument::ValueExists(std::u16string_view section, std::u16string_view key) const {
    return FindKey(FindSection(section), key) != npos;
}

std::optional<std::u16string> IniDocument::Find(std::u16string_view section,
                                                std::u16string_view key) const {
    const size_t at = FindKey(FindSection(section), key);
    if (at == npos)
        return std::nullopt;
    const Line& l = lines_[at];
    return IniValueAsRead(std::u16string_view(l.text).substr(l.valueAt));
}

std::u16string IniDocument::ReadString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view defaultValue) const {
    auto v = Find(section, key);
    return v ? std::move(*v) : std::u16string(defaultValue);
}

void IniDocument::WriteString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) {
    if (!IsValidIniSection(section))
        throw Error(u"Invalid INI section name: " + ReplaceLineBreaks(section, u" "));
    if (!IsValidIniKey(key))
        throw Error(u"Invalid INI key: " + ReplaceLineBreaks(key, u" "));
    section = TrimIniBlanks(section);
    key = TrimIniBlanks(key);

    Line line;
    line.kind = Kind::Key;
    line.name = key;
    line.text.reserve(key.size() + 1 + value.size());
    line.text.append(key).append(u"=").append(ReplaceLineBreaks(value, u" "));
    line.valueAt = key.size() + 1;

    const size_t header = FindSection(section);
    if (header == npos) {
        // A blank line keeps the new section apart from what came before.
        if (!lines_.empty() && !TrimIniBlanks(lines_.back().text).empty())
            lines_.push_back(Line{});
        lines_.push_back(ParseLine(u"[" + std::u16string(section) + u"]"));
        lines_.push_back(std::move(line));
        return;
    }
    const size_t at = FindKey(header, key);
    if (at != npos) {
        lines_[at] = std::move(line);
        return;
    }
    size_t insertAfter = header;
    for (size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (lines_[i].kind == Kind::Key)
            insertAfter = i;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAfter + 1), std::move(line));
}

} // namespace vp
