#include "core/encoding.h"

#include <cstdint>
#include <cstring>

namespace vp {

namespace {

constexpr uint64_t kHighBits8 = 0x8080808080808080ull;
constexpr uint64_t kNonAscii16 = 0xFF80FF80FF80FF80ull;

// Widens 8 ASCII bytes; the compiler turns this into a vector unpack.
inline void Widen8(const unsigned char* src, char16_t* dst) {
    for (int k = 0; k < 8; ++k) dst[k] = src[k];
}

// Decodes one multi-byte sequence at p (lead >= 0x80); returns its length, or 0 when malformed.
inline size_t DecodeSequence(const unsigned char* p, size_t avail, char32_t& c) {
    const unsigned char lead = p[0];
    size_t len;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2, c = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3, c = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4, c = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (len > avail) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (p[k] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return len;
}

// Decodes into out; strict stops at the first malformed sequence and returns false,
// otherwise each malformed byte becomes U+FFFD.
template <bool strict>
bool DecodeUtf8(std::string_view bytes, std::u16string& out) {
    out.resize(bytes.size()); // never more code units than bytes
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    char16_t* dst = out.data();
    size_t i = 0, o = 0;
    while (i < n) {
        while (i + 8 <= n) {
            uint64_t v;
            std::memcpy(&v, src + i, 8);
            if (v & kHighBits8) break;
            Widen8(src + i, dst + o);
            i += 8, o += 8;
        }
        if (i >= n) break;
        const unsigned char lead = src[i];
        if (lead < 0x80) {
            dst[o++] = lead;
            ++i;
            continue;
        }
        char32_t c;
        const size_t len = DecodeSequence(src + i, n - i, c);
        if (len == 0) {
            if (strict) return false;
            dst[o++] = u'\xFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            dst[o++] = static_cast<char16_t>(0xD800 + (c >> 10));
            dst[o++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            dst[o++] = static_cast<char16_t>(c);
        }
        i += len;
    }
    out.resize(o);
    return true;
}

inline bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

size_t Utf8Length(std::u16string_view text) {
    const char16_t* s = text.data();
    const size_t n = text.size();
    size_t len = 0, i = 0;
    while (i < n) {
        while (i + 4 <= n) {
            uint64_t v;
            std::memcpy(&v, s + i, 8);
            if (v & kNonAscii16) break;
            len += 4, i += 4;
        }
        if (i >= n) break;
        const char16_t c = s[i++];
        if (c < 0x80) {
            len += 1;
        } else if (c < 0x800) {
            len += 2;
        } else if (IsHigh(c) && i < n && IsLow(s[i])) {
            len += 4, ++i;
        } else {
            len += 3; // unpaired surrogates become U+FFFD, also 3 bytes
        }
    }
    return len;
}

void EncodeUtf8(std::u16string_view text, char* out) {
    const char16_t* s = text.data();
    const size_t n = text.size();
    auto* d = reinterpret_cast<unsigned char*>(out);
    size_t i = 0;
    while (i < n) {
        while (i + 4 <= n) {
            uint64_t v;
            std::memcpy(&v, s + i, 8);
            if (v & kNonAscii16) break;
            d[0] = static_cast<unsigned char>(s[i]);
            d[1] = static_cast<unsigned char>(s[i + 1]);
            d[2] = static_cast<unsigned char>(s[i + 2]);
            d[3] = static_cast<unsigned char>(s[i + 3]);
            d += 4, i += 4;
        }
        if (i >= n) break;
        char32_t c = s[i++];
        if (c < 0x80) {
            *d++ = static_cast<unsigned char>(c);
            continue;
        }
        if (IsHigh(static_cast<char16_t>(c)) && i < n && IsLow(s[i])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            *d++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *d++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *d++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *d++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *d++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            *d++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *d++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *d++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *d++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
}

constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::string ToUtf8(std::u16string_view text) {
    std::string out(Utf8Length(text), '\0');
    EncodeUtf8(text, out.data());
    return out;
}

std::u16string FromUtf8(std::string_view bytes) {
    std::u16string out;
    DecodeUtf8<false>(bytes, out);
    return out;
}

bool TryDecodeUtf8(std::string_view bytes, std::u16string& out) {
    return DecodeUtf8<true>(bytes, out);
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        while (i + 8 <= n) {
            uint64_t v;
            std::memcpy(&v, src + i, 8);
            if (v & kHighBits8) break;
            i += 8;
        }
        if (i >= n) break;
        if (src[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t c;
        const size_t len = DecodeSequence(src + i, n - i, c);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b;
    }
    return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const size_t units = bytes.size() / 2;
    std::u16string out(units + bytes.size() % 2, u'\0');
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < units; ++i) {
        const unsigned char a = src[2 * i], b = src[2 * i + 1];
        out[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    if (bytes.size() % 2) out[units] = u'\xFFFD';
    return out;
}

std::u16string DecodeText(std::string_view bytes, AnsiDecoder ansi, TextEncoding* found) {
    auto report = [&](TextEncoding e) {
        if (found) *found = e;
    };
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        report(TextEncoding::Utf8Bom);
        return FromUtf8(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        report(TextEncoding::Utf16LE);
        return DecodeUtf16(bytes.substr(2), false);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        report(TextEncoding::Utf16BE);
        return DecodeUtf16(bytes.substr(2), true);
    }
    std::u16string text;
    if (TryDecodeUtf8(bytes, text)) {
        report(TextEncoding::Utf8);
        return text;
    }
    report(TextEncoding::Ansi);
    return (ansi ? ansi : DecodeWindows1252)(bytes);
}

std::string EncodeText(std::u16string_view text, bool withBOM) {
    const size_t mark = withBOM ? 3 : 0;
    std::string out(mark + Utf8Length(text), '\0');
    if (withBOM) std::memcpy(out.data(), "\xEF\xBB\xBF", 3);
    EncodeUtf8(text, out.data() + mark);
    return out;
}

} // namespace vp
