// Parses any text as an INI document, reads, writes and re-reads it, and checks that
// nothing is lost or invented on the way.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/errors.h"
#include "core/ini.h"
#include "core/ini_values.h"
#include "core/text.h"

using namespace vp;

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

// The first byte picks how the rest becomes text: UTF-8, or raw UTF-16 units (which
// reaches lone surrogates, NULs and every code unit).
std::u16string Decode(const uint8_t* data, size_t size) {
    if (size == 0)
        return {};
    const bool raw = data[0] & 1;
    ++data;
    --size;
    if (!raw)
        return FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);
    return text;
}

void CheckValueEncodings(const std::u16string& v) {
    if (auto i = ParseIniInteger(v))
        Check(ParseIniInteger(IntToIniText(*i)) == *i);
    for (char16_t sep : {u'.', u','}) {
        if (auto f = ParseIniFloat(v, sep)) {
            Check(std::isfinite(*f));
            const auto back = ParseIniFloat(FloatToIniText(*f, sep), sep);
            // Only the largest doubles may round past the range when cut to 15 digits.
            if (std::fabs(*f) < 1e308) {
                Check(back.has_value());
                Check(*back == *f || std::fabs(*back - *f) <= std::fabs(*f) * 1e-14);
            }
        }
    }
    if (auto d = ParseIniDate(v)) {
        Check(*d == std::trunc(*d));
        Check(ParseIniDate(DateToIniText(*d)) == *d);
    }
    try {
        const TColor c = IniTextToColor(v);
        Check(IniTextToColor(ColorToIniText(c)) == c);
    } catch (const Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = Decode(data, size);
    IniDocument doc(text);
    const std::u16string serial = doc.Text();
    Check(IniDocument(serial).Text() == serial);

    // Names to query and write: fixed ones and the input's first lines.
    std::vector<std::u16string> names = {u"S", u"QRT/Soft", u"k", u""};
    for (const auto& line : TextToStringList(std::u16string_view(text).substr(0, 4096))) {
        if (names.size() >= 10)
            break;
        std::u16string_view t = TrimIniBlanks(line);
        if (!t.empty() && t.front() == u'[' && t.find(u']') != std::u16string_view::npos)
            t = t.substr(1, t.find(u']') - 1);
        else if (t.find(u'=') != std::u16string_view::npos)
            t = t.substr(0, t.find(u'='));
        names.emplace_back(t.substr(0, 64));
    }

    struct Entry {
        std::u16string section, key;
        std::optional<std::u16string> value;
    };
    std::vector<Entry> entries;
    for (const auto& s : names)
        for (const auto& k : names) {
            auto v = doc.Find(s, k);
            Check(v.has_value() == doc.ValueExists(s, k));
            if (v) {
                Check(v->size() <= kMaxIniValueLength);
                Check(doc.SectionExists(s));
                CheckValueEncodings(*v);
            }
            entries.push_back({s, k, std::move(v)});
        }
    IniFont font;
    ReadIniFont(doc, names.back(), names.back(), font);

    // Write each valid pair in turn; the written key reads back as written, all others stay.
    const std::u16string value = names.size() > 4 ? names[4] + u"\r\n x " : u" v\n";
    for (size_t i = 0; i < entries.size(); i += 3) {
        Entry& e = entries[i];
        if (!IsValidIniSection(e.section) || !IsValidIniKey(e.key)) {
            bool threw = false;
            try {
                doc.WriteString(e.section, e.key, value);
            } catch (const Error&) {
                threw = true;
            }
            Check(threw);
            continue;
        }
        doc.WriteString(e.section, e.key, value);
        e.value = IniValueAsRead(ReplaceLineBreaks(value, u" "));
        Check(doc.Find(e.section, e.key) == e.value);
    }
    // Entries that were never written must read as before; written ones as written.
    for (auto& e : entries) {
        bool written = false;
        for (size_t i = 0; i < entries.size(); i += 3)
            written |= IsValidIniSection(entries[i].section) && IsValidIniKey(entries[i].key) &&
                       SameTextAscii(TrimIniBlanks(entries[i].section), TrimIniBlanks(e.section)) &&
                       SameTextAscii(TrimIniBlanks(entries[i].key), TrimIniBlanks(e.key));
        const auto now = doc.Find(e.section, e.key);
        if (written)
            Check(now == IniValueAsRead(ReplaceLineBreaks(value, u" ")));
        else
            Check(now == e.value);
    }

    const std::u16string rewritten = doc.Text();
    const IniDocument reparsed(rewritten);
    Check(reparsed.Text() == rewritten);
    for (const auto& e : entries)
        Check(reparsed.Find(e.section, e.key) == doc.Find(e.section, e.key));
    return 0;
}
